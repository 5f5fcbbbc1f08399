#include "store/ListLocation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// An installation in a temporary folder: <root>/bin is the program's folder and
// <root>/share/tidefetch holds the shipped list. The files hold a word that
// tells them apart; ListLocation never opens them.
struct Installation {
    QTemporaryDir root;
    QString ProgramDir() const { return root.filePath(QStringLiteral("bin")); }
    QString Portable() const { return root.filePath(QStringLiteral("bin/DownList.db")); }
    QString Shipped() const { return root.filePath(QStringLiteral("share/tidefetch/DownList.db")); }
    static QString UserList()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1String("/DownList.db");
    }

    static bool Write(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
            && file.write(content) == content.size();
    }
    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
};

} // namespace

class tst_ListLocation final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_dataDirs.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_DIRS", m_dataDirs.path().toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively());
    }

    void theListToOpen_data()
    {
        QTest::addColumn<QString>("portable"); // "", "writable" or "read-only folder"
        QTest::addColumn<bool>("userList");
        QTest::addColumn<QString>("shipped"); // "" or "read-only"
        QTest::addColumn<QString>("opened");  // "portable", "user" or ""
        QTest::addColumn<QByteArray>("userListAfter");

        QTest::newRow("a writable list beside the program is used as it is")
            << "writable" << true << "read-only" << "portable" << QByteArray("user");
        QTest::newRow("a list in a read-only folder beside the program is not used")
            << "read-only folder" << true << "" << "user" << QByteArray("user");
        QTest::newRow("the user's list is used untouched, whatever the shipped one holds")
            << "" << true << "read-only" << "user" << QByteArray("user");
        QTest::newRow("a missing user list is copied from the shipped one and is writable")
            << "" << false << "read-only" << "user" << QByteArray("shipped");
        QTest::newRow("nothing found") << "" << false << "" << "" << QByteArray("(missing)");
    }
    void theListToOpen()
    {
        QFETCH(QString, portable);
        QFETCH(bool, userList);
        QFETCH(QString, shipped);
        QFETCH(QString, opened);
        Installation install;
        QVERIFY(QDir().mkpath(install.ProgramDir()));
        if (!portable.isEmpty())
            QVERIFY(install.Write(install.Portable(), "portable"));
        if (portable == QLatin1String("read-only folder")) {
            if (::geteuid() == 0)
                QSKIP("root may write into any folder");
            QVERIFY(QFile::setPermissions(install.ProgramDir(), QFile::ReadOwner | QFile::ExeOwner));
        }
        if (userList)
            QVERIFY(install.Write(Installation::UserList(), "user"));
        if (!shipped.isEmpty()) {
            QVERIFY(install.Write(install.Shipped(), "shipped"));
            QVERIFY(QFile::setPermissions(install.Shipped(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }

        QString problem;
        const QString path = ListLocation(install.ProgramDir()).Resolve(problem);
        QFile::setPermissions(install.ProgramDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const QString expected = opened == QLatin1String("portable") ? install.Portable()
            : opened == QLatin1String("user")                       ? Installation::UserList()
                                                                    : QString();
        QCOMPARE(path, expected);
        QTEST(Installation::Read(Installation::UserList()), "userListAfter");
        if (!path.isEmpty()) {
            QVERIFY(problem.isEmpty());
            QVERIFY(QFileInfo(path).isWritable());
            QVERIFY(QFile::permissions(path) & QFile::WriteOwner);
        } else {
            for (const QString &place : {install.Portable(), Installation::UserList(), install.Shipped()})
                QVERIFY2(problem.contains(place), qPrintable(problem));
        }
        if (!shipped.isEmpty())
            QCOMPARE(Installation::Read(install.Shipped()), QByteArray("shipped"));
    }

    void theUsersCopyIsKeptWhenTheShippedListChanges()
    {
        Installation install;
        QVERIFY(install.Write(install.Shipped(), "first release"));
        QString problem;
        QCOMPARE(ListLocation(install.ProgramDir()).Resolve(problem), Installation::UserList());

        QVERIFY(QFile::remove(install.Shipped()));
        QVERIFY(install.Write(install.Shipped(), "next release"));
        QCOMPARE(ListLocation(install.ProgramDir()).Resolve(problem), Installation::UserList());
        QCOMPARE(Installation::Read(Installation::UserList()), QByteArray("first release"));
    }

private:
    QTemporaryDir m_home;
    QTemporaryDir m_dataDirs;
};

QTEST_GUILESS_MAIN(tst_ListLocation)
#include "tst_listlocation.moc"
