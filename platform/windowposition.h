#pragma once

// Helpers for placing the main window where it was last time, without ever losing it.

#include <QDialog>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace qm {

// Positions of top-level windows are those of their outer frame (title bar and borders included).
// The window manager draws the frame and reports its size only once it has framed the mapped window,
// which no start-up may wait for: a frameless manager never does, and some never report extents. So a
// window is placed by its frame at once, from the frame size known so far (the window's own, else that
// of `like`, a window already framed by the same manager), and placed again from the real size as soon
// as the manager reports it. Under a manager that reports nothing the first placement stands, with the
// client area where the frame was meant to be: on the screen either way.
//
// Placing by the frame asks the window manager to keep the frame's top left corner at the point
// (north-west gravity), so a position read back from a framed window and applied again stays put.
void placeFrame(QWidget& window, QPoint topLeft);
// Where the frame's top left corner stands now. Asks the platform afresh: the widget's own record can
// lag behind a change of frame, such as the thinner one of a maximised window.
QPoint framePosition(const QWidget& window);
// The frame's margins as far as known, creating the native window if need be.
QMargins knownFrameMargins(QWidget& window, const QWidget* like = nullptr);
// Runs `place` again whenever the window manager reports a frame other than the one known before,
// for kFrameWaitMs from this call (the window is shown right after) or until the window is hidden;
// never afterwards, so that a move or a maximisation by the user is left alone. Nothing waits.
constexpr int kFrameWaitMs = 3000;
void placeAgainWhenFramed(QWidget& window, std::function<void()> place);

// The title bar height the reachability check assumes while the frame is not known yet.
constexpr int kAssumedTitleBarHeight = 24;

// A dialog that opens with its whole frame centred on the screen of its parent the first time (left =
// (screen width - frame width) / 2 and top likewise, neither less than 0), later where it was last
// hidden. Placing the window ourselves also keeps Qt from centring a dialog over its parent.
class PlacedDialog : public QDialog {
public:
    using QDialog::QDialog;
    void setVisible(bool visible) override;

private:
    std::optional<QPoint> m_last;
};

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
