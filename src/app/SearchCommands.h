#pragma once

#include "app/SearchPageRules.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class clsShareSearch;
class LinkChecker;
class LinkReader;
class Prompter;
class SearchResultModel;

// The search page without its widgets: the search and paging commands over the
// search client, the page selector's state, and the two commands that add the
// ticked hits. Every fetch is asynchronous; while one waits the page is busy and
// every command here is ignored, so none runs over itself. The window shows the
// state (PagesChanged, BusyChanged, AddProgressChanged) and forwards the clicks.
class SearchCommands final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchCommands)

public:
    // What the search page's controls hold when a search is asked for.
    struct Request {
        QString text;        // exactly as typed (the hint while the box shows it)
        int extension = 0;   // list indices
        int dateFilter = 0;
        int sortBy = 0;
        std::optional<int> sizeFrom; // megabytes, only when the box holds a number
        std::optional<int> sizeTo;
    };

    // `downloadAvailableLinks` is the check page's "Download Available Links".
    SearchCommands(SearchResultModel &rsSearch, clsShareSearch &RapidSearch, LinkReader &reader, LinkChecker &checker,
                   Prompter &prompter, std::function<void()> downloadAvailableLinks, QObject *parent = nullptr);

    // "Search RapidShare" or Enter in the search box.
    void cmdSearch_Click(const Request &request);
    // The page selector's entry `index` (0-based) was chosen.
    void cmbSearchPage_Click(int index);
    void cmdNextPage_Click();
    void cmdPrevPage_Click();
    // "Add selected items as new downloads": the direct links of every ticked hit
    // go to the link reader.
    void cmdAddSearchItems_Click();
    // "Add selected items And Start Download": the same, then, once the check list
    // has been checked, its available links go to the queue and the download list
    // is asked for (DownloadListRequested).
    void cmdAddAndStart_Click();

    // The page selector holds "1".."PageCount()" with entry SelectedIndex() chosen
    // (-1: none).
    int PageCount() const { return m_pageCount; }
    int SelectedIndex() const { return m_selectedIndex; }
    // Which paging controls can be used; none while busy.
    SearchPageRules::PagingState Paging() const;
    // The grid's caption: the summary of the last search, or why it failed.
    const QString &Caption() const { return m_caption; }
    // The progress text of adding hits.
    const QString &AddProgress() const { return m_addProgress; }
    // A page or details page is being fetched (or add-and-start waits for the checks).
    bool IsBusy() const { return m_busy; }

Q_SIGNALS:
    // The page selector, its choice or the caption changed; the grid's rows may too.
    void PagesChanged();
    void BusyChanged(bool busy);
    void AddProgressChanged(const QString &text);
    // Add-and-start has moved the checked links into the queue.
    void DownloadListRequested();
    // A fetch of the search page failed: a failed search must not pass for one
    // that found nothing.
    void SearchFailed(const QString &sErrorDesc);

private:
    enum class Fetching { Nothing, Search, Page, DirectLinks };

    void SetBusy(bool busy);
    void SetAddProgress(const QString &text);
    void RapidSearch_SearchFinished();
    void RapidSearch_SearchPageFinished();
    void RapidSearch_DirectLinksFinished(const QString &sLink, const QString &sDirectLinks);
    void Checker_ChecksFinished();
    void AddTickedItems(bool thenStart);
    void GetNextDirectLinks();
    void FinishAdding();

    SearchResultModel &m_rsSearch;
    clsShareSearch &m_rapidSearch;
    LinkReader &m_reader;
    LinkChecker &m_checker;
    Prompter &m_prompter;
    std::function<void()> m_downloadAvailableLinks;

    Fetching m_fetching = Fetching::Nothing;
    bool m_busy = false;
    QString m_searchText;
    int m_pageCount = 0;
    int m_selectedIndex = -1;
    QString m_caption;
    QString m_failure; // why the search in progress failed
    QString m_addProgress;

    // The add command in progress: the next row to visit and the links so far.
    int m_addRow = 0;
    QString m_collected;
    bool m_addThenStart = false;
    bool m_waitingForChecks = false;
};
