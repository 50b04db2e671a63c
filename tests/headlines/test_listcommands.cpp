#include "headlines/listcommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

int sign(int n) { return (n > 0) - (n < 0); }

TEST(ListView1Compare, ComparesFoldedBytesThenLengths)
{
    struct Case {
        std::string a, b;
        int expected; // the exact result where the comparison defines it
    };
    const std::vector<Case> cases = {
        {"alpha", "ALPHA", 0},   // only case differs
        {"a", "B", 'A' - 'B'},   // folded before comparing
        {"_x", "Z", '_' - 'Z'},  // '_' sorts after the upper-case letters
        {"_x", "z", '_' - 'Z'},  // and so after folded lower-case ones
        {"alpha", "alpha2", -1}, // a prefix sorts first, by the length difference
        {"abc", "", 3},
        {"", "", 0},
        {"\xE9", "\xC9", 0xE9 - 0xC9}, // no folding above 127
        {"\xE9", "z", 0xE9 - 'Z'},     // bytes are unsigned
        {"{", "a", '{' - 'A'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListView1Compare(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(ListView1Compare(c.b, c.a)), -sign(c.expected)) << c.b << " vs " << c.a;
    }
}

TEST(ListView1Compare, SortsTheDocumentedExample)
{
    const std::vector<std::string> captions = {"beta", "Alpha", "alpha2", "_x", "ALPHA"};
    std::vector<std::string> sorted;
    for (const std::size_t i : sortedOrder(captions))
        sorted.push_back(captions[i]);
    ASSERT_EQ(sorted.size(), 5u);
    EXPECT_TRUE((sorted[0] == "Alpha" && sorted[1] == "ALPHA") || (sorted[0] == "ALPHA" && sorted[1] == "Alpha"));
    EXPECT_EQ(std::vector<std::string>(sorted.begin() + 2, sorted.end()),
              (std::vector<std::string>{"alpha2", "beta", "_x"}));
    EXPECT_TRUE(sortedOrder(std::vector<std::string>{}).empty());
    EXPECT_EQ(sortedOrder(std::vector<std::string>{"only"}), (std::vector<std::size_t>{0}));
}

} // namespace
} // namespace qm
