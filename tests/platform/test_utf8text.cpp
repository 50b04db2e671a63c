// Bytes as characters: valid UTF-8 as it is, anything else as Windows-1252.
#include "platform/utf8text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(Utf8Text, KeepsValidUtf8AndReadsEverythingElseAsWindows1252)
{
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"plain", "plain"},
        {"Na\xc3\xafve \xe2\x80\x9cq\xe2\x80\x9d \xf0\x9f\x93\x9d",
         "Na\xc3\xafve \xe2\x80\x9cq\xe2\x80\x9d \xf0\x9f\x93\x9d"},
        {"Caf\xe9 \x93q\x94 \x80\x81", "Caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d \xe2\x82\xac\xc2\x81"},
        // Not UTF-8: an overlong form, a surrogate, past U+10FFFF, a sequence cut short.
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac"},
        {"ab\xe2\x80", "ab\xc3\xa2\xe2\x82\xac"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8Text(c.bytes), c.text) << testing::PrintToString(c.bytes);
}

} // namespace
} // namespace qm
