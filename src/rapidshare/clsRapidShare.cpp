#include "rapidshare/clsRapidShare.h"

#include "rapidshare/RapidShareApi.h"
#include "rapidshare/ServiceLog.h"
#include "timers/CTimer.h"
#include "util/AppSettings.h"
#include "util/Prompter.h"
#include "util/TextRules.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

// API replies are one line; anything far larger is not an API reply and is not
// worth holding in memory.
constexpr qint64 kMaxReplyBytes = 1024 * 1024;

// The request line carries the text as built: a "#" in a file name would
// otherwise start a fragment and cut the query short.
QUrl RequestUrl(const QString &text)
{
    QString encoded = TextRules::TrimBlanks(text);
    encoded.replace(QLatin1Char('#'), QLatin1String("%23"));
    return QUrl(encoded, QUrl::TolerantMode);
}

// True when the request ended without a whole HTTP answer (refused, reset, cut
// short, protocol failure); an HTTP error status still carries a readable body.
bool IsTransportFailure(const QNetworkReply &reply)
{
    if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return true;
    const int error = reply.error();
    return (error > 0 && error < 200) || (error >= 300 && error < 400);
}

} // namespace

clsRapidShare::clsRapidShare(const AppSettings &settings, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_network(new QNetworkAccessManager(this))
    , m_tmrTimeOut(new CTimer(this))
    , m_tmrWait(new CTimer(this))
{
    m_tmrTimeOut->setInterval(15000);
    m_tmrWait->setInterval(1000);
    connect(m_tmrTimeOut, &CTimer::Timer, this, &clsRapidShare::tmrTimeOut_Timer);
    connect(m_tmrWait, &CTimer::Timer, this, &clsRapidShare::tmrWait_Timer);
}

clsRapidShare::~clsRapidShare()
{
    DropReply();
}

void clsRapidShare::setSharingLink(const QString &link)
{
    m_sharingLink = link;
    if (const auto parts = RapidShareApi::SplitSharingLink(link)) {
        m_fileId = parts->fileId;
        m_fileName = parts->fileName;
    }
}

void clsRapidShare::Cancel(qint32 iID)
{
    if (iID != m_downItemId)
        return;
    switch (m_stage) {
    case Stage::CheckRequest:
    case Stage::FilePageRequest:
    case Stage::TicketRequest: {
        DropReply();
        m_tmrTimeOut->Disable();
        m_stage = Stage::Cancelling;
        // Reported from the event loop, as the caller expects of a running request.
        QTimer::singleShot(0, this, [this, run = m_run] {
            if (run != m_run || m_stage != Stage::Cancelling)
                return;
            m_stage = Stage::Idle;
            Raise(QStringLiteral("User Cancel"), QString());
        });
        break;
    }
    case Stage::Countdown:
        m_cancel = true; // consumed by the next tick
        break;
    case Stage::Idle:
    case Stage::Cancelling:
        break;
    }
}

void clsRapidShare::Initalize()
{
    m_sharingLink.clear();
    m_premuimUserName.clear();
    m_premuimPassword.clear();
    m_fileId.clear();
    m_fileName.clear();
    m_fileSize = 0;
    m_serverId.clear();
    m_shortHost.clear();
    m_downloadAuth.clear();
    m_downloadHost.clear();
    m_announcedAddress.clear();
    m_waitSeconds = 0;
    m_waiting = false;
    m_repeat = false;
}

void clsRapidShare::Check()
{
    BeginRun(true);
    m_stage = Stage::CheckRequest;
    if (!Raise(QStringLiteral("Checking Link"), m_fileName) || m_stage != Stage::CheckRequest)
        return;
    SendRequest(RapidShareApi::CheckFilesUrl(m_settings.ApiHost(), m_fileId, m_fileName), Stage::CheckRequest);
}

void clsRapidShare::Start()
{
    BeginRun(false);
    if (!m_premuimUserName.isEmpty() && !m_premuimPassword.isEmpty()) {
        const QString host = RapidShareApi::FileServerHost(m_settings.FileServerHostPattern(), m_serverId, m_shortHost);
        m_announcedAddress =
            RapidShareApi::PremiumLink(host, m_fileId, m_fileName, m_premuimUserName, m_premuimPassword);
        Raise(QStringLiteral("Download Link"), m_announcedAddress);
        return;
    }
    m_stage = Stage::TicketRequest;
    if (!Raise(QStringLiteral("Requesting File"), m_fileName) || m_stage != Stage::TicketRequest)
        return;
    SendRequest(RapidShareApi::FreeDownloadUrl(m_settings.ApiHost(), m_fileId, m_fileName), Stage::TicketRequest);
}

void clsRapidShare::BeginRun(bool checkMode)
{
    Abandon();
    ++m_run;
    m_checkMode = checkMode;
}

// Drops whatever an earlier run left: its request, its countdown, its cancel.
void clsRapidShare::Abandon()
{
    DropReply();
    m_tmrTimeOut->Disable();
    m_tmrWait->Disable();
    m_cancel = false;
    m_waiting = false;
    m_repeat = false;
    m_stage = Stage::Idle;
}

void clsRapidShare::SendRequest(const QString &url, Stage stage)
{
    m_stage = stage;
    qCDebug(lcService) << "row" << m_downItemId << "asks" << url;
    m_tmrTimeOut->Enable();
    QNetworkReply *reply = m_network->get(QNetworkRequest(RequestUrl(url)));
    m_reply = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { OnReplyFinished(reply); });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64) { OnReplyProgress(reply, received); });
}

void clsRapidShare::DropReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void clsRapidShare::OnReplyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    m_tmrTimeOut->Disable();

    if (IsTransportFailure(*reply)) {
        RequestFailed(reply->errorString());
        return;
    }
    bool ok = false;
    const qint64 length = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    if (!ok || length < 0) {
        RequestFailed(QStringLiteral("The reply has no valid Content-Length"));
        return;
    }
    RequestDone(QString::fromUtf8(reply->read(qMin(length, reply->bytesAvailable()))));
}

void clsRapidShare::OnReplyProgress(QNetworkReply *reply, qint64 received)
{
    if (reply != m_reply || received <= kMaxReplyBytes)
        return;
    DropReply();
    m_tmrTimeOut->Disable();
    RequestFailed(QStringLiteral("The reply is too large"));
}

void clsRapidShare::tmrTimeOut_Timer()
{
    m_tmrTimeOut->Disable();
    if (!m_reply)
        return;
    DropReply(); // a late answer is never read
    RequestFailed(QStringLiteral("Connection Time out"));
}

void clsRapidShare::RequestFailed(const QString &description)
{
    if (m_stage != Stage::FilePageRequest) {
        Fail(description);
        return;
    }
    // The file page is only a courtesy request: the check itself has succeeded.
    m_stage = Stage::Idle;
    if (!Raise(QStringLiteral("Error"), description))
        return;
    Raise(QStringLiteral("Done"), QString());
}

void clsRapidShare::RequestDone(const QString &text)
{
    switch (m_stage) {
    case Stage::CheckRequest:
        OnCheckReply(text);
        break;
    case Stage::FilePageRequest:
        m_stage = Stage::Idle;
        Raise(QStringLiteral("Done"), QString());
        break;
    case Stage::TicketRequest:
        OnTicketReply(text);
        break;
    case Stage::Idle:
    case Stage::Countdown:
    case Stage::Cancelling:
        break;
    }
}

void clsRapidShare::OnCheckReply(const QString &text)
{
    using Outcome = RapidShareApi::CheckReply::Outcome;
    const RapidShareApi::CheckReply reply = RapidShareApi::ReadCheckReply(text);
    switch (reply.outcome) {
    case Outcome::Available: {
        m_fileId = reply.fileId;
        m_fileName = reply.fileName;
        m_fileSize = reply.fileSize;
        m_serverId = reply.serverId;
        m_shortHost = reply.shortHost;
        const QString host = RapidShareApi::FileServerHost(m_settings.FileServerHostPattern(), m_serverId, m_shortHost);
        SendRequest(RapidShareApi::FilePageUrl(host, m_fileId, m_fileName), Stage::FilePageRequest);
        break;
    }
    case Outcome::Ended:
        m_stage = Stage::Idle;
        Raise(QStringLiteral("End"), QString());
        break;
    case Outcome::NotAvailable:
    case Outcome::Malformed:
        Fail(reply.details);
        break;
    }
}

void clsRapidShare::OnTicketReply(const QString &text)
{
    using Kind = RapidShareApi::DownloadReply::Kind;
    const RapidShareApi::DownloadReply reply = RapidShareApi::ReadDownloadReply(text);
    switch (reply.kind) {
    case Kind::Ticket:
        m_downloadHost = reply.downloadHost;
        m_downloadAuth = reply.downloadAuth;
        m_waitSeconds = reply.waitSeconds;
        m_repeat = false;
        StartCountdown();
        break;
    case Kind::Wait:
        m_waitSeconds = reply.waitSeconds;
        m_repeat = true;
        StartCountdown();
        break;
    case Kind::MalformedTicket:
        Fail(QStringLiteral("Mal-Formated return value From API server"));
        break;
    case Kind::Unreadable:
        Fail(text);
        break;
    }
}

void clsRapidShare::StartCountdown()
{
    m_waiting = true;
    m_stage = Stage::Countdown;
    qCDebug(lcService) << "row" << m_downItemId << "waits" << m_waitSeconds << "seconds";
    m_tmrWait->Enable();
}

void clsRapidShare::tmrWait_Timer()
{
    const auto endSilently = [this] {
        m_tmrWait->Disable();
        m_cancel = false;
        m_stage = Stage::Idle;
    };
    if (m_stage != Stage::Countdown) {
        m_tmrWait->Disable();
        return;
    }
    if (m_cancel) {
        endSilently();
        return;
    }
    // A ticket without a wait, or a negative one, still counts down to 0, never below.
    m_waitSeconds = qMax(0, m_waitSeconds - 1);
    if (!Raise(QStringLiteral("Wait"), QString::number(m_waitSeconds)))
        return;
    if (m_cancel) { // cancelled from the "Wait" handler
        endSilently();
        return;
    }
    if (m_waitSeconds > 0)
        return;
    m_tmrWait->Disable();
    if (!m_waiting) { // `Initalize` dropped the negotiation meanwhile
        m_stage = Stage::Idle;
        return;
    }
    m_waiting = false;
    if (m_repeat) {
        m_repeat = false;
        Start();
        return;
    }
    FinalStep();
}

void clsRapidShare::FinalStep()
{
    m_stage = Stage::Idle;
    m_announcedAddress = RapidShareApi::FinalDownloadAddress(m_downloadHost, m_fileId, m_fileName, m_downloadAuth);
    qCDebug(lcService) << "row" << m_downItemId << "may fetch" << m_announcedAddress;
    m_prompter.setClipboardText(m_announcedAddress);
    if (!Raise(QStringLiteral("Download Link"), m_announcedAddress))
        return;
    Raise(QStringLiteral("Finish"), QStringLiteral("Done"));
}

void clsRapidShare::Fail(const QString &details)
{
    qCDebug(lcService) << "row" << m_downItemId << "failed:" << details;
    m_stage = Stage::Idle;
    if (!Raise(QStringLiteral("Error"), details))
        return;
    Raise(QStringLiteral("Stop"), QStringLiteral("Error Occured"));
}

bool clsRapidShare::Raise(const QString &status, const QString &details)
{
    const QPointer<clsRapidShare> self(this);
    const quint64 run = m_run;
    if (m_checkMode)
        Q_EMIT StatusCheck(m_downItemId, status, details);
    else
        Q_EMIT StatusDownload(m_downItemId, status, details);
    return self && run == m_run;
}
