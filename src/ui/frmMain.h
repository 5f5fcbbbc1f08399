#pragma once

#include "app/SearchCommands.h"

#include <QWidget>

#include <array>

class MainController;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMovie;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QSystemTrayIcon;
class QTableView;
class QTimer;
class RecordTableModel;
class SearchResultModel;
class TransitionPanel;
class WidgetPrompter;
class frmMenu;

// The main window: a toolbar row of page buttons over four pages ("Add New
// Download", "Download List", "Search", "About"), the three grids, the pop-up
// menus of the download list, the tray icon and the wait animation. It holds no
// rules of its own: once the controller has created its commands
// (ServiceObjectsCreated), every button and menu item is connected to them, and
// the search page shows the state of the controller's SearchCommands.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // The pages and the indices of their toolbar buttons.
    enum Page { AddNewDownloadPage = 0, DownloadListPage = 1, SearchPage = 2, AboutPage = 4 };
    static constexpr std::array<int, 4> PageIndices = {AddNewDownloadPage, DownloadListPage, SearchPage, AboutPage};

    // Window measures in twips.
    static constexpr int MinimumWidthTwips = 8640;
    static constexpr int MinimumHeightTwips = 5664;
    static constexpr int EffectMilliseconds = 700;

    explicit frmMain(MainController &controller, QWidget *parent = nullptr);

    // The dots per inch the window's twips are drawn at: the screen's, scaled
    // by the desktop's text size against the 8 points the layout was made for.
    qreal LayoutDpi() const { return m_dpi; }

    // The initial set-up over the opened lists (start-up), ending with the opening
    // transition that brings page 0 to the front.
    void Initialise();
    // Message boxes open over this window; balloon notices go through its tray
    // icon, or into its status bar where the desktop has no tray.
    void AttachPrompter(WidgetPrompter &prompter);

    // ---- Pages
    // A toolbar button's click: brings the page to the front under the
    // transition, which tmrEffect ends; the page of the last click stays.
    void cmdToolBar_Click(int index);
    // The page of the last click (or 0).
    int CurrentPage() const { return m_currentPage; }
    // The page now in front.
    int FrontPage() const;
    QTimer *tmrEffect() const { return m_tmrEffect; }
    QPushButton *cmdToolBar(int index) const;

    // Shows a notice in the status bar for `milliseconds`.
    void ShowNotice(const QString &text, int milliseconds);

    // ---- Add New Download page
    QLineEdit *txtDownPath() const { return m_txtDownPath; }
    QPushButton *btnBrowse() const { return m_btnBrowse; }
    QCheckBox *chkCatch() const { return m_chkCatch; }
    QLabel *Label16() const { return m_Label16; }
    QPlainTextEdit *txtLinks() const { return m_txtLinks; }
    QPushButton *cmdCheckLinks() const { return m_cmdCheckLinks; }
    QTableView *CheckGrid() const { return m_CheckGrid; }
    QPushButton *cmdDownloadLinks() const { return m_cmdDownloadLinks; }
    QPushButton *cmdClearCheckList() const { return m_cmdClearCheckList; }
    RecordTableModel *CheckListModel() const { return m_checkListModel; }

    // ---- Download List page
    // "Start Download", "Filter Listed Items" and "Clear Items" pop up the menus
    // START, Filter and Clear; "Stop Download" triggers frmMenu's mnuStopAll.
    QPushButton *cmdStartDownload() const { return m_cmdStartDownload; }
    QPushButton *cmdStopDownload() const { return m_cmdStopDownload; }
    QPushButton *cmdFilter() const { return m_cmdFilter; }
    QPushButton *cmdClearItems() const { return m_cmdClearItems; }
    QTableView *Grid() const { return m_Grid; }
    RecordTableModel *DownListModel() const { return m_downListModel; }
    frmMenu *Menu() const { return m_frmMenu; }
    // Applies the Filter menu's check marks to Grid's rows: each row is hidden or
    // shown by DownGridFilter::IsVisible; rows whose status changes later keep
    // their visibility until the next toggle.
    void FilterDownGrid();

    // ---- Search page
    QLineEdit *txtSearch() const { return m_txtSearch; }
    QComboBox *cmbSortBy() const { return m_cmbSortBy; }
    QComboBox *cmbDateFilter() const { return m_cmbDateFilter; }
    QComboBox *cmbExtension() const { return m_cmbExtension; }
    QLineEdit *txtSizeFrom() const { return m_txtSizeFrom; }
    QLineEdit *txtSizeTo() const { return m_txtSizeTo; }
    QPushButton *cmdSearch() const { return m_cmdSearch; }
    QComboBox *cmbSearchPage() const { return m_cmbSearchPage; }
    QPushButton *cmdNextPage() const { return m_cmdNextPage; }
    QPushButton *cmdPrevPage() const { return m_cmdPrevPage; }
    QTableView *GridSearch() const { return m_GridSearch; }
    QLabel *GridSearchCaption() const { return m_gridSearchCaption; }
    QLabel *gifWait() const { return m_gifWait; }
    QLabel *lblAddSearch() const { return m_lblAddSearch; }
    QPushButton *cmdAddSearchItems() const { return m_cmdAddSearchItems; }
    QPushButton *cmdAddAndStart() const { return m_cmdAddAndStart; }
    SearchResultModel *SearchResults() const;

    // The search text exactly as typed (the hint while the box shows it), and the
    // filters as the search client takes them.
    SearchCommands::Request CurrentSearchRequest() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int Px(int twips) const;
    void Place(QWidget *widget, int left, int top, int width, int height) const;
    QPushButton *NewButton(QWidget *parent, const char *name, const QString &caption, const QString &toolTip = {});
    QFrame *NewPanel(QWidget *parent, const char *name);
    QLabel *NewLabel(QWidget *parent, const QString &caption, const char *name = nullptr);

    void BuildToolbar();
    void BuildAddNewDownloadPage();
    void BuildDownloadListPage();
    void BuildSearchPage();
    void BuildAboutPage();
    void SetUpCheckGrid();
    void SetUpGrid();
    void SetUpGridSearch();
    void ConnectKeys();
    // The IDs of the rows selected in a grid over a RecordTableModel.
    static QList<qint64> SelectedIds(const QTableView &grid);
    // What every grid has beyond its layout: tooltips for cut texts and, over
    // `statusField`, a failed row's reason; widths kept across restarts.
    // Returns the column of `statusField` (-1: none).
    int FinishGrid(QTableView &grid, RecordTableModel *model, QStringView statusField);
    void LayoutWindow();

    // Connects every command of the window to the controller's objects.
    void ConnectCommands();
    void ConnectCheckPage();
    void ConnectDownloadListMenus();
    void ConnectSearchPage();

    void tmrEffect_Timer();
    void BringToFront(int index);
    QWidget *PagePanel(int index) const;

    // The search page shows the state of SearchCommands.
    void ShowSearchPages();
    void ShowSearchBusy(bool busy);
    void ApplySearchState(const SearchPageRules::PagingState &paging, bool busy);

    MainController &m_controller;
    qreal m_dpi = 96;
    bool m_fittedToScreen = false;
    int m_currentPage = AddNewDownloadPage;
    int m_statusColumn = -1; // Download_Status in Grid

    QTimer *m_tmrEffect = nullptr;
    TransitionPanel *m_frEffect = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QSystemTrayIcon *m_systemTray = nullptr;
    frmMenu *m_frmMenu = nullptr;

    // Toolbar row
    QFrame *m_MyButton1 = nullptr;
    QFrame *m_cmdDummy1 = nullptr;
    QFrame *m_cmdDummy = nullptr;
    QButtonGroup *m_toolBar = nullptr;
    std::array<QWidget *, 4> m_frMain{};

    // Add New Download
    QLineEdit *m_txtDownPath = nullptr;
    QPushButton *m_btnBrowse = nullptr;
    QCheckBox *m_chkCatch = nullptr;
    QLabel *m_Label16 = nullptr;
    QPlainTextEdit *m_txtLinks = nullptr;
    QPushButton *m_cmdCheckLinks = nullptr;
    QTableView *m_CheckGrid = nullptr;
    QPushButton *m_cmdDownloadLinks = nullptr;
    QPushButton *m_cmdClearCheckList = nullptr;
    RecordTableModel *m_checkListModel = nullptr;

    // Download List
    QFrame *m_MyFrame1 = nullptr;
    QPushButton *m_cmdStartDownload = nullptr;
    QPushButton *m_cmdStopDownload = nullptr;
    QPushButton *m_cmdFilter = nullptr;
    QPushButton *m_cmdClearItems = nullptr;
    QTableView *m_Grid = nullptr;
    RecordTableModel *m_downListModel = nullptr;

    // Search
    QFrame *m_MyFrame2 = nullptr;
    QLineEdit *m_txtSearch = nullptr;
    QComboBox *m_cmbSortBy = nullptr;
    QComboBox *m_cmbDateFilter = nullptr;
    QComboBox *m_cmbExtension = nullptr;
    QLineEdit *m_txtSizeFrom = nullptr;
    QLineEdit *m_txtSizeTo = nullptr;
    QPushButton *m_cmdSearch = nullptr;
    QLabel *m_lblSearchPage = nullptr;
    QComboBox *m_cmbSearchPage = nullptr;
    QPushButton *m_cmdNextPage = nullptr;
    QPushButton *m_cmdPrevPage = nullptr;
    QLabel *m_gridSearchCaption = nullptr;
    QTableView *m_GridSearch = nullptr;
    QLabel *m_gifWait = nullptr;
    QMovie *m_waitMovie = nullptr;
    QLabel *m_lblAddSearch = nullptr;
    QPushButton *m_cmdAddSearchItems = nullptr;
    QPushButton *m_cmdAddAndStart = nullptr;

    // About
    QFrame *m_MyFrame3 = nullptr;
};
