#include "platform/registrystore.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qm {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

constexpr std::string_view kSetupKey = "\\Software\\Tamsworth\\Lettrix\\Setup";
constexpr std::string_view kSetupHeader = "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]";

ino_t inodeOf(const std::filesystem::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_ino;
}

TEST(RegistryStore, AKeyIsCreatedAndWrittenOnlyWhenClosed)
{
    TempDir dir;
    const RegistryStore store(dir.file("sub/folder/r.reg"));
    EXPECT_FALSE(store.openKey(kSetupKey).isOpen()); // open never creates
    RegistryKey key = store.createKey(kSetupKey);
    ASSERT_TRUE(key.isOpen());
    ASSERT_TRUE(key.setDword("top", 0x50));
    ASSERT_TRUE(key.setDword("left", static_cast<std::uint32_t>(-200)));
    EXPECT_FALSE(std::filesystem::exists(dir.file("sub/folder/r.reg")));
    ASSERT_TRUE(key.close());
    EXPECT_EQ(readFileBytes(dir.file("sub/folder/r.reg")),
              "Windows Registry Editor Version 5.00\r\n\r\n" + std::string(kSetupHeader)
                  + "\r\n\"top\"=dword:00000050\r\n\"left\"=dword:ffffff38\r\n");

    // Names and paths compare without regard to case; the leading backslash is optional.
    const RegistryKey again = store.openKey("software\\TAMSWORTH\\lettrix\\setup");
    ASSERT_TRUE(again.isOpen());
    EXPECT_EQ(again.query("LEFT")->dword, 0xFFFFFF38u);
    EXPECT_FALSE(store.openKey("Software\\Tamsworth").isOpen()); // the keys above have no header
}

TEST(RegistryStore, QueriesGiveTypeAndSizeOfWhatTheyRead)
{
    struct Case {
        const char* line;
        std::optional<RegType> type; // nothing: the line is not read as a value
        std::size_t size;
        std::uint32_t dword;
    };
    const Case cases[] = {
        {"\"v\"=dword:FFFFFF9c", RegType::Dword, 4, 0xFFFFFF9C},
        {"\"v\" = dword: 50", RegType::Dword, 4, 0x50},
        {"\"v\"=\"abc\"", RegType::Sz, 4, 0},        // its bytes and a NUL
        {"\"v\"=\"a\\\"b\\\\\"", RegType::Sz, 5, 0}, // a"b\ and a NUL
        {"\"v\"=\"abcd\"", RegType::Sz, 5, 0},
        {"\"v\"=dword:123456789", std::nullopt, 0, 0},
        {"\"v\"=dword:zz", std::nullopt, 0, 0},
        {"\"v\"=\"abc", std::nullopt, 0, 0},
        {"\"v\"=\"abc\" trailing", std::nullopt, 0, 0},
        {"\"v\"=hex:01,02,03,04", std::nullopt, 0, 0},
        {"\"v\"=-", std::nullopt, 0, 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFileBytes(dir.file("r.reg"), std::string(kSetupHeader) + "\n" + c.line + "\n");
        const RegistryKey key = RegistryStore(dir.file("r.reg")).openKey(kSetupKey);
        ASSERT_TRUE(key.isOpen()) << c.line;
        const std::optional<RegValue> value = key.query("v");
        ASSERT_EQ(value.has_value(), c.type.has_value()) << c.line;
        if (value) {
            EXPECT_EQ(value->type, *c.type) << c.line;
            EXPECT_EQ(value->size, c.size) << c.line;
            EXPECT_EQ(value->dword, c.dword) << c.line;
        }
    }
}

TEST(RegistryStore, LinesTheStoreDoesNotUnderstandAreKeptByteForByte)
{
    TempDir dir;
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "; written by hand\r\n"
                             + std::string(kSetupHeader) + "\r\n\"bin\"=hex:01,\\\r\n  02\r\n";
    const std::string tail = "@=\"default\"\n" // a line break of its own
                             "\"multi\"=hex(7):61,00,00,00\r\n"
                             "junk \xFF\x01 bytes\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\r\n"
                             "\"left\"=dword:00000001"; // no line break at the end
    writeFileBytes(dir.file("r.reg"), head + "  \"Top\" =  dword:00000001 \n" + tail);
    RegistryKey key = RegistryStore(dir.file("r.reg")).openKey(kSetupKey);
    ASSERT_TRUE(key.setDword("top", 80));
    ASSERT_TRUE(key.setDword("left", 193));
    ASSERT_TRUE(key.close());
    // The value keeps its line, spelling, blanks and line break; the new one follows the key's values.
    EXPECT_EQ(readFileBytes(dir.file("r.reg")),
              head + "  \"Top\" =  dword:00000050\n\"left\"=dword:000000c1\r\n" + tail);
}

TEST(RegistryStore, OfANameListedTwiceTheLaterLineHoldsAndIsReplaced)
{
    TempDir dir;
    writeFileBytes(dir.file("r.reg"), std::string(kSetupHeader) + "\n\"top\"=\"old\"\n[HKEY_CURRENT_USER\\Other]\n"
                                          + std::string(kSetupHeader) + "\n\"TOP\"=dword:00000002\n");
    RegistryKey key = RegistryStore(dir.file("r.reg")).openKey(kSetupKey);
    EXPECT_EQ(key.query("top")->type, RegType::Dword);
    ASSERT_TRUE(key.setDword("top", 3));
    ASSERT_TRUE(key.close());
    EXPECT_EQ(readFileBytes(dir.file("r.reg")), std::string(kSetupHeader)
                                                    + "\n\"top\"=\"old\"\n[HKEY_CURRENT_USER\\Other]\n"
                                                    + std::string(kSetupHeader) + "\n\"TOP\"=dword:00000003\n");
}

TEST(RegistryStore, WhatTheStoreDoesNotWriteIsRefused)
{
    TempDir dir;
    const RegistryStore store(dir.file("r.reg"));
    for (const char* path : {"", "\\", "a\nb", "a\rb"})
        EXPECT_FALSE(store.createKey(path).isOpen()) << path;
    RegistryKey key = store.createKey(kSetupKey);
    for (const char* name : {"", "a\"b", "a\\b", "line\nbreak"})
        EXPECT_FALSE(key.setDword(name, 1)) << name;
    key.close();
    EXPECT_FALSE(key.setDword("top", 1));
    EXPECT_FALSE(key.query("top"));
}

TEST(RegistryStore, ACloseWritesOnceByRenameAndOnlyWhenSomethingChanged)
{
    TempDir dir;
    const RegistryStore store(dir.file("r.reg"));
    ASSERT_TRUE(store.createKey(kSetupKey).close());
    const auto first = inodeOf(dir.file("r.reg"));
    ASSERT_TRUE(store.openKey(kSetupKey).close());
    EXPECT_EQ(inodeOf(dir.file("r.reg")), first); // nothing changed, nothing written
    RegistryKey key = store.openKey(kSetupKey);
    ASSERT_TRUE(key.setDword("top", 1));
    ASSERT_TRUE(key.close());
    // A new file took the old one's place: the old content was never rewritten in place.
    EXPECT_NE(inodeOf(dir.file("r.reg")), first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(RegistryStore, UnreadableContentReadsAsAbsentAndIsKeptOnSave)
{
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"binary garbage", std::string("\0\x01\x02\xFF[\0]\n\"\xFE", 10)},
        {"a header that never closes", "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup\n\"top\"=dword:1\n"},
        {"values before any key", "\"top\"=dword:00000001\n"},
        {"a deleted key", "[-HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n\"top\"=dword:1\n"},
        {"UTF-16 text", std::string("\xFF\xFE[\0H\0]\0\r\0\n\0", 12)},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFileBytes(dir.file("r.reg"), c.text);
        const RegistryStore store(dir.file("r.reg"));
        EXPECT_FALSE(store.openKey(kSetupKey).isOpen()) << c.what;
        RegistryKey key = store.createKey(kSetupKey);
        ASSERT_TRUE(key.setDword("top", 5)) << c.what;
        ASSERT_TRUE(key.close()) << c.what;
        EXPECT_EQ(store.openKey(kSetupKey).query("top")->dword, 5u) << c.what;
        // Every line that was there is still there, in order, in front of what was added.
        const std::string kept = c.text.back() == '\n' ? c.text : c.text + "\n";
        EXPECT_EQ(readFileBytes(dir.file("r.reg")).substr(0, kept.size()), kept) << c.what;
    }
}

TEST(RegistryStore, AStoreThatCannotBeWrittenIsNeitherOpenedNorTouched)
{
    TempDir dir;
    writeFileBytes(dir.file("plain"), "not a folder");
    const RegistryStore underAFile(dir.file("plain") / "Quillmark" / "r.reg");
    EXPECT_FALSE(underAFile.createKey(kSetupKey).isOpen());

    const std::string stored = std::string(kSetupHeader) + "\n\"top\"=dword:00000007\n";
    writeFileBytes(dir.file("r.reg"), stored);
    const RegistryStore readOnly(dir.file("r.reg"), [](const std::filesystem::path&) { return false; });
    EXPECT_FALSE(readOnly.openKey(kSetupKey).isOpen());
    EXPECT_FALSE(readOnly.createKey("Software\\New").isOpen());

    // Regression: a store of nothing but line breaks, well under the size limit, was read into some
    // 200 times its size.
    const std::string manyLines = stored + std::string(RegistryStore::kMaxStoreLines + 1, '\n');
    ASSERT_EQ(::mkfifo(dir.file("pipe.reg").c_str(), 0600), 0); // would block a reader for ever
    std::filesystem::create_directory(dir.file("folder.reg"));
    writeFileBytes(dir.file("huge.reg"), stored);
    std::filesystem::resize_file(dir.file("huge.reg"), std::uintmax_t{1} << 30); // 1 GiB, sparse
    writeFileBytes(dir.file("lines.reg"), manyLines);
    for (const char* name : {"pipe.reg", "folder.reg", "huge.reg", "lines.reg"}) {
        const RegistryStore odd(dir.file(name));
        EXPECT_FALSE(odd.openKey(kSetupKey).isOpen()) << name;
        EXPECT_FALSE(odd.createKey(kSetupKey).isOpen()) << name;
    }
    EXPECT_EQ(readFileBytes(dir.file("plain")), "not a folder");
    EXPECT_EQ(readFileBytes(dir.file("r.reg")), stored);
    EXPECT_EQ(std::filesystem::file_size(dir.file("huge.reg")), std::uintmax_t{1} << 30);
    EXPECT_EQ(readFileBytes(dir.file("lines.reg")), manyLines);
}

} // namespace
} // namespace qm
