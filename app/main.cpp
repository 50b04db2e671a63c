// Quillmark's entry point: one instance per session, the three windows in their order, the event loop.
#include "app/startup.h"
#include "app/tform1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qm::setUpApplication();

    const qm::Startup startup;
    if (startup.otherInstanceRuns())
        return 0; // silently: the running instance is neither shown nor told anything

    startup.mainWindow()->show();
    QApplication::exec();
    return 0;
}
