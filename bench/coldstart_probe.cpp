#include "bench/coldstart_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

namespace qm::bench {
namespace {

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(QWidget* window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so that this paint (children included) completes and reaches the screen first.
            QTimer::singleShot(0, [] {
                (void)!::write(STDOUT_FILENO, "shown\n", 6); // the benchmark's stop watch
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

void quitAfterFirstPaint(QWidget* window) { new FirstPaint(window); }

} // namespace qm::bench
