// Starts the program's windows as the program does, from wherever this file was copied to, and prints
// the folders its file dialogs would start in. The packaging tests copy it beside the installed
// program, so that it takes the installed program's folder as its own.
//   program-folder<TAB>...   open-dialog<TAB>...   save-dialog<TAB>...
#include "app/startup.h"
#include "app/tform1.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qm::setUpApplication();
    const qm::Startup startup;
    if (startup.otherInstanceRuns()) {
        std::fputs("another instance runs\n", stderr);
        return 1;
    }
    qm::TForm1& form = *startup.mainWindow();
    std::printf("program-folder\t%s\n", qPrintable(form.ProgramFolder()));
    std::printf("open-dialog\t%s\n", qPrintable(form.OpenDialog1().directory));
    std::printf("save-dialog\t%s\n", qPrintable(form.ResultsSaveDialog().directory));
    return 0;
}
