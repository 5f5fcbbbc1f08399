#include "app/MainController.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
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
        QCOMPARE(p.prompter.shown.last().text, lastMessage);
        QCOMPARE(p.prompter.shown.last().title, title);
        QCOMPARE(p.prompter.shown.last().icon, Prompter::Icon::Critical);
        if (messages == 2)
            QVERIFY(p.prompter.shown.first().text.startsWith(QStringLiteral("Error occured while loading table\r\n")));
        // The missing file is never created by the attempt.
        if (messages == 1)
            QVERIFY(!QFile::exists(p.folder.Path()));
    }

    void waitingRowsGoBackToTheQueue()
    {
        Program p;
        QVERIFY(p.folder.Execute({
            QStringLiteral("Insert Into DownList (Download_Status) Values ('Wait 35 Seconds')"),
            QStringLiteral("Insert Into DownList (Download_Status) Values ('Waiting')"),
            QStringLiteral("Insert Into DownList (Download_Status) Values ('Requesting File')"),
            QStringLiteral("Insert Into DownList (Download_Status) Values ('37.5')"),
            QStringLiteral("Insert Into DownList (Download_Status) Values ('Complete')"),
        }));
        QVERIFY(p.Load());
        QStringList statuses;
        for (RecordSet rs = p.controller.Store().rsDownList.Clone(); !rs.IsEOF(); rs.MoveNext())
            statuses.append(rs.Field(u"Download_Status").toString());
        QCOMPARE(statuses, (QStringList{"Queued", "Queued", "Requesting File", "37.5", "Complete"}));
        QCOMPARE(p.windowsInitialised, 1);
        QVERIFY(p.prompter.shown.isEmpty());
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
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
