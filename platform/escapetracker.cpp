#include "platform/escapetracker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>

namespace qm {

EscapeTracker& EscapeTracker::instance()
{
    // Owned by the application object; a later application gets a tracker of its own.
    static QPointer<EscapeTracker> tracker;
    if (tracker.isNull())
        tracker = new EscapeTracker;
    return *tracker;
}

EscapeTracker::EscapeTracker()
{
    if (QCoreApplication* app = QCoreApplication::instance()) {
        setParent(app);
        app->installEventFilter(this);
    }
}

bool EscapeTracker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
            m_held = event->type() == QEvent::KeyPress;
        break;
    }
    case QEvent::ApplicationDeactivate: m_held = false; break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qm
