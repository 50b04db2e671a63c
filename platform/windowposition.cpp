#include "platform/windowposition.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <unistd.h>

namespace qm {

void placeFrame(QWidget& window, QPoint topLeft)
{
    window.move(topLeft); // the widget's own record, and no automatic placement by the toolkit
    if (QWindow* handle = window.windowHandle())
        handle->setFramePosition(topLeft);
}

QPoint framePosition(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->framePosition() : window.pos();
}

QMargins knownFrameMargins(QWidget& window, const QWidget* like)
{
    window.winId(); // creates the native window, which is what the platform can answer for
    const QMargins own = window.windowHandle()->frameMargins();
    if (own.isNull() && like != nullptr && like->window()->windowHandle() != nullptr)
        return like->window()->windowHandle()->frameMargins();
    return own;
}

void placeAgainWhenFramed(QWidget& window, std::function<void()> place)
{
    auto known = std::make_shared<QMargins>(knownFrameMargins(window));
    QWindow* handle = window.windowHandle();
    auto* watch = new QObject(&window); // ends with the wait or with a hiding: a later showing has its own place
    const auto check = [&window, handle, known, place = std::move(place)] {
        const QMargins now = handle->frameMargins();
        // Half-way through framing, the platform may work out nonsense from a frame window that the
        // manager has not sized yet.
        const bool plausible = now.left() >= 0 && now.top() >= 0 && now.right() >= 0 && now.bottom() >= 0;
        if (!plausible || now == *known || window.windowState() != Qt::WindowNoState)
            return;
        *known = now;
        place();
    };
    for (const auto changed : {&QWindow::xChanged, &QWindow::yChanged, &QWindow::widthChanged, &QWindow::heightChanged})
        QObject::connect(handle, changed, watch, check);
    QObject::connect(handle, &QWindow::visibleChanged, watch, [watch](bool visible) {
        if (!visible)
            watch->deleteLater();
    });
    QTimer::singleShot(kFrameWaitMs, watch, [watch, check] {
        check();
        watch->deleteLater();
    });
}

void PlacedDialog::setVisible(bool visible)
{
    const auto centre = [this] {
        const QWidget* parent = parentWidget();
        const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
        if (screen == nullptr)
            return;
        const QRect area = screen->geometry();
        const QSize frame = size().grownBy(knownFrameMargins(*this, parent));
        placeFrame(*this, {area.left() + std::max(0, (area.width() - frame.width()) / 2),
                           area.top() + std::max(0, (area.height() - frame.height()) / 2)});
    };
    if (!visible && isVisible()) {
        m_last = framePosition(*this);
    } else if (visible && !isVisible() && m_last) {
        placeFrame(*this, *m_last);
    } else if (visible && !isVisible()) {
        centre();
        placeAgainWhenFramed(*this, centre);
    }
    QDialog::setVisible(visible);
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

bool titleBarReachable(QPoint topLeft, int outerWidth, int titleBarHeight, const QList<QRect>& areas)
{
    // In 64 bits: a stored edge near either end of the 32-bit range must not wrap round onto a screen.
    using Wide = std::int64_t;
    const auto overlap = [](Wide from, Wide length, Wide areaFrom, Wide areaLength) {
        return std::min(from + length, areaFrom + areaLength) - std::max(from, areaFrom);
    };
    const Wide gripWidth = std::max(1, std::min(kMinGripWidth, outerWidth));
    const Wide gripHeight = std::max(1, std::min(kMinGripHeight, titleBarHeight));
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) {
        return overlap(topLeft.x(), outerWidth, area.x(), area.width()) >= gripWidth
               && overlap(topLeft.y(), titleBarHeight, area.y(), area.height()) >= gripHeight;
    });
}

QString dialogStartFolder(const QString& programFolder, const QString& fallback)
{
    // access() answers for this user, root included, and fails for a path under a regular file.
    const bool writable = QFileInfo(programFolder).isDir()
                          && ::access(QFile::encodeName(programFolder).constData(), W_OK) == 0;
    return writable ? programFolder : fallback;
}

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace qm
