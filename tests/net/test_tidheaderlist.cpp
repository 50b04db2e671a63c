// The header list, the header record and the request lines it makes.
#include "net/tidheaderinfo.h"
#include "net/tidheaderlist.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TIdHeaderList Lines(const std::vector<std::string>& lines)
{
    TIdHeaderList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

TEST(TIdHeaderList, NameIsTheUntrimmedTextBeforeTheFirstColon)
{
    const TIdHeaderList list = Lines({"Server :x", "Date: a:b", "no colon"});
    EXPECT_EQ(list.NameAt(0), "Server ");
    EXPECT_EQ(list.NameAt(1), "Date");
    EXPECT_EQ(list.NameAt(2), "");
    EXPECT_EQ(list.FindName("Server"), -1);
    EXPECT_EQ(list.FindName("DATE"), 1);
    EXPECT_EQ(list.ValueOf("date"), "a:b");
}

TEST(TIdHeaderList, RepeatedNameFindsTheFirstLine)
{
    const TIdHeaderList list = Lines({"Set-Cookie: a=1", "set-cookie: b=2"});
    EXPECT_EQ(list.FindName("Set-Cookie"), 0);
    EXPECT_EQ(list.ValueOf("SET-COOKIE"), "a=1");
}

struct ValueCase {
    std::string name;
    std::vector<std::string> lines;
    std::string value;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class ValueAtTest : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueAtTest, UnfoldsContinuationLines)
{
    const TIdHeaderList list = Lines(GetParam().lines);
    EXPECT_EQ(list.ValueAt(0), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, ValueAtTest,
                         testing::Values(ValueCase{"LeadingBlanksGoTrailingStay", {"X:  \t a b  "}, "a b  "},
                                         ValueCase{"NoBlankAfterColon", {"X:a"}, "a"},
                                         ValueCase{"ContinuationJoinedByOneBlank", {"X: a", "  \tb", "\tc"}, "a b c"},
                                         ValueCase{"ValueEndingInBlankJoinsDirectly", {"X: a ", " b"}, "a b"},
                                         ValueCase{"EmptyValueTakesContinuation", {"X:", "  b"}, "b"},
                                         ValueCase{"EmptyLineEndsContinuation", {"X: a", "", " b"}, "a"},
                                         ValueCase{"NextHeaderIsNoContinuation", {"X: a", "Y: b"}, "a"}),
                         [](const auto& info) { return info.param.name; });

TEST(TIdHeaderList, ValueOfAbsentNameIsEmpty)
{
    EXPECT_EQ(Lines({"X: a"}).ValueOf("Y"), "");
    EXPECT_EQ(Lines({"X: a"}).ValueAt(-1), "");
}

TEST(TIdHeaderList, RemoveTakesTheLineAndItsContinuations)
{
    TIdHeaderList list = Lines({"A: 1", "X: a", " b", "\tc", "B: 2"});
    list.Remove("x");
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0], "A: 1");
    EXPECT_EQ(list[1], "B: 2");
    list.Remove("Missing");
    EXPECT_EQ(list.Count(), 2u);
}

TEST(TIdHeaderInfo, DefaultsGiveExactlyAcceptAndUserAgent)
{
    const TIdHeaderInfo info;
    TIdHeaderList lines = Lines({"stale"});
    info.WriteRequestLines(lines);
    ASSERT_EQ(lines.Count(), 2u);
    EXPECT_EQ(lines[0], "Accept: text/html, */*");
    EXPECT_EQ(lines[1], "User-Agent: Mozilla/3.0 (compatible; Quillmark)");
}

} // namespace
} // namespace qm
