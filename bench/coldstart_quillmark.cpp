// Quillmark's start-up exactly as main() runs it, ending once the main window has painted itself.
#include "app/startup.h"
#include "app/tform1.h"
#include "bench/coldstart_probe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qm::setUpApplication();
    const qm::Startup startup;
    if (startup.otherInstanceRuns())
        return 1; // the benchmark gives every run its own runtime folder: this would be a fault
    qm::bench::quitAfterFirstPaint(startup.mainWindow());
    startup.mainWindow()->show();
    return QApplication::exec();
}
