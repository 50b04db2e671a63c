// The memory stream that downloads land in: writes at the position, growth into a mapping of its
// own without losing bytes, and in-place writes.
#include "net/tmemorystream.h"

#include <cstring>
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

TEST(TMemoryStream, GrowingPastTheMappedSizeKeepsEveryByte)
{
    TMemoryStream stream;
    std::string expected;
    // Small writes through the heap, into a mapping and through several remaps.
    for (int i = 0; expected.size() < (5u << 20); ++i) {
        const std::string piece = std::to_string(i) + ',';
        stream.Write(piece.data(), piece.size());
        expected += piece;
    }
    EXPECT_EQ(stream.Bytes(), expected);
}

TEST(TMemoryStream, InPlaceWriteBecomesContentOnlyWhenCommitted)
{
    TMemoryStream stream;
    stream.Write("abc", 3);
    stream.SetPosition(5);
    char* area = stream.WriteArea(4);
    std::memcpy(area, "wxyz", 4);
    EXPECT_EQ(stream.Bytes(), "abc");
    stream.CommitWrite(2);
    EXPECT_EQ(stream.Bytes(), std::string("abc\0\0wx", 7));
    stream.Reserve(10 << 20);
    EXPECT_GE(stream.Capacity(), (10u << 20) + 7);
    EXPECT_EQ(stream.Bytes(), std::string("abc\0\0wx", 7));
}

} // namespace
} // namespace qm
