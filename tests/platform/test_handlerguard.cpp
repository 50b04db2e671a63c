#include "platform/handlerguard.h"
#include "tests/support/fakedesktop.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qm::test {
namespace {

TEST(ErrorBox, AFullStopFollowsAMessageWhoseLastCharacterSortsAfterIt)
{
    const struct {
        std::string message;
        const char* shown;
    } cases[] = {
        {"Disk full", "Disk full."},
        {"Already ends.", "Already ends."},
        {"Invalid data type for 'top'", "Invalid data type for 'top'"}, // a quote sorts before "."
        {"Really?", "Really?."},                                        // "?" sorts after "."
        {"Ends in a comma,", "Ends in a comma,"},
        {"Ends in a slash/", "Ends in a slash/."},
        {"Ends in a digit 7", "Ends in a digit 7."},
        {"", ""},
        {"caf\xC3\xA9", "caf\xC3\xA9."}, // a byte above 127 sorts after "."
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorBoxText(c.message), QString::fromUtf8(c.shown)) << c.message;
}

TEST(ErrorBox, AFailureEscapingAHandlerIsShownAndTheProgramGoesOn)
{
    FakeDesktop desktop;
    bool after = false;
    guarded([] { throw std::runtime_error("Socket Error # 10061\r\nConnection refused"); });
    guarded([] { throw 42; });
    guarded([&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(desktop.boxes().size(), 2u);
    EXPECT_EQ(desktop.boxes()[0].text, QStringLiteral("Socket Error # 10061\r\nConnection refused."));
    EXPECT_EQ(desktop.boxes()[0].caption, QStringLiteral("Quillmark"));
    EXPECT_EQ(desktop.boxes()[0].icon, MsgIcon::Error);
    EXPECT_EQ(desktop.boxes()[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(desktop.boxes()[1].text.isEmpty());
}

} // namespace
} // namespace qm::test
