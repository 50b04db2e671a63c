// The window position with two screens: the primary one at the origin and a taller one to its left,
// reaching above it, so that it has negative coordinates. (The offscreen platform runs without frames
// here: with frames it nudges any window with a negative left edge to the right. It orders screens by
// name and makes the first one primary, hence the names in twoscreens.json.)
#include "tests/app/positionfixture.h"

namespace qm::test {
namespace {

using TwoScreens = PositionFixture;

TEST_F(TwoScreens, TheTestRunsWithBothScreens)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1024, 768));
}

TEST_F(TwoScreens, APositionOnEitherScreenIsAppliedAsStored)
{
    const QPoint cases[] = {
        {-1000, -150}, // wholly on the left screen, above the primary one
        {-300, 600},   // across both
        {-1280, -200}, // the left screen's top left corner
        {500, 700},    // low on the primary screen, title bar still on it
    };
    for (const QPoint& at : cases) {
        SCOPED_TRACE(testing::Message() << at.x() << "," << at.y());
        storeDword("left", at.x());
        storeDword("top", at.y());
        const auto form = openWindow();
        EXPECT_EQ(form->frameGeometry().topLeft(), at);
    }
}

TEST_F(TwoScreens, APositionOnNeitherScreenOpensAtTheTopRightOfThePrimary)
{
    const QPoint cases[] = {
        {-3000, 0},  // left of the left screen: the screen was removed
        {-500, 900}, // below the left screen
        {1100, 100}, // right of the primary screen
        {200, -100}, // above the primary, where the left screen does not reach
    };
    for (const QPoint& at : cases) {
        SCOPED_TRACE(testing::Message() << at.x() << "," << at.y());
        storeDword("left", at.x());
        storeDword("top", at.y());
        const auto form = openWindow();
        EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(1024 - form->frameGeometry().width(), 0));
    }
}

TEST_F(TwoScreens, ANegativePositionIsSavedAndComesBack)
{
    {
        const auto form = openWindow();
        form->move(-640, -120);
        QCoreApplication::processEvents();
        form->close();
    }
    EXPECT_EQ(storedDword("left"), -640);
    EXPECT_EQ(storedDword("top"), -120);
    const auto again = openWindow();
    EXPECT_EQ(again->frameGeometry().topLeft(), QPoint(-640, -120));
}

} // namespace
} // namespace qm::test
