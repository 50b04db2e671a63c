#pragma once

// Helpers for placing the main window where it was last time, without ever losing it.

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace qm {

// The window system draws the frame (title bar and borders) and reports it only once the window is
// shown. Before that the platform's answer for the created native window is taken: the offscreen
// platform knows its frame at once, an X11 window manager only after mapping, in which case no
// border is assumed (most managers draw none at the sides, or thin ones) and the title bar is taken
// to be kAssumedTitleBarHeight high for the reachability check.
constexpr int kAssumedTitleBarHeight = 24;
QMargins estimatedFrameMargins(QWidget& window);

// The available area (without panels and docks) of every connected screen.
QList<QRect> screenAreas();

// A window whose outer frame starts at topLeft can be reached when a grip of its title bar (at least
// kMinGripWidth wide and kMinGripHeight high, or the whole bar when it is smaller) lies on the
// available area of some screen. Positions on a screen left of or above the primary one (negative
// coordinates) are as good as any.
constexpr int kMinGripWidth = 32;
constexpr int kMinGripHeight = 4;
bool titleBarReachable(QPoint topLeft, int outerWidth, int titleBarHeight, const QList<QRect>& areas);

// The folder the file dialogs start in: the program's folder, or (when the program was installed in a
// folder the user cannot write, where saved files could not go) the fallback, the user's documents.
QString dialogStartFolder(const QString& programFolder, const QString& fallback);

// The folder without a trailing separator, except for the root folder itself.
QString withoutTrailingSeparator(QString folder);

} // namespace qm
