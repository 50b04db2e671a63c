// Closing the main window while a research run walks its entries, with the application's event loop
// running as in the program: the position is saved at once, the run goes on to its end, and only
// then does the loop end. A binary of its own, since it ends the application's loop.
#include "tests/app/researchfixture.h"

#include <QApplication>
#include <QMessageBox>

namespace qm::test {
namespace {

constexpr int kBusiness = 0;
constexpr int kSafetyExit = 99;
constexpr std::string_view kPositionKey = "\\Software\\Tamsworth\\Lettrix\\Setup";

bool PositionSaved(RegistryStore& store)
{
    const RegistryKey key = store.openKey(kPositionKey);
    return key.query("top") && key.query("left");
}

TEST_F(ResearchWindow, ClosingTheWindowDuringTheWalkSavesAtOnceAndEndsAfterTheRun)
{
    serve(SourcePage({{"Business", Numbered("Business idea", 40)}}));
    ASSERT_FALSE(PositionSaved(m_store));
    bool savedAtClose = false;
    std::size_t itemsAtClose = 0;
    atItem(3, [&] {
        m_form->close();
        savedAtClose = PositionSaved(m_store);
        itemsAtClose = m_form->Suggestions()->count();
    });
    QTimer::singleShot(0, m_form, [&] { generate({kBusiness}); });
    QTimer::singleShot(30'000, [] { QCoreApplication::exit(kSafetyExit); }); // never hang the suite

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(savedAtClose);
    EXPECT_EQ(itemsAtClose, 3u);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(captions(), Numbered("Business idea", 40));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
}

// Regression: once the window was closed, Qt's dialogs return from exec() at once and stay on the
// screen; a press of the button that arrives then left a topic dialog nobody could answer and stopped
// the walk as if cancelled.
TEST_F(ResearchWindow, PressArrivingAfterTheWindowClosedDoesNothing)
{
    serve(SourcePage({{"Business", Numbered("Business idea", 40)}}));
    atItem(3, [&] {
        m_form->close();
        QTimer::singleShot(0, m_form, [&] { find<QPushButton>(m_form, "BitBtn2")->click(); });
    });
    QTimer::singleShot(0, m_form, [&] { generate({kBusiness, kBusiness}); });
    QTimer::singleShot(30'000, [] { QCoreApplication::exit(kSafetyExit); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(m_answers->shown(), 1);
    EXPECT_FALSE(m_startup->startForm()->isVisible());
    EXPECT_EQ(captions(), Numbered("Business idea", 40));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
}

// The application's loop told to end while a second press waits in the topic dialog: by quit(),
// which closes every window first (the position is saved), or by exit(), which closes none. Either
// way the dialog goes away unanswered, which counts as Cancel and stops the first walk, and the loop
// ends once the run has.
class EndingTheLoop : public ResearchWindow, public testing::WithParamInterface<bool> {};

TEST_P(EndingTheLoop, WhileASecondPressWaitsInTheTopicDialog)
{
    const bool byQuit = GetParam();
    serve(SourcePage({{"Business", Numbered("Business idea", 40)}}));
    atItem(3, [&] {
        QTimer::singleShot(20, [byQuit] { byQuit ? QCoreApplication::quit() : QCoreApplication::exit(0); });
        find<QPushButton>(m_form, "BitBtn2")->click();
    });
    QTimer::singleShot(0, m_form, [&] { generate({kBusiness, kNoAnswer}); });
    QTimer::singleShot(30'000, [] { QCoreApplication::exit(kSafetyExit); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(m_answers->shown(), 2);
    EXPECT_FALSE(m_startup->startForm()->isVisible());
    EXPECT_EQ(PositionSaved(m_store), byQuit);
    EXPECT_EQ(captions(), Numbered("Business idea", 3));
    EXPECT_EQ(m_form->statusText(), QStringLiteral("Done!"));
}

INSTANTIATE_TEST_SUITE_P(Research, EndingTheLoop, testing::Bool(),
                         [](const auto& info) { return info.param ? "ByQuit" : "ByExit"; });

} // namespace
} // namespace qm::test
