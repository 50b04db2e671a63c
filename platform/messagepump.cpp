#include "platform/messagepump.h"

#include <QCoreApplication>

namespace qm {

void PumpMessages()
{
    if (QCoreApplication::instance() == nullptr)
        return;
    // Posted events may post further events (a deferred delete, a repaint); processEvents handles what
    // is pending when it starts, so one round after sending the posted ones covers both.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace qm
