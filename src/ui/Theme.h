#pragma once

#include <QColor>
#include <QString>

// The window's colour theme: mid-blue window, gradient panels from mid blue at
// the top to light blue at the bottom with navy borders, light-blue buttons,
// mid-blue text boxes and lists, grids with a navy header and white rows.
namespace Theme {

inline constexpr QRgb LightBlue = 0xB2D0F9; // RGB(178,208,249)
inline constexpr QRgb MidBlue = 0x599DF9;   // RGB(89,157,249)
inline constexpr QRgb Navy = 0x062B5D;      // RGB(6,43,93): borders
inline constexpr QRgb NavyText = 0x062B5D;  // RGB(6,43,93): text and lines
// Behind the wait animation, and the pages the controls sit on.
inline constexpr QRgb PagePale = 0xD8E8FF; // RGB(216,232,255)
inline constexpr QRgb HintGrey = 0xC0C0C0; // RGB(192,192,192)

// Set on a QFrame to draw it as a gradient panel.
inline constexpr char PanelProperty[] = "gradientPanel";
// Set on a QFrame to draw it as a piece of the toolbar row.
inline constexpr char ToolbarPieceProperty[] = "toolbarPiece";
// Set on the search box while it shows the hint.
inline constexpr char HintProperty[] = "hint";

// The style sheet of the main window, applied once at start-up.
QString StyleSheet();

} // namespace Theme
