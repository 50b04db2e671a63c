// Takes the README's picture of the main window: the real window, with a few suggestions ticked, drawn
// offscreen into docs/main-window.png (or the file given as the only argument).
//   cmake --build build --target quillmark_screenshot
//   QT_QPA_PLATFORM=offscreen build/resources/quillmark_screenshot docs/main-window.png
#include "app/startup.h"
#include "app/suggestionlistview.h"
#include "app/tform1.h"
#include "app/userregistry.h"
#include "platform/registrystore.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qm::setUpApplication();
    QTemporaryDir scratch; // neither the user's position store nor lock is touched
    qm::RegistryStore store((scratch.path() + QStringLiteral("/registry.reg")).toStdString());
    qm::setUserRegistry(&store);
    const qm::Startup startup(scratch.path() + QStringLiteral("/quillmark.lock"));
    qm::TForm1& form = *startup.mainWindow();

    const char* headlines[] = {
        "Seven Habits of Writers Who Finish Their Drafts",
        "Why Your First Sentence Matters More Than Your Title",
        "The Quiet Art of Cutting Words You Love",
        "How Small Magazines Choose Their Cover Stories",
        "A Week Without Adverbs: What Happened Next",
        "Ten Questions Every Interview Should Ask",
        "What Editors Wish New Writers Knew",
        "Finding Stories in Your Own Neighbourhood",
        "The Case for Writing by Hand Again",
    };
    for (const char* h : headlines)
        form.ListView1()->append(h, false);
    for (const std::size_t ticked : {0u, 2u, 6u})
        form.ListView1()->setChecked(ticked, true);
    form.ListView1()->setCurrentItem(form.ListView1()->topLevelItem(2));
    form.setStatusText(QStringLiteral("Done!"));
    form.show();
    QApplication::processEvents();

    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/main-window.png");
    const bool ok = form.grab().save(out, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(out));
    qm::setUserRegistry(nullptr);
    return ok ? 0 : 1;
}
