#include "app/MainController.h"

#include "app/LinkChecker.h"
#include "app/SearchCommands.h"
#include "app/SearchResultModel.h"
#include "clipboard/ClipboardWatch.h"
#include "clipboard/LinkReader.h"
#include "direct/clsDirectLink.h"
#include "queue/DownloadScheduler.h"
#include "queue/QueueCommands.h"
#include "rapidshare/clsRapidShare.h"
#include "search/clsShareSearch.h"
#include "store/ListLocation.h"
#include "transfer/DownloadAsynch.h"
#include "util/AppSettings.h"
#include "util/FileFolder.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

namespace {
const QString kTitle = QStringLiteral("Tidefetch");
} // namespace

MainController::MainController(QString programDir, AppSettings &settings, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , IsOpticalFolder(FileFolder::IsOpticalFolder)
    , m_programDir(std::move(programDir))
    , m_settings(settings)
    , m_prompter(prompter)
    , m_rsSearch(new SearchResultModel(this))
{
}

MainController::~MainController()
{
    // The scheduler and the commands refer to the clients, children of this object.
    m_commands.reset();
    m_scheduler.reset();
}

void MainController::Fail(const QString &title, const QString &text, const std::function<void()> &endProcess)
{
    // Also on stderr: without a desktop, or from a script, the box is never seen.
    qWarning().noquote() << title + QLatin1String(": ") + text;
    m_prompter.showMessage(Prompter::Icon::Critical, title, text, endProcess);
}

bool MainController::Load(const std::function<void()> &initialiseWindow, const std::function<void()> &endProcess)
{
    QString listProblem;
    const QString listPath = ListLocation(m_programDir).Resolve(listProblem);
    if (listPath.isEmpty()) {
        Fail(kTitle,
             tr("Download List file is not exist, Please re-install the application") + QLatin1String("\n\n")
                 + listProblem,
             endProcess);
        return false;
    }
    m_dbPath = QDir::toNativeSeparators(listPath);
    m_store = std::make_unique<LinkStore>(m_dbPath, m_prompter);
    const QString downListFailure =
        tr("Critical Error while loading download list. re-installing application may solve this problem");
    QString upgradeFailure;
    if (!m_store->UpgradeList(&upgradeFailure)) {
        Fail(tr("Critical Error"), downListFailure + QLatin1String("\n\n") + upgradeFailure, endProcess);
        return false;
    }
    if (!m_store->LoadTable(
            QStringLiteral("Update DownList Set Download_Status='Queued' Where left(Download_Status,4) =  'Wait'"),
            nullptr)
        || !m_store->LoadTable(QStringLiteral("Select * From DownList"), &m_store->rsDownList)) {
        Fail(tr("Critical Error"), downListFailure, endProcess);
        return false;
    }
    DownloadScheduler::RepairInterruptedRows(m_store->rsDownList);
    if (!m_store->LoadTable(QStringLiteral("Select * From CheckList"), &m_store->rsCheckList)) {
        Fail(tr("Critical Error"),
             tr("Critical Error while loading check list. re-installing application may solve this problem"),
             endProcess);
        return false;
    }
    if (initialiseWindow)
        initialiseWindow();
    CreateServiceObjects();

    m_downPath = m_settings.DownPath();
    m_settings.SetDownPath(m_downPath);
    Q_EMIT DownPathChanged(m_downPath);
    if (!QFileInfo(m_downPath).isDir())
        FileFolder::CreateFolderPath(m_downPath);
    return true;
}

void MainController::btnBrowse_Click()
{
    m_prompter.chooseFolder(tr("Please, Select the download folder."), [this](const QString &chosen) {
        if (chosen.isEmpty())
            return;
        if (IsOpticalFolder(chosen)) {
            m_prompter.showMessage(Prompter::Icon::Exclamation, kTitle,
                                   tr("Selected drive is CD ROM, Please select another folder"),
                                   [this] { btnBrowse_Click(); });
            return;
        }
        m_downPath = QDir::toNativeSeparators(chosen);
        Q_EMIT DownPathChanged(m_downPath);
        m_settings.SetDownPath(m_downPath);
    });
}

void MainController::CreateServiceObjects()
{
    RapidShare = new clsRapidShare(m_settings, m_prompter, this);
    RapidShareCheck = new clsRapidShare(m_settings, m_prompter, this);
    RapidSearch = new clsShareSearch(m_settings, this);
    Downloader = new DownloadAsynch(&m_prompter, this);
    DirectLinkCheck = new clsDirectLink(this);
    m_scheduler = std::make_unique<DownloadScheduler>(*m_store, *RapidShare, *Downloader, [this] { return m_downPath; },
                                                      m_settings.ServiceDomain());
    connect(m_scheduler.get(), &DownloadScheduler::QueueFinished, this, [this](int completed, int failed) {
        m_prompter.showBalloon(Prompter::Icon::Information,
                               tr("Queue finished: %1 complete, %2 failed").arg(completed).arg(failed), kTitle, 5000);
    });
    m_commands = std::make_unique<QueueCommands>(*m_store, *m_scheduler, *RapidShare, *Downloader, m_prompter);
    m_checker = new LinkChecker(*m_store, *RapidShareCheck, *DirectLinkCheck, m_settings.ServiceDomain(), this);
    m_reader = new LinkReader(*m_store, m_prompter, m_settings.ServiceDomain(), this);
    connect(m_reader, &LinkReader::LinksAdded, m_checker, &LinkChecker::StartCheck);
    m_clipboard = new ClipboardWatch(*m_reader, m_prompter, this);
    m_search = new SearchCommands(*m_rsSearch, *RapidSearch, *m_reader, *m_checker, m_prompter,
                                  [this] { cmdDownloadLinks_Click(); }, this);
    Q_EMIT ServiceObjectsCreated();
}

void MainController::StartDownload()
{
    m_scheduler->StartDownload();
}

void MainController::StartCheck()
{
    m_checker->StartCheck();
}

void MainController::cmdCheckLinks_Click(const QString &text)
{
    m_reader->AddLinksFromText(LinkReader::WithCrLfLineBreaks(text), false, LinkReader::Kinds::ServiceAndDirectLinks);
}

void MainController::cmdClearCheckList_Click()
{
    m_checker->ClearList();
}

void MainController::cmdDownloadLinks_Click()
{
    if (m_checker->MoveAvailableLinks())
        StartDownload();
}
