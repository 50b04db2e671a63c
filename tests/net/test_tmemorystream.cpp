// The memory stream that downloads land in: writes at the position and growth without losing bytes.
#include "net/tmemorystream.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(TMemoryStream, WritesAtThePositionAndFillsGapsWithZeros)
{
    TMemoryStream stream;
    stream.Write("hello world", 11);
    stream.SetPosition(6);
    stream.Write("there", 5);
    EXPECT_EQ(stream.Bytes(), "hello there");
    stream.SetPosition(13);
    stream.Write("!", 1);
    EXPECT_EQ(stream.Bytes(), std::string("hello there\0\0!", 14));
    stream.SetSize(5);
    EXPECT_EQ(stream.Bytes(), "hello");
    EXPECT_EQ(stream.Position(), 5);
    char out[8] = {};
    stream.SetPosition(1);
    EXPECT_EQ(stream.Read(out, sizeof out), 4u);
    EXPECT_EQ(std::string(out, 4), "ello");
}

TEST(TMemoryStream, GrowingKeepsEveryByte)
{
    TMemoryStream stream;
    std::string expected;
    for (int i = 0; expected.size() < (5u << 20); ++i) {
        const std::string piece = std::to_string(i) + ',';
        stream.Write(piece.data(), piece.size());
        expected += piece;
    }
    EXPECT_EQ(stream.Bytes(), expected);
}

} // namespace
} // namespace qm
