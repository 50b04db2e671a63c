// Takes the README's pictures of the program's windows: the main window with a few suggestions
// ticked, the topic dialog and the About dialog, drawn offscreen from the real windows into a folder
// (docs/ unless another is given as the only argument). At a scale factor other than 1 the file names
// say so: main-window@2x.png.
//   cmake --build build --target quillmark_screenshot
//   QT_QPA_PLATFORM=offscreen build/resources/quillmark_screenshot docs
//   QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/resources/quillmark_screenshot docs
#include "app/startup.h"
#include "app/suggestionmodel.h"
#include "app/tform1.h"
#include "app/userregistry.h"
#include "platform/registrystore.h"
#include "research/tstartform.h"
#include "ui/tinfoform.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

namespace {

bool save(QWidget& window, const QString& folder, const QString& name)
{
    window.show();
    QApplication::processEvents();
    const qreal scale = window.devicePixelRatio();
    const QString suffix = scale == 1.0 ? QString() : QStringLiteral("@%1x").arg(scale);
    const QString out = QDir(folder).filePath(name + suffix + QStringLiteral(".png"));
    const bool ok = window.grab().save(out, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(out));
    return ok;
}

} // namespace

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
        form.Suggestions()->append(h, false);
    for (const std::size_t ticked : {0u, 2u, 6u})
        form.Suggestions()->setChecked(ticked, true);
    form.ListView1()->setCurrentIndex(form.Suggestions()->index(2));
    form.setStatusText(QStringLiteral("Done!"));

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    bool ok = save(form, folder, QStringLiteral("main-window"));
    ok = save(*startup.startForm(), folder, QStringLiteral("topic-dialog")) && ok;
    ok = save(*startup.infoForm(), folder, QStringLiteral("about-dialog")) && ok;
    qm::setUserRegistry(nullptr);
    return ok ? 0 : 1;
}
