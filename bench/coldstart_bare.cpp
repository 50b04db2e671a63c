// The reference of the start-up benchmark: the least a Qt Widgets program does to show a main window.
// It reaches its first paint without the font system, which Qt sets up only when it exits.
#include "bench/coldstart_probe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    qm::bench::quitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
