#include "tests/app/positionfixture.h"

#include "platform/windowposition.h"

#include <QAction>
#include <QWindow>

namespace qm::test {
namespace {

using WindowPosition = PositionFixture;

TEST_F(WindowPosition, FirstRunOpensAtTheTopRightOfThePrimaryScreen)
{
    const auto form = openWindow();
    EXPECT_EQ(form->frameGeometry().topLeft(), defaultPosition(*form));
    EXPECT_EQ(form->frameGeometry().right() + 1, QGuiApplication::primaryScreen()->geometry().right() + 1);
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_FALSE(std::filesystem::exists(storePath())); // nothing is written before the window closes
}

TEST_F(WindowPosition, StoredValuesAreApplied)
{
    struct Case {
        const char* what;
        std::optional<int> top;
        std::optional<int> left;
        QPoint expected; // (-1, -1): the default position
    };
    const Case cases[] = {
        {"both values", 50, 120, {120, 50}},
        {"left only: top edge 0", std::nullopt, 100, {100, 0}},
        {"top only: flush right", 40, std::nullopt, {-1, 40}},
        {"partly below the screen, title bar still visible", 560, 30, {30, 560}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(storePath());
        if (c.top)
            storeDword("top", *c.top);
        if (c.left)
            storeDword("left", *c.left);
        const auto form = openWindow();
        QPoint expected = c.expected;
        if (expected.x() == -1)
            expected.setX(defaultPosition(*form).x());
        EXPECT_EQ(form->frameGeometry().topLeft(), expected);
        EXPECT_TRUE(m_desktop.boxes().empty());
    }
}

TEST_F(WindowPosition, APositionOnNoScreenFallsBackToTheDefaults)
{
    const struct {
        const char* what;
        int top;
        int left;
    } cases[] = {
        {"far right and below", 5000, 5000},
        {"far left", 10, -4000},
        {"title bar above the screen", -200, 10},
        {"title bar below the screen", 2000, 10},
        {"left past the right edge", 10, 3000},
        {"off-screen coordinates of a minimised window", -32000, -32000},
        // The reachability check must not wrap round at the ends of the 32-bit range.
        {"the lowest 32-bit value", INT32_MIN, INT32_MIN},
        {"the highest 32-bit value", INT32_MAX, INT32_MAX},
        {"just below the highest", 0x7ffffff0, 0x7ffffff0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        storeDword("top", c.top);
        storeDword("left", c.left);
        const auto form = openWindow();
        EXPECT_EQ(form->frameGeometry().topLeft(), defaultPosition(*form));
    }
}

TEST_F(WindowPosition, AValueThatIsNotADwordShowsItsBoxAndStopsPositioning)
{
    struct Case {
        const char* what;
        const char* name;
        const char* data;
        QString box;
        QPoint expected;
    };
    const Case cases[] = {
        {"top as text of three characters", "top", "\"abc\"", "Invalid data type for 'top'", kLaidOut},
        {"top as text of four characters", "top", "\"abcd\"", "Failed to get data for 'top'", kLaidOut},
        // The top edge read before stays; the left edge keeps its laid-out 193.
        {"left as text of three characters", "left", "\"abc\"", "Invalid data type for 'left'", {193, 40}},
        {"left as text of many characters", "left", "\"a long text\"", "Failed to get data for 'left'", {193, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(storePath());
        storeDword("top", 40);
        storeValue(c.name, c.data);
        const std::size_t before = m_desktop.boxes().size();
        const auto form = openWindow();
        ASSERT_EQ(m_desktop.boxes().size(), before + 1);
        EXPECT_EQ(m_boxesBeforeShow, before + 1); // shown before the main window
        const FakeDesktop::Box& box = m_desktop.boxes().back();
        EXPECT_EQ(box.text, c.box); // no full stop added
        EXPECT_EQ(box.caption, QStringLiteral("Quillmark"));
        EXPECT_EQ(box.icon, MsgIcon::Error);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(form->frameGeometry().topLeft(), c.expected);
    }
}

TEST_F(WindowPosition, AnUnreadableLeftNeverLeavesAnOffScreenTopInPlace)
{
    storeDword("top", 5000);
    storeValue("left", "\"abc\"");
    const auto form = openWindow();
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(193, 0));
}

TEST_F(WindowPosition, EveryWayOfClosingSavesThePosition)
{
    const struct {
        const char* what;
        void (*close)(TForm1&);
    } ways[] = {
        {"E&xit", [](TForm1& f) { f.findChild<QAction*>(QStringLiteral("Exit1"))->trigger(); }},
        {"the close box", [](TForm1& f) { f.close(); }},
        {"the window system", [](TForm1& f) { f.windowHandle()->close(); }},
    };
    int step = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        const QPoint moved(100 + 10 * step, 60 + 5 * step);
        ++step;
        const auto form = openWindow();
        form->move(moved);
        QCoreApplication::processEvents();
        way.close(*form);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(storedDword("top"), moved.y());
        EXPECT_EQ(storedDword("left"), moved.x());
    }
}

TEST_F(WindowPosition, TheFirstCloseCreatesTheKeyEvenWhenTheWindowDidNotMove)
{
    const auto form = openWindow();
    const QPoint at = form->frameGeometry().topLeft();
    form->close();
    EXPECT_EQ(storedDword("top"), at.y());
    EXPECT_EQ(storedDword("left"), at.x());

    // And the next start opens where this one closed.
    const auto again = openWindow();
    EXPECT_EQ(again->frameGeometry().topLeft(), at);
}

TEST_F(WindowPosition, AStoreThatCannotBeWrittenGivesTheDefaultsAndSavesNothing)
{
    storeDword("top", 50);
    storeDword("left", 120);
    const std::string before = readFileBytes(storePath());
    useStore(std::make_unique<RegistryStore>(storePath(), [](const std::filesystem::path&) { return false; }));
    const auto form = openWindow();
    EXPECT_EQ(form->frameGeometry().topLeft(), defaultPosition(*form)); // no full access: as if absent
    form->move(300, 200);
    form->close();
    EXPECT_EQ(readFileBytes(storePath()), before);
    EXPECT_TRUE(m_desktop.boxes().empty()); // saving fails silently
}

TEST_F(WindowPosition, AStoreUnderARegularFileGivesTheDefaultsAndSavesNothing)
{
    TempDir dir;
    writeFileBytes(dir.file("config"), "a regular file where the config folder should be");
    useStore(std::make_unique<RegistryStore>(dir.file("config") / "Quillmark" / "registry.reg"));
    const auto form = openWindow();
    EXPECT_EQ(form->frameGeometry().topLeft(), defaultPosition(*form));
    form->close();
    EXPECT_EQ(readFileBytes(dir.file("config")), "a regular file where the config folder should be");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(WindowPosition, ACorruptStoreOpensAtTheDefaultsAndKeepsItsOtherLinesOnClose)
{
    const std::string junk = "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n"
                             "\"top\"=dword:zz\n"
                             "\x01\x02 binary junk \xFF\n"
                             "[HKEY_CURRENT_USER\\Software\\Other]\n"
                             "\"keep\"=\"me\"\n";
    std::filesystem::create_directories(storePath().parent_path());
    writeFileBytes(storePath(), junk);
    const auto form = openWindow();
    EXPECT_EQ(form->frameGeometry().topLeft(), defaultPosition(*form));
    form->move(90, 70);
    form->close();
    // Every line is still there, in its order; the new values joined their key.
    const std::string after = readFileBytes(storePath());
    std::size_t at = 0;
    for (const char* line :
         {"[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n", "\"top\"=dword:zz\n",
          "\x01\x02 binary junk \xFF\n", "[HKEY_CURRENT_USER\\Software\\Other]\n", "\"keep\"=\"me\"\n"}) {
        at = after.find(line, at);
        ASSERT_NE(at, std::string::npos) << line;
    }
    EXPECT_EQ(storedDword("top"), 70);
    EXPECT_EQ(storedDword("left"), 90);
}

TEST(DialogFolder, TheProgramFolderUnlessItCannotBeWritten)
{
    TempDir dir;
    writeFileBytes(dir.file("file"), "x");
    const QString docs = QStringLiteral("/home/someone/Documents");
    const auto q = [](const std::filesystem::path& p) { return QString::fromStdString(p.string()); };
    EXPECT_EQ(dialogStartFolder(q(dir.path()), docs), q(dir.path()));
    EXPECT_EQ(dialogStartFolder(q(dir.file("file") / "sub"), docs), docs); // not a folder anyone can write
    EXPECT_EQ(dialogStartFolder(q(dir.file("missing")), docs), docs);
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/opt/quillmark/")), QStringLiteral("/opt/quillmark"));
    EXPECT_EQ(withoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
}

TEST_F(WindowPosition, TheFileDialogsStartInTheProgramFolder)
{
    const auto form = openWindow();
    EXPECT_EQ(form->ProgramFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(form->OpenDialog1().directory, form->ProgramFolder());
    EXPECT_EQ(form->ResultsSaveDialog().directory, form->ProgramFolder());
}

} // namespace
} // namespace qm::test
