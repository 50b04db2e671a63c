#include "platform/bytes.h"
#include "research/contentfilter.h"
#include "tests/research/referenceparser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace qm {
namespace {

std::string asciiUpperCopy(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiUpper);
    return out;
}

TEST(IsBlockedHeadline, BlocksFragmentsInsideHarmlessWords)
{
    for (const char* caption : {"Diet",        "Audience",     "Studies",    "Soldier",     "Hello",
                                "Shell",       "Document",     "Accumulate", "Analysis",    "Canal",
                                "Fifteen",     "Canteen",      "Toyota",     "Grape",       "Drape",
                                "Gymnasium",   "Generosity",   "Whatever",   "Sussex",      "Snake",
                                "Female",      "Tamale",       "DIET PLAN",  "diet plan",   "Visit example.com today",
                                "WWW.Example", "see http now", "news.ORG",   "a .NET guide"})
        EXPECT_TRUE(IsBlockedHeadline(caption)) << caption;
}

TEST(IsBlockedHeadline, ListsCaptionsWithoutFragments)
{
    // Only A-Z fold: a fragment spelt with an accented letter is a different text.
    for (const char* caption : {"Ten Ways To Save Money", "", "Caf\xE9 Culture",
                                "D\xCF"
                                "E HARD",
                                "\xC4NAL", "d-i-e", "xXx"})
        EXPECT_EQ(IsBlockedHeadline(caption), std::string_view(caption) == "xXx") << caption;
}

TEST(IsBlockedHeadline, EveryFragmentBlocksInAnyCaseAndPosition)
{
    ASSERT_EQ(kBlockedFragments.size(), 70u);
    for (const std::string_view fragment : kBlockedFragments) {
        EXPECT_EQ(asciiLowerCopy(fragment), fragment);
        EXPECT_TRUE(IsBlockedHeadline(fragment)) << fragment;
        EXPECT_TRUE(IsBlockedHeadline("Quiet " + asciiUpperCopy(fragment) + " Stream")) << fragment;
    }
}

TEST(IsBlockedHeadline, AnswersLikeSeventyPlainSearchesOnGeneratedCaptions)
{
    // Captions made of fragment pieces (whole, cut short, case changed), near-miss letters and bytes
    // above 127, so that matches start, break off and overlap in every way.
    std::mt19937 random(11);
    auto piece = [&]() -> std::string {
        const std::string_view fragment = kBlockedFragments[random() % kBlockedFragments.size()];
        switch (random() % 4) {
        case 0: return std::string(fragment);
        case 1: return std::string(fragment.substr(0, random() % fragment.size()));
        case 2: return asciiUpperCopy(fragment.substr(random() % fragment.size()));
        default: {
            std::string bytes(1 + random() % 3, ' ');
            for (char& c : bytes)
                c = "aeiostx. .\xC0\xE9\xFF"[random() % 13];
            return bytes;
        }
        }
    };
    int blocked = 0;
    for (int i = 0; i < 50000; ++i) {
        std::string caption;
        for (int n = static_cast<int>(random() % 6); n >= 0; --n)
            caption += piece();
        const bool expected = test::LiteralIsBlocked(caption);
        ASSERT_EQ(IsBlockedHeadline(caption), expected) << testing::PrintToString(caption);
        blocked += expected ? 1 : 0;
    }
    // Both answers must be common for the comparison to mean something.
    EXPECT_GT(blocked, 10000);
    EXPECT_LT(blocked, 40000);
}

} // namespace
} // namespace qm
