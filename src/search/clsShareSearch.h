#pragma once

#include "search/SearchQuery.h"
#include "search/SearchResultPage.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AppSettings;
class CTimer;
class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// The search client: holds the user's query, fetches result pages and details
// pages from the search site and reads them. Fetches never wait: each command
// returns at once and reports its outcome by signal, always after it returned.
//
// Fetch rules: a request has `TimeOutInterval` ms (2000) from its send to
// complete, on the one shared timer `tmrTimeOut` that every send restarts; its
// tick ends every fetch still waiting with "Error, Connection Time out". Only
// status 200 gives a body; an empty body is fetched once more. `StopSearch`
// ends every waiting fetch with "User Cancel", and every later one, until the
// next `Initialize`. Whichever comes first of the answer, the stop and the
// tick decides a fetch.
class clsShareSearch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(clsShareSearch)

public:
    // The search site's host is read from `settings` (SearchHost, possibly with
    // ":port") at each search; `settings` must outlive the client.
    explicit clsShareSearch(const AppSettings &settings, QObject *parent = nullptr);
    ~clsShareSearch() override;

    QString SearchText() const { return m_query.SearchText; }
    void setSearchText(const QString &value) { m_query.SearchText = value; }
    qint32 SortBy() const { return m_query.SortBy; }
    void setSortBy(qint32 value) { m_query.SortBy = value; }
    qint32 FilterByDate() const { return m_query.FilterByDate; }
    void setFilterByDate(qint32 value) { m_query.FilterByDate = value; }
    qint32 Extension() const { return m_query.Extension; }
    void setExtension(qint32 value) { m_query.Extension = value; }
    qint32 WebSite() const { return m_query.WebSite; }
    void setWebSite(qint32 value) { m_query.WebSite = value; }
    qint16 FilterSizeFrom() const { return m_query.FilterSizeFrom; }
    void setFilterSizeFrom(qint16 value) { m_query.FilterSizeFrom = value; }
    qint16 FilterSizeTo() const { return m_query.FilterSizeTo; }
    void setFilterSizeTo(qint16 value) { m_query.FilterSizeTo = value; }

    // Asks every pending and later fetch to end with "User Cancel", until the next Initialize.
    void StopSearch();
    // Resets the seven query properties and clears the stop request.
    void Initialize();
    // Fetches and parses the first result page; ends with SearchFinished.
    void StartSearch();
    // Fetches and parses result page `iPage`; ends with SearchPageFinished.
    void SearchPage(qint32 iPage);
    // Fetches the details page `link` and cuts its direct-link block; ends with DirectLinksFinished.
    void GetDirectLinks(const QString &link);

    // The last page parsed (a copy).
    SearchResultPage SearchResult() const { return m_searchResult; }

    // Time a request has to complete, in ms; takes effect at the next send.
    int TimeOutInterval() const;
    void setTimeOutInterval(int milliseconds);

Q_SIGNALS:
    // Any failure of the client, with the texts of its contract ("User Cancel",
    // "Error, Connection Time out", "Error:" + description, ...).
    void Error(const QString &sErrorDesc);
    // StartSearch is done and SearchResult holds its parse. `bPageRead`: a
    // non-empty page came in (false for an empty search text, which leaves
    // SearchResult unchanged, and for a failed fetch, which parses as no hits).
    void SearchFinished(bool bPageRead);
    // SearchPage(iPage) is done; as SearchFinished.
    void SearchPageFinished(qint32 iPage, bool bPageRead);
    // GetDirectLinks(sLink) is done: `sDirectLinks` is the block, or empty text
    // when it failed (its Error came first) or the block itself is empty.
    void DirectLinksFinished(const QString &sLink, const QString &sDirectLinks);

private:
    struct Fetch;
    using PageHandler = std::function<void(const QString &body)>;

    void RunSearch(std::optional<qint32> page);
    void FinishSearch(std::optional<qint32> page, bool pageRead);
    void FetchPageTwice(const QUrl &url, const PageHandler &onPage);
    void FetchPage(const QUrl &url, const PageHandler &onPage);
    void EndLater(const QString &errorDesc, const PageHandler &onPage);
    // Emits Error; false when a receiver destroyed this client meanwhile.
    bool RaiseError(const QString &errorDesc);
    std::vector<std::unique_ptr<Fetch>>::iterator FindFetch(quint64 fetchId);
    void EndFetch(quint64 fetchId, const QString &errorDesc, const QString &body);
    void ReplyFinished(quint64 fetchId);
    void EndWaitingFetches(const QString &errorDesc);
    void tmrTimeOut_Timer();

    const AppSettings &m_settings;
    SearchQuery m_query;
    SearchResultPage m_searchResult;
    bool m_cancelRequested = false;
    CTimer *m_tmrTimeOut;
    QNetworkAccessManager *m_network;
    std::vector<std::unique_ptr<Fetch>> m_fetches; // sent and not yet ended
    quint64 m_nextFetchId = 1;
};
