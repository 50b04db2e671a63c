#include "app/windowposition.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <unistd.h>

namespace qm {

QMargins estimatedFrameMargins(QWidget& window)
{
    window.winId(); // creates the native window, which is what the platform can answer for
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
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
    const QRect bar(topLeft, QSize(outerWidth, titleBarHeight));
    const int gripWidth = std::min(kMinGripWidth, bar.width());
    const int gripHeight = std::min(kMinGripHeight, bar.height());
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) {
        const QRect common = bar.intersected(area);
        return common.width() >= gripWidth && common.height() >= gripHeight;
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
