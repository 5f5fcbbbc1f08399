#include "search/clsShareSearch.h"

#include "search/DirectLinks.h"
#include "search/RequestUrl.h"
#include "search/ResultPageParser.h"
#include "search/SearchLog.h"
#include "timers/CTimer.h"
#include "util/AppSettings.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStringDecoder>

#include <algorithm>

namespace {

const QString kEmptySearchText = QStringLiteral("Search Failed. Search text is empty!.");
const QString kUserCancel = QStringLiteral("User Cancel");
const QString kTimeOut = QStringLiteral("Error, Connection Time out");
const QString kLinkEmpty = QStringLiteral("Checking Failed. Link is empty.");
const QString kFailedPage = QStringLiteral("Checking Failed. Failed to get page.");

QString FailureText(const QString &description)
{
    return QLatin1String("Error:") + description;
}

// The body as text: by its byte-order mark, else by the charset the server
// names when it is one we can decode, else as UTF-8.
QString DecodeBody(QNetworkReply *reply)
{
    const QByteArray body = reply->readAll();
    if (const auto encoding = QStringConverter::encodingForData(body))
        return QStringDecoder(*encoding).decode(body);
    const QByteArray contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    const qsizetype charset = contentType.toLower().indexOf("charset=");
    if (charset >= 0) {
        QByteArray name = contentType.mid(charset + 8);
        if (const qsizetype end = name.indexOf(';'); end >= 0)
            name.truncate(end);
        name = name.trimmed();
        if (name.size() > 1 && name.startsWith('"') && name.endsWith('"'))
            name = name.mid(1, name.size() - 2);
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromUtf8(body);
}

} // namespace

struct clsShareSearch::Fetch {
    quint64 id = 0;
    QNetworkReply *reply = nullptr;
    PageHandler onPage;
};

clsShareSearch::clsShareSearch(const AppSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_tmrTimeOut(new CTimer(this))
    , m_network(new QNetworkAccessManager(this))
{
    connect(m_tmrTimeOut, &CTimer::Timer, this, &clsShareSearch::tmrTimeOut_Timer);
}

clsShareSearch::~clsShareSearch()
{
    for (const auto &fetch : m_fetches) {
        fetch->reply->disconnect(this);
        fetch->reply->abort();
    }
}

int clsShareSearch::TimeOutInterval() const
{
    return m_tmrTimeOut->Interval();
}

void clsShareSearch::setTimeOutInterval(int milliseconds)
{
    m_tmrTimeOut->setInterval(milliseconds);
}

void clsShareSearch::StopSearch()
{
    m_cancelRequested = true;
    EndWaitingFetches(kUserCancel);
}

void clsShareSearch::Initialize()
{
    m_query = SearchQuery();
    m_cancelRequested = false;
}

void clsShareSearch::StartSearch()
{
    RunSearch(std::nullopt);
}

void clsShareSearch::SearchPage(qint32 iPage)
{
    RunSearch(iPage);
}

void clsShareSearch::RunSearch(std::optional<qint32> page)
{
    if (m_query.SearchText.isEmpty()) {
        EndLater(kEmptySearchText, [this, page](const QString &) { FinishSearch(page, false); });
        return;
    }
    const QUrl url = RequestUrl::ForSearch(m_settings.SearchHost(), BuildSearchQuery(m_query, page));
    qCDebug(lcSearch) << "fetches" << url;
    FetchPageTwice(url, [this, page](const QString &body) {
        m_searchResult = ParseResultPage(body);
        qCDebug(lcSearch) << "page read:" << !body.isEmpty() << m_searchResult.Items.size() << "hits";
        FinishSearch(page, !body.isEmpty());
    });
}

void clsShareSearch::FinishSearch(std::optional<qint32> page, bool pageRead)
{
    if (page)
        Q_EMIT SearchPageFinished(*page, pageRead);
    else
        Q_EMIT SearchFinished(pageRead);
}

void clsShareSearch::GetDirectLinks(const QString &link)
{
    auto finish = [this, link](const QString &links) { Q_EMIT DirectLinksFinished(link, links); };
    if (link.isEmpty()) {
        EndLater(kLinkEmpty, finish);
        return;
    }
    FetchPageTwice(RequestUrl::ForPage(link), [this, finish](const QString &body) {
        const auto block = body.isEmpty() ? std::nullopt : CutDirectLinks(body);
        if (block)
            finish(*block);
        else if (RaiseError(body.isEmpty() ? kFailedPage : kLinkEmpty))
            finish(QString());
    });
}

void clsShareSearch::FetchPageTwice(const QUrl &url, const PageHandler &onPage)
{
    FetchPage(url, [this, url, onPage](const QString &body) {
        if (body.isEmpty())
            FetchPage(url, onPage);
        else
            onPage(body);
    });
}

void clsShareSearch::FetchPage(const QUrl &url, const PageHandler &onPage)
{
    if (!url.isValid()) {
        EndLater(FailureText(url.errorString()), onPage);
        return;
    }
    if (!RequestUrl::IsFetchable(url)) {
        EndLater(FailureText(QStringLiteral("Protocol \"%1\" is unknown").arg(url.scheme())), onPage);
        return;
    }
    // A stop request ends the fetch at its first check, before any reply can
    // have come in, so nothing is sent.
    if (m_cancelRequested) {
        EndLater(kUserCancel, onPage);
        return;
    }
    QNetworkReply *reply = m_network->get(QNetworkRequest(url));
    const quint64 id = m_nextFetchId++;
    m_fetches.push_back(std::make_unique<Fetch>(Fetch{id, reply, onPage}));
    connect(reply, &QNetworkReply::finished, this, [this, id] { ReplyFinished(id); });
    m_tmrTimeOut->Enable();
}

void clsShareSearch::EndLater(const QString &errorDesc, const PageHandler &onPage)
{
    QMetaObject::invokeMethod(
        this,
        [this, errorDesc, onPage] {
            if (RaiseError(errorDesc))
                onPage(QString());
        },
        Qt::QueuedConnection);
}

bool clsShareSearch::RaiseError(const QString &errorDesc)
{
    QPointer<clsShareSearch> self(this);
    Q_EMIT Error(errorDesc);
    return !self.isNull();
}

std::vector<std::unique_ptr<clsShareSearch::Fetch>>::iterator clsShareSearch::FindFetch(quint64 fetchId)
{
    return std::find_if(m_fetches.begin(), m_fetches.end(),
                        [fetchId](const std::unique_ptr<Fetch> &fetch) { return fetch->id == fetchId; });
}

void clsShareSearch::EndFetch(quint64 fetchId, const QString &errorDesc, const QString &body)
{
    const auto it = FindFetch(fetchId);
    if (it == m_fetches.end())
        return;
    const std::unique_ptr<Fetch> fetch = std::move(*it);
    m_fetches.erase(it);
    fetch->reply->disconnect(this);
    if (!fetch->reply->isFinished())
        fetch->reply->abort();
    fetch->reply->deleteLater();
    if (errorDesc.isEmpty() || RaiseError(errorDesc))
        fetch->onPage(body);
}

void clsShareSearch::ReplyFinished(quint64 fetchId)
{
    const auto it = FindFetch(fetchId);
    if (it == m_fetches.end())
        return;
    QNetworkReply *reply = (*it)->reply;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() != 200)
        EndFetch(fetchId, QString(), QString()); // an answer, but not the page: no event
    else if (reply->error() != QNetworkReply::NoError)
        EndFetch(fetchId, FailureText(reply->errorString()), QString());
    else
        EndFetch(fetchId, QString(), DecodeBody(reply));
}

void clsShareSearch::EndWaitingFetches(const QString &errorDesc)
{
    // Ends the fetches waiting now; a retry that one of them starts is not among them.
    std::vector<quint64> waiting;
    for (const auto &fetch : m_fetches)
        waiting.push_back(fetch->id);
    QPointer<clsShareSearch> self(this);
    for (const quint64 id : waiting) {
        if (!self)
            return;
        EndFetch(id, errorDesc, QString());
    }
}

void clsShareSearch::tmrTimeOut_Timer()
{
    m_tmrTimeOut->Disable();
    EndWaitingFetches(kTimeOut);
}
