#include "headlines/headlinefile.h"
#include "platform/atomicfile.h"
#include "platform/registrystore.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qm {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

std::vector<Suggestion> openText(const std::string& text)
{
    TempDir dir;
    writeFileBytes(dir.file("f.qmk"), text);
    VectorSuggestions list;
    openHeadlineFile(dir.file("f.qmk"), list);
    return list.items();
}

std::vector<Suggestion> roundTrip(const std::vector<Suggestion>& items)
{
    TempDir dir;
    VectorSuggestions out;
    for (const Suggestion& s : items)
        out.append(s.caption, s.checked);
    saveHeadlineFile(out, dir.file("r.qmk"));
    VectorSuggestions in;
    openHeadlineFile(dir.file("r.qmk"), in);
    return in.items();
}

TEST(HeadlineFile, SavesOneSectionPerItemInTheDocumentedForm)
{
    TempDir dir;
    VectorSuggestions list;
    list.append("Seven Ways to Write a Better Opening Line", true);
    list.append("What Every Beginner Should Know", false);
    saveHeadlineFile(list, dir.file("two.qmk"));
    EXPECT_EQ(readFileBytes(dir.file("two.qmk")),
              "[item0]\r\nt=Seven Ways to Write a Better Opening Line\r\ncheck=1\r\n"
              "[item1]\r\nt=What Every Beginner Should Know\r\ncheck=0\r\n");
}

struct OpenCase {
    const char* what;
    std::string file;
    std::vector<Suggestion> expected;
};

// Shown by name: printed byte by byte, the case would show the unused (uninitialised) room of its strings.
void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.what; }

class HeadlineOpen : public testing::TestWithParam<OpenCase> {};

TEST_P(HeadlineOpen, GivesTheItemsOfTheReadingRules)
{
    EXPECT_EQ(openText(GetParam().file), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadlineOpen,
    testing::Values(OpenCase{"item0 and item2 probe item0 and item1 only",
                             "[item0]\nt=A\ncheck=0\n[item2]\nt=C\ncheck=0\n",
                             {{"A", false}}},
                    OpenCase{"a section of another name still counts",
                             "[item0]\nt=A\n[item1]\nt=B\n[other]\nx=1\n",
                             {{"A", true}, {"B", true}}},
                    OpenCase{"sections read in the order of their numbers",
                             "[item1]\nt=B\ncheck=0\n[item0]\nt=A\ncheck=1\n",
                             {{"A", true}, {"B", false}}},
                    OpenCase{"check without t gives an empty caption", "[item0]\ncheck=0\n", {{"", false}}},
                    OpenCase{"a section without keys is absent", "[item0]\n[item1]\nt=B\n", {{"B", true}}},
                    OpenCase{"names without regard to case", "[ITEM0]\nT=A\nCHECK=0\n", {{"A", false}}},
                    OpenCase{"quoted captions lose one pair of quotes",
                             "[item0]\nt=\"Double\"\n[item1]\nt='Single'\n[item2]\nt=\"Mixed'\n",
                             {{"Double", true}, {"Single", true}, {"\"Mixed'", true}}},
                    OpenCase{"a readable file that is not INI-structured", "just some text\n\x01\x02\n", {}},
                    OpenCase{"an empty file", "", {}}));

// Only a value that converts to 0 unticks; anything that does not convert ticks.
TEST(HeadlineFile, CheckValuesTickUnlessTheyConvertToZero)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"0", false},  {"00", false},  {"$0", false},         {"0x0", false},        {"0X00", false}, {"x0", false},
        {"-0", false}, {"+0", false},  {"\" 0\"", false},     {"1", true},           {"2", true},     {"-1", true},
        {"", true},    {"true", true}, {"false", true},       {"99999999999", true}, {"0x", true},    {"$", true},
        {"0 0", true}, {"1x", true},   {"0x100000000", true}, {"4294967296", true},
    };
    std::string file;
    for (std::size_t i = 0; i < cases.size(); ++i)
        file += "[item" + std::to_string(i) + "]\nt=x\ncheck=" + cases[i].first + "\n";
    file += "[item" + std::to_string(cases.size()) + "]\nt=missing check\n";
    const std::vector<Suggestion> items = openText(file);
    ASSERT_EQ(items.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(items[i].checked, cases[i].second) << "check=" << cases[i].first;
    EXPECT_TRUE(items.back().checked) << "missing check";
}

TEST(HeadlineFile, CheckConversionCoversThe32BitRange)
{
    EXPECT_EQ(convertCheckValue("2147483647"), 2147483647);
    EXPECT_EQ(convertCheckValue("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(convertCheckValue("2147483648"), std::nullopt);
    EXPECT_EQ(convertCheckValue("-2147483649"), std::nullopt);
    EXPECT_EQ(convertCheckValue("$FFFFFFFF"), -1);
    EXPECT_EQ(convertCheckValue("0x1f"), 31);
    EXPECT_EQ(convertCheckValue("  -12"), -12);
    EXPECT_EQ(convertCheckValue("12 "), std::nullopt);
}

TEST(HeadlineFile, LongCaptionIsSavedWholeAndReadBackCut)
{
    TempDir dir;
    VectorSuggestions list;
    list.append(std::string(3000, 'h'), true);
    saveHeadlineFile(list, dir.file("long.qmk"));
    EXPECT_NE(readFileBytes(dir.file("long.qmk")).find(std::string(3000, 'h')), std::string::npos);
    VectorSuggestions in;
    openHeadlineFile(dir.file("long.qmk"), in);
    ASSERT_EQ(in.count(), 1u);
    EXPECT_EQ(in.caption(0), std::string(2047, 'h'));
}

// Captions from the parser can hold what a raw profile line would change or split.
TEST(HeadlineFile, CaptionsReadBackAsSaved)
{
    const std::vector<Suggestion> saved = {
        {" Big News ", true}, {"\"Quoted\"", false},         {"'Single'", true},
        {"", true},           {"x\n[item5]\nt=evil", false}, {"caf\xE9 \x93quotes\x94", true},
    };
    std::vector<Suggestion> expected = saved;
    expected[4].caption = "x [item5] t=evil"; // a line cannot hold a line break: it becomes a blank
    EXPECT_EQ(roundTrip(saved), expected);
}

TEST(HeadlineFile, ListsLongerThanTheSectionBufferOpenWhole)
{
    std::vector<Suggestion> items;
    for (int i = 0; i < 2000; ++i)
        items.push_back({"Headline number " + std::to_string(i), i % 3 == 0});
    EXPECT_EQ(roundTrip(items), items);
}

TEST(HeadlineFile, EmptyListSavesNoSection)
{
    TempDir dir;
    saveHeadlineFile(VectorSuggestions(), dir.file("empty.qmk"));
    EXPECT_EQ(readFileBytes(dir.file("empty.qmk")), "");
}

TEST(HeadlineFile, SaveReplacesWhatTheFileHeld)
{
    TempDir dir;
    writeFileBytes(dir.file("f.qmk"), "[item0]\nt=Old A\n[item1]\nt=Old B\n[item2]\nt=Old C\n[notes]\nx=1\n");
    VectorSuggestions list;
    list.append("New", false);
    saveHeadlineFile(list, dir.file("f.qmk"));
    EXPECT_EQ(readFileBytes(dir.file("f.qmk")), "[item0]\r\nt=New\r\ncheck=0\r\n");
}

TEST(HeadlineFile, FailedSaveKeepsTheOldFileAndLeavesNoPartialFile)
{
    TempDir dir;
    writeFileBytes(dir.file("plain"), "a regular file");
    VectorSuggestions list;
    list.append("x", true);
    try {
        saveHeadlineFile(list, dir.file("plain") / "f.qmk");
        FAIL() << "saving under a regular file succeeded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.errorNumber(), ENOTDIR);
    }
    // A failing rename: the target is a folder. The temporary file must go again.
    std::filesystem::create_directory(dir.file("folder.qmk"));
    EXPECT_THROW(saveHeadlineFile(list, dir.file("folder.qmk")), FileError);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"folder.qmk", "plain"}));
    EXPECT_EQ(readFileBytes(dir.file("plain")), "a regular file");
}

// Items of captionBytes bytes, as many as a file of at most fileBytes holds.
VectorSuggestions listFilling(std::size_t captionBytes, std::size_t fileBytes, std::size_t& savedBytes)
{
    VectorSuggestions list;
    savedBytes = 0;
    for (std::size_t i = 0;; ++i) {
        // "[item<i>]", "t=<caption>" and "check=<0 or 1>", each ended by CR LF.
        const std::size_t item = 21 + std::to_string(i).size() + captionBytes;
        if (savedBytes + item > fileBytes)
            return list;
        savedBytes += item;
        list.append(std::string(captionBytes, static_cast<char>('a' + i % 26)), i % 3 == 0);
    }
}

// Whatever is saved opens again whole: a list up to the file bound, of the longest captions that
// read back whole, and one of empty captions, the most lines per byte the writer makes. A list one
// item larger is refused on saving, and the file keeps what it held.
TEST(HeadlineFile, ListsUpToTheFileBoundReopenWholeAndLargerOnesAreNotSaved)
{
    const std::pair<std::size_t, std::size_t> cases[]
        = {{kCaptionBufferBytes - 1, kMaxProfileFileBytes}, {0, std::size_t{16} * 1024 * 1024}};
    for (const auto& [captionBytes, fileBytes] : cases) {
        TempDir dir;
        std::size_t savedBytes = 0;
        VectorSuggestions list = listFilling(captionBytes, fileBytes, savedBytes);
        saveHeadlineFile(list, dir.file("full.qmk"));
        EXPECT_EQ(std::filesystem::file_size(dir.file("full.qmk")), savedBytes);
        VectorSuggestions reopened;
        openHeadlineFile(dir.file("full.qmk"), reopened);
        EXPECT_TRUE(reopened.items() == list.items()) << captionBytes << "-byte captions";
        if (fileBytes != kMaxProfileFileBytes)
            continue;
        list.append(std::string(captionBytes, 'z'), true);
        try {
            saveHeadlineFile(list, dir.file("full.qmk"));
            ADD_FAILURE() << "a list over the bound was saved";
        } catch (const FileError& e) {
            EXPECT_EQ(e.errorNumber(), EFBIG);
        }
        EXPECT_EQ(std::filesystem::file_size(dir.file("full.qmk")), savedBytes);
    }
}

// A save keeps what the user set on the file: its rights, its group, a link that leads to it. The
// position store saves alike. Nothing is left beside the file.
TEST(HeadlineFile, SaveKeepsTheFilesRightsAndGroupAndGoesThroughALink)
{
    namespace fs = std::filesystem;
    const std::pair<const char*, std::function<void(const fs::path&)>> savers[] = {
        {"headline file",
         [](const fs::path& path) {
             VectorSuggestions list;
             list.append("saved", true);
             saveHeadlineFile(list, path);
         }},
        {"position store",
         [](const fs::path& path) {
             RegistryKey key = RegistryStore(path).createKey("Software\\Quillmark");
             EXPECT_TRUE(key.setDword("top", 80));
             EXPECT_TRUE(key.close());
         }},
    };
    // Only root may give a file a group it is not a member of.
    const gid_t group = ::geteuid() == 0 ? 4242 : ::getegid();
    for (const auto& [name, save] : savers) {
        TempDir dir;
        writeFileBytes(dir.file("real"), "");
        ASSERT_EQ(::chown(dir.file("real").c_str(), static_cast<uid_t>(-1), group), 0);
        fs::permissions(dir.file("real"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        fs::create_symlink("real", dir.file("link"));

        save(dir.file("link"));
        EXPECT_TRUE(fs::is_symlink(dir.file("link"))) << name;
        EXPECT_NE(readFileBytes(dir.file("real")), "") << name;
        struct stat info {};
        ASSERT_EQ(::stat(dir.file("real").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u) << name;
        EXPECT_EQ(info.st_gid, group) << name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2) << name;
    }
}

} // namespace
} // namespace qm
