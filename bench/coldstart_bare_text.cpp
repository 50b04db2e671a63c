// The peer of the start-up benchmark: a main window with one line of text, which makes Qt set up its
// font system before the first paint, as every window that shows text must.
#include "bench/coldstart_probe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Quillmark")));
    qm::bench::quitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
