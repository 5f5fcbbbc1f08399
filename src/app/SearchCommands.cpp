#include "app/SearchCommands.h"

#include "app/LinkChecker.h"
#include "app/SearchResultModel.h"
#include "clipboard/LinkReader.h"
#include "search/clsShareSearch.h"
#include "util/Prompter.h"

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Tidefetch");

// The size boxes take at most 32767; anything else is held to the filter's range.
qint16 SizeFilter(int megabytes)
{
    return qint16(std::clamp(megabytes, 0, 32767));
}

} // namespace

SearchCommands::SearchCommands(SearchResultModel &rsSearch, clsShareSearch &RapidSearch, LinkReader &reader,
                               LinkChecker &checker, Prompter &prompter, std::function<void()> downloadAvailableLinks,
                               QObject *parent)
    : QObject(parent)
    , m_rsSearch(rsSearch)
    , m_rapidSearch(RapidSearch)
    , m_reader(reader)
    , m_checker(checker)
    , m_prompter(prompter)
    , m_downloadAvailableLinks(std::move(downloadAvailableLinks))
{
    connect(&m_rapidSearch, &clsShareSearch::SearchFinished, this, &SearchCommands::RapidSearch_SearchFinished);
    connect(&m_rapidSearch, &clsShareSearch::SearchPageFinished, this,
            &SearchCommands::RapidSearch_SearchPageFinished);
    connect(&m_rapidSearch, &clsShareSearch::DirectLinksFinished, this,
            &SearchCommands::RapidSearch_DirectLinksFinished);
    connect(&m_checker, &LinkChecker::ChecksFinished, this, &SearchCommands::Checker_ChecksFinished);
    connect(&m_rapidSearch, &clsShareSearch::Error, this, [this](const QString &sErrorDesc) {
        if (m_fetching == Fetching::Search)
            m_failure = sErrorDesc;
        Q_EMIT SearchFailed(sErrorDesc);
    });
}

SearchPageRules::PagingState SearchCommands::Paging() const
{
    if (m_busy)
        return {};
    return SearchPageRules::Paging(m_pageCount, m_selectedIndex);
}

void SearchCommands::SetBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT BusyChanged(busy);
}

void SearchCommands::SetAddProgress(const QString &text)
{
    if (m_addProgress == text)
        return;
    m_addProgress = text;
    Q_EMIT AddProgressChanged(text);
}

// ---- Searching and paging

void SearchCommands::cmdSearch_Click(const Request &request)
{
    if (m_busy)
        return;
    SetAddProgress(QString());
    if (SearchPageRules::IsSearchTextEmpty(request.text)) {
        m_prompter.showMessage(Prompter::Icon::Critical, kTitle, tr("Search text can not be empty!"));
        return;
    }
    m_rapidSearch.Initialize();
    m_rapidSearch.setSearchText(request.text);
    m_rapidSearch.setExtension(request.extension);
    m_rapidSearch.setFilterByDate(request.dateFilter);
    if (request.sizeFrom)
        m_rapidSearch.setFilterSizeFrom(SizeFilter(*request.sizeFrom));
    if (request.sizeTo)
        m_rapidSearch.setFilterSizeTo(SizeFilter(*request.sizeTo));
    m_rapidSearch.setSortBy(request.sortBy);
    m_rapidSearch.setWebSite(1);
    m_searchText = request.text;
    m_failure.clear();
    m_fetching = Fetching::Search;
    SetBusy(true);
    m_rapidSearch.StartSearch();
}

void SearchCommands::RapidSearch_SearchFinished()
{
    if (m_fetching != Fetching::Search)
        return;
    m_fetching = Fetching::Nothing;
    const SearchResultPage result = m_rapidSearch.SearchResult();
    m_pageCount = std::max<int>(0, result.PageCount);
    m_selectedIndex = m_pageCount > 0 ? 0 : -1;
    // A page that could not be fetched is no empty result.
    m_caption = m_failure.isEmpty() ? SearchPageRules::SummaryCaption(m_searchText, result.TotalCount, result.PageCount)
                                    : SearchPageRules::FailureCaption(m_searchText, m_failure);
    m_rsSearch.SetHits(SearchResultModel::HitsOf(result.Items));
    SetBusy(false);
    Q_EMIT PagesChanged();
}

void SearchCommands::cmbSearchPage_Click(int index)
{
    if (m_busy || index < 0 || index >= m_pageCount)
        return;
    SetAddProgress(QString());
    m_selectedIndex = index;
    m_fetching = Fetching::Page;
    SetBusy(true);
    Q_EMIT PagesChanged();
    m_rapidSearch.SearchPage(index + 1);
}

void SearchCommands::RapidSearch_SearchPageFinished()
{
    if (m_fetching != Fetching::Page)
        return;
    m_fetching = Fetching::Nothing;
    m_rsSearch.SetHits(SearchResultModel::HitsOf(m_rapidSearch.SearchResult().Items));
    SetBusy(false);
    Q_EMIT PagesChanged();
}

void SearchCommands::cmdNextPage_Click()
{
    if (m_busy)
        return;
    SetAddProgress(QString());
    if (m_selectedIndex >= 0 && m_selectedIndex < m_pageCount - 1)
        cmbSearchPage_Click(m_selectedIndex + 1);
}

void SearchCommands::cmdPrevPage_Click()
{
    if (m_busy)
        return;
    SetAddProgress(QString());
    if (m_selectedIndex > 0)
        cmbSearchPage_Click(m_selectedIndex - 1);
}

// ---- Adding ticked hits

void SearchCommands::cmdAddSearchItems_Click()
{
    AddTickedItems(false);
}

void SearchCommands::cmdAddAndStart_Click()
{
    AddTickedItems(true);
}

void SearchCommands::AddTickedItems(bool thenStart)
{
    if (m_busy)
        return;
    if (m_rsSearch.RowCount() == 0) {
        m_prompter.showMessage(Prompter::Icon::Exclamation, kTitle,
                               tr("List is empty, Please search for something first"));
        return;
    }
    m_addRow = 0;
    m_collected.clear();
    m_addThenStart = thenStart;
    SetBusy(true);
    GetNextDirectLinks();
}

void SearchCommands::GetNextDirectLinks()
{
    // Ticks are read as the walk reaches each row.
    while (m_addRow < m_rsSearch.RowCount() && !m_rsSearch.IsTicked(m_addRow))
        ++m_addRow;
    if (m_addRow < m_rsSearch.RowCount()) {
        SetAddProgress(tr("Getting Direct Links..."));
        m_fetching = Fetching::DirectLinks;
        m_rapidSearch.GetDirectLinks(m_rsSearch.Value(m_addRow, SearchResultModel::DetailsLink).toString());
        return;
    }
    SetAddProgress(tr("Checking/Adding Links to check list..."));
    m_reader.AddLinksFromText(SearchPageRules::NormaliseDirectLinks(m_collected), false);
    // The links just added are being checked; only checked links can be moved.
    if (m_addThenStart && m_checker.IsChecking()) {
        m_waitingForChecks = true;
        return;
    }
    FinishAdding();
}

void SearchCommands::RapidSearch_DirectLinksFinished(const QString &, const QString &sDirectLinks)
{
    if (m_fetching != Fetching::DirectLinks)
        return;
    m_fetching = Fetching::Nothing;
    if (!sDirectLinks.isEmpty())
        m_collected += QLatin1String("\r\n") + sDirectLinks;
    ++m_addRow;
    GetNextDirectLinks();
}

void SearchCommands::Checker_ChecksFinished()
{
    if (!m_waitingForChecks)
        return;
    m_waitingForChecks = false;
    FinishAdding();
}

void SearchCommands::FinishAdding()
{
    m_collected.clear();
    SetAddProgress(tr("Done"));
    SetBusy(false);
    if (m_addThenStart) {
        m_downloadAvailableLinks();
        Q_EMIT DownloadListRequested();
    }
}
