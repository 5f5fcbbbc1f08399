#include "direct/clsDirectLink.h"

#include "direct/ContentDisposition.h"
#include "direct/DirectLog.h"
#include "transfer/ContentRange.h"
#include "transfer/HttpResponseHead.h"
#include "transfer/TlsTrust.h"
#include "util/FileFolder.h"
#include "util/LinkKinds.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

namespace {

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString StatusText(const QNetworkReply &reply, int status)
{
    const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    return QLatin1String("HTTP ") + QString::number(status) + (reason.isEmpty() ? QString() : QLatin1Char(' ') + reason);
}

} // namespace

clsDirectLink::clsDirectLink(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_tmrTimeOut(new QTimer(this))
{
    m_tmrTimeOut->setSingleShot(true);
    connect(m_tmrTimeOut, &QTimer::timeout, this, &clsDirectLink::OnTimeOut);
}

clsDirectLink::~clsDirectLink()
{
    DropReply();
}

void clsDirectLink::Initalize()
{
    Reset();
    m_busy = false;
    m_sharingLink.clear();
}

void clsDirectLink::Check()
{
    Reset();
    m_busy = true;
    if (!Raise(QStringLiteral("Checking Link"), m_sharingLink))
        return;
    const QUrl url(m_sharingLink);
    if (!LinkKinds::IsWebAddress(url)) {
        Fail(QStringLiteral("Error"), QStringLiteral("Not an http or https address: ") + m_sharingLink);
        return;
    }
    Send(url, Method::Head);
}

void clsDirectLink::Reset()
{
    DropReply();
    m_tmrTimeOut->stop();
    ++m_run;
    m_redirects = 0;
    m_fileName.clear();
    m_fileSize = -1;
    m_finalUrl.clear();
}

void clsDirectLink::Cancel(qint32 iID)
{
    if (iID != m_downItemId || !m_busy)
        return;
    DropReply();
    m_tmrTimeOut->stop();
    m_busy = false;
    // Reported from the event loop, and only for this run: a later check is not cancelled.
    QTimer::singleShot(0, this, [this, run = ++m_run] {
        if (run == m_run)
            Raise(QStringLiteral("User Cancel"), QString());
    });
}

void clsDirectLink::Send(const QUrl &url, Method method)
{
    DropReply();
    m_finalUrl = url;
    m_method = method;
    m_certificateProblems.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Tidefetch/%1").arg(QCoreApplication::applicationVersion()));
    // Sizes are those of the file itself, not of a compressed transfer of it.
    request.setRawHeader("Accept-Encoding", "identity");
    if (url.scheme() == QLatin1String("https"))
        request.setSslConfiguration(TlsTrust::Configuration());
    if (method == Method::FirstByte)
        request.setRawHeader("Range", "bytes=0-0");
    qCDebug(lcDirect) << (method == Method::Head ? "HEAD" : "GET first byte") << url;
    QNetworkReply *reply = method == Method::Head ? m_network->head(request) : m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { OnMetaData(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { OnFinished(reply); });
    connect(reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        for (const QSslError &error : errors)
            m_certificateProblems.append(error.errorString());
    });
    m_tmrTimeOut->start(m_timeOut);
}

void clsDirectLink::OnMetaData(QNetworkReply *reply)
{
    // The head is enough: the body of a GET is never read.
    if (reply == m_reply && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        TakeAnswer(reply);
}

void clsDirectLink::OnFinished(QNetworkReply *reply)
{
    if (reply != m_reply)
        return;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        TakeAnswer(reply);
        return;
    }
    const QNetworkReply::NetworkError error = reply->error();
    const QString description = reply->errorString();
    DropReply();
    if (m_method == Method::Head && error == QNetworkReply::RemoteHostClosedError) {
        Send(m_finalUrl, Method::FirstByte);
        return;
    }
    if (!m_certificateProblems.isEmpty()) {
        Fail(QStringLiteral("Error"), QLatin1String("certificate problem: ") + m_certificateProblems.join(QLatin1String("; ")));
        return;
    }
    Fail(QStringLiteral("Error"), description);
}

void clsDirectLink::TakeAnswer(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    qCDebug(lcDirect) << status << "from" << m_finalUrl;
    const QString statusText = StatusText(*reply, status);
    if (IsRedirect(status)) {
        const QByteArray location = reply->rawHeader("Location");
        DropReply();
        if (location.isEmpty()) {
            Fail(QStringLiteral("Error"), statusText + QLatin1String(" without a Location"));
            return;
        }
        if (++m_redirects > MaxRedirects) {
            Fail(QStringLiteral("Error"), QStringLiteral("too many redirects"));
            return;
        }
        const QUrl next = m_finalUrl.resolved(QUrl::fromEncoded(location));
        if (!LinkKinds::IsWebAddress(next)) {
            Fail(QStringLiteral("Error"), QLatin1String("redirect to an address that is not http or https: ")
                     + QString::fromLatin1(location));
            return;
        }
        Send(next, m_method);
        return;
    }
    if (m_method == Method::Head && (status == 405 || status == 501)) {
        DropReply();
        Send(m_finalUrl, Method::FirstByte);
        return;
    }
    if (status == 404 || status == 410) {
        DropReply();
        Fail(QStringLiteral("UnAvailable"), statusText);
        return;
    }
    if (status < 200 || status > 299) {
        DropReply();
        Fail(QStringLiteral("Error"), statusText);
        return;
    }
    TakeFile(reply, status);
    DropReply();
    m_tmrTimeOut->stop();
    m_busy = false;
    Raise(QStringLiteral("Done"), QString());
}

void clsDirectLink::TakeFile(QNetworkReply *reply, int status)
{
    QString name = ContentDisposition::FileName(reply->rawHeader("Content-Disposition"));
    if (name.isEmpty()) {
        const QString path = m_finalUrl.path(QUrl::FullyDecoded);
        name = path.mid(path.lastIndexOf(u'/') + 1);
    }
    m_fileName = FileFolder::SafeFileName(name, m_finalUrl.host());
    if (status == 206) {
        const std::optional<ContentRange> range = ContentRange::Parse(reply->rawHeader("Content-Range"));
        m_fileSize = range && range->total >= 0 ? range->total : -1;
    } else {
        m_fileSize = HttpResponseHead::ByteCount(reply->rawHeader("Content-Length").trimmed());
    }
}

void clsDirectLink::OnTimeOut()
{
    DropReply();
    Fail(QStringLiteral("Error"), QStringLiteral("Connection Time out"));
}

void clsDirectLink::DropReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    // Not from inside the reply's own signal, which Qt does not expect: the
    // reply goes once the event loop has it back.
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            if (!reply->isFinished())
                reply->abort();
            reply->deleteLater();
        },
        Qt::QueuedConnection);
}

void clsDirectLink::Fail(const QString &status, const QString &details)
{
    m_tmrTimeOut->stop();
    if (!Raise(status, details))
        return;
    m_busy = false;
    Raise(QStringLiteral("Stop"), QStringLiteral("Error Occured"));
}

bool clsDirectLink::Raise(const QString &status, const QString &details)
{
    const quint64 run = m_run;
    const QPointer<clsDirectLink> alive(this);
    Q_EMIT StatusCheck(m_downItemId, status, details);
    return alive && run == m_run;
}
