#include "rapidshare/RapidShareApi.h"

#include <QTest>

using namespace RapidShareApi;

namespace {

// One line per reading, so a table row states the whole outcome.
QString Describe(const CheckReply &reply)
{
    switch (reply.outcome) {
    case CheckReply::Outcome::Available:
        return QStringList{QStringLiteral("Available"), reply.fileId, reply.fileName, QString::number(reply.fileSize),
                           reply.serverId, reply.shortHost}
            .join(QLatin1Char('|'));
    case CheckReply::Outcome::NotAvailable:
        return QLatin1String("NotAvailable|") + reply.details;
    case CheckReply::Outcome::Ended:
        return QLatin1String("Ended|") + reply.details;
    case CheckReply::Outcome::Malformed:
        return QLatin1String("Malformed|") + reply.details;
    }
    return {};
}

QString Describe(const DownloadReply &reply)
{
    switch (reply.kind) {
    case DownloadReply::Kind::Ticket:
        return QStringList{QStringLiteral("Ticket"), reply.downloadHost, reply.downloadAuth,
                           QString::number(reply.waitSeconds)}
            .join(QLatin1Char('|'));
    case DownloadReply::Kind::Wait:
        return QLatin1String("Wait|") + QString::number(reply.waitSeconds);
    case DownloadReply::Kind::MalformedTicket:
        return QStringLiteral("MalformedTicket");
    case DownloadReply::Kind::Unreadable:
        return QStringLiteral("Unreadable");
    }
    return {};
}

} // namespace

class tst_RapidShareApi final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitSharingLink_data();
    void splitSharingLink();
    void requests_data();
    void requests();
    void checkReply_data();
    void checkReply();
    void downloadReply_data();
    void downloadReply();
};

void tst_RapidShareApi::splitSharingLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("split");
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("full link gives id and name") << "http://rapidshare.com/files/123/a.zip" << true << "123" << "a.zip";
    QTest::newRow("link without the prefix gives nothing") << "rapidshare.com/files/123/a.zip" << false << "" << "";
    QTest::newRow("five fields give nothing") << "http://rapidshare.com/files/123" << false << "" << "";
    QTest::newRow("trailing slash gives an empty name") << "http://rapidshare.com/files/123/" << true << "123" << "";
    QTest::newRow("fields after the name are ignored")
        << "http://rapidshare.com/files/123/a.zip/more/parts" << true << "123" << "a.zip";
    QTest::newRow("name with blanks and ampersand kept as it is")
        << "http://h:8080/files/9/my file&co.rar" << true << "9" << "my file&co.rar";
}

void tst_RapidShareApi::splitSharingLink()
{
    QFETCH(QString, link);
    QFETCH(bool, split);
    const std::optional<LinkParts> parts = SplitSharingLink(link);
    QCOMPARE(parts.has_value(), split);
    if (parts) {
        QTEST(parts->fileId, "fileId");
        QTEST(parts->fileName, "fileName");
    }
}

void tst_RapidShareApi::requests_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");

    QTest::newRow("file check")
        << CheckFilesUrl("api.example:81", "123", "a b&c.zip")
        << "http://api.example:81/cgi-bin/rsapi.cgi?sub=checkfiles&files=123&filenames=a b&c.zip";
    QTest::newRow("file page") << FilePageUrl("rs42l3.example", "123", "a.zip")
                               << "http://rs42l3.example/files/123/a.zip";
    QTest::newRow("free download request")
        << FreeDownloadUrl("api.example", "123", "a.zip")
        << "http://api.example/cgi-bin/rsapi.cgi?sub=download&fileid=123&filename=a.zip";
    QTest::newRow("premium link carries the account unescaped")
        << PremiumLink("rs42l3.example", "123", "a.zip", "us&er", "p w")
        << "http://rs42l3.example/cgi-bin/rsapi.cgi?sub=download&fileid=123&filename=a.zip&login=us&er&password=p w";
    QTest::newRow("final download address")
        << FinalDownloadAddress("dl.example:9", "123", "a.zip", "AUTH")
        << "http://dl.example:9/cgi-bin/rsapi.cgi?sub=download_v1&fileid=123&filename=a.zip&dlauth=AUTH";
    QTest::newRow("file-server host from the default pattern")
        << FileServerHost("rs{server}{short}.rapidshare.com", "42", "l3") << "rs42l3.rapidshare.com";
    QTest::newRow("file-server host without placeholders")
        << FileServerHost("127.0.0.1:8080", "42", "l3") << "127.0.0.1:8080";
}

void tst_RapidShareApi::requests()
{
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void tst_RapidShareApi::checkReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("reading");

    QTest::newRow("code 1 is available")
        << "123,a.zip,1024,42,1,l3,MD5\n" << "Available|123|a.zip|1024|42|l3";
    QTest::newRow("code 51 is available") << "1,b,5,7,51,tl,x" << "Available|1|b|5|7|tl";
    QTest::newRow("size above 4 GiB is kept whole")
        << "1,b,5368709120,7,1,tl,x" << "Available|1|b|5368709120|7|tl";
    QTest::newRow("blanks around numbers are allowed") << "1,b, 5 ,7, 1 ,tl,x" << "Available|1|b|5|7|tl";
    QTest::newRow("code 0 is not found") << "1,b,0,0,0,0,0" << "NotAvailable|File Not Found";
    QTest::newRow("code 3 is server down") << "1,b,5,7,3,tl,x" << "NotAvailable|Server Down";
    QTest::newRow("code 4 is illegal") << "1,b,5,7,4,tl,x" << "NotAvailable|File marked as illegal";
    QTest::newRow("code 5 is locked") << "1,b,5,7,5,tl,x" << "NotAvailable|Locked, File has more than 10 downloads";
    QTest::newRow("code 2 ends") << "1,b,5,7,2,tl,x" << "Ended|";
    QTest::newRow("code 6 ends") << "1,b,5,7,6,tl,x" << "Ended|";
    QTest::newRow("code 50 ends") << "1,b,5,7,50,tl,x" << "Ended|";
    QTest::newRow("negative code ends") << "1,b,5,7,-1,tl,x" << "Ended|";
    QTest::newRow("six fields are malformed") << "1,b,5,7,1,tl" << "Malformed|1,b,5,7,1,tl";
    QTest::newRow("service error line is malformed")
        << "ERROR: No files given.\n" << "Malformed|ERROR: No files given.\n";
    QTest::newRow("empty reply is malformed") << "" << "Malformed|";
    QTest::newRow("status not a number is malformed") << "1,b,5,7,one,tl,x" << "Malformed|1,b,5,7,one,tl,x";
    QTest::newRow("status beyond 16 bits is malformed") << "1,b,5,7,40000,tl,x" << "Malformed|1,b,5,7,40000,tl,x";
    QTest::newRow("size not a number is malformed when available")
        << "1,b,big,7,1,tl,x" << "Malformed|1,b,big,7,1,tl,x";
    QTest::newRow("negative size is malformed when available") << "1,b,-5,7,1,tl,x" << "Malformed|1,b,-5,7,1,tl,x";
    QTest::newRow("size is not read when not available") << "1,b,big,7,0,tl,x" << "NotAvailable|File Not Found";
}

void tst_RapidShareApi::checkReply()
{
    QFETCH(QString, reply);
    QTEST(Describe(ReadCheckReply(reply)), "reading");
}

void tst_RapidShareApi::downloadReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("reading");

    QTest::newRow("ticket") << "DL:rs1.example,AB12,30,MD5\n" << "Ticket|rs1.example|AB12|30";
    QTest::newRow("ticket in lower case") << "dl:rs1.example,AB12,3,x" << "Ticket|rs1.example|AB12|3";
    QTest::newRow("ticket with a port and no wait") << "Dl:127.0.0.1:80,A,0,x" << "Ticket|127.0.0.1:80|A|0";
    QTest::newRow("ticket with three fields is malformed") << "DL:rs1.example,AB12,30" << "MalformedTicket";
    QTest::newRow("ticket wait not a number is unreadable") << "DL:rs1.example,AB12,soon,x" << "Unreadable";
    QTest::newRow("wait sentence") << "ERROR: You need to wait 30 seconds until you can download." << "Wait|30";
    QTest::newRow("wait sentence in capitals") << "WAIT 5 SECONDS" << "Wait|5";
    QTest::newRow("wait sentence with extra blanks") << "please wait  12  Seconds" << "Wait|12";
    QTest::newRow("wait without seconds is unreadable") << "You need to wait 30 minutes." << "Unreadable";
    QTest::newRow("seconds before wait is unreadable") << "30 seconds, please wait" << "Unreadable";
    QTest::newRow("wait text empty is unreadable") << "wait seconds" << "Unreadable";
    QTest::newRow("wait touching seconds is unreadable") << "waitseconds" << "Unreadable";
    QTest::newRow("wait text not a whole number is unreadable") << "wait 2.5 seconds" << "Unreadable";
    QTest::newRow("service error line is unreadable") << "ERROR: File not found." << "Unreadable";
    QTest::newRow("empty reply is unreadable") << "" << "Unreadable";
}

void tst_RapidShareApi::downloadReply()
{
    QFETCH(QString, reply);
    QTEST(Describe(ReadDownloadReply(reply)), "reading");
}

QTEST_GUILESS_MAIN(tst_RapidShareApi)
#include "tst_rapidshareapi.moc"
