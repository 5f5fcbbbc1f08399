#include "util/FileFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void MakeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class tst_FileFolder final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createFolderPath()
    {
        QTemporaryDir dir;
        const QString deep = dir.filePath(QStringLiteral("a/b/c"));
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("a"))));
        QVERIFY(FileFolder::CreateFolderPath(deep));
        QVERIFY(QFileInfo(deep).isDir());
        QVERIFY(FileFolder::CreateFolderPath(deep)); // all present: nothing to do

        QVERIFY(FileFolder::CreateFolderPath(QDir::rootPath()));
        QVERIFY(!FileFolder::CreateFolderPath(QString()));
        QVERIFY(!FileFolder::CreateFolderPath(QStringLiteral("relative/path")));

        // A file in the way of a level ends with false; the levels before it stay.
        MakeFile(dir.filePath(QStringLiteral("a/file")), "x");
        QVERIFY(!FileFolder::CreateFolderPath(dir.filePath(QStringLiteral("a/file/d"))));
    }

    void uniqueFileName_data()
    {
        QTest::addColumn<QStringList>("existing"); // files with data; a name ending in "=" is empty
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("result");
        QTest::newRow("free name is kept") << QStringList() << "movie.avi" << "movie.avi";
        QTest::newRow("empty file is reused") << QStringList{"movie.avi="} << "movie.avi" << "movie.avi";
        QTest::newRow("first suffix") << QStringList{"movie.avi"} << "movie.avi" << "movie_1.avi";
        QTest::newRow("counts up while taken")
            << QStringList{"setup.exe", "setup_1.exe"} << "setup.exe" << "setup_2.exe";
        QTest::newRow("numeric second piece increments") << QStringList{"part_7.rar"} << "part_7.rar" << "part_8.rar";
        QTest::newRow("text second piece appends")
            << QStringList{"my_file.zip", "my_file_1.zip"} << "my_file.zip" << "my_file_1_1.zip";
        QTest::newRow("further pieces dropped") << QStringList{"abc_1_x.zip"} << "abc_1_x.zip" << "abc_2.zip";
        QTest::newRow("no extension, no trailing dot") << QStringList{"readme"} << "readme" << "readme_1";
        QTest::newRow("16-bit limit appends instead")
            << QStringList{"a_32767.bin"} << "a_32767.bin" << "a_32767_1.bin";
        QTest::newRow("number form not plain") << QStringList{"a_1e3.bin"} << "a_1e3.bin" << "a_1e3_1.bin";
        QTest::newRow("a folder of that name is taken") << QStringList{"data.bin/"} << "data.bin" << "data_1.bin";
    }
    void uniqueFileName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, wanted);
        QFETCH(QString, result);
        QTemporaryDir dir;
        for (const QString &name : existing) {
            if (name.endsWith(QLatin1Char('/')))
                QVERIFY(QDir(dir.path()).mkdir(name.chopped(1)));
            else if (name.endsWith(QLatin1Char('=')))
                MakeFile(dir.filePath(name.chopped(1)), {});
            else
                MakeFile(dir.filePath(name), "data");
        }
        QString path = dir.filePath(wanted);
        const QString returned = FileFolder::GetUniqueFileName(path);
        QCOMPARE(returned, dir.filePath(result));
        QCOMPARE(path, returned);
    }

    void safeFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("ordinary name") << "movie part 1.avi" << "movie part 1.avi";
        QTest::newRow("unicode kept") << QString::fromUtf8("Übung 東京.zip") << QString::fromUtf8("Übung 東京.zip");
        QTest::newRow("parent escape") << "../../etc/passwd" << "_.._etc_passwd";
        QTest::newRow("absolute path") << "/etc/passwd" << "_etc_passwd";
        QTest::newRow("windows separators") << "..\\..\\boot.ini" << "_.._boot.ini";
        QTest::newRow("dot-dot alone") << ".." << "id42";
        QTest::newRow("control characters") << QStringLiteral("a\nb\tc.txt") << "a_b_c.txt";
        QTest::newRow("empty") << "" << "id42";
        // Each of these takes 3 bytes in UTF-8: 240 bytes hold 80 of them.
        QTest::newRow("long name cut by its bytes") << QString(300, QChar(0x6771)) << QString(80, QChar(0x6771));
        QTest::newRow("long name never splits a surrogate pair")
            << QString::fromUtf8("a\U0001F600").repeated(100)
            << QString::fromUtf8("a\U0001F600").repeated(48); // 5 bytes each
        QTest::newRow("a cut leaves no trailing blank or dot")
            << QString(239, QLatin1Char('a')) + QLatin1String(" .b") << QString(239, QLatin1Char('a'));
        QTest::newRow("a very long name is cut at once")
            << QString(1000000, QLatin1Char('x')) << QString(240, QLatin1Char('x'));
    }
    void safeFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        const QString result = FileFolder::SafeFileName(name, QStringLiteral("id42"));
        QCOMPARE(result, safe);
    }
};

QTEST_GUILESS_MAIN(tst_FileFolder)
#include "tst_filefolder.moc"
