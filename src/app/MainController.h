#pragma once

#include "queue/DownGridFilter.h"
#include "store/LinkStore.h"

#include <QObject>

#include <functional>

class AppSettings;
class ClipboardWatch;
class clsDirectLink;
class clsRapidShare;
class clsShareSearch;
class DownloadAsynch;
class DownloadScheduler;
class LinkChecker;
class LinkReader;
class Prompter;
class QueueCommands;
class SearchCommands;
class SearchResultModel;

// The program's controller without widgets: start-up, the download folder and,
// through its members, both lists. The window owns one and wires its controls
// to it.
class MainController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainController)

public:
    // `programDir` is the program's own folder: a writable list there is used as
    // it is, otherwise the user's list (ListLocation).
    MainController(QString programDir, AppSettings &settings, Prompter &prompter, QObject *parent = nullptr);
    ~MainController() override;

    // The start-up sequence. `initialiseWindow` lays out the window over the
    // opened lists. When the program cannot start, the reason is shown, false is
    // returned and `endProcess` runs once the message is closed.
    bool Load(const std::function<void()> &initialiseWindow, const std::function<void()> &endProcess);

    // Lets the user choose the download folder, refusing optical drives.
    void btnBrowse_Click();

    // The download queue (available once Load has succeeded).
    void StartDownload();
    QueueCommands &Commands() { return *m_commands; }
    DownloadScheduler &Scheduler() { return *m_scheduler; }
    // The grid filter's check marks; the view applies IsVisible to its rows.
    DownGridFilter &Filter() { return m_filter; }

    // The check page.
    void StartCheck();
    // "Check Links": the paste box's text goes to the link reader.
    void cmdCheckLinks_Click(const QString &text);
    void cmdClearCheckList_Click();
    void cmdDownloadLinks_Click();
    LinkChecker &Checker() { return *m_checker; }
    LinkReader &Reader() { return *m_reader; }
    ClipboardWatch &Clipboard() { return *m_clipboard; }

    // The search page: its result set (there from the start, for the grid) and
    // its commands (available once Load has succeeded).
    SearchResultModel &rsSearch() { return *m_rsSearch; }
    SearchCommands &Search() { return *m_search; }

    clsRapidShare *RapidShare = nullptr;
    clsRapidShare *RapidShareCheck = nullptr;
    clsDirectLink *DirectLinkCheck = nullptr;
    clsShareSearch *RapidSearch = nullptr;
    DownloadAsynch *Downloader = nullptr;

    // The list file opened by Load.
    const QString &DBPath() const { return m_dbPath; }
    const QString &DownPath() const { return m_downPath; }
    LinkStore &Store() { return *m_store; }
    AppSettings &Settings() { return m_settings; }
    Prompter &Prompts() { return m_prompter; }

    // How a chosen folder is tested for an optical drive (replaceable in tests).
    std::function<bool(const QString &)> IsOpticalFolder;

Q_SIGNALS:
    // The folder to show in txtDownPath.
    void DownPathChanged(const QString &path);
    // Load has created the service objects and the commands over them: the
    // window connects its controls now.
    void ServiceObjectsCreated();

private:
    void CreateServiceObjects();
    void Fail(const QString &title, const QString &text, const std::function<void()> &endProcess);

    QString m_programDir;
    QString m_dbPath;
    AppSettings &m_settings;
    Prompter &m_prompter;
    std::unique_ptr<LinkStore> m_store;
    QString m_downPath;
    DownGridFilter m_filter;
    std::unique_ptr<DownloadScheduler> m_scheduler;
    std::unique_ptr<QueueCommands> m_commands;
    LinkChecker *m_checker = nullptr;
    LinkReader *m_reader = nullptr;
    ClipboardWatch *m_clipboard = nullptr;
    SearchResultModel *m_rsSearch;
    SearchCommands *m_search = nullptr;
};
