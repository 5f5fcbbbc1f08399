#include "app/MainController.h"

#include "util/AppSettings.h"
#include "util/FileFolder.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kTitle = QStringLiteral("Tidefetch");
} // namespace

MainController::MainController(const QString &programDir, AppSettings &settings, Prompter &prompter,
                               QObject *parent)
    : QObject(parent)
    , IsOpticalFolder(FileFolder::IsOpticalFolder)
    , m_dbPath(QDir::toNativeSeparators(QDir(programDir).filePath(ListFileName())))
    , m_settings(settings)
    , m_prompter(prompter)
{
}

MainController::~MainController() = default;

QString MainController::ListFileName()
{
    return QStringLiteral("DownList.db");
}

void MainController::Fail(const QString &title, const QString &text, const std::function<void()> &endProcess)
{
    m_prompter.showMessage(Prompter::Icon::Critical, title, text, endProcess);
}

bool MainController::Load(const std::function<void()> &initialiseWindow, const std::function<void()> &endProcess)
{
    if (!QFileInfo(m_dbPath).isFile()) {
        Fail(kTitle, QStringLiteral("Download List file is not exist, Please re-install the application"), endProcess);
        return false;
    }
    m_store = std::make_unique<LinkStore>(m_dbPath, m_prompter);
    const QString downListFailure = QStringLiteral(
        "Critical Error while loading download list. re-installing application may solve this problem");
    if (!m_store->LoadTable(
            QStringLiteral("Update DownList Set Download_Status='Queued' Where left(Download_Status,4) =  'Wait'"),
            nullptr)
        || !m_store->LoadTable(QStringLiteral("Select * From DownList"), &m_store->rsDownList)) {
        Fail(QStringLiteral("Critical Error"), downListFailure, endProcess);
        return false;
    }
    if (!m_store->LoadTable(QStringLiteral("Select * From CheckList"), &m_store->rsCheckList)) {
        Fail(QStringLiteral("Critical Error"),
             QStringLiteral("Critical Error while loading check list. re-installing application may solve this problem"),
             endProcess);
        return false;
    }
    if (initialiseWindow)
        initialiseWindow();

    m_downPath = m_settings.DownPath();
    m_settings.SetDownPath(m_downPath);
    Q_EMIT DownPathChanged(m_downPath);
    if (!QFileInfo(m_downPath).isDir())
        FileFolder::CreateFolderPath(m_downPath);
    return true;
}

void MainController::btnBrowse_Click()
{
    m_prompter.chooseFolder(QStringLiteral("Please, Select the download folder."), [this](const QString &chosen) {
        if (chosen.isEmpty())
            return;
        if (IsOpticalFolder(chosen)) {
            m_prompter.showMessage(Prompter::Icon::Exclamation, kTitle,
                                   QStringLiteral("Selected drive is CD ROM, Please select another folder"),
                                   [this] { btnBrowse_Click(); });
            return;
        }
        m_downPath = QDir::toNativeSeparators(chosen);
        Q_EMIT DownPathChanged(m_downPath);
        m_settings.SetDownPath(m_downPath);
    });
}
