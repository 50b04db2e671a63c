// main() of the GUI test binaries: an application on the offscreen platform, with the standard
// folders redirected to test locations, so that no test touches the real user's files.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
