#include "ui/Theme.h"

namespace Theme {

namespace {

QString Hex(QRgb colour)
{
    return QColor(colour).name();
}

} // namespace

QString StyleSheet()
{
    QString sheet = QStringLiteral(R"(
frmMain { background-color: @mid; }
QWidget#frMain0, QWidget#frMain1, QWidget#frMain2, QWidget#frMain4 { background-color: @pale; }
QFrame[gradientPanel="true"] {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @mid, stop:1 @light);
    border: 1px solid @navy; color: @text;
}
QFrame[toolbarPiece="true"] { background-color: @light; border: 1px solid @navy; color: @text; }
QPushButton { background-color: @light; border: 1px solid @text; color: black; padding: 2px 4px; }
QPushButton:hover { background-color: #c8ddfb; }
QPushButton:disabled { background-color: @light; color: #7f93ad; }
QPushButton:pressed, QPushButton:checked { background-color: @mid; color: white; }
QToolTip { background-color: @light; color: @text; border: 1px solid @text; }
QLineEdit, QPlainTextEdit { background-color: @mid; border: 1px solid @navy; color: black;
    selection-background-color: @navy; selection-color: white; }
QLineEdit:read-only { background-color: @mid; }
QLineEdit[hint="true"] { color: @hint; }
QComboBox { background-color: @mid; border: 1px solid @navy; color: black; padding: 1px 4px; }
QComboBox:disabled { color: #40628f; }
QComboBox QAbstractItemView { background-color: @mid; color: black; border: 1px solid @navy;
    selection-background-color: @light; selection-color: black; }
QLabel { background: transparent; color: @text; }
QLabel#GridSearchCaption { background-color: @light; border: 1px solid @navy; border-bottom: none;
    color: @text; font-weight: bold; }
QTableView { background-color: @light; border: 1px solid @navy; gridline-color: @light;
    selection-background-color: @light; selection-color: black; color: black; }
QTableView::item { background-color: white; color: black; }
QTableView::item:selected { background-color: @light; color: black; }
QHeaderView::section { background-color: @navy; color: white; border: none;
    border-right: 1px solid @mid; padding: 2px 4px; }
QHeaderView { background-color: @navy; }
QTableCornerButton::section { background-color: @navy; border: none; }
QStatusBar { background: transparent; color: @text; font-weight: bold; }
)");
    sheet.replace(QLatin1String("@light"), Hex(LightBlue));
    sheet.replace(QLatin1String("@mid"), Hex(MidBlue));
    sheet.replace(QLatin1String("@navy"), Hex(Navy));
    sheet.replace(QLatin1String("@text"), Hex(NavyText));
    sheet.replace(QLatin1String("@pale"), Hex(PagePale));
    sheet.replace(QLatin1String("@hint"), Hex(HintGrey));
    return sheet;
}

} // namespace Theme
