#include "SearchSite.h"
#include "ServiceEmulator.h"
#include "app/MainController.h"
#include "app/SearchResultModel.h"
#include "clipboard/ClipboardWatch.h"
#include "store/RecordTableModel.h"
#include "support/TestListFile.h"
#include "ui/GridItemDelegate.h"
#include "ui/ProgressRules.h"
#include "ui/Theme.h"
#include "ui/StatusDelegate.h"
#include "ui/Translation.h"
#include "ui/Twips.h"
#include "ui/WidgetPrompter.h"
#include "ui/frmMain.h"
#include "ui/frmMenu.h"
#include "ui/ColumnWidthKeeper.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QMenu>
#include <QMovie>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

constexpr int kWait = 10000;

// A program folder with a list file, a settings file and the window over them;
// every service it talks to is played by the emulator.
struct Program {
    ServiceEmulator emulator;
    TestListFile folder;
    QTemporaryDir settingsDir;
    QTemporaryDir downloads;
    AppSettings settings{settingsDir.filePath(QStringLiteral("settings.ini"))};
    RecordingPrompter prompter;
    MainController controller{folder.Folder(), settings, prompter};
    frmMain window{controller};

    bool Load(const QStringList &rows = {})
    {
        SearchSite::Register(emulator);
        if (!emulator.Listen() || !folder.IsValid() || !folder.Execute(rows))
            return false;
        for (const char *key : {"ApiHost", "FileServerHost", "SearchHost"})
            settings.SetValue(QStringLiteral("Services"), QLatin1String(key), emulator.Host());
        settings.SetDownPath(downloads.path());
        return controller.Load([this] { window.Initialise(); }, [] { QFAIL("the program ended"); });
    }
    // The statuses of the download list, in list order.
    QStringList DownStatuses() const { return Column(window.DownListModel(), 3); }
    QStringList CheckStatuses() const { return Column(window.CheckListModel(), 3); }
    static QStringList Column(const QAbstractItemModel *model, int column)
    {
        QStringList values;
        for (int row = 0; row < model->rowCount(); ++row)
            values.append(model->index(row, column).data(RecordTableModel::RawValueRole).toString());
        return values;
    }
    int Px(int twips) const { return Twips::ToPixels(twips, window.LayoutDpi()); }
    // Waits for the transition that is running to end.
    bool WaitForTransition()
    {
        return QTest::qWaitFor([this] { return !window.tmrEffect()->isActive(); }, 3000);
    }
};

QList<SearchHit> Hits(int count)
{
    QList<SearchHit> hits;
    for (int i = 0; i < count; ++i)
        hits.append({QStringLiteral("file%1").arg(i), QStringLiteral("avi"), QStringLiteral("1 MB"),
                     QStringLiteral("Not Available"), QStringLiteral("2009"),
                     QStringLiteral("http://127.0.0.1/details/%1").arg(i)});
    return hits;
}

// Alt letters that two buttons reachable at once share: the buttons of one page
// and the toolbar's, which are there on every page.
QStringList SharedMnemonics(const frmMain &window)
{
    QHash<const QWidget *, QStringList> byPage;
    QStringList toolbar;
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        const QString letter = QKeySequence::mnemonic(button->text()).toString();
        if (letter.isEmpty())
            continue;
        const QWidget *page = button;
        while (page->parentWidget() != &window)
            page = page->parentWidget();
        (page == button ? toolbar : byPage[page]).append(letter);
    }
    QStringList shared;
    for (const QStringList &letters : std::as_const(byPage)) {
        const QStringList reachable = letters + toolbar;
        for (const QString &letter : reachable) {
            if (reachable.count(letter) > 1 && !shared.contains(letter))
                shared.append(letter);
        }
    }
    return shared;
}

QStringList Entries(const QComboBox *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

class tst_frmMain final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_shipped.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toUtf8());
        // The wait animation where an installation keeps it (none lies beside the test).
        QVERIFY(QDir().mkpath(m_shipped.filePath(QStringLiteral("tidefetch"))));
        QVERIFY(QFile::copy(QStringLiteral(TIDEFETCH_DATA_DIR "/WaitOrange.gif"), ShippedAnimation()));
        qputenv("XDG_DATA_DIRS", m_shipped.path().toUtf8());
        QCoreApplication::setApplicationVersion(QStringLiteral("0.2.0"));
    }

    void setUpOpensOnTheFirstPage()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tidefetch"));
        QCOMPARE(w.txtDownPath()->text(), p.controller.DownPath());
        QCOMPARE(w.CurrentPage(), 0);
        QVERIFY(w.cmdToolBar(0)->isChecked());
        // The opening transition covers the pages for 700 ms, then page 0 is in front.
        QCOMPARE(w.tmrEffect()->interval(), 700);
        QVERIFY(w.tmrEffect()->isActive());
        QWidget *effect = w.findChild<QWidget *>(QStringLiteral("frEffect"));
        QVERIFY(effect && effect->isVisibleTo(&w));
        QVERIFY(p.WaitForTransition());
        QVERIFY(!effect->isVisibleTo(&w));
        QCOMPARE(w.FrontPage(), 0);

        const QStringList toolbar = {"Add New Download", "Download List", "Search", "About"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.cmdToolBar(frmMain::PageIndices[size_t(i)])->text(), toolbar.at(i));
        QVERIFY(!w.cmdToolBar(3));

        auto *tray = w.findChild<QSystemTrayIcon *>(QStringLiteral("SystemTray"));
        QVERIFY(tray);
        QCOMPARE(tray->toolTip(), QStringLiteral("Tidefetch"));
        QVERIFY(!tray->icon().isNull());
        QVERIFY(!tray->contextMenu());

        QVERIFY(w.gifWait()->isHidden());
        QVERIFY(w.gifWait()->movie());
        QCOMPARE(w.gifWait()->movie()->fileName(), ShippedAnimation());
        QVERIFY(w.gifWait()->movie()->isValid());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("lblAboutVersion"))->text(), QStringLiteral("Version 0.2.0"));
        QVERIFY(w.lblAddSearch()->text().isEmpty());
    }

    void controlsCarryTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        auto row = [](const char *name, const char *caption, const char *toolTip = "") {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                                << QString::fromLatin1(toolTip);
        };
        const char *running = "Include/Exclude Complete,Waiting or Runing items";
        row("cmdStartDownload", "Start Download", "Start download All/Selected items");
        row("cmdStopDownload", "Stop Download", "Stop download All/Selected items");
        row("cmdFilter", "Filter Listed Items", running);
        row("cmdClearItems", "Clear Items", running);
        row("cmdCheckLinks", "Check Links");
        row("cmdDownloadLinks", "Download Available Links");
        row("cmdClearCheckList", "Clear List");
        row("cmdSearch", "Search RapidShare");
        row("cmdNextPage", ">>", "Next Results Page");
        row("cmdPrevPage", "<<", "Previous results page");
        row("cmdAddSearchItems", "Add selected items as new downloads");
        row("cmdAddAndStart", "Add selected items And Start Download");
        row("chkCatch", "Catch RapidShare Links in the clipboard");
    }
    void controlsCarryTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        Program p;
        QVERIFY(p.Load());
        auto *control = p.window.findChild<QAbstractButton *>(name);
        QVERIFY(control);
        // The caption may carry an Alt mnemonic; the screen reader hears the caption.
        QCOMPARE(QString(control->text()).remove(QLatin1Char('&')), caption);
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), caption);
        QCOMPARE(control->toolTip(), toolTip);
    }

    // Alt with a button's underlined letter clicks it, on the page in front.
    void mnemonicsClickTheirButtons_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<char>("letter");
        QTest::newRow("Check Links") << int(frmMain::AddNewDownloadPage) << "cmdCheckLinks" << 'c';
        QTest::newRow("Clear List") << int(frmMain::AddNewDownloadPage) << "cmdClearCheckList" << 'l';
        QTest::newRow("Stop Download") << int(frmMain::DownloadListPage) << "cmdStopDownload" << 't';
        QTest::newRow("Search RapidShare") << int(frmMain::SearchPage) << "cmdSearch" << 's';
    }
    void mnemonicsClickTheirButtons()
    {
        QFETCH(int, page);
        QFETCH(QString, name);
        QFETCH(char, letter);
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdToolBar_Click(page);
        auto *button = w.findChild<QPushButton *>(name);
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(&w, letter, Qt::AltModifier);
        QTRY_COMPARE(clicked.count(), 1);
    }

    void keys()
    {
        Program p;
        QVERIFY(p.Load({QStringLiteral("INSERT INTO DownList (Check_Box, Sharing_Link, Download_Status) "
                                       "VALUES (0, 'http://x/1', 'Stopped'), (0, 'http://x/2', 'Stopped'), "
                                       "(0, 'http://x/3', 'Queued')"),
                        QStringLiteral("INSERT INTO CheckList (Sharing_Link, Status) "
                                       "VALUES ('http://y/1', 'Error'), ('http://y/2', 'Available')")}));
        frmMain &w = p.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        // Ctrl+1 to Ctrl+4 switch pages.
        const QList<int> pages{frmMain::AddNewDownloadPage, frmMain::DownloadListPage, frmMain::SearchPage,
                               frmMain::AboutPage};
        for (int i = 3; i >= 0; --i) {
            QTest::keyClick(&w, char('1' + i), Qt::ControlModifier);
            QCOMPARE(w.FrontPage(), pages.at(i));
        }

        // Ctrl+A selects every row; Delete removes the selection, whatever is ticked.
        w.cmdToolBar_Click(frmMain::DownloadListPage);
        w.Grid()->setFocus();
        QTest::keyClick(w.Grid(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.Grid()->selectionModel()->selectedRows().size(), 3);
        w.Grid()->clearSelection();
        w.Grid()->selectRow(1);
        QTest::keyClick(w.Grid(), Qt::Key_Delete);
        QCOMPARE(p.Column(w.DownListModel(), 9), (QStringList{"http://x/1", "http://x/3"}));

        w.cmdToolBar_Click(frmMain::AddNewDownloadPage);
        w.CheckGrid()->setFocus();
        QTest::keyClick(w.CheckGrid(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w.CheckGrid(), Qt::Key_Delete);
        QCOMPARE(w.CheckListModel()->rowCount(), 0);

        // Ctrl+V on the page pastes into the link box, wherever the focus is on it.
        QGuiApplication::clipboard()->setText(QStringLiteral("http://example.org/a.iso"));
        w.btnBrowse()->setFocus();
        QTest::keyClick(w.btnBrowse(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.txtLinks()->toPlainText(), QStringLiteral("http://example.org/a.iso"));
        QVERIFY(w.txtLinks()->hasFocus());
        QTest::keyClick(w.txtLinks(), Qt::Key_V, Qt::ControlModifier); // the box's own paste, once
        QCOMPARE(w.txtLinks()->toPlainText(), QStringLiteral("http://example.org/a.isohttp://example.org/a.iso"));
    }

    void searchPageStartsEmpty()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        QCOMPARE(Entries(w.cmbSortBy()),
                 QStringList({"No Sort", "Size Ascending", "Size Descending", "Date Ascending", "Date Descending",
                              "Popularity Ascending", "Popularity Descending"}));
        QCOMPARE(Entries(w.cmbDateFilter()),
                 QStringList({"Whenever", "Last 24 Hours", "Last Week", "Last Month", "Last 2 Months",
                              "Last 4 Months", "Last 6 Months ", "Last Year"}));
        QCOMPARE(Entries(w.cmbExtension()), QStringList({"All", "3gp", "avi", "mkv", "mp3", "mp4", "mpeg", "mpg",
                                                         "rar", "rmvb", "wma", "wmv", "zip"}));
        for (QComboBox *list : {w.cmbSortBy(), w.cmbDateFilter(), w.cmbExtension()})
            QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(w.txtSearch()->text(), QStringLiteral("Type the search text"));
        QCOMPARE(w.txtSearch()->property("hint").toBool(), true);
        QCOMPARE(w.cmbSearchPage()->count(), 0);
        QVERIFY(!w.cmbSearchPage()->isEnabled());
        QVERIFY(!w.cmdNextPage()->isEnabled());
        QVERIFY(!w.cmdPrevPage()->isEnabled());
        QVERIFY(w.cmdSearch()->isEnabled());
        QCOMPARE(w.GridSearch()->model()->rowCount(), 0);
        QVERIFY(w.GridSearchCaption()->text().isEmpty());
        for (const char *text : {"Search Text", "File Extension", "Date Filter", "Sort By", "Size From", "Size To",
                                 "MB", "(optional)", "* leave empty to not identify the minimum size",
                                 "* leave empty to not identify the maximum size", "Show results page:"}) {
            bool found = false;
            for (const QLabel *label : w.findChildren<QLabel *>())
                found = found || label->text() == QLatin1String(text);
            QVERIFY2(found, text);
        }
        const SearchCommands::Request request = w.CurrentSearchRequest();
        QCOMPARE(request.text, QStringLiteral("Type the search text"));
        QCOMPARE(request.extension, 0);
        QVERIFY(!request.sizeFrom && !request.sizeTo);
    }

    void pageSwitchEndsOnTheLastClick()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        QVERIFY(p.WaitForTransition());
        QSignalSpy fired(w.tmrEffect(), &QTimer::timeout);

        QTest::mouseClick(w.cmdToolBar(frmMain::DownloadListPage), Qt::LeftButton);
        QTest::mouseClick(w.cmdToolBar(frmMain::SearchPage), Qt::LeftButton);
        QCOMPARE(w.CurrentPage(), int(frmMain::SearchPage));
        QVERIFY(w.cmdToolBar(frmMain::SearchPage)->isChecked());
        QVERIFY(!w.cmdToolBar(frmMain::DownloadListPage)->isChecked());
        QVERIFY(!w.cmdToolBar(frmMain::AddNewDownloadPage)->isChecked());
        QCOMPARE(w.FrontPage(), int(frmMain::SearchPage)); // at once, under the transition
        QVERIFY(p.WaitForTransition());
        QCOMPARE(fired.count(), 1);
        QCOMPARE(w.FrontPage(), int(frmMain::SearchPage));
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("frEffect"))->isVisibleTo(&w));

        // The current page's button plays the transition and shows the same page.
        QTest::mouseClick(w.cmdToolBar(frmMain::SearchPage), Qt::LeftButton);
        QVERIFY(w.cmdToolBar(frmMain::SearchPage)->isChecked());
        QVERIFY(w.tmrEffect()->isActive());
        QVERIFY(p.WaitForTransition());
        QCOMPARE(w.FrontPage(), int(frmMain::SearchPage));

        w.cmdToolBar_Click(frmMain::AboutPage);
        QVERIFY(p.WaitForTransition());
        QCOMPARE(w.FrontPage(), int(frmMain::AboutPage));
        QVERIFY(w.cmdToolBar(frmMain::AboutPage)->isChecked());
    }

    // Neither the opening nor a page switch swallows a click: it reaches the
    // page in front, through the effect.
    void transitionsLetClicksThrough()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.tmrEffect()->isActive()); // the opening
        const bool caught = w.chkCatch()->isChecked();
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.Label16()->mapTo(&w, w.Label16()->rect().center()));
        QCOMPARE(w.chkCatch()->isChecked(), !caught);

        QVERIFY(p.WaitForTransition());
        w.cmdToolBar_Click(frmMain::SearchPage);
        QVERIFY(w.tmrEffect()->isActive());
        QSignalSpy clicked(w.cmdSearch(), &QPushButton::clicked);
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.cmdSearch()->mapTo(&w, w.cmdSearch()->rect().center()));
        QCOMPARE(clicked.count(), 1);
    }

    // Run again by CTest with QT_SCALE_FACTOR 1.5 and 2.
    void firstWindowFitsTheScreen()
    {
        Program p;
        QVERIFY(p.Load());
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        const QRect available = p.window.screen()->availableGeometry();
        QVERIFY2(p.window.frameGeometry().width() <= available.width()
                     && p.window.frameGeometry().height() <= available.height(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4 at %5")
                                .arg(p.window.frameGeometry().width())
                                .arg(p.window.frameGeometry().height())
                                .arg(available.width())
                                .arg(available.height())
                                .arg(p.window.devicePixelRatioF())));
        // The text keeps the desktop's size: no fixed point size of the window's own.
        QCOMPARE(p.window.font().pointSizeF(), QApplication::font().pointSizeF());
    }

    // A notice in the status bar reads against the window's blue (WCAG AA).
    void statusBarNoticesRead()
    {
        Program p;
        QVERIFY(p.Load());
        p.window.show();
        p.window.ShowNotice(QStringLiteral("3 Links Added"), 5000);
        auto *bar = p.window.findChild<QStatusBar *>(QStringLiteral("StatusBar"));
        QCOMPARE(bar->currentMessage(), QStringLiteral("3 Links Added"));
        const QColor text = bar->palette().color(QPalette::WindowText);
        QVERIFY2(ProgressRules::ContrastRatio(text, QColor(Theme::MidBlue)) >= ProgressRules::MinimumContrast,
                 qPrintable(text.name()));
    }

    void windowSnapsToItsMinimumSize()
    {
        Program p;
        QVERIFY(p.Load());
        const QSize minimum(p.Px(8640), p.Px(5664));
        p.window.resize(100, 100);
        QCOMPARE(p.window.size(), minimum);
        p.window.resize(minimum.width() + 300, 100);
        QCOMPARE(p.window.size(), QSize(minimum.width() + 300, minimum.height()));
        p.window.resize(100, minimum.height() + 200);
        QCOMPARE(p.window.size(), QSize(minimum.width(), minimum.height() + 200));
    }

    void layoutFollowsTheWindowSize_data()
    {
        QTest::addColumn<int>("extraWidth");
        QTest::addColumn<int>("extraHeight");
        QTest::newRow("smallest") << 0 << 0;
        QTest::newRow("wider") << 400 << 0;
        QTest::newRow("larger") << 900 << 500;
    }
    void layoutFollowsTheWindowSize()
    {
        QFETCH(int, extraWidth);
        QFETCH(int, extraHeight);
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        w.show(); // a hidden window is laid out when it is shown
        w.resize(p.Px(8640) + extraWidth, p.Px(5664) + extraHeight);
        const int W = w.width();
        const int H = w.height();

        // About and the end piece keep to the right edge; the filler reaches About.
        QWidget *end = w.findChild<QWidget *>(QStringLiteral("cmdDummy"));
        QWidget *filler = w.findChild<QWidget *>(QStringLiteral("cmdDummy1"));
        QPushButton *about = w.cmdToolBar(frmMain::AboutPage);
        QCOMPARE(end->geometry().right() + 1, W - p.Px(190));
        QCOMPARE(about->geometry().right() + 1, end->x());
        QVERIFY(filler->width() >= 0);
        QCOMPARE(filler->geometry().right() + 1, about->x());
        QCOMPARE(filler->x(), w.cmdToolBar(frmMain::SearchPage)->geometry().right() + 1);

        // Every page fills the window below the toolbar.
        const QRect page(p.Px(25), p.Px(1020), W - p.Px(200), H - p.Px(1020) - p.Px(580));
        for (int index : frmMain::PageIndices)
            QCOMPARE(w.findChild<QWidget *>(QStringLiteral("frMain%1").arg(index))->geometry(), page);
        const int PW = page.width();
        const int PH = page.height();
        QCOMPARE(w.Grid()->geometry(), QRect(p.Px(100), p.Px(720), PW - p.Px(250), PH - p.Px(720) - p.Px(500)));
        QCOMPARE(w.CheckGrid()->width(), PW - w.CheckGrid()->x() - p.Px(200));
        QCOMPARE(w.CheckGrid()->geometry().bottom() + 1, PH - p.Px(900));
        QCOMPARE(w.txtLinks()->width(), PW - p.Px(460));
        QCOMPARE(w.cmdCheckLinks()->geometry().right() + 1, PW - p.Px(230));
        QCOMPARE(w.cmdDownloadLinks()->geometry().right() + 1, PW - p.Px(200));
        QCOMPARE(w.cmdDownloadLinks()->geometry().bottom() + 1, PH - p.Px(300));
        QCOMPARE(w.cmdClearCheckList()->geometry().bottom() + 1, PH - p.Px(300));
        QCOMPARE(w.GridSearch()->geometry().bottom() + 1, PH - p.Px(900));
        QCOMPARE(w.GridSearch()->width(), PW - p.Px(150));
        QCOMPARE(w.cmdNextPage()->geometry().bottom() + 1, PH - p.Px(400));
        QCOMPARE(w.cmdPrevPage()->y(), w.cmdNextPage()->y());
        QCOMPARE(w.cmbSearchPage()->y(), w.cmdNextPage()->y());
        QCOMPARE(w.cmdAddAndStart()->geometry().bottom() + 1, PH - p.Px(300));
        QCOMPARE(w.cmdAddSearchItems()->geometry().bottom() + 1, PH - p.Px(300));
        QCOMPARE(w.lblAddSearch()->y(), w.cmdAddAndStart()->geometry().bottom() + 1 + p.Px(50));
        QCOMPARE(w.gifWait()->geometry().right() + 1, PW - p.Px(200));
        QWidget *aboutPanel = w.findChild<QWidget *>(QStringLiteral("MyFrame3"));
        QVERIFY(qAbs(aboutPanel->x() - (PW - aboutPanel->width()) / 2) <= 1);
        QCOMPARE(aboutPanel->height(), PH - p.Px(30));
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("MyFrame1"))->width(), PW - p.Px(50));
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("MyFrame2"))->width(), PW - p.Px(50));
    }

    // Each grid's last shown column reaches its right edge, at any window size.
    void gridsFillTheirWidth()
    {
        Program p;
        QVERIFY(p.Load());
        p.window.show();
        for (const QSize size : {QSize(900, 600), QSize(1400, 800)}) {
            p.window.resize(size);
            const QList<std::pair<int, QTableView *>> grids{{frmMain::DownloadListPage, p.window.Grid()},
                                                            {frmMain::AddNewDownloadPage, p.window.CheckGrid()},
                                                            {frmMain::SearchPage, p.window.GridSearch()}};
            for (const auto &[page, grid] : grids) {
                p.window.cmdToolBar_Click(page);
                QHeaderView *header = grid->horizontalHeader();
                int last = header->count() - 1;
                while (last > 0 && header->isSectionHidden(last))
                    --last;
                QTRY_COMPARE_WITH_TIMEOUT(header->sectionViewportPosition(last) + header->sectionSize(last),
                                          grid->viewport()->width(), 2000);
            }
        }
    }

    // Widths the user sets come back at the next start, per grid.
    void columnWidthsAreKept()
    {
        QTemporaryDir settingsDir;
        const QString settingsFile = settingsDir.filePath(QStringLiteral("kept.ini"));
        {
            Program p;
            QVERIFY(p.Load());
            QSettings(settingsFile, QSettings::IniFormat).clear();
            AppSettings kept(settingsFile);
            ColumnWidthKeeper check(*p.window.CheckGrid(), kept, QStringLiteral("CheckGrid"));
            ColumnWidthKeeper down(*p.window.Grid(), kept, QStringLiteral("Grid"));
            p.window.CheckGrid()->horizontalHeader()->resizeSection(2, 123);
            p.window.Grid()->horizontalHeader()->resizeSection(4, 77);
        }
        Program p;
        QVERIFY(p.Load());
        AppSettings kept(settingsFile);
        ColumnWidthKeeper check(*p.window.CheckGrid(), kept, QStringLiteral("CheckGrid"));
        ColumnWidthKeeper down(*p.window.Grid(), kept, QStringLiteral("Grid"));
        QCOMPARE(p.window.CheckGrid()->columnWidth(2), 123);
        QCOMPARE(p.window.Grid()->columnWidth(4), 77);
        QCOMPARE(p.window.Grid()->columnWidth(2), p.Px(5000)); // untouched: the starting width
        // Nonsense in the settings changes nothing.
        ColumnWidthKeeper::Decode(QStringLiteral("x:1,2:-5,99:40,0:30,4"), *p.window.Grid());
        QCOMPARE(p.window.Grid()->columnWidth(4), 77);
        QCOMPARE(p.window.Grid()->columnWidth(2), p.Px(5000));
    }

    // A cut text shows whole in a tooltip; a failed row's status shows why.
    void cellTooltips_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("tooltip");
        const QString longName = QStringLiteral("pioneer-meadow-").repeated(20) + QStringLiteral(".bin");
        QTest::newRow("a name that fits has none") << "Queued" << "a.zip" << 4 << "";
        QTest::newRow("a cut name shows whole") << "Queued" << longName << 4 << longName;
        QTest::newRow("Error shows its reason") << "Error" << "a.zip" << 3 << "HTTP 403 Forbidden";
        QTest::newRow("UnAvailable shows its reason") << "UnAvailable" << "a.zip" << 3 << "HTTP 404 Not Found";
        QTest::newRow("Available has none") << "Available" << "a.zip" << 3 << "";
    }
    void cellTooltips()
    {
        QFETCH(QString, status);
        QFETCH(QString, fileName);
        QFETCH(int, column);
        QFETCH(QString, tooltip);
        Program p;
        const QString reason = status == QLatin1String("Error") ? QStringLiteral("HTTP 403 Forbidden")
                                                                : QStringLiteral("HTTP 404 Not Found");
        QVERIFY(p.Load({QStringLiteral("INSERT INTO CheckList (Sharing_Link, Status, File_Name, Error_Desc) "
                                       "VALUES ('http://example.org/a', '%1', '%2', '%3')")
                            .arg(status, fileName, reason)}));
        p.window.resize(900, 600);
        p.window.show();
        QTableView *grid = p.window.CheckGrid();
        auto *delegate = qobject_cast<GridItemDelegate *>(grid->itemDelegate());
        QVERIFY(delegate);
        const QModelIndex index = grid->model()->index(0, column);
        QStyleOptionViewItem option;
        option.initFrom(grid->viewport());
        option.widget = grid;
        option.rect = grid->visualRect(index);
        option.font = grid->font();
        option.fontMetrics = QFontMetrics(grid->font());
        QCOMPARE(delegate->ToolTip(option, index), tooltip);
    }

    // A screen reader announces each input by its visible label, each grid by its list.
    void inputsHaveAccessibleNames_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QString>("name");
        const QList<std::pair<const char *, const char *>> inputs = {
            {"txtDownPath", "Download Folder"},   {"txtLinks", "Links"},
            {"chkCatch", "Catch RapidShare Links in the clipboard"},
            {"txtSearch", "Search Text"},         {"cmbExtension", "File Extension"},
            {"cmbDateFilter", "Date Filter"},     {"cmbSortBy", "Sort By"},
            {"txtSizeFrom", "Size From"},         {"txtSizeTo", "Size To"},
            {"cmbSearchPage", "Show results page"}, {"CheckGrid", "Check List"},
            {"Grid", "Download List"},            {"GridSearch", "Search Results"},
        };
        for (const auto &[objectName, name] : inputs)
            QTest::newRow(objectName) << QString::fromLatin1(objectName) << QString::fromLatin1(name);
    }
    void inputsHaveAccessibleNames()
    {
        QFETCH(QString, objectName);
        Program p;
        QVERIFY(p.Load());
        p.window.show();
        QWidget *widget = p.window.findChild<QWidget *>(objectName);
        QVERIFY(widget);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QFETCH(QString, name);
        QStringList labels{accessible->text(QAccessible::Name)};
        // A combo box is named by its entry; its label comes as a relation.
        for (const auto &[label, relation] : accessible->relations(QAccessible::Label))
            labels.append(label->text(QAccessible::Name).remove(QLatin1Char(':')));
        QVERIFY2(labels.contains(name), qPrintable(labels.join(QLatin1String(" | "))));
    }

    void gridsShowTheirColumns()
    {
        Program p;
        QVERIFY(p.Load({QStringLiteral("INSERT INTO DownList (Check_Box, Local_File_Name, Download_Status) "
                                       "VALUES (1, 'a.zip', '42')")}));
        frmMain &w = p.window;

        QTableView *grid = w.Grid();
        QCOMPARE(grid->model(), static_cast<QAbstractItemModel *>(w.DownListModel()));
        QCOMPARE(grid->model()->columnCount(), 21);
        for (int column = 0; column < 21; ++column)
            QCOMPARE(grid->isColumnHidden(column), column == 0 || column >= 7);
        // The last shown column (6) stretches to the edge of the grid.
        const QList<QPair<int, int>> widths = {{1, 250}, {2, 5000}, {3, 1500}, {4, 1000}, {5, 1000}};
        for (const auto &[column, twips] : widths)
            QCOMPARE(grid->columnWidth(column), p.Px(twips));
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Status"));
        QVERIFY(qobject_cast<StatusDelegate *>(grid->itemDelegateForColumn(3)));
        for (int column : {1, 2, 4, 5, 6})
            QVERIFY(!qobject_cast<StatusDelegate *>(grid->itemDelegateForColumn(column)));
        QCOMPARE(grid->dragDropMode(), QAbstractItemView::NoDragDrop);

        QTableView *check = w.CheckGrid();
        QCOMPARE(check->model()->columnCount(), 11);
        for (int column = 0; column < 11; ++column)
            QCOMPARE(check->isColumnHidden(column), column <= 1 || column >= 6);
        QCOMPARE(check->columnWidth(2), p.Px(5500));
        QCOMPARE(check->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("URL"));
        for (int column = 0; column < 10; ++column)
            QVERIFY(!qobject_cast<StatusDelegate *>(check->itemDelegateForColumn(column)));

        QTableView *search = w.GridSearch();
        for (int column = 0; column < 7; ++column)
            QCOMPARE(search->isColumnHidden(column), column == 6);
        QCOMPARE(search->columnWidth(4), p.Px(3800));
        // The layout holds for every new page of results.
        p.controller.rsSearch().SetHits(Hits(3));
        QCOMPARE(search->model()->rowCount(), 3);
        QVERIFY(search->isColumnHidden(6));
        QCOMPARE(search->columnWidth(4), p.Px(3800));

        // The theme: a navy header with white text over white rows.
        w.resize(p.Px(12000), p.Px(8400));
        w.show();
        w.cmdToolBar_Click(frmMain::DownloadListPage);
        QVERIFY(p.WaitForTransition());
        const QImage header = grid->horizontalHeader()->grab().toImage();
        QCOMPARE(header.pixelColor(header.width() - 2, 2), QColor(6, 43, 93));
        const QRect cell = grid->visualRect(grid->model()->index(0, 4));
        const QImage rows = grid->viewport()->grab(cell).toImage();
        QCOMPARE(rows.pixelColor(rows.width() - 3, 2), QColor(Qt::white));
    }

    void labelTogglesTheClipboardBox()
    {
        Program p;
        QVERIFY(p.Load());
        QCheckBox *box = p.window.chkCatch();
        QCOMPARE(p.window.Label16()->text(), QStringLiteral("Catch RapidShare Links in the clipboard"));
        QSignalSpy clicked(box, &QCheckBox::clicked);
        const bool before = box->isChecked();
        QTest::mouseClick(p.window.Label16(), Qt::LeftButton);
        QCOMPARE(box->isChecked(), !before);
        QTest::mouseClick(p.window.Label16(), Qt::LeftButton);
        QCOMPARE(box->isChecked(), before);
        QCOMPARE(clicked.count(), 2);
    }

    void searchBoxShowsItsHint()
    {
        Program p;
        QVERIFY(p.Load());
        QLineEdit *box = p.window.txtSearch();
        QFocusEvent focusIn(QEvent::FocusIn);
        QFocusEvent focusOut(QEvent::FocusOut);
        QCoreApplication::sendEvent(box, &focusIn);
        QCOMPARE(box->text(), QString());
        QCOMPARE(box->property("hint").toBool(), false);
        QCoreApplication::sendEvent(box, &focusOut);
        QCOMPARE(box->text(), QStringLiteral("Type the search text"));
        QCOMPARE(box->property("hint").toBool(), true);

        // Typed text stays through focus changes.
        QCoreApplication::sendEvent(box, &focusIn);
        box->setText(QStringLiteral("ubuntu"));
        QCoreApplication::sendEvent(box, &focusOut);
        QCoreApplication::sendEvent(box, &focusIn);
        QCOMPARE(p.window.CurrentSearchRequest().text, QStringLiteral("ubuntu"));
        QCOMPARE(box->property("hint").toBool(), false);
    }

    void sizeBoxesTakeDigitsUpTo32767()
    {
        Program p;
        QVERIFY(p.Load());
        QLineEdit *from = p.window.txtSizeFrom();
        QTest::keyClicks(from, QStringLiteral("1a2-3 4."));
        QCOMPARE(from->text(), QStringLiteral("1234"));
        QTest::keyClick(from, Qt::Key_Backspace);
        QCOMPARE(from->text(), QStringLiteral("123"));
        QLineEdit *to = p.window.txtSizeTo();
        QTest::keyClicks(to, QStringLiteral("3276"));
        QTest::keyClick(to, Qt::Key_8); // 32768 is too large: the digit is refused
        QCOMPARE(to->text(), QStringLiteral("3276"));
        QTest::keyClick(to, Qt::Key_7);
        QCOMPARE(to->text(), QStringLiteral("32767"));
        const SearchCommands::Request request = p.window.CurrentSearchRequest();
        QCOMPARE(request.sizeFrom.value_or(-1), 123);
        QCOMPARE(request.sizeTo.value_or(-1), 32767);
    }

    void searchPageFollowsItsCommands()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;

        // The hint is no search text.
        QTest::mouseClick(w.cmdSearch(), Qt::LeftButton);
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("Search text can not be empty!")});
        QVERIFY(p.emulator.Requests().isEmpty());

        // Enter in the box searches; the page is busy until the first page is in.
        w.txtSearch()->setFocus();
        w.txtSearch()->setText(QStringLiteral("jazz"));
        w.cmbDateFilter()->setCurrentIndex(7);
        QTest::keyClick(w.txtSearch(), Qt::Key_Return);
        QVERIFY(!w.gifWait()->isHidden());
        for (QWidget *command : std::initializer_list<QWidget *>{w.cmdSearch(), w.cmdAddSearchItems(),
                                                                 w.cmdAddAndStart(), w.cmbSearchPage()})
            QVERIFY(!command->isEnabled());
        QTest::keyClick(w.txtSearch(), Qt::Key_Return); // ignored while busy
        QVERIFY(QTest::qWaitFor([&w] { return w.gifWait()->isHidden(); }, kWait));
        QCOMPARE(p.emulator.Requests().size(), 1);

        // 37 hits: pages 1 to 4, the first chosen, Previous off, Next on.
        QCOMPARE(Entries(w.cmbSearchPage()), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(w.cmbSearchPage()->currentIndex(), 0);
        QVERIFY(w.cmbSearchPage()->isEnabled());
        QVERIFY(!w.cmdPrevPage()->isEnabled());
        QVERIFY(w.cmdNextPage()->isEnabled());
        QVERIFY(w.cmdSearch()->isEnabled());
        QCOMPARE(w.GridSearchCaption()->text(), QStringLiteral("Search for \"jazz\" [37 Files Found]"));
        QCOMPARE(w.GridSearch()->model()->rowCount(), 10);

        // Next shows page 2; the caption stays.
        QTest::mouseClick(w.cmdNextPage(), Qt::LeftButton);
        QCOMPARE(w.cmbSearchPage()->currentText(), QStringLiteral("2"));
        QVERIFY(QTest::qWaitFor([&w] { return w.gifWait()->isHidden(); }, kWait));
        QVERIFY(w.cmdPrevPage()->isEnabled() && w.cmdNextPage()->isEnabled());
        QCOMPARE(w.GridSearchCaption()->text(), QStringLiteral("Search for \"jazz\" [37 Files Found]"));

        // The last page from the selector: Next goes off.
        w.cmbSearchPage()->setCurrentIndex(3);
        Q_EMIT w.cmbSearchPage()->activated(3);
        QVERIFY(QTest::qWaitFor([&w] { return w.gifWait()->isHidden(); }, kWait));
        QCOMPARE(w.GridSearch()->model()->rowCount(), 7);
        QVERIFY(!w.cmdNextPage()->isEnabled());
        QVERIFY(w.cmdPrevPage()->isEnabled());

        // Add-and-start: the ticked hit is checked, queued, and the download list shown.
        w.SearchResults()->setData(w.SearchResults()->index(0, SearchResultModel::CheckBox), Qt::Checked,
                                   Qt::CheckStateRole);
        QTest::mouseClick(w.cmdAddAndStart(), Qt::LeftButton);
        QCOMPARE(w.lblAddSearch()->text(), QStringLiteral("Getting Direct Links..."));
        QVERIFY(QTest::qWaitFor([&w] { return w.CurrentPage() == frmMain::DownloadListPage; }, kWait));
        QCOMPARE(w.lblAddSearch()->text(), QStringLiteral("Done"));
        QVERIFY(w.gifWait()->isHidden());
        QCOMPARE(w.CheckListModel()->rowCount(), 0);
        QCOMPARE(w.DownListModel()->rowCount(), 1);
        QVERIFY(p.WaitForTransition());
        QCOMPARE(w.FrontPage(), int(frmMain::DownloadListPage));
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("Search text can not be empty!")});
    }

    void checkPageCommands()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        // Pasted text keeps the editor's line breaks; both links are read.
        w.txtLinks()->setPlainText(QStringLiteral("http://rapidshare.com/files/7_s2k/a.zip\n"
                                                  "http://rapidshare.com/files/8_s3k/b.zip"));
        QTest::mouseClick(w.cmdCheckLinks(), Qt::LeftButton);
        QVERIFY(w.txtLinks()->toPlainText().isEmpty());
        QCOMPARE(w.CheckListModel()->rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(p.CheckStatuses(), QStringList({"Available", "Available"}), kWait);

        // Download Available Links queues them and starts the queue.
        QTest::mouseClick(w.cmdDownloadLinks(), Qt::LeftButton);
        QCOMPARE(w.CheckListModel()->rowCount(), 0);
        QCOMPARE(w.DownListModel()->rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(p.DownStatuses(), QStringList({"Complete", "Complete"}), kWait);

        // Text without a link is refused, and the box is emptied all the same.
        w.txtLinks()->setPlainText(QStringLiteral("nothing to see"));
        QTest::mouseClick(w.cmdCheckLinks(), Qt::LeftButton);
        QVERIFY(w.txtLinks()->toPlainText().isEmpty());
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("No Supported links Found.")});

        // Clear List empties the check list, whatever its rows' states.
        w.txtLinks()->setPlainText(QStringLiteral("http://rapidshare.com/files/9_s1k/c.zip"));
        QTest::mouseClick(w.cmdCheckLinks(), Qt::LeftButton);
        QCOMPARE(w.CheckListModel()->rowCount(), 1);
        QTest::mouseClick(w.cmdClearCheckList(), Qt::LeftButton);
        QCOMPARE(w.CheckListModel()->rowCount(), 0);
    }

    void clipboardBoxGatesTheWatch()
    {
        Program p;
        QVERIFY(p.Load());
        ClipboardWatch &watch = p.controller.Clipboard();
        QVERIFY(p.window.chkCatch()->isChecked());
        QVERIFY(watch.CatchEnabled());
        p.prompter.clipboard = QStringLiteral("http://rapidshare.com/files/7_s2k/a.zip");

        QTest::mouseClick(p.window.Label16(), Qt::LeftButton);
        QVERIFY(!watch.CatchEnabled());
        watch.tmrClipboard_Timer();
        QCOMPARE(p.window.CheckListModel()->rowCount(), 0);

        p.window.chkCatch()->click();
        QVERIFY(watch.CatchEnabled());
        watch.tmrClipboard_Timer();
        QCOMPARE(p.window.CheckListModel()->rowCount(), 1);
        QCOMPARE(p.prompter.clipboardClears, 1);
    }

    void menuItemsRunTheQueueCommands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("statuses");
        QTest::newRow("START All") << "mnuDownAll"
                                   << QStringList{"Complete", "Requesting File", "Queued", "Queued"};
        QTest::newRow("START Only Selected") << "mnutDownSelected"
                                             << QStringList{"Requesting File", "Error", "Queued", "Queued"};
        QTest::newRow("STOP All") << "mnuStopAll" << QStringList{"Complete", "Error", "Stopped", "Stopped"};
        QTest::newRow("STOP Only Selected") << "mnuStopSelected"
                                            << QStringList{"Complete", "Error", "Stopped", "Stopped"};
        QTest::newRow("Clear Complete Items") << "mnuClearCompleted" << QStringList{"Error", "Stopped", "Queued"};
        QTest::newRow("Clear Error Items") << "mnuClearError" << QStringList{"Complete", "Stopped", "Queued"};
        QTest::newRow("Clear Stopped Items") << "mnuClearStopped" << QStringList{"Complete", "Error", "Queued"};
        QTest::newRow("Clear Selected Items") << "mnuClearSelected" << QStringList{"Error"};
        QTest::newRow("Clear All Items") << "mnuClearAll" << QStringList{};
    }
    void menuItemsRunTheQueueCommands()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, statuses);
        Program p;
        // Every row ticked but the Error row.
        QStringList rows;
        const QStringList states = {"Complete", "Error", "Stopped", "Queued"};
        for (int i = 0; i < states.size(); ++i)
            rows.append(QStringLiteral("INSERT INTO DownList (Check_Box, Download_Status, Sharing_Link, Rapid_File_ID, "
                                       "Rapid_File_Name) VALUES (%1, '%2', 'http://rapidshare.com/files/%3_s1m/f.bin', "
                                       "'%3_s1m', 'f.bin')")
                            .arg(i == 1 ? 0 : 1)
                            .arg(states.at(i))
                            .arg(i + 1));
        QVERIFY(p.Load(rows));
        auto *action = p.window.findChild<QAction *>(item);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(p.DownStatuses(), statuses);
        QVERIFY(p.prompter.messages().isEmpty());
    }

    void filterMarksHideAndShowRows()
    {
        Program p;
        const QStringList states = {"Complete", "Queued", "Error", "42", "Requesting File", "Stopped"};
        QStringList rows;
        for (const QString &state : states)
            rows.append(QStringLiteral("INSERT INTO DownList (Check_Box, Download_Status) VALUES (1, '%1')").arg(state));
        QVERIFY(p.Load(rows));
        // Start-up stops the rows a last run left in progress: set them now.
        RecordSet row = p.controller.Store().rsDownList.Clone();
        for (int i = 0; !row.IsEOF(); row.MoveNext(), ++i)
            row.SetField(u"Download_Status", states.at(i));
        frmMain &w = p.window;
        frmMenu *menu = w.Menu();
        auto shown = [&w, &p] {
            const QStringList statuses = p.DownStatuses();
            QStringList visible;
            for (int row = 0; row < statuses.size(); ++row) {
                if (!w.Grid()->isRowHidden(row))
                    visible.append(statuses.at(row));
            }
            return visible;
        };
        // Nothing is hidden until a mark is toggled.
        QCOMPARE(shown(), states);
        menu->mnuIncludeComplete()->trigger(); // on
        QCOMPARE(shown(), states);
        menu->mnuIncludeComplete()->trigger(); // off
        QCOMPARE(shown(), QStringList({"Queued", "Error", "42", "Requesting File", "Stopped"}));
        QVERIFY(!p.controller.Filter().includeComplete);
        menu->mnuInCludeWaiting()->trigger(); // off
        QCOMPARE(shown(), QStringList({"Error", "42", "Requesting File", "Stopped"}));
        menu->mnuIncludeDownloading()->trigger(); // off
        QCOMPARE(shown(), QStringList({"Error", "Stopped"}));
        QVERIFY(!p.controller.Filter().includeDownloading);
        for (QAction *mark : {menu->mnuIncludeComplete(), menu->mnuInCludeWaiting(), menu->mnuIncludeDownloading()})
            mark->trigger(); // all on
        QCOMPARE(shown(), states);

        // Hidden rows stay hidden as rows before them go, and a later change of
        // status does not show them again.
        menu->mnuIncludeComplete()->trigger(); // off
        menu->mnuInCludeWaiting()->trigger();  // off
        menu->mnuClearError()->trigger();
        QCOMPARE(shown(), QStringList({"42", "Requesting File", "Stopped"}));
        menu->mnuStopAll()->trigger();
        QCOMPARE(shown(), QStringList({"Stopped", "Stopped", "Stopped"}));
        QCOMPARE(p.DownStatuses(), QStringList({"Complete", "Stopped", "Stopped", "Stopped", "Stopped"}));
    }

    void menusCarryTheirItems()
    {
        Program p;
        QVERIFY(p.Load());
        frmMenu *menu = p.window.Menu();
        struct Item {
            QAction *action;
            const char *name;
            const char *caption;
            int checked; // -1: no check mark
        };
        const QList<QPair<QMenu *, QList<Item>>> menus = {
            {menu->mnuStart(),
             {{menu->mnuDownAll(), "mnuDownAll", "All", -1},
              {menu->mnutDownSelected(), "mnutDownSelected", "Only Selected", -1}}},
            {menu->mnuStop(),
             {{menu->mnuStopAll(), "mnuStopAll", "All", -1},
              {menu->mnuStopSelected(), "mnuStopSelected", "Only Selected", -1}}},
            {menu->mnuFilter(),
             {{menu->mnuIncludeComplete(), "mnuIncludeComplete", "Include Complete Items", 0},
              {menu->mnuInCludeWaiting(), "mnuInCludeWaiting", "Include Waiting Items", 1},
              {menu->mnuIncludeDownloading(), "mnuIncludeDownloading", "Include Downloading Items", 1}}},
            {menu->mnuClear(),
             {{menu->mnuClearCompleted(), "mnuClearCompleted", "Clear Complete Items", -1},
              {menu->mnuClearError(), "mnuClearError", "Clear Error Items", -1},
              {menu->mnuClearStopped(), "mnuClearStopped", "Clear Stopped Items", -1},
              {menu->mnuClearSelected(), "mnuClearSelected", "Clear Selected Items", -1},
              {nullptr, "mnuSep1", "", -1},
              {menu->mnuClearAll(), "mnuClearAll", "Clear All Items", -1}}},
        };
        const QStringList titles = {"START", "STOP", "Filter", "Clear"};
        for (int m = 0; m < menus.size(); ++m) {
            QMenu *submenu = menus.at(m).first;
            QCOMPARE(submenu->title(), titles.at(m));
            const QList<QAction *> actions = submenu->actions();
            const QList<Item> &items = menus.at(m).second;
            QCOMPARE(actions.size(), items.size());
            for (int i = 0; i < items.size(); ++i) {
                const Item &item = items.at(i);
                QAction *action = actions.at(i);
                QCOMPARE(action->objectName(), QString::fromLatin1(item.name));
                if (!item.action) {
                    QVERIFY(action->isSeparator());
                    continue;
                }
                QCOMPARE(action, item.action);
                QCOMPARE(action->text(), QString::fromLatin1(item.caption));
                QCOMPARE(action->isCheckable(), item.checked >= 0);
                QCOMPARE(action->isChecked(), item.checked == 1);
            }
        }

        // A filter item's mark toggles before the command sees it.
        QSignalSpy triggered(menu->mnuIncludeComplete(), &QAction::triggered);
        menu->mnuIncludeComplete()->trigger();
        QCOMPARE(triggered.last().at(0).toBool(), true);
        QVERIFY(menu->mnuIncludeComplete()->isChecked());
        menu->mnuIncludeComplete()->trigger();
        QVERIFY(!menu->mnuIncludeComplete()->isChecked());
    }

    void buttonsPopUpTheirMenus()
    {
        Program p;
        QVERIFY(p.Load());
        frmMain &w = p.window;
        w.move(0, 0);
        w.show();
        w.cmdToolBar_Click(frmMain::DownloadListPage);
        QVERIFY(p.WaitForTransition());
        frmMenu *menu = w.Menu();

        const QList<QPair<QPushButton *, QMenu *>> popups = {
            {w.cmdStartDownload(), menu->mnuStart()}, {w.cmdFilter(), menu->mnuFilter()},
            {w.cmdClearItems(), menu->mnuClear()}};
        for (const auto &[button, submenu] : popups) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(QTest::qWaitFor([submenu] { return submenu->isVisible(); }, 2000));
            // At the button's left edge, 800 twips below its bottom.
            const QPoint expected = button->mapToGlobal(QPoint(0, button->height() + p.Px(800)));
            QCOMPARE(frmMenu::PopupPoint(button), expected);
            QCOMPARE(submenu->pos(), expected);
            submenu->close();
        }

        // "Stop Download" stops all at once, without a menu.
        QSignalSpy stopAll(menu->mnuStopAll(), &QAction::triggered);
        QTest::mouseClick(w.cmdStopDownload(), Qt::LeftButton);
        QCOMPARE(stopAll.count(), 1);
        QVERIFY(!menu->mnuStop()->isVisible());
    }

    void noticesWithoutATrayGoToTheStatusBar()
    {
        Program p;
        QVERIFY(p.Load());
        WidgetPrompter prompter;
        p.window.AttachPrompter(prompter);
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a tray");
        prompter.showBalloon(Prompter::Icon::Information, QStringLiteral("3 Links Added"), QStringLiteral("Tidefetch"),
                             5000);
        auto *status = p.window.findChild<QStatusBar *>(QStringLiteral("StatusBar"));
        QVERIFY(status);
        QCOMPARE(status->currentMessage(), QStringLiteral("3 Links Added"));
    }

    void clipboardTextFollowsItsChanges()
    {
        // The prompter's copy is taken when the clipboard changes, from whoever.
        WidgetPrompter prompter;
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("http://rapidshare.com/files/1/a.zip"));
        QCOMPARE(prompter.clipboardText(), QStringLiteral("http://rapidshare.com/files/1/a.zip"));
        prompter.setClipboardText(QStringLiteral("http://127.0.0.1/get/1/a.zip"));
        QCOMPARE(clipboard->text(), QStringLiteral("http://127.0.0.1/get/1/a.zip"));
        QCOMPARE(prompter.clipboardText(), QStringLiteral("http://127.0.0.1/get/1/a.zip"));
        prompter.clearClipboard();
        QCOMPARE(prompter.clipboardText(), QString());
        clipboard->setText(QStringLiteral("later"));
        QCOMPARE(prompter.clipboardText(), QStringLiteral("later"));
        // A prompter made later starts from the clipboard as it is.
        WidgetPrompter second;
        QCOMPARE(second.clipboardText(), QStringLiteral("later"));
    }

    void waitAnimationIsOurOwnSpinner()
    {
        QMovie movie(QStringLiteral(TIDEFETCH_DATA_DIR "/WaitOrange.gif"));
        QVERIFY(movie.isValid());
        QVERIFY(movie.frameCount() > 1);
        QVERIFY(movie.jumpToFrame(0));
        QCOMPARE(movie.currentImage().size(), QSize(32, 32));
        // Orange on the page's pale blue.
        const QImage frame = movie.currentImage();
        QCOMPARE(frame.pixelColor(0, 0), QColor(216, 232, 255));
        bool orange = false;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                orange = orange || (c.red() > 240 && c.green() < 160 && c.blue() < 60);
            }
        }
        QVERIFY(orange);
    }

    void mnemonicsAreUniquePerPage()
    {
        Program p;
        QVERIFY(p.Load());
        QCOMPARE(SharedMnemonics(p.window), QStringList());
    }

    // Run by CTest under a German locale (tst_frmmain_de); skipped under any other.
    void germanLocaleShowsGermanTexts()
    {
        if (QLocale::system().language() != QLocale::German)
            QSKIP("needs LANG=de_DE.UTF-8");
        const auto uninstall = qScopeGuard([] {
            qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
        });
        QVERIFY(Translation::Install(*QCoreApplication::instance()));
        Program p;
        // Start-up queues the download list's waiting rows again; the check list keeps them.
        QVERIFY(p.Load({QStringLiteral("INSERT INTO DownList (Check_Box, Local_File_Name, Download_Status) "
                                       "VALUES (1, 'Queued', 'Queued'), (1, 'b.zip', 'Complete'), "
                                       "(1, 'c.zip', 'Stopped')"),
                        QStringLiteral("INSERT INTO CheckList (Sharing_Link, Status) "
                                       "VALUES ('http://y/1', 'UnAvailable'), ('http://y/2', 'Wait 30 Seconds')")}));
        frmMain &w = p.window;

        QCOMPARE(w.cmdToolBar(frmMain::AddNewDownloadPage)->text(), QStringLiteral("Neuer Download"));
        QCOMPARE(w.cmdCheckLinks()->text(), QStringLiteral("Links &prüfen"));
        QCOMPARE(w.Menu()->mnuClearAll()->text(), QStringLiteral("Alle Einträge entfernen"));
        QCOMPARE(w.DownListModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname"));
        QCOMPARE(SharedMnemonics(w), QStringList());

        // The grids show the status words in German; the lists and the code keep the English ones.
        auto shown = [](const QAbstractItemModel *model, int column) {
            QStringList texts;
            for (int row = 0; row < model->rowCount(); ++row)
                texts.append(model->index(row, column).data(Qt::DisplayRole).toString());
            return texts;
        };
        QCOMPARE(shown(w.DownListModel(), 3), (QStringList{"In Warteschlange", "Fertig", "Angehalten"}));
        QCOMPARE(p.DownStatuses(), (QStringList{"Queued", "Complete", "Stopped"}));
        QCOMPARE(w.DownListModel()->index(0, 3).data(Qt::EditRole).toString(), QStringLiteral("Queued"));
        // Only the status column: a file named like a status word keeps its name.
        QCOMPARE(shown(w.DownListModel(), 2).first(), QStringLiteral("Queued"));
        QCOMPARE(shown(w.CheckListModel(), 3), (QStringList{"Nicht verfügbar", "Warte 30 Sekunden"}));
        QCOMPARE(p.CheckStatuses(), (QStringList{"UnAvailable", "Wait 30 Seconds"}));

        // Messages from the core through the Prompter.
        w.txtLinks()->setPlainText(QStringLiteral("nothing to see"));
        QTest::mouseClick(w.cmdCheckLinks(), Qt::LeftButton);
        QCOMPARE(p.prompter.messages(), QStringList{QStringLiteral("Keine unterstützten Links gefunden.")});
    }

private:
    QString ShippedAnimation() const { return m_shipped.filePath(QStringLiteral("tidefetch/WaitOrange.gif")); }

    QTemporaryDir m_home;
    QTemporaryDir m_shipped;
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
