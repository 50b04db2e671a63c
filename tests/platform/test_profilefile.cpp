#include "platform/atomicfile.h"
#include "platform/profilefile.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace qm {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;
using namespace std::string_literals;

ProfileFile parsed(std::string bytes) { return ProfileFile::parse("unused.ini", std::move(bytes)); }

struct ReadCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::string expected; // "<default>" when the key is not found
};

// Shown by name: printed byte by byte, the case would show the unused (uninitialised) room of its strings.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesTheValueAReaderExpects)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(parsed(c.file).value(c.section, c.key, "<default>", 2048), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    testing::Values(ReadCase{"CR LF lines", "[s]\r\nk=v\r\n", "s", "k", "v"},
                    ReadCase{"LF alone", "[s]\nk=v\n", "s", "k", "v"},
                    ReadCase{"CR alone", "[s]\rk=v\r", "s", "k", "v"},
                    ReadCase{"no line end at the end", "[s]\nk=v", "s", "k", "v"},
                    ReadCase{"mixed line ends", "[a]\r\nx=1\r[s]\nk=v\n\r", "s", "k", "v"},
                    ReadCase{"UTF-8 byte-order mark", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v"},
                    ReadCase{"names without regard to case", "[Item0]\nCheck=1\n", "ITEM0", "check", "1"},
                    ReadCase{"only ASCII letters fold", "[\xC4]\nk=v\n", "\xE4", "k", "<default>"},
                    ReadCase{"blanks around everything", " \t[ s ] \n  k \t=  v  w \t\n", "s", "k", "v  w"},
                    ReadCase{"double quotes removed", "[s]\nk=\"v\"\n", "s", "k", "v"},
                    ReadCase{"single quotes removed", "[s]\nk='v'\n", "s", "k", "v"},
                    ReadCase{"blanks inside quotes kept", "[s]\nk=\" v \"\n", "s", "k", " v "},
                    ReadCase{"only one pair removed", "[s]\nk=\"\"v\"\"\n", "s", "k", "\"v\""},
                    ReadCase{"mismatched quotes kept", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
                    ReadCase{"a lone quote kept", "[s]\nk=\"\n", "s", "k", "\""},
                    ReadCase{"empty quotes give empty", "[s]\nk=\"\"\n", "s", "k", ""},
                    ReadCase{"empty value", "[s]\nk=\n", "s", "k", ""},
                    ReadCase{"equals sign in the value", "[s]\nk=a=b\n", "s", "k", "a=b"},
                    ReadCase{"first key of a name wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
                    ReadCase{"first section of a name wins", "[s]\nk=1\n[S]\nk=2\nj=3\n", "s", "j", "<default>"},
                    ReadCase{"key before any section is no key", "k=0\n[s]\nj=1\n", "s", "k", "<default>"},
                    ReadCase{"comment line is no key", "[s]\n;k=1\n", "s", "k", "<default>"},
                    ReadCase{"section line without ]", "[s\nk=v\n", "s", "k", "v"},
                    ReadCase{"text after ] ignored", "[s] tail\nk=v\n", "s", "k", "v"},
                    ReadCase{"missing section", "[s]\nk=v\n", "t", "k", "<default>"},
                    ReadCase{"missing key", "[s]\nk=v\n", "s", "j", "<default>"},
                    ReadCase{"NUL bytes are plain bytes", "[s]\nk=a\0b\n"s, "s", "k", "a\0b"s}));

TEST(ProfileFile, SectionsAreCountedOnceAndCountOnlyWithKeys)
{
    const ProfileFile file = parsed("[b]\nk=1\n[a]\n[B]\nx=2\n[]\ny=3\n[c]\n; only a comment\n");
    EXPECT_EQ(file.sectionCount(), 3u);
    constexpr std::string_view keys[] = {"k"};
    EXPECT_EQ(file.record("B", keys, "", 2048), std::vector<std::string>{"1"});
    EXPECT_EQ(file.record("a", keys, "", 2048), std::nullopt);
    EXPECT_EQ(file.record("c", keys, "", 2048), std::nullopt);
    EXPECT_EQ(file.record("missing", keys, "", 2048), std::nullopt);
    EXPECT_EQ(parsed("no sections here\n").sectionCount(), 0u);
}

TEST(ProfileFile, ValueIsCutToTheBufferLessOne)
{
    const ProfileFile file = parsed("[s]\nk=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(file.value("s", "k", "", 2048), std::string(2047, 'x'));
    EXPECT_EQ(file.value("s", "missing", "default", 4), "def");
}

TEST(ProfileFile, WritingANewFileGivesCrLfLines)
{
    TempDir dir;
    ProfileFile file(dir.file("new.ini"));
    file.write("item0", "t", "Headline");
    file.write("item0", "check", "1");
    file.write("item1", "t", "");
    file.flush();
    EXPECT_EQ(readFileBytes(dir.file("new.ini")), "[item0]\r\nt=Headline\r\ncheck=1\r\n[item1]\r\nt=\r\n");
}

TEST(ProfileFile, WritingChangesOnlyWhatItWrites)
{
    TempDir dir;
    writeFileBytes(dir.file("f.ini"), "; notes\n[a]\nx = 1\n\n; end of a\n[b]\ny=2\ntrailing text");
    ProfileFile file = ProfileFile::load(dir.file("f.ini"));
    file.write("A", "X", "10"); // replaced in place
    file.write("a", "z", "3");  // added after a's last key
    file.write("c", "w", "4");  // appended at the end of the file
    file.flush();
    EXPECT_EQ(readFileBytes(dir.file("f.ini")),
              "; notes\r\n[a]\r\nX=10\r\nz=3\r\n\r\n; end of a\r\n[b]\r\ny=2\r\ntrailing text\r\n[c]\r\nw=4\r\n");
}

TEST(ProfileFile, FlushWithoutWritesLeavesTheFileAlone)
{
    TempDir dir;
    writeFileBytes(dir.file("f.ini"), "[a]\nx=1\n");
    ProfileFile file = ProfileFile::load(dir.file("f.ini"));
    file.flush();
    EXPECT_EQ(readFileBytes(dir.file("f.ini")), "[a]\nx=1\n");
}

// Values that a raw writer would change on reading back, or that would split the line.
TEST(ProfileFile, WrittenValuesReadBackUnchanged)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" Big News ", " Big News "},
        {"\tTabbed", "\tTabbed"},
        {"\"Quoted\"", "\"Quoted\""},
        {"'Quoted'", "'Quoted'"},
        {"\"", "\""},
        {"'a\"", "'a\""},
        {"\"\"", "\"\""},
        {" ", " "},
        {"", ""},
        {"a=b;c[d]", "a=b;c[d]"},
        {"two\r\nlines", "two  lines"},
        {"x\n[item5]\nt=evil", "x [item5] t=evil"},
        {"\rlead", " lead"},
    };
    TempDir dir;
    ProfileFile out(dir.file("v.ini"));
    for (std::size_t i = 0; i < cases.size(); ++i)
        out.write("s", "k" + std::to_string(i), cases[i].first);
    out.flush();
    const ProfileFile in = ProfileFile::load(dir.file("v.ini"));
    EXPECT_EQ(in.sectionCount(), 1u) << "a written value opened a section";
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(in.value("s", "k" + std::to_string(i), "<missing>", 2048), cases[i].second) << i;
    EXPECT_EQ(out.value("s", "k0", "", 2048), " Big News ") << "the copy in memory reads as the file";
}

TEST(ProfileFile, RejectsNamesThatCannotBeReadBack)
{
    ProfileFile file("unused.ini");
    for (const char* section : {"", " s", "s ", "a]b", "a\nb", "a\rb"})
        EXPECT_THROW(file.write(section, "k", "v"), std::invalid_argument) << section;
    for (const char* key : {"", " k", "k\t", "a=b", "[k", ";k", "a\nb"})
        EXPECT_THROW(file.write("s", key, "v"), std::invalid_argument) << key;
}

TEST(ProfileFile, FailedFlushReportsTheFileAndWritesNothing)
{
    TempDir dir;
    writeFileBytes(dir.file("plain"), "not a folder");
    ProfileFile file(dir.file("plain") / "f.ini");
    file.write("s", "k", "v");
    try {
        file.flush();
        FAIL() << "flush under a regular file succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.errorNumber(), ENOTDIR);
        EXPECT_NE(std::string(e.what()).find("f.ini"), std::string::npos);
    }
    EXPECT_EQ(readFileBytes(dir.file("plain")), "not a folder");
}

TEST(ProfileFile, LoadFailuresNameTheReason)
{
    TempDir dir;
    const auto errorOf = [](const std::filesystem::path& path, ProfileLimits limits) {
        try {
            ProfileFile::load(path, limits);
        } catch (const FileError& e) {
            return e.errorNumber();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(dir.file("missing.ini"), {}), ENOENT);
    EXPECT_EQ(errorOf(dir.path(), {}), EISDIR);
    writeFileBytes(dir.file("big.ini"), std::string(101, ' '));
    EXPECT_EQ(errorOf(dir.file("big.ini"), {100}), EFBIG);
    // Lines of 4 bytes: more section lines than any file of that size the writer makes.
    std::string dense;
    for (int i = 0; i < 10000; ++i)
        dense += "[a]\n";
    writeFileBytes(dir.file("dense.ini"), dense);
    EXPECT_EQ(errorOf(dir.file("dense.ini"), {}), EFBIG);
    writeFileBytes(dir.file("short.ini"), dense.substr(0, 4000));
    EXPECT_EQ(errorOf(dir.file("short.ini"), {}), 0);
}

// Hostile files: nothing crashes, hangs or fails; what is not a section or key line means nothing.
TEST(ProfileFile, HostileFilesReadWithoutFailing)
{
    std::mt19937 random(20240601);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    const ProfileFile noise = parsed(garbage);
    for (std::size_t i = 0; i < noise.sectionCount(); ++i)
        (void)noise.value("item" + std::to_string(i), "t", "", 2048);

    TempDir dir;
    writeFileBytes(dir.file("line.ini"), std::string(50u << 20, 'x')); // 50 MB without a line end
    const ProfileFile line = ProfileFile::load(dir.file("line.ini"));
    EXPECT_EQ(line.sectionCount(), 0u);

    // Every truncated prefix of a valid file reads as far as it goes.
    const std::string valid = "[item0]\r\nt=\"Quoted\"\r\ncheck=1\r\n[item1]\r\nt=Two\r\n";
    for (std::size_t n = 0; n <= valid.size(); ++n) {
        const ProfileFile prefix = parsed(valid.substr(0, n));
        EXPECT_LE(prefix.sectionCount(), 2u);
        EXPECT_EQ(ProfileFile::parse("p", prefix.bytes()).sectionCount(), prefix.sectionCount()) << n;
    }
}

} // namespace
} // namespace qm
