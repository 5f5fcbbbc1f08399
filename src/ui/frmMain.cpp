#include "ui/frmMain.h"

#include "app/LinkChecker.h"
#include "app/MainController.h"
#include "app/SearchResultModel.h"
#include "clipboard/ClipboardWatch.h"
#include "queue/QueueCommands.h"
#include "store/RecordTable.h"
#include "store/RecordTableModel.h"
#include "ui/AppIcon.h"
#include "ui/ColumnWidthKeeper.h"
#include "ui/DesktopNotifier.h"
#include "ui/GridItemDelegate.h"
#include "ui/GridLayouts.h"
#include "ui/HintLineEdit.h"
#include "ui/SizeBoxValidator.h"
#include "ui/StatusDelegate.h"
#include "ui/Theme.h"
#include "ui/ThemeButton.h"
#include "ui/TransitionPanel.h"
#include "ui/Twips.h"
#include "ui/WidgetPrompter.h"
#include "ui/frmMenu.h"
#include "util/ShippedFiles.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QMovie>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace {

const QString kTitle = QStringLiteral("Tidefetch");

// The wait animation beside the program (a portable copy), or where an
// installation keeps it.
QString WaitAnimationPath()
{
    const QString name = QStringLiteral("WaitOrange.gif");
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString beside = QDir(programDir).filePath(name);
    return QFileInfo(beside).isFile() ? beside : ShippedFiles::Locate(programDir, name);
}

// The toolbar row, in twips.
constexpr int kToolbarHeight = 1050;
constexpr int kMyButton1Width = 2370;
constexpr int kToolButtonWidths[] = {1485, 1590, 1590}; // "Add New Download", "Download List", "Search"
constexpr int kAboutWidth = 840;
constexpr int kDummyWidth = 330;

// Design sizes of controls that the resize rules move, in twips.
constexpr int kCheckLinksWidth = 1500;
constexpr int kCheckLinksHeight = 405;
constexpr int kBottomButtonHeight = 450;
constexpr int kDownloadLinksWidth = 2600;
constexpr int kAboutPanelWidth = 6000;
constexpr int kPagingButtonHeight = 375;
constexpr int kAddButtonHeight = 510;
constexpr int kWaitSize = 600;
constexpr int kCaptionBarHeight = 300;
constexpr int kStatusBarHeight = 330;

// Design places of the controls the resize rules leave alone, in twips.
constexpr int kCheckGridLeft = 210;
constexpr int kCheckGridTop = 2580;
constexpr int kGridTop = 720;
constexpr int kGridSearchLeft = 50;
constexpr int kGridSearchTop = 2160;
constexpr int kPagingLefts[] = {100, 1850, 2700, 3180}; // label, selector, previous, next
constexpr int kAddSearchItemsLeft = 3750;
constexpr int kAddAndStartLeft = 6000;
constexpr int kAddButtonWidth = 2150;
constexpr int kAddAndStartWidth = 2250;

// Index of a page button's place in the toolbar and in m_frMain.
int Slot(int index)
{
    return index == frmMain::AboutPage ? 3 : index;
}

} // namespace

frmMain::frmMain(MainController &controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_tmrEffect(new QTimer(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kTitle);
    setWindowIcon(AppIcon::Icon());
    setAttribute(Qt::WA_StyledBackground);
    // Text keeps the desktop's size; the layout, measured for 8-point text,
    // grows and shrinks with it so every caption still fits its place.
    m_dpi = Twips::LayoutDpi(*this);

    m_tmrEffect->setObjectName(QStringLiteral("tmrEffect"));
    m_tmrEffect->setInterval(EffectMilliseconds);
    connect(m_tmrEffect, &QTimer::timeout, this, &frmMain::tmrEffect_Timer);

    m_systemTray = new QSystemTrayIcon(this);
    m_systemTray->setObjectName(QStringLiteral("SystemTray"));
    m_frmMenu = new frmMenu(this);

    BuildToolbar();
    BuildAddNewDownloadPage();
    BuildDownloadListPage();
    BuildSearchPage();
    BuildAboutPage();

    m_frEffect = new TransitionPanel(this);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(false);

    BringToFront(AddNewDownloadPage);
    // The first window fits the screen's free area, whatever its scaling.
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    QSize minimum(Px(MinimumWidthTwips), Px(MinimumHeightTwips));
    QSize first(Px(12000), Px(8400));
    if (available.isValid()) {
        minimum = minimum.boundedTo(available.size());
        first = first.boundedTo(available.size());
    }
    setMinimumSize(minimum);
    resize(first);

    connect(&m_controller, &MainController::DownPathChanged, m_txtDownPath, &QLineEdit::setText);
    connect(m_btnBrowse, &QPushButton::clicked, &m_controller, &MainController::btnBrowse_Click);
    connect(&m_controller, &MainController::ServiceObjectsCreated, this, &frmMain::ConnectCommands);
}

int frmMain::Px(int twips) const
{
    return Twips::ToPixels(twips, m_dpi);
}

void frmMain::Place(QWidget *widget, int left, int top, int width, int height) const
{
    // Edges are converted, not sizes, so pieces laid side by side in twips stay
    // side by side in pixels at any scale.
    widget->setGeometry(Px(left), Px(top), Px(left + width) - Px(left), Px(top + height) - Px(top));
}

QPushButton *frmMain::NewButton(QWidget *parent, const char *name, const QString &caption, const QString &toolTip)
{
    auto *button = new ThemeButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    return button;
}

QFrame *frmMain::NewPanel(QWidget *parent, const char *name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setProperty(Theme::PanelProperty, true);
    return panel;
}

QLabel *frmMain::NewLabel(QWidget *parent, const QString &caption, const char *name)
{
    auto *label = new QLabel(caption, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// ---- Building the pages

void frmMain::BuildToolbar()
{
    m_MyButton1 = new QFrame(this);
    m_MyButton1->setObjectName(QStringLiteral("MyButton1"));
    m_MyButton1->setProperty(Theme::ToolbarPieceProperty, true);
    auto *brand = new QHBoxLayout(m_MyButton1);
    brand->setContentsMargins(Px(150), 0, Px(150), 0);
    auto *logo = new QLabel(m_MyButton1);
    logo->setPixmap(AppIcon::Pixmap(Px(640)));
    brand->addWidget(logo);
    auto *name = new QLabel(kTitle, m_MyButton1);
    QFont nameFont = Twips::LayoutFont(name->font(), 12);
    nameFont.setBold(true);
    name->setFont(nameFont);
    brand->addWidget(name, 1);
    Place(m_MyButton1, 0, 0, kMyButton1Width, kToolbarHeight);

    m_toolBar = new QButtonGroup(this);
    m_toolBar->setExclusive(true);
    const QString captions[] = {tr("Add New Download"), tr("Download List"), tr("Search"), tr("About")};
    int left = kMyButton1Width;
    for (int slot = 0; slot < 4; ++slot) {
        const int index = PageIndices[size_t(slot)];
        const QByteArray name = "cmdToolBar" + QByteArray::number(index);
        QPushButton *button = NewButton(this, name.constData(), captions[slot]);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::TabFocus);
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
        m_toolBar->addButton(button, index);
        if (slot < 3) {
            Place(button, left, 0, kToolButtonWidths[slot], kToolbarHeight);
            left += kToolButtonWidths[slot];
        } else {
            button->resize(Px(kAboutWidth), Px(kToolbarHeight));
        }
    }
    connect(m_toolBar, &QButtonGroup::idClicked, this, &frmMain::cmdToolBar_Click);

    m_cmdDummy1 = new QFrame(this);
    m_cmdDummy1->setObjectName(QStringLiteral("cmdDummy1"));
    m_cmdDummy1->setProperty(Theme::ToolbarPieceProperty, true);
    Place(m_cmdDummy1, left, 0, 0, kToolbarHeight);
    m_cmdDummy = new QFrame(this);
    m_cmdDummy->setObjectName(QStringLiteral("cmdDummy"));
    m_cmdDummy->setProperty(Theme::ToolbarPieceProperty, true);
    m_cmdDummy->resize(Px(kDummyWidth), Px(kToolbarHeight));

    for (int slot = 0; slot < 4; ++slot) {
        const int index = PageIndices[size_t(slot)];
        auto *page = new QFrame(this);
        page->setObjectName(QStringLiteral("frMain%1").arg(index));
        m_frMain[size_t(slot)] = page;
    }
}

void frmMain::BuildAddNewDownloadPage()
{
    QWidget *page = PagePanel(AddNewDownloadPage);
    Place(NewLabel(page, tr("Download Folder:")), 230, 165, 1450, 330);
    m_txtDownPath = new QLineEdit(page);
    m_txtDownPath->setObjectName(QStringLiteral("txtDownPath"));
    m_txtDownPath->setReadOnly(true);
    m_txtDownPath->setAccessibleName(tr("Download Folder"));
    Place(m_txtDownPath, 1700, 165, 4800, 330);
    m_btnBrowse = NewButton(page, "btnBrowse", tr("&Browse..."), tr("Choose the download folder"));
    Place(m_btnBrowse, 6600, 150, 1200, 360);

    const QString catchCaption = tr("Catch RapidShare Links in the clipboard");
    // The box shows its tick only; the label beside it carries the caption.
    m_chkCatch = new QCheckBox(catchCaption, page);
    m_chkCatch->setObjectName(QStringLiteral("chkCatch"));
    m_chkCatch->setChecked(true);
    Place(m_chkCatch, 230, 600, 250, 315);
    m_Label16 = NewLabel(page, catchCaption, "Label16");
    m_Label16->installEventFilter(this);
    Place(m_Label16, 480, 600, 4200, 315);

    m_txtLinks = new QPlainTextEdit(page);
    m_txtLinks->setObjectName(QStringLiteral("txtLinks"));
    m_txtLinks->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtLinks->setAccessibleName(tr("Links"));
    Place(m_txtLinks, 230, 1000, 8000, 1000);
    m_cmdCheckLinks = NewButton(page, "cmdCheckLinks", tr("&Check Links"));
    Place(m_cmdCheckLinks, 6500, 2080, kCheckLinksWidth, kCheckLinksHeight);

    m_CheckGrid = new QTableView(page);
    m_CheckGrid->setObjectName(QStringLiteral("CheckGrid"));
    m_CheckGrid->setAccessibleName(tr("Check List"));
    Place(m_CheckGrid, kCheckGridLeft, kCheckGridTop, 8000, 1000);

    m_cmdClearCheckList = NewButton(page, "cmdClearCheckList", tr("Clear &List"));
    Place(m_cmdClearCheckList, kCheckGridLeft, 3800, 1500, kBottomButtonHeight);
    m_cmdDownloadLinks = NewButton(page, "cmdDownloadLinks", tr("&Download Available Links"));
    Place(m_cmdDownloadLinks, 5600, 3800, kDownloadLinksWidth, kBottomButtonHeight);
}

void frmMain::BuildDownloadListPage()
{
    QWidget *page = PagePanel(DownloadListPage);
    m_MyFrame1 = NewPanel(page, "MyFrame1");
    Place(m_MyFrame1, 0, 60, 8000, 600);
    const QString runningTip = tr("Include/Exclude Complete,Waiting or Runing items");
    m_cmdStartDownload =
        NewButton(m_MyFrame1, "cmdStartDownload", tr("&Start Download"), tr("Start download All/Selected items"));
    Place(m_cmdStartDownload, 120, 112, 1600, 375);
    m_cmdStopDownload =
        NewButton(m_MyFrame1, "cmdStopDownload", tr("S&top Download"), tr("Stop download All/Selected items"));
    Place(m_cmdStopDownload, 1800, 112, 1600, 375);
    m_cmdFilter = NewButton(m_MyFrame1, "cmdFilter", tr("&Filter Listed Items"), runningTip);
    Place(m_cmdFilter, 3480, 112, 1800, 375);
    m_cmdClearItems = NewButton(m_MyFrame1, "cmdClearItems", tr("&Clear Items"), runningTip);
    Place(m_cmdClearItems, 5360, 112, 1500, 375);

    connect(m_cmdStartDownload, &QPushButton::clicked, this,
            [this] { frmMenu::PopUp(m_frmMenu->mnuStart(), m_cmdStartDownload); });
    connect(m_cmdStopDownload, &QPushButton::clicked, m_frmMenu->mnuStopAll(), &QAction::trigger);
    connect(m_cmdFilter, &QPushButton::clicked, this, [this] { frmMenu::PopUp(m_frmMenu->mnuFilter(), m_cmdFilter); });
    connect(m_cmdClearItems, &QPushButton::clicked, this,
            [this] { frmMenu::PopUp(m_frmMenu->mnuClear(), m_cmdClearItems); });

    m_Grid = new QTableView(page);
    m_Grid->setObjectName(QStringLiteral("Grid"));
    m_Grid->setAccessibleName(tr("Download List"));
    Place(m_Grid, 100, kGridTop, 8000, 2000);
}

void frmMain::BuildSearchPage()
{
    QWidget *page = PagePanel(SearchPage);
    m_MyFrame2 = NewPanel(page, "MyFrame2");
    Place(m_MyFrame2, 0, 60, 8000, 2040);

    Place(NewLabel(m_MyFrame2, tr("Search Text")), 120, 120, 1200, 345);
    m_txtSearch = new HintLineEdit(SearchPageRules::SearchHint(), m_MyFrame2);
    m_txtSearch->setObjectName(QStringLiteral("txtSearch"));
    m_txtSearch->setAccessibleName(tr("Search Text"));
    Place(m_txtSearch, 1350, 120, 4500, 345);
    m_cmdSearch = NewButton(m_MyFrame2, "cmdSearch", tr("&Search RapidShare"));
    Place(m_cmdSearch, 6000, 105, 2250, 375);

    auto newList = [this](const char *name, const QString &caption, const QStringList &entries) {
        auto *list = new QComboBox(m_MyFrame2);
        list->setObjectName(QLatin1String(name));
        list->setAccessibleName(caption);
        list->addItems(entries);
        return list;
    };
    // A combo box's name is its current entry for screen readers; its label is
    // told through the buddy.
    QLabel *extensionLabel = NewLabel(m_MyFrame2, tr("File Extension"));
    Place(extensionLabel, 120, 570, 1200, 345);
    m_cmbExtension = newList("cmbExtension", tr("File Extension"), {tr("All"), "3gp", "avi", "mkv", "mp3", "mp4", "mpeg", "mpg", "rar", "rmvb",
                                              "wma", "wmv", "zip"});
    Place(m_cmbExtension, 1350, 570, 1150, 345);
    extensionLabel->setBuddy(m_cmbExtension);
    QLabel *dateLabel = NewLabel(m_MyFrame2, tr("Date Filter"));
    Place(dateLabel, 2650, 570, 950, 345);
    m_cmbDateFilter = newList("cmbDateFilter", tr("Date Filter"),
                              {tr("Whenever"), tr("Last 24 Hours"), tr("Last Week"), tr("Last Month"),
                               tr("Last 2 Months"), tr("Last 4 Months"), tr("Last 6 Months "), tr("Last Year")});
    Place(m_cmbDateFilter, 3600, 570, 1700, 345);
    dateLabel->setBuddy(m_cmbDateFilter);
    QLabel *sortLabel = NewLabel(m_MyFrame2, tr("Sort By"));
    Place(sortLabel, 5450, 570, 700, 345);
    m_cmbSortBy = newList("cmbSortBy", tr("Sort By"),
                          {tr("No Sort"), tr("Size Ascending"), tr("Size Descending"), tr("Date Ascending"),
                           tr("Date Descending"), tr("Popularity Ascending"), tr("Popularity Descending")});
    Place(m_cmbSortBy, 6150, 570, 2100, 345);
    sortLabel->setBuddy(m_cmbSortBy);

    auto newSizeRow = [this](const char *name, const QString &caption, const QString &note, int top) {
        Place(NewLabel(m_MyFrame2, caption), 120, top, 1200, 345);
        auto *box = new QLineEdit(m_MyFrame2);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(caption);
        box->setValidator(new SizeBoxValidator(box));
        Place(box, 1350, top, 900, 345);
        Place(NewLabel(m_MyFrame2, tr("MB")), 2320, top, 400, 345);
        Place(NewLabel(m_MyFrame2, tr("(optional)")), 2720, top, 1100, 345);
        Place(NewLabel(m_MyFrame2, note), 3850, top, 4400, 345);
        return box;
    };
    m_txtSizeFrom =
        newSizeRow("txtSizeFrom", tr("Size From"), tr("* leave empty to not identify the minimum size"), 1020);
    m_txtSizeTo = newSizeRow("txtSizeTo", tr("Size To"), tr("* leave empty to not identify the maximum size"), 1470);

    // The grid's caption bar, which carries the search summary.
    m_gridSearchCaption = NewLabel(page, QString(), "GridSearchCaption");
    m_gridSearchCaption->setIndent(Px(90));
    m_GridSearch = new QTableView(page);
    m_GridSearch->setObjectName(QStringLiteral("GridSearch"));
    m_GridSearch->setAccessibleName(tr("Search Results"));

    m_lblSearchPage = NewLabel(page, tr("Show results page:"), "lblSearchPage");
    m_lblSearchPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cmbSearchPage = new QComboBox(page);
    m_cmbSearchPage->setObjectName(QStringLiteral("cmbSearchPage"));
    m_cmbSearchPage->setAccessibleName(tr("Show results page"));
    m_lblSearchPage->setBuddy(m_cmbSearchPage);
    m_cmdPrevPage = NewButton(page, "cmdPrevPage", QStringLiteral("<<"), tr("Previous results page"));
    m_cmdNextPage = NewButton(page, "cmdNextPage", QStringLiteral(">>"), tr("Next Results Page"));

    m_cmdAddSearchItems =
        NewButton(page, "cmdAddSearchItems", tr("&Add selected items as new downloads"));
    m_cmdAddAndStart = NewButton(page, "cmdAddAndStart", tr("Add selected items And Start &Download"));
    m_lblAddSearch = NewLabel(page, QString(), "lblAddSearch");

    m_gifWait = new QLabel(page);
    m_gifWait->setObjectName(QStringLiteral("gifWait"));
    m_gifWait->setAlignment(Qt::AlignCenter);
    m_gifWait->resize(Px(kWaitSize), Px(kWaitSize));
    m_gifWait->hide();
    m_waitMovie = new QMovie(m_gifWait);
    ApplySearchState({}, false);
}

void frmMain::BuildAboutPage()
{
    QWidget *page = PagePanel(AboutPage);
    m_MyFrame3 = NewPanel(page, "MyFrame3");
    Place(m_MyFrame3, 1200, 0, kAboutPanelWidth, 4000);

    auto *picture = new QLabel(m_MyFrame3);
    picture->setObjectName(QStringLiteral("imgAbout"));
    picture->setPixmap(AppIcon::Pixmap(Px(1080)));
    picture->setAlignment(Qt::AlignCenter);
    Place(picture, 0, 150, kAboutPanelWidth, 1200);

    auto *title = new QLabel(tr("About Tidefetch"), m_MyFrame3);
    title->setObjectName(QStringLiteral("lblAboutTitle"));
    QFont titleFont = Twips::LayoutFont(title->font(), 14);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    Place(title, 0, 1380, kAboutPanelWidth, 450);

    auto *version = new QLabel(tr("Version %1").arg(QCoreApplication::applicationVersion()), m_MyFrame3);
    version->setObjectName(QStringLiteral("lblAboutVersion"));
    version->setAlignment(Qt::AlignCenter);
    Place(version, 0, 1830, kAboutPanelWidth, 300);

    auto *text = new QLabel(
        tr("Tidefetch finds files kept on the RapidShare file-hosting service and downloads them in "
           "batches.\n\nSearch for files and tick the hits you want, paste links into the "
           "\"Add New Download\" page, or simply copy them: every link is first checked with the "
           "service, and the available ones join the download list. The list is worked off one file "
           "at a time, a running download shows its progress as a bar, and both lists are kept "
           "between runs."),
        m_MyFrame3);
    text->setObjectName(QStringLiteral("lblAboutText"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(text, 450, 2200, kAboutPanelWidth - 900, 2100);
}

// ---- Initial set-up

void frmMain::Initialise()
{
    // 1. The search lists start on their first entries.
    for (QComboBox *list : {m_cmbExtension, m_cmbDateFilter, m_cmbSortBy})
        list->setCurrentIndex(0);

    // 2. The tray icon shows the window's icon and name; it has no menu.
    m_systemTray->setIcon(windowIcon());
    m_systemTray->setToolTip(kTitle);
    m_systemTray->setVisible(QSystemTrayIcon::isSystemTrayAvailable());

    // 3 to 5. Pages, toolbar and transition panel take their places (the
    // resize rules place them from here on).
    LayoutWindow();

    // 6. Page 0 is current.
    m_toolBar->button(AddNewDownloadPage)->setChecked(true);

    // 7. The colour theme, before the grids that take colours from it.
    setStyleSheet(Theme::StyleSheet());

    // 8. The grids.
    SetUpCheckGrid();
    SetUpGrid();
    SetUpGridSearch();

    // 9. The wait animation, hidden until a fetch waits.
    m_gifWait->setStyleSheet(QStringLiteral("background-color: %1;").arg(QColor(Theme::PagePale).name()));
    m_waitMovie->setFileName(WaitAnimationPath());
    m_gifWait->setMovie(m_waitMovie);
    m_gifWait->hide();

    // The opening transition covers page 0, already in front, for 700 ms.
    m_frEffect->Start(TransitionPanel::Effect::Opening);
    m_tmrEffect->start();
}

void frmMain::AttachPrompter(WidgetPrompter &prompter)
{
    prompter.SetWindow(this);
    prompter.SetTrayIcon(m_systemTray);
    prompter.SetNotifier(new DesktopNotifier(QGuiApplication::desktopFileName(), this));
    connect(&prompter, &WidgetPrompter::NoticeWithoutTray, this, &frmMain::ShowNotice);
}

void frmMain::SetUpCheckGrid()
{
    m_checkListModel = new RecordTableModel(m_controller.Store().rsCheckList.Table(), this);
    const QList<GridLayouts::GridColumn> columns = GridLayouts::CheckListColumns();
    GridLayouts::ApplyColumns(*m_checkListModel, columns);
    m_CheckGrid->setModel(m_checkListModel);
    GridLayouts::ApplyColumns(*m_CheckGrid, columns, m_dpi, GridLayouts::CheckListFirstHiddenTail);
    FinishGrid(*m_CheckGrid, m_checkListModel, u"Status");
}

int frmMain::FinishGrid(QTableView &grid, RecordTableModel *model, QStringView statusField)
{
    grid.setItemDelegate(new GridItemDelegate(&grid));
    int statusColumn = -1;
    if (model && model->Table()) {
        statusColumn = model->Table()->FieldIndex(statusField);
        model->SetStatusColumn(statusColumn);
        model->SetReasonColumn(statusColumn, model->Table()->FieldIndex(u"Error_Desc"),
                               {QStringLiteral("Error"), QStringLiteral("UnAvailable")});
    }
    new ColumnWidthKeeper(grid, m_controller.Settings(), grid.objectName());
    return statusColumn;
}

void frmMain::SetUpGrid()
{
    m_downListModel = new RecordTableModel(m_controller.Store().rsDownList.Table(), this);
    const QList<GridLayouts::GridColumn> columns = GridLayouts::DownListColumns();
    GridLayouts::ApplyColumns(*m_downListModel, columns);
    m_Grid->setModel(m_downListModel);
    GridLayouts::ApplyColumns(*m_Grid, columns, m_dpi, GridLayouts::DownListFirstHiddenTail);
    m_statusColumn = FinishGrid(*m_Grid, m_downListModel, u"Download_Status");
    if (m_statusColumn >= 0)
        m_Grid->setItemDelegateForColumn(m_statusColumn, new StatusDelegate(m_Grid));
}

void frmMain::SetUpGridSearch()
{
    SearchResultModel &rsSearch = m_controller.rsSearch();
    const QList<GridLayouts::GridColumn> columns = GridLayouts::SearchColumns();
    GridLayouts::ApplyColumns(rsSearch, columns);
    m_GridSearch->setModel(&rsSearch);
    GridLayouts::ApplyColumns(*m_GridSearch, columns, m_dpi);
    FinishGrid(*m_GridSearch, nullptr, {});
}

// ---- Layout

void frmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_fittedToScreen, true) || !screen())
        return;
    // Now the frame is known: the first window, frame and all, stays inside the
    // screen's free area.
    const QRect available = screen()->availableGeometry();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize room = available.size().shrunkBy(frame);
    if (width() > room.width() || height() > room.height()) {
        setMinimumSize(minimumSize().boundedTo(room));
        resize(size().boundedTo(room));
    }
    if (!available.contains(frameGeometry()))
        move(available.topLeft());
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayoutWindow();
}

void frmMain::LayoutWindow()
{
    // The minimum size (setMinimumSize) snaps every smaller size back, so the
    // rules below always see at least 8640 by 5664 twips.
    const int W = width();
    const int H = height();

    // Toolbar: the right end piece and "About" keep to the right edge; the filler
    // reaches "About" and never gets a negative width.
    QPushButton *about = cmdToolBar(AboutPage);
    m_cmdDummy->move(W - m_cmdDummy->width() - Px(190), 0);
    about->move(m_cmdDummy->x() - about->width(), 0);
    if (about->x() > m_cmdDummy1->x())
        m_cmdDummy1->resize(about->x() - m_cmdDummy1->x(), m_cmdDummy1->height());

    for (QWidget *page : m_frMain)
        page->setGeometry(Px(25), Px(1020), W - Px(200), H - Px(1020) - Px(580));
    const int PW = W - Px(200);
    const int PH = H - Px(1020) - Px(580);

    // Add New Download
    m_CheckGrid->resize(PW - m_CheckGrid->x() - Px(200), PH - m_CheckGrid->y() - Px(900));
    m_txtLinks->resize(PW - Px(460), m_txtLinks->height());
    m_cmdCheckLinks->move(PW - m_cmdCheckLinks->width() - Px(230), m_cmdCheckLinks->y());
    m_cmdDownloadLinks->move(PW - m_cmdDownloadLinks->width() - Px(200),
                             PH - m_cmdDownloadLinks->height() - Px(300));
    m_cmdClearCheckList->move(m_cmdClearCheckList->x(), PH - m_cmdClearCheckList->height() - Px(300));

    // Download List
    m_MyFrame1->resize(PW - Px(50), m_MyFrame1->height());
    m_Grid->setGeometry(Px(100), m_Grid->y(), PW - Px(250), PH - m_Grid->y() - Px(500));

    // Search: the caption bar sits on top of the grid's place.
    m_MyFrame2->resize(PW - Px(50), m_MyFrame2->height());
    const QRect gridSearch(Px(kGridSearchLeft), Px(kGridSearchTop), PW - Px(150), PH - Px(kGridSearchTop) - Px(900));
    m_gridSearchCaption->setGeometry(gridSearch.left(), gridSearch.top(), gridSearch.width(), Px(kCaptionBarHeight));
    m_GridSearch->setGeometry(gridSearch.adjusted(0, Px(kCaptionBarHeight), 0, 0));
    m_gifWait->move(PW - Px(200) - m_gifWait->width(), gridSearch.bottom() + 1 - m_gifWait->height() - Px(250));
    const int pagingTop = PH - Px(kPagingButtonHeight) - Px(400);
    Place(m_lblSearchPage, kPagingLefts[0], 0, 1700, kPagingButtonHeight);
    Place(m_cmbSearchPage, kPagingLefts[1], 0, 800, kPagingButtonHeight);
    Place(m_cmdPrevPage, kPagingLefts[2], 0, 450, kPagingButtonHeight);
    Place(m_cmdNextPage, kPagingLefts[3], 0, 450, kPagingButtonHeight);
    for (QWidget *paging : {static_cast<QWidget *>(m_lblSearchPage), static_cast<QWidget *>(m_cmbSearchPage),
                            static_cast<QWidget *>(m_cmdPrevPage), static_cast<QWidget *>(m_cmdNextPage)})
        paging->move(paging->x(), pagingTop);
    const int addTop = PH - Px(kAddButtonHeight) - Px(300);
    m_cmdAddSearchItems->setGeometry(Px(kAddSearchItemsLeft), addTop, Px(kAddButtonWidth), Px(kAddButtonHeight));
    m_cmdAddAndStart->setGeometry(Px(kAddAndStartLeft), addTop, Px(kAddAndStartWidth), Px(kAddButtonHeight));
    m_lblAddSearch->setGeometry(Px(kAddSearchItemsLeft), addTop + m_cmdAddAndStart->height() + Px(50),
                                Px(kAddAndStartLeft + kAddAndStartWidth - kAddSearchItemsLeft), Px(240));

    // About
    m_MyFrame3->setGeometry((PW - m_MyFrame3->width()) / 2, 0, m_MyFrame3->width(), PH - Px(30));

    m_frEffect->setGeometry(0, Px(kToolbarHeight - 5), W, H);
    m_statusBar->setGeometry(0, H - Px(kStatusBarHeight), W, Px(kStatusBarHeight));
}

// ---- Pages and the transition

QPushButton *frmMain::cmdToolBar(int index) const
{
    return qobject_cast<QPushButton *>(m_toolBar->button(index));
}

QWidget *frmMain::PagePanel(int index) const
{
    return m_frMain[size_t(Slot(index))];
}

void frmMain::cmdToolBar_Click(int index)
{
    if (!m_toolBar->button(index))
        return;
    // The page is in front at once, under the effect, so no click meant for it
    // is lost while the effect plays.
    BringToFront(index);
    m_frEffect->Start(TransitionPanel::Effect::PageSwitch);
    // A click while the transition runs keeps its timer: the effect ends when
    // the first click's would.
    if (!m_tmrEffect->isActive())
        m_tmrEffect->start();
    m_currentPage = index;
    m_toolBar->button(index)->setChecked(true);
}

void frmMain::tmrEffect_Timer()
{
    m_tmrEffect->stop();
    m_frEffect->hide();
}

void frmMain::BringToFront(int index)
{
    // Pages behind the front one are hidden as well, so the keyboard cannot reach them.
    for (int slot = 0; slot < 4; ++slot)
        m_frMain[size_t(slot)]->setVisible(PageIndices[size_t(slot)] == index);
    PagePanel(index)->raise();
    m_statusBar->raise();
}

int frmMain::FrontPage() const
{
    for (int slot = 0; slot < 4; ++slot) {
        if (!m_frMain[size_t(slot)]->isHidden())
            return PageIndices[size_t(slot)];
    }
    return -1;
}

void frmMain::ShowNotice(const QString &text, int milliseconds)
{
    m_statusBar->showMessage(text, milliseconds);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the label beside the clipboard box clicks the box.
    if (watched == m_Label16 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_chkCatch->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Search page

SearchResultModel *frmMain::SearchResults() const
{
    return &m_controller.rsSearch();
}

SearchCommands::Request frmMain::CurrentSearchRequest() const
{
    SearchCommands::Request request;
    request.text = m_txtSearch->text();
    request.extension = m_cmbExtension->currentIndex();
    request.dateFilter = m_cmbDateFilter->currentIndex();
    request.sortBy = m_cmbSortBy->currentIndex();
    if (!m_txtSizeFrom->text().isEmpty())
        request.sizeFrom = m_txtSizeFrom->text().toInt();
    if (!m_txtSizeTo->text().isEmpty())
        request.sizeTo = m_txtSizeTo->text().toInt();
    return request;
}

void frmMain::ShowSearchPages()
{
    const SearchCommands &search = m_controller.Search();
    if (m_cmbSearchPage->count() != search.PageCount()) {
        m_cmbSearchPage->clear();
        for (int page = 1; page <= search.PageCount(); ++page)
            m_cmbSearchPage->addItem(QString::number(page));
    }
    m_cmbSearchPage->setCurrentIndex(search.SelectedIndex());
    m_gridSearchCaption->setText(search.Caption());
    ApplySearchState(search.Paging(), search.IsBusy());
}

void frmMain::ShowSearchBusy(bool busy)
{
    if (busy) {
        m_gifWait->show();
        m_gifWait->raise();
        m_waitMovie->start();
    } else {
        m_waitMovie->stop();
        m_gifWait->hide();
    }
    ApplySearchState(m_controller.Search().Paging(), busy);
}

void frmMain::ApplySearchState(const SearchPageRules::PagingState &paging, bool busy)
{
    m_cmbSearchPage->setEnabled(paging.selector);
    m_cmdPrevPage->setEnabled(paging.previous);
    m_cmdNextPage->setEnabled(paging.next);
    for (QPushButton *command : {m_cmdSearch, m_cmdAddSearchItems, m_cmdAddAndStart})
        command->setEnabled(!busy);
}

// ---- Commands

void frmMain::ConnectCommands()
{
    ConnectCheckPage();
    ConnectDownloadListMenus();
    ConnectSearchPage();
    ConnectKeys();
}

void frmMain::ConnectKeys()
{
    // Ctrl+1 to Ctrl+4: the pages, in the toolbar's order.
    for (int slot = 0; slot < 4; ++slot) {
        auto *page = new QShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_1 + slot))), this);
        connect(page, &QShortcut::activated, this, [this, slot] { cmdToolBar_Click(PageIndices[size_t(slot)]); });
    }
    // Delete: the selected rows of the grid in focus, through the commands'
    // own refusals.
    auto *deleteDownloads = new QShortcut(QKeySequence::Delete, m_Grid, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteDownloads, &QShortcut::activated, this,
            [this] { m_controller.Commands().RemoveDownloads(SelectedIds(*m_Grid)); });
    auto *deleteChecks = new QShortcut(QKeySequence::Delete, m_CheckGrid, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteChecks, &QShortcut::activated, this,
            [this] { m_controller.Checker().RemoveRows(SelectedIds(*m_CheckGrid)); });
    // Ctrl+V anywhere on the Add New Download page pastes into the link box
    // (which pastes by itself when it has the focus).
    auto *paste = new QShortcut(QKeySequence::Paste, PagePanel(AddNewDownloadPage), nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(paste, &QShortcut::activated, this, [this] {
        m_txtLinks->setFocus();
        m_txtLinks->paste();
    });
}

QList<qint64> frmMain::SelectedIds(const QTableView &grid)
{
    QList<qint64> ids;
    const auto *model = qobject_cast<const RecordTableModel *>(grid.model());
    if (!model || !model->Table())
        return ids;
    for (const QModelIndex &row : grid.selectionModel()->selectedRows())
        ids.append(model->Table()->IdAt(row.row()));
    return ids;
}

void frmMain::ConnectCheckPage()
{
    connect(m_cmdCheckLinks, &QPushButton::clicked, this, [this] {
        m_controller.cmdCheckLinks_Click(m_txtLinks->toPlainText());
        m_txtLinks->clear();
    });
    connect(m_cmdClearCheckList, &QPushButton::clicked, &m_controller, &MainController::cmdClearCheckList_Click);
    connect(m_cmdDownloadLinks, &QPushButton::clicked, &m_controller, &MainController::cmdDownloadLinks_Click);

    ClipboardWatch &clipboard = m_controller.Clipboard();
    clipboard.SetCatchEnabled(m_chkCatch->isChecked());
    connect(m_chkCatch, &QCheckBox::toggled, &clipboard, &ClipboardWatch::SetCatchEnabled);
}

void frmMain::ConnectDownloadListMenus()
{
    QueueCommands &commands = m_controller.Commands();
    const QList<QPair<QAction *, void (QueueCommands::*)()>> items = {
        {m_frmMenu->mnuDownAll(), &QueueCommands::QueueAllDownloads},
        {m_frmMenu->mnutDownSelected(), &QueueCommands::QueueSelectedDownloads},
        {m_frmMenu->mnuStopAll(), &QueueCommands::StopAllDownloads},
        {m_frmMenu->mnuStopSelected(), &QueueCommands::StopSelectedDownloads},
        {m_frmMenu->mnuClearCompleted(), &QueueCommands::ClearCompleteItems},
        {m_frmMenu->mnuClearError(), &QueueCommands::ClearErrorItems},
        {m_frmMenu->mnuClearStopped(), &QueueCommands::ClearStoppedItems},
        {m_frmMenu->mnuClearSelected(), &QueueCommands::RemoveSelectedDownloads},
        {m_frmMenu->mnuClearAll(), &QueueCommands::ClearAllItems},
    };
    for (const auto &[action, command] : items)
        connect(action, &QAction::triggered, this, [&commands, command = command] { (commands.*command)(); });
    for (QAction *mark : {m_frmMenu->mnuIncludeComplete(), m_frmMenu->mnuInCludeWaiting(),
                          m_frmMenu->mnuIncludeDownloading()})
        connect(mark, &QAction::triggered, this, &frmMain::FilterDownGrid);
}

void frmMain::FilterDownGrid()
{
    DownGridFilter &filter = m_controller.Filter();
    filter.includeComplete = m_frmMenu->mnuIncludeComplete()->isChecked();
    filter.includeWaiting = m_frmMenu->mnuInCludeWaiting()->isChecked();
    filter.includeDownloading = m_frmMenu->mnuIncludeDownloading()->isChecked();
    if (m_statusColumn < 0)
        return;
    // Without updates a hidden row costs no repaint position, which the header
    // would otherwise work out again over every row for each row hidden.
    m_Grid->setUpdatesEnabled(false);
    const int rows = m_downListModel->rowCount();
    for (int row = 0; row < rows; ++row) {
        const QString status =
            m_downListModel->index(row, m_statusColumn).data(RecordTableModel::RawValueRole).toString();
        const bool hidden = m_Grid->isRowHidden(row);
        const bool hide = !filter.IsVisible(status, !hidden);
        if (hide != hidden)
            m_Grid->setRowHidden(row, hide);
    }
    m_Grid->setUpdatesEnabled(true);
}

void frmMain::ConnectSearchPage()
{
    SearchCommands &search = m_controller.Search();
    auto searchCommand = [this, &search] { search.cmdSearch_Click(CurrentSearchRequest()); };
    connect(m_cmdSearch, &QPushButton::clicked, this, searchCommand);
    connect(m_txtSearch, &QLineEdit::returnPressed, this, searchCommand);
    connect(m_cmbSearchPage, &QComboBox::activated, &search, &SearchCommands::cmbSearchPage_Click);
    connect(m_cmdPrevPage, &QPushButton::clicked, &search, &SearchCommands::cmdPrevPage_Click);
    connect(m_cmdNextPage, &QPushButton::clicked, &search, &SearchCommands::cmdNextPage_Click);
    connect(m_cmdAddSearchItems, &QPushButton::clicked, &search, &SearchCommands::cmdAddSearchItems_Click);
    connect(m_cmdAddAndStart, &QPushButton::clicked, &search, &SearchCommands::cmdAddAndStart_Click);

    connect(&search, &SearchCommands::PagesChanged, this, &frmMain::ShowSearchPages);
    connect(&search, &SearchCommands::BusyChanged, this, &frmMain::ShowSearchBusy);
    connect(&search, &SearchCommands::AddProgressChanged, m_lblAddSearch, &QLabel::setText);
    connect(&search, &SearchCommands::DownloadListRequested, this, [this] { cmdToolBar_Click(DownloadListPage); });
    connect(&search, &SearchCommands::SearchFailed, this, [this](const QString &text) { ShowNotice(text, 5000); });
}
