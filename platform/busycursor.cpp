#include "platform/busycursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace qm {

void setBusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

void restoreCursor()
{
    if (QGuiApplication::overrideCursor() != nullptr)
        QGuiApplication::restoreOverrideCursor();
}

bool isBusyCursorShown()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

} // namespace qm
