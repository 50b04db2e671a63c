// Draws every picture of the program into resources/images (or the folder given as the only argument).
// Run it after changing the artwork and commit its results:
//   cmake --build build --target quillmark_make_pictures
//   QT_QPA_PLATFORM=offscreen build/resources/quillmark_make_pictures resources/images
#include "resources/tools/artwork.h"
#include "resources/tools/jpegwriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {

bool savePng(const QImage& image, const QDir& dir, const QString& name)
{
    const bool ok = image.save(dir.filePath(name), "PNG");
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(name), image.width(), image.height());
    return ok;
}

bool saveJpeg(const QImage& image, const QDir& dir, const QString& name)
{
    const bool ok = qm::tools::writeBaselineJpeg(image, dir.filePath(name), 92);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(name), image.width(), image.height());
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/images"));
    if (!dir.exists()) {
        std::fprintf(stderr, "no folder %s\n", qPrintable(dir.path()));
        return 1;
    }
    using namespace qm::tools;
    bool ok = saveJpeg(banner(), dir, QStringLiteral("banner.jpg"));
    ok = saveJpeg(logo(), dir, QStringLiteral("logo.jpg")) && ok;
    for (int i = 0; i < 7; ++i)
        ok = savePng(menuIcon(i), dir, QStringLiteral("menu%1.png").arg(i)) && ok;
    ok = savePng(generateButton(), dir, QStringLiteral("generate.png")) && ok;
    ok = savePng(researchButton(), dir, QStringLiteral("research.png")) && ok;
    ok = savePng(cancelButton(), dir, QStringLiteral("cancel.png")) && ok;
    for (const int size : {16, 32, 48, 128})
        ok = savePng(applicationIcon(size), dir, QStringLiteral("quillmark-%1.png").arg(size)) && ok;
    QFile svg(dir.filePath(QStringLiteral("quillmark.svg")));
    ok = svg.open(QIODevice::WriteOnly | QIODevice::Truncate) && svg.write(applicationIconSvg().toUtf8()) > 0 && ok;
    std::printf("%s quillmark.svg\n", ok ? "wrote" : "FAILED");
    return ok ? 0 : 1;
}
