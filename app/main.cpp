// Quillmark's entry point: one instance per session, the three windows in their order, the event loop.
#include "app/singleinstance.h"
#include "app/tform1.h"
#include "research/tstartform.h"
#include "ui/tinfoform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setOrganizationName(QString());

    const qm::SingleInstanceGuard instance;
    if (instance.otherInstanceRuns())
        return 0;

    // The main window comes first: it is the application's main window, and closing it ends the loop.
    qm::TForm1 form1;
    qm::TStartForm startForm(&form1);
    qm::TInfoForm infoForm(&form1);
    form1.setDialogs(&startForm, &infoForm);

    form1.show();
    QApplication::exec();
    return 0;
}
