#include "app/MainController.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program folder, a settings file and a controller over them.
struct Program {
    TestListFile folder;
    QTemporaryDir settingsDir;
    AppSettings settings{settingsDir.filePath(QStringLiteral("settings.ini"))};
    RecordingPrompter prompter;
    MainController controller{folder.Folder(), settings, prompter};
    int windowsInitialised = 0;
    int ends = 0;

    bool Load()
    {
        return controller.Load([this] { ++windowsInitialised; }, [this] { ++ends; });
    }
};

} // namespace

class tst_Startup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The default download folder lies under the user's download folder.
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toUtf8());
        // No installed list: only the ones the tests ship.
        qputenv("XDG_DATA_DIRS", m_shipped.path().toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively());
        QVERIFY(QDir(m_shipped.filePath(QStringLiteral("tidefetch"))).removeRecursively());
    }

    void failuresEndTheProgram_data()
    {
        QTest::addColumn<QStringList>("damage"); // statements run on the list file first; "delete" removes it
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("lastMessage");
        QTest::addColumn<int>("messages");
        QTest::newRow("no list file") << QStringList{QStringLiteral("delete")} << "Tidefetch"
                                      << "Download List file is not exist, Please re-install the application" << 1;
        QTest::newRow("download list unreadable")
            << QStringList{QStringLiteral("Drop Table DownList")} << "Critical Error"
            << "Critical Error while loading download list. re-installing application may solve this problem" << 2;
        QTest::newRow("check list unreadable")
            << QStringList{QStringLiteral("Drop Table CheckList")} << "Critical Error"
            << "Critical Error while loading check list. re-installing application may solve this problem" << 2;
    }
    void failuresEndTheProgram()
    {
        QFETCH(QStringList, damage);
        QFETCH(QString, title);
        QFETCH(QString, lastMessage);
        QFETCH(int, messages);
        Program p;
        if (damage == QStringList{QStringLiteral("delete")})
            QVERIFY(QFile::remove(p.folder.Path()));
        else
            QVERIFY(p.folder.Execute(damage));

        QVERIFY(!p.Load());
        QCOMPARE(p.ends, 1);
        QCOMPARE(p.windowsInitialised, 0);
        QCOMPARE(p.prompter.shown.size(), messages);
        QVERIFY(p.prompter.shown.last().text.startsWith(lastMessage));
        QCOMPARE(p.prompter.shown.last().title, title);
        QCOMPARE(p.prompter.shown.last().icon, Prompter::Icon::Critical);
        if (messages == 2)
            QVERIFY(p.prompter.shown.first().text.startsWith(QStringLiteral("Error occured while loading table\r\n")));
        if (messages == 1) {
            // The places looked at are named; no list is made from nothing.
            const QString userList = UserList();
            const QString text = p.prompter.shown.last().text;
            QVERIFY2(text.contains(p.folder.Path()) && text.contains(userList), qPrintable(text));
            QVERIFY(!QFile::exists(p.folder.Path()));
            QVERIFY(!QFile::exists(userList));
        } else {
            QCOMPARE(p.prompter.shown.last().text, lastMessage);
        }
    }

    void withoutAListBesideTheProgramTheUsersCopyOfTheShippedListOpens()
    {
        Program p;
        QVERIFY(QDir().mkpath(m_shipped.filePath(QStringLiteral("tidefetch"))));
        QVERIFY(QFile::rename(p.folder.Path(), m_shipped.filePath(QStringLiteral("tidefetch/DownList.db"))));
        QVERIFY(p.Load());
        QCOMPARE(p.controller.DBPath(), UserList());
        QVERIFY(p.prompter.shown.isEmpty());
    }

    void interruptedRowsAreRepaired_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("partial"); // what the row's Partial_File names: "part", "final" or nothing
        QTest::addColumn<QString>("repaired");
        QTest::addColumn<QString>("localName");

        QTest::newRow("a wait goes back to the queue") << "Wait 35 Seconds" << "" << "Queued" << "a.bin";
        QTest::newRow("anything starting with Wait does") << "Waiting" << "" << "Queued" << "a.bin";
        QTest::newRow("a negotiation is stopped") << "Requesting File" << "" << "Stopped" << "a.bin";
        QTest::newRow("a transfer is stopped, its partial file kept") << "37.5" << "part" << "Stopped" << "a.bin";
        QTest::newRow("a transfer of unknown size is stopped") << "-1" << "part" << "Stopped" << "a.bin";
        QTest::newRow("a transfer ended between rename and the list write is complete")
            << "100" << "final" << "Complete" << "got.bin";
        QTest::newRow("complete stays") << "Complete" << "" << "Complete" << "a.bin";
        QTest::newRow("an error stays") << "Error" << "part" << "Error" << "a.bin";
    }
    void interruptedRowsAreRepaired()
    {
        QFETCH(QString, status);
        QFETCH(QString, partial);
        Program p;
        QTemporaryDir downloads;
        const QString partialPath = downloads.filePath(QStringLiteral("got.bin.part"));
        QFile file(partial == QLatin1String("final") ? downloads.filePath(QStringLiteral("got.bin")) : partialPath);
        if (!partial.isEmpty()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("12345");
            file.close();
        }
        QVERIFY(p.folder.Execute({QStringLiteral("Insert Into DownList (Download_Status, Local_File_Name, Speed, "
                                                 "Time_Left, File_Size_Bytes, Partial_File) Values ('%1', 'a.bin', "
                                                 "'9 KB/s', '00:00:09', 5, '%2')")
                                      .arg(status, partial.isEmpty() ? QString() : partialPath)}));
        QVERIFY(p.Load());
        RecordSet row = p.controller.Store().rsDownList.Clone();
        QTEST(row.Field(u"Download_Status").toString(), "repaired");
        QTEST(row.Field(u"Local_File_Name").toString(), "localName");
        const QString repaired = row.Field(u"Download_Status").toString();
        if (repaired != status && repaired != QLatin1String("Queued")) {
            // Nothing runs after a start: no stale speed or time left.
            QCOMPARE(row.Field(u"Speed").toString(), QString());
            QCOMPARE(row.Field(u"Time_Left").toString(), QString());
        }
        if (repaired == QLatin1String("Complete") && partial == QLatin1String("final")) {
            QCOMPARE(row.Field(u"Downloaded_Bytes").toLongLong(), qint64(5));
            QCOMPARE(row.Field(u"Partial_File").toString(), QString());
        }
        // A partial file is never touched at start-up.
        if (partial == QLatin1String("part"))
            QVERIFY(QFile::exists(partialPath));
        QVERIFY(p.prompter.shown.isEmpty());
    }

    void listSchemaVersions_data()
    {
        QTest::addColumn<QStringList>("older"); // statements that make the list older or newer
        QTest::addColumn<bool>("loads");
        QTest::addColumn<int>("versionAfter");

        const QStringList beforeFinalUrls{QStringLiteral("Alter Table DownList Drop Column Final_URL"),
                                          QStringLiteral("Alter Table CheckList Drop Column Final_URL")};
        QTest::newRow("a list before partial files is upgraded, keeping its rows")
            << beforeFinalUrls + QStringList{QStringLiteral("Alter Table DownList Drop Column Partial_File"),
                                             QStringLiteral("PRAGMA user_version = 0")}
            << true << 2;
        QTest::newRow("a list before direct links is upgraded, keeping its rows")
            << beforeFinalUrls + QStringList{QStringLiteral("PRAGMA user_version = 1")} << true << 2;
        QTest::newRow("a current list is left as it is") << QStringList{} << true << 2;
        QTest::newRow("a newer list is refused and kept")
            << QStringList{QStringLiteral("PRAGMA user_version = 7")} << false << 7;
    }
    void listSchemaVersions()
    {
        QFETCH(QStringList, older);
        QFETCH(bool, loads);
        Program p;
        QVERIFY(p.folder.Execute(older + QStringList{
            QStringLiteral("Insert Into DownList (Sharing_Link, Download_Status) Values ('http://x/1', 'Queued')"),
            QStringLiteral("Insert Into CheckList (Sharing_Link, Status) Values ('http://x/2', 'Checking')")}));
        QCOMPARE(p.Load(), loads);
        int version = -1;
        int downRows = -1;
        QVERIFY(p.folder.WithConnection([&](QSqlDatabase &db) {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
                return false;
            version = query.value(0).toInt();
            return query.exec(QStringLiteral("Select Count(*) From DownList")) && query.next()
                && (downRows = query.value(0).toInt(), true);
        }));
        QTEST(version, "versionAfter");
        QCOMPARE(downRows, 1);
        if (loads) {
            QCOMPARE(p.controller.Store().rsDownList.RecordCount(), 1);
            QCOMPARE(p.controller.Store().rsCheckList.RecordCount(), 1);
            QVERIFY(p.controller.Store().rsDownList.Table()->FieldIndex(u"Partial_File") >= 0);
            QVERIFY(p.controller.Store().rsDownList.Table()->FieldIndex(u"Final_URL") >= 0);
            QVERIFY(p.controller.Store().rsCheckList.Table()->FieldIndex(u"Final_URL") >= 0);
        } else {
            QCOMPARE(p.ends, 1);
            QCOMPARE(p.prompter.shown.size(), 1);
            QCOMPARE(p.prompter.shown.last().title, QStringLiteral("Critical Error"));
            QVERIFY2(p.prompter.shown.last().text.contains(QLatin1String("schema version 7"))
                         && p.prompter.shown.last().text.contains(QLatin1String("up to 2")),
                     qPrintable(p.prompter.shown.last().text));
        }
    }

    void firstRunStoresAndCreatesTheDefaultFolder()
    {
        Program p;
        QSignalSpy shown(&p.controller, &MainController::DownPathChanged);
        QVERIFY(p.Load());
        const QString expected = QDir::toNativeSeparators(m_home.filePath(QStringLiteral("Downloads/Free Tidefetch")));
        QCOMPARE(p.controller.DownPath(), expected);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.first().first().toString(), expected);
        QVERIFY(QFileInfo(expected).isDir()); // every missing level made
        AppSettings reread(p.settingsDir.filePath(QStringLiteral("settings.ini")));
        QCOMPARE(reread.Value(QStringLiteral("Settings"), QStringLiteral("DownPath"), QString()), expected);
    }

    void browseRefusesOpticalFolders()
    {
        Program p;
        QVERIFY(p.Load());
        const QString before = p.controller.DownPath();
        p.controller.IsOpticalFolder = [](const QString &path) { return path.startsWith(QLatin1String("/media/cdrom")); };

        // Cancelled at once: nothing changes.
        p.controller.btnBrowse_Click();
        QCOMPARE(p.controller.DownPath(), before);

        // A CD: the message, the picker again; then cancelled: the old folder stays.
        p.prompter.shown.clear();
        p.prompter.folderAnswers = {QStringLiteral("/media/cdrom")};
        p.controller.btnBrowse_Click();
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("Selected drive is CD ROM, Please select another folder")});
        QCOMPARE(p.prompter.shown.at(1).icon, Prompter::Icon::Exclamation);
        QCOMPARE(p.prompter.shown.at(0).title, QStringLiteral("Please, Select the download folder."));
        QCOMPARE(p.prompter.shown.size(), 3); // picker, message, picker
        QCOMPARE(p.controller.DownPath(), before);

        // A CD, then a hard-disk folder: accepted and stored.
        p.prompter.folderAnswers = {QStringLiteral("/media/cdrom/sub"), m_home.filePath(QStringLiteral("chosen"))};
        p.controller.btnBrowse_Click();
        const QString chosen = QDir::toNativeSeparators(m_home.filePath(QStringLiteral("chosen")));
        QCOMPARE(p.controller.DownPath(), chosen);
        QCOMPARE(p.settings.DownPath(), chosen);
        QVERIFY(!QFileInfo::exists(chosen)); // chosen, not created
    }

private:
    static QString UserList()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1String("/DownList.db");
    }

    QTemporaryDir m_home;
    QTemporaryDir m_shipped;
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
