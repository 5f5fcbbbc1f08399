#include "clipboard/ClipboardWatch.h"
#include "clipboard/LinkReader.h"
#include "store/LinkStore.h"
#include "support/TestListFile.h"
#include "util/RecordingPrompter.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString kA = QStringLiteral("http://rapidshare.com/files/111/a.zip");
const QString kB = QStringLiteral("http://rapidshare.com/files/222/b.rar");
const QString kC = QStringLiteral("http://rapidshare.com/files/333/c.avi");

struct Reader {
    TestListFile file;
    RecordingPrompter prompter;
    LinkStore store{file.Path(), prompter};
    LinkReader reader{store, prompter, QStringLiteral("rapidshare.com")};

    Reader() { store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList); }

    QStringList Links() const
    {
        QStringList links;
        for (RecordSet rs = store.rsCheckList.Clone(); !rs.IsEOF(); rs.MoveNext())
            links.append(rs.Field(u"Sharing_Link").toString());
        return links;
    }
};

} // namespace

class tst_LinkReader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkTest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("supported");
        QTest::newRow("full link") << kA << true;
        QTest::newRow("capitals") << "HTTP://RAPIDSHARE.COM/FILES/1/A.ZIP" << true;
        QTest::newRow("secure scheme") << "https://rapidshare.com/files/111/a.zip" << false;
        QTest::newRow("no file name") << "http://rapidshare.com/files/111" << false;
        QTest::newRow("other domain") << "http://example.com/files/111/a.zip" << false;
        QTest::newRow("too short") << "http://rs.com/a/" << false;
        QTest::newRow("no scheme") << "rapidshare.com/files/111/a.zip/x" << false;
    }
    void linkTest()
    {
        QFETCH(QString, text);
        QFETCH(bool, supported);
        Reader r;
        QCOMPARE(r.reader.IsSupportedLink(text), supported);
    }

    void readsLinksOutOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("balloon");
        QTest::newRow("one link") << kA << QStringList{kA} << "1 Link Added";
        QTest::newRow("CR LF lines, short word passed over")
            << kA + "\r\n" + kB + " ab\r\n" + kC << QStringList{kA, kB, kC} << "3 Links Added";
        QTest::newRow("blanks around and between")
            << "  " + kA + "  " + kB + "   " << QStringList{kA, kB} << "2 Links Added";
        QTest::newRow("LF alone does not split") << kA + "\n" + kB << QStringList{kA + "\n" + kB} << "1 Link Added";
        QTest::newRow("tab does not split") << kA + "\t" + kB << QStringList{kA + "\t" + kB} << "1 Link Added";
        QTest::newRow("word before the link fails the whole text") << "see " + kA << QStringList() << "";
        QTest::newRow("unsupported words skipped") << kA + " https://rapidshare.com/files/9/x.zip" << QStringList{kA}
                                                   << "1 Link Added";
    }
    void readsLinksOutOfText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, added);
        QFETCH(QString, balloon);
        Reader r;
        QSignalSpy started(&r.reader, &LinkReader::LinksAdded);
        QCOMPARE(r.reader.AddLinksFromText(text, true), int(added.size()));
        QCOMPARE(r.Links(), added);
        QCOMPARE(started.count(), added.isEmpty() ? 0 : 1);
        if (balloon.isEmpty()) {
            QVERIFY(r.prompter.shown.isEmpty()); // quiet
        } else {
            QCOMPARE(r.prompter.shown.size(), 1);
            QCOMPARE(r.prompter.shown.first().kind, QStringLiteral("balloon"));
            QCOMPARE(r.prompter.shown.first().text, balloon);
            QCOMPARE(r.prompter.shown.first().title, QStringLiteral("Tidefetch"));
            QCOMPARE(r.prompter.shown.first().milliseconds, 5000);
            QCOMPARE(r.prompter.shown.first().icon, Prompter::Icon::Information);
        }
    }

    // The paste box and the command line take direct links too; the clipboard
    // and the search page keep to service links.
    void directLinks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("direct"); // the reader is asked for direct links too
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("messages");
        const QString http = QStringLiteral("http://example.org/pub/a.iso");
        const QString https = QStringLiteral("HTTPS://mirror.example.net:8443/b%20c.tar.gz?x=1");
        const QStringList none;
        const QStringList notFound{QStringLiteral("No Supported links Found.")};
        QTest::newRow("http and https between service links")
            << kA + "\r\n" + http + " " + https + "\r\n" + kB << true << QStringList{kA, http, https, kB} << none;
        QTest::newRow("a host alone") << "https://example.org" << true << QStringList{"https://example.org"} << none;
        QTest::newRow("service only: direct words passed over") << kA + " " + http << false << QStringList{kA} << none;
        QTest::newRow("service only: a text that starts with one") << http << false << none << notFound;
        QTest::newRow("the service's domain is never direct")
            << "https://rapidshare.com/files/9/x.zip http://rapidshare.com/files/9" << true << none << none;
        QTest::newRow("other schemes and no host") << "http:// ftp://example.org/a http:///a" << true << none << none;
        QTest::newRow("a word before the address fails the whole text") << "see " + http << true << none << notFound;
        QTest::newRow("a duplicate is refused as for service links")
            << http + " " + http.toUpper().replace("HTTP://", "http://") << true << QStringList{http}
            << QStringList{QStringLiteral("Link is already exist")};
    }
    void directLinks()
    {
        QFETCH(QString, text);
        QFETCH(bool, direct);
        QFETCH(QStringList, added);
        QFETCH(QStringList, messages);
        Reader r;
        const LinkReader::Kinds kinds =
            direct ? LinkReader::Kinds::ServiceAndDirectLinks : LinkReader::Kinds::ServiceLinks;
        QCOMPARE(r.reader.AddLinksFromText(text, false, kinds), int(added.size()));
        QCOMPARE(r.Links(), added);
        QCOMPARE(r.prompter.messages(), messages);
    }

    void notQuietSaysWhenNothingIsALink()
    {
        Reader r;
        QCOMPARE(r.reader.AddLinksFromText(QStringLiteral("hello ") + kA, false), 0);
        QCOMPARE(r.prompter.messages(), QStringList{QStringLiteral("No Supported links Found.")});
        // A text that passes as a whole but adds nothing says nothing.
        r.prompter.shown.clear();
        QCOMPARE(r.reader.AddLinksFromText(kA, false), 1);
        QCOMPARE(r.reader.AddLinksFromText(kA, false), 0);
        QCOMPARE(r.prompter.messages(), QStringList{QStringLiteral("Link is already exist")});
    }

    void platformLineBreaksBecomeCrLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("converted");
        QTest::newRow("LF and CR LF") << kA + "\n" + kB + "\r\n" + kC + "\n" << kA + "\r\n" + kB + "\r\n" + kC + "\r\n";
        QTest::newRow("CR alone kept") << "a\rb\r" << "a\rb\r";
        QTest::newRow("only one CR belongs to the break") << "a\r\r\nb" << "a\r\r\nb";
        QTest::newRow("bare line breaks") << "\n\n\r\n\n" << "\r\n\r\n\r\n\r\n";
        QTest::newRow("empty") << "" << "";
    }
    void platformLineBreaksBecomeCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QString, converted);
        QCOMPARE(LinkReader::WithCrLfLineBreaks(text), converted);
    }

    // The tick reads links as the reader does from the whole text with CR LF breaks.
    void clipboardTickTakesLinksPerLine_data()
    {
        const QString filler = QStringLiteral("x\n").repeated(1000);
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("LF lines, last line without a break")
            << kA + "\n\nsome text\n" + kB << QStringList{kA, kB};
        QTest::newRow("CR LF already there") << kA + "\r\n" + kB + "\r\n" << QStringList{kA, kB};
        QTest::newRow("CR alone does not split") << kA + "\r" + kB << QStringList{kA + "\r" + kB};
        QTest::newRow("mixed, a second CR stays in the word")
            << kA + "\r\r\n" + kB + "\n" + kC + "\r\n" << QStringList{kA + "\r", kB, kC};
        QTest::newRow("first line not the service's") << "http://example.com/a/b/c\nsee " + kB << QStringList{kB};
        QTest::newRow("link on a later line only") << "see\n" + kA << QStringList();
        QTest::newRow("blanks before the first line") << "  " + kA + " \n " + kB << QStringList{kA, kB};
        QTest::newRow("long text, domain in capitals far down")
            << kA + "\n" + filler + "HTTP://RAPIDSHARE.COM/FILES/2/B.ZIP\n" + filler
            << QStringList{kA, QStringLiteral("HTTP://RAPIDSHARE.COM/FILES/2/B.ZIP")};
    }
    void clipboardTickTakesLinksPerLine()
    {
        QFETCH(QString, clipboard);
        QFETCH(QStringList, added);
        Reader r;
        ClipboardWatch watch(r.reader, r.prompter);
        r.prompter.clipboard = clipboard;
        watch.tmrClipboard_Timer();
        QCOMPARE(r.Links(), added);
        QCOMPARE(r.prompter.clipboardClears, added.isEmpty() ? 0 : 1);
        QCOMPARE(r.prompter.messages(), QStringList());
    }

    void onlyLinesThatCanHoldALinkReachTheReader()
    {
        Reader r;
        const QString lines = QStringLiteral("x\n").repeated(100000);
        QCOMPARE(r.reader.LinkLinesWithCrLfLineBreaks(kA + "\n" + lines + kB + "\n" + lines),
                 kA + "\r\n" + kB + "\r\n");
    }

    void clipboardTick()
    {
        Reader r;
        ClipboardWatch watch(r.reader, r.prompter);

        // Lines from a Linux clipboard are LF-separated: each is its own link.
        r.prompter.clipboard = kA + "\n" + kB;
        watch.tmrClipboard_Timer();
        QCOMPARE(r.Links(), (QStringList{kA, kB}));
        QCOMPARE(r.prompter.clipboard, QString());
        QCOMPARE(r.prompter.clipboardClears, 1);

        // Refused links stay on the clipboard and are read again, silently.
        r.prompter.shown.clear();
        r.prompter.clipboard = kA;
        watch.tmrClipboard_Timer();
        watch.tmrClipboard_Timer();
        QCOMPARE(r.prompter.clipboard, kA);
        QCOMPARE(r.prompter.clipboardClears, 1);
        QVERIFY(r.prompter.shown.isEmpty());

        // Text without the service domain is not read; capture switched off reads nothing.
        r.prompter.clipboard = QStringLiteral("http://example.com/files/1/x.zip");
        watch.tmrClipboard_Timer();
        watch.SetCatchEnabled(false);
        r.prompter.clipboard = kC;
        watch.tmrClipboard_Timer();
        QCOMPARE(r.Links(), (QStringList{kA, kB}));

        // The timer ticks by itself.
        watch.SetCatchEnabled(true);
        watch.SetInterval(10);
        QTRY_COMPARE(r.Links(), (QStringList{kA, kB, kC}));
    }
};

QTEST_GUILESS_MAIN(tst_LinkReader)
#include "tst_linkreader.moc"
