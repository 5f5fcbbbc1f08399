#include "launch/HandOffChannel.h"
#include "launch/LinkInbox.h"
#include "support/TestListFile.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

constexpr int kWait = 20000;
const QString kLink = QStringLiteral("http://rapidshare.com/files/123/holiday.rar");

// True when something accepts connections at the hand-off socket.
bool SomeoneListens()
{
    QLocalSocket probe;
    probe.connectToServer(HandOffChannel::SocketPath());
    return probe.waitForConnected(200);
}

// One user of the machine: their own home, settings, data and runtime folders.
// Every service host is a closed loopback port, so no check leaves the machine.
struct UserHome {
    QTemporaryDir root;

    QString Path(const char *name) const { return root.filePath(QLatin1String(name)); }
    QString ListFile() const { return Path("data/Tidefetch/DownList.db"); }

    bool Prepare() const
    {
        const QByteArray closedHosts =
            "[Services]\nApiHost=127.0.0.1:1\nFileServerHost=127.0.0.1:1\nSearchHost=127.0.0.1:1\n";
        QFile settings(Path("config/Velm Tidefetch.conf"));
        return root.isValid() && QDir().mkpath(Path("config")) && QDir().mkpath(Path("runtime"))
            && QFile::setPermissions(Path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
            && settings.open(QIODevice::WriteOnly) && settings.write(closedHosts) == closedHosts.size();
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), root.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), Path("none"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path("runtime"));
        return environment;
    }

    // The links of the user's check list.
    QStringList CheckedLinks() const
    {
        QStringList links;
        const QString name = QStringLiteral("tidefetch-home");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(ListFile());
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (QFile::exists(ListFile()) && db.open()) {
                QSqlQuery query(QStringLiteral("Select Sharing_Link From CheckList"), db);
                while (query.next())
                    links.append(query.value(0).toString());
            }
        }
        QSqlDatabase::removeDatabase(name);
        return links;
    }
};

} // namespace

class tst_HandOff final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // An installation of its own: a copy of the program in bin/ (no list file of
        // the build beside it is taken for a portable one), the empty list in share/.
        QVERIFY(m_install.isValid() && m_runtime.isValid());
        TestListFile shipped;
        QVERIFY(shipped.IsValid());
        QVERIFY(QDir().mkpath(m_install.filePath(QStringLiteral("bin"))));
        QVERIFY(QDir().mkpath(m_install.filePath(QStringLiteral("share/tidefetch"))));
        QVERIFY(QFile::copy(QStringLiteral(TIDEFETCH_PROGRAM), Program()));
        QVERIFY(QFile::copy(shipped.Path(), m_install.filePath(QStringLiteral("share/tidefetch/DownList.db"))));
    }

    void init()
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    }

    void onlyOneCopyListens()
    {
        auto first = std::make_unique<LinkInbox>();
        LinkInbox second;
        QVERIFY(first->Listen());
        QVERIFY(!second.Listen());
        QVERIFY(!second.IsListening());
        first.reset();
        QVERIFY(second.Listen());
        QVERIFY(SomeoneListens());
    }

    void inboxTakesOneMessagePerConnection_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<QStringList>("received");
        QTest::addColumn<bool>("acknowledged");

        const QStringList links{kLink, QStringLiteral("http://rapidshare.com/files/9/b.rar")};
        const QByteArray message = HandOffChannel::Encode(links);
        QTest::newRow("two links") << QList<QByteArray>{message} << links << true;
        QTest::newRow("a message in pieces")
            << QList<QByteArray>{message.left(2), message.mid(2, 9), message.mid(11)} << links << true;
        QByteArray tooLong(HandOffChannel::HeaderBytes, Qt::Uninitialized);
        qToBigEndian(quint32(HandOffChannel::MaxTextBytes + 1), tooLong.data());
        QTest::newRow("a message longer than allowed is dropped")
            << QList<QByteArray>{tooLong + QByteArray(HandOffChannel::MaxTextBytes + 1, 'x')} << QStringList{} << false;
    }
    void inboxTakesOneMessagePerConnection()
    {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(QStringList, received);
        QFETCH(bool, acknowledged);
        LinkInbox inbox;
        QVERIFY(inbox.Listen());
        QSignalSpy links(&inbox, &LinkInbox::LinksReceived);
        QLocalSocket peer;
        peer.connectToServer(HandOffChannel::SocketPath());
        QVERIFY(peer.waitForConnected(1000));
        for (const QByteArray &piece : writes) {
            peer.write(piece);
            QTest::qWait(20);
        }
        // Answered or dropped, the connection ends.
        QVERIFY(QTest::qWaitFor([&peer] { return peer.state() == QLocalSocket::UnconnectedState; }, kWait));
        QCOMPARE(peer.readAll(), acknowledged ? HandOffChannel::Acknowledgement() : QByteArray());
        QCOMPARE(links.size(), received.isEmpty() ? 0 : 1);
        if (!received.isEmpty())
            QCOMPARE(links.first().first().toStringList(), received);
    }

    // The real program, twice, for one user: the second hands its link to the
    // first and ends, and the link lands in the user's check list.
    void programHandsLinksToTheRunningCopy_data()
    {
        QTest::addColumn<QString>("before"); // what runs before the second copy starts
        QTest::newRow("a copy runs") << "running";
        QTest::newRow("the last copy crashed, leaving its lock and socket") << "crashed";
        QTest::newRow("the running copy does not answer: the second starts with its link") << "silent";
    }
    void programHandsLinksToTheRunningCopy()
    {
        QFETCH(QString, before);
        UserHome home;
        QVERIFY(home.Prepare());
        qputenv("XDG_RUNTIME_DIR", home.Path("runtime").toUtf8());

        if (before == QLatin1String("crashed")) {
            QProcess crashed;
            QVERIFY(Start(crashed, home, {}));
            QVERIFY(QTest::qWaitFor(SomeoneListens, kWait));
            crashed.kill();
            QVERIFY(crashed.waitForFinished(kWait));
            QVERIFY(QFile::exists(HandOffChannel::SocketPath()) && QFile::exists(HandOffChannel::LockPath()));
            QVERIFY(!SomeoneListens());
        }
        QProcess first;
        QLockFile heldLock(HandOffChannel::LockPath());
        QLocalServer silent;
        if (before == QLatin1String("silent")) {
            QVERIFY(heldLock.tryLock(0));
            QVERIFY(silent.listen(HandOffChannel::SocketPath()));
        } else {
            QVERIFY(Start(first, home, {}));
            QVERIFY2(QTest::qWaitFor(SomeoneListens, kWait), first.readAll().constData());
        }

        QProcess second;
        QVERIFY(Start(second, home, {kLink}));
        if (before == QLatin1String("silent")) {
            QVERIFY(QTest::qWaitFor([&home] { return home.CheckedLinks().contains(kLink); }, kWait));
            QCOMPARE(second.state(), QProcess::Running);
        } else {
            QVERIFY2(second.waitForFinished(kWait), second.readAll().constData());
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
            QVERIFY(QTest::qWaitFor([&home] { return home.CheckedLinks() == QStringList{kLink}; }, kWait));
            QCOMPARE(first.state(), QProcess::Running);
        }
        for (QProcess *program : {&first, &second}) {
            program->kill();
            program->waitForFinished(kWait);
        }
    }

private:
    QString Program() const { return m_install.filePath(QStringLiteral("bin/tidefetch")); }

    bool Start(QProcess &program, const UserHome &home, const QStringList &arguments) const
    {
        program.setProcessEnvironment(home.Environment());
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(Program(), arguments);
        return program.waitForStarted(kWait);
    }

    QTemporaryDir m_install;
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(tst_HandOff)
#include "tst_handoff.moc"
