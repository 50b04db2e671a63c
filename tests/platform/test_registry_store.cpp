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

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

TEST(RegistryStore, DwordsReadBackAsWrittenInTheExportFormat)
{
    TempDir dir;
    {
        RegistryStore writer(dir.file("registry.reg"));
        RegistryKey key = writer.createKey(kSetupKey);
        ASSERT_EQ(key.setDword("top", 0x50), RegStatus::Ok);
        ASSERT_EQ(key.setDword("left", static_cast<std::uint32_t>(-200)), RegStatus::Ok);
        ASSERT_EQ(key.setDword("a\"b\\c=d", 9), RegStatus::Ok);
        ASSERT_EQ(key.setDword("", 1), RegStatus::Ok);
    }
    const std::string file = readFileBytes(dir.file("registry.reg"));
    EXPECT_EQ(file.substr(file.find("\r\n[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]") + 2),
              "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"
              "\"top\"=dword:00000050\r\n\"left\"=dword:ffffff38\r\n\"a\\\"b\\\\c=d\"=dword:00000009\r\n"
              "@=dword:00000001\r\n\r\n");
    RegistryStore reader(dir.file("registry.reg"));
    RegistryKey key = reader.openKey(kSetupKey);
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(key.queryValue("left", 4).data, bytes({0x38, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(key.queryValue("a\"b\\c=d", 4).data, bytes({9, 0, 0, 0}));
    EXPECT_EQ(key.queryValue("", 4).type, RegType::Dword);
}

TEST(RegistryStore, ReadsTheExportFormat)
{
    TempDir dir;
    writeFileBytes(dir.file("r.reg"), "Windows Registry Editor Version 5.00\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"
                                      "\"top\"=dword:00000050\r\n"
                                      "\"left\"=dword:FFFFFF9c\r\n"
                                      "\"name\"=\"text\"\r\n"
                                      "@=\"default\"\r\n"
                                      "\"bin\"=hex:01,02,\\\r\n"
                                      "  03,ff\r\n"
                                      "\"exp\"=hex(2):25,00\r\n");
    RegistryStore store(dir.file("r.reg"));
    RegistryKey key = store.openKey(kSetupKey);
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(key.queryValue("top", 4).data, bytes({0x50, 0, 0, 0}));
    EXPECT_EQ(key.queryValue("left", 4).data, bytes({0x9C, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(key.queryValue("name", 16).data, std::string("text\0", 5));
    EXPECT_EQ(key.queryValue("", 16).data, std::string("default\0", 8));
    EXPECT_EQ(key.queryValue("bin", 16).data, bytes({1, 2, 3, 0xFF}));
    EXPECT_EQ(key.queryValue("exp", 16).type, RegType::ExpandSz);
}

TEST(RegistryStore, QueryWithAFourByteBufferReportsMoreDataForLargerValues)
{
    struct Case {
        const char* what;
        RegType type;
        std::string data;
        RegStatus expected;
    };
    const Case cases[] = {
        {"\"abc\"", RegType::Sz, std::string("abc\0", 4), RegStatus::Ok},
        {"\"abcd\"", RegType::Sz, std::string("abcd\0", 5), RegStatus::MoreData},
        {"dword:00000001", RegType::Dword, bytes({1, 0, 0, 0}), RegStatus::Ok},
        {"hex(b):01,00,00,00,00,00,00,00", RegType::Qword, bytes({1, 0, 0, 0, 0, 0, 0, 0}), RegStatus::MoreData},
    };
    TempDir dir;
    for (const Case& c : cases) {
        writeFileBytes(dir.file("r.reg"),
                       std::string("[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n\"v\"=") + c.what
                           + "\r\n");
        RegistryStore store(dir.file("r.reg"));
        const RegistryKey key = store.openKey(kSetupKey);
        const RegQuery info = key.queryInfo("v");
        EXPECT_EQ(info.status, RegStatus::Ok) << c.what;
        EXPECT_EQ(info.size, c.data.size()) << c.what;
        const RegQuery q = key.queryValue("v", 4);
        EXPECT_EQ(q.status, c.expected) << c.what;
        EXPECT_EQ(q.type, c.type) << c.what; // the type comes back even when the data does not fit
        EXPECT_EQ(q.size, c.data.size()) << c.what;
        EXPECT_EQ(key.queryInfo("absent").status, RegStatus::NotFound);
    }
}

TEST(RegistryStore, OpenNeverCreatesAndCreateAddsEveryParent)
{
    TempDir dir;
    RegistryStore store(dir.file("sub/folder/r.reg"));
    EXPECT_EQ(store.openKey(kSetupKey).status(), RegStatus::NotFound);
    EXPECT_FALSE(std::filesystem::exists(store.file()));

    ASSERT_TRUE(store.createKey(kSetupKey).isOpen());
    for (const char* key :
         {"Software", "Software\\Tamsworth", "\\Software\\Tamsworth\\Lettrix", "software\\TAMSWORTH\\lettrix\\setup"})
        EXPECT_EQ(store.openKey(key).status(), RegStatus::Ok) << key;
    EXPECT_EQ(store.openKey("Software\\Other").status(), RegStatus::NotFound);

    const std::string text = readFileBytes(store.file());
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"), std::string::npos);
}

TEST(RegistryStore, InvalidPathsAndNamesAreRefused)
{
    TempDir dir;
    RegistryStore store(dir.file("r.reg"));
    for (const char* path : {"Software\\\\Twice", "Software\\", "a\nb"})
        EXPECT_EQ(store.createKey(path).status(), RegStatus::InvalidParameter) << path;
    EXPECT_EQ(store.createKey(std::string(256, 'k')).status(), RegStatus::InvalidParameter);
    RegistryKey key = store.createKey("Software");
    EXPECT_EQ(key.setDword("line\nbreak", 1), RegStatus::InvalidParameter);
    key.close();
    EXPECT_EQ(key.setDword("top", 1), RegStatus::InvalidHandle);
    EXPECT_EQ(key.queryInfo("top").status, RegStatus::InvalidHandle);
}

TEST(RegistryStore, SavingKeepsOtherKeysJunkAndCommentsByteForByte)
{
    TempDir dir;
    const std::string before = "Windows Registry Editor Version 5.00\r\n\r\n"
                               "; written by hand\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                               "\"keep\"=\"me\"\r\n"
                               "this line is junk\r\n"
                               "\"half\"=hex:01,\\\r\n"
                               "\r\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\r\n"
                               "\"x\"=dword:00000001\r\n"
                               "\r\n";
    writeFileBytes(dir.file("r.reg"), before);
    RegistryStore store(dir.file("r.reg"));
    RegistryKey key = store.createKey(kSetupKey);
    ASSERT_EQ(key.setDword("top", 80), RegStatus::Ok);
    ASSERT_EQ(key.setDword("left", 193), RegStatus::Ok);

    const std::string after = readFileBytes(store.file());
    EXPECT_EQ(after.substr(0, before.size()), before);
    EXPECT_NE(after.find("\"top\"=dword:00000050\r\n\"left\"=dword:000000c1\r\n"), std::string::npos);
    EXPECT_EQ(store.openKey("Software\\Other").queryValue("keep", 16).data, std::string("me\0", 3));
}

TEST(RegistryStore, SetReplacesTheValueInPlaceWhateverItsTypeAndSpelling)
{
    TempDir dir;
    writeFileBytes(dir.file("r.reg"), "[HKEY_CURRENT_USER\\S]\n"
                                      "\"Top\"=\"old\"\n"
                                      "\"after\"=dword:00000001\n"
                                      "\"TOP\"=hex:01\n");
    RegistryStore store(dir.file("r.reg"));
    RegistryKey key = store.openKey("S");
    // A name listed twice: the later line holds, and it is the one replaced.
    EXPECT_EQ(key.queryValue("top", 4).type, RegType::Binary);
    ASSERT_EQ(key.setDword("top", 2), RegStatus::Ok);
    EXPECT_EQ(readFileBytes(store.file()), "[HKEY_CURRENT_USER\\S]\n"
                                           "\"Top\"=\"old\"\n"
                                           "\"after\"=dword:00000001\n"
                                           "\"TOP\"=dword:00000002\n");
}

TEST(RegistryStore, SavingReplacesTheFileByRenameAndLeavesNoTemporaryFiles)
{
    TempDir dir;
    RegistryStore store(dir.file("r.reg"));
    RegistryKey key = store.createKey(kSetupKey);
    struct stat first {};
    ASSERT_EQ(::stat(store.file().c_str(), &first), 0);
    ASSERT_EQ(key.setDword("top", 1), RegStatus::Ok);
    struct stat second {};
    ASSERT_EQ(::stat(store.file().c_str(), &second), 0);
    // A new file took the old one's place: the old content was never rewritten in place.
    EXPECT_NE(first.st_ino, second.st_ino);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(RegistryStore, UnreadableContentReadsAsAbsentAndIsKeptOnSave)
{
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"binary garbage", bytes({0, 1, 2, 0xFF, '[', 0, ']', '\n', '"', 0xFE})},
        {"a header that never closes", "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup\n\"top\"=dword:1\n"},
        {"values before any key", "\"top\"=dword:00000001\n"},
        {"a bad dword", "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n\"top\"=dword:123456789\n"},
        {"a hex list cut short", "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n\"top\"=hex:01,\\\n"},
        {"a text without its closing quote",
         "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n\"top\"=\"abc\n"},
        {"a deleted key", "[-HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\n\"top\"=dword:1\n"},
        {"UTF-16 text", bytes({0xFF, 0xFE, '[', 0, 'H', 0, ']', 0, '\r', 0, '\n', 0})},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFileBytes(dir.file("r.reg"), c.text);
        RegistryStore store(dir.file("r.reg"));
        RegistryKey key = store.openKey(kSetupKey);
        if (key.isOpen()) {
            EXPECT_EQ(key.queryInfo("top").status, RegStatus::NotFound) << c.what;
        }
        key = store.createKey(kSetupKey);
        ASSERT_EQ(key.setDword("top", 5), RegStatus::Ok) << c.what;
        EXPECT_EQ(key.queryValue("top", 4).data, bytes({5, 0, 0, 0})) << c.what;
        const std::string after = readFileBytes(store.file());
        // Every line that was there is still there, in order, in front of what was added.
        const std::string kept = c.text.back() == '\n' ? c.text : c.text + "\n";
        EXPECT_EQ(after.substr(0, kept.size()), kept) << c.what;
    }
}

TEST(RegistryStore, EveryPrefixOfAStoreIsReadAndWrittenBackUnchanged)
{
    const std::string full = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"
                             "\"top\"=dword:00000050\r\n"
                             "\"name\"=\"te\\\"xt\"\r\n"
                             "\"bin\"=hex(7):61,00,\\\r\n"
                             "  62,00,00,00\r\n\r\n";
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const std::string prefix = full.substr(0, n);
        const std::string out = RegistryFile::parse(prefix).serialize();
        ASSERT_EQ(out.substr(0, prefix.size()), prefix) << n;
        ASSERT_LE(out.size(), prefix.size() + 2) << n; // at most the missing line end is added
    }
}

TEST(RegistryStore, AStoreThatCannotBeWrittenIsNotOpenedAndStaysUntouched)
{
    TempDir dir;
    {
        RegistryStore store(dir.file("r.reg"));
        ASSERT_EQ(store.createKey(kSetupKey).setDword("top", 7), RegStatus::Ok);
    }
    const std::string before = readFileBytes(dir.file("r.reg"));
    RegistryStore readOnly(dir.file("r.reg"), [](const std::filesystem::path&) { return false; });
    EXPECT_EQ(readOnly.openKey(kSetupKey).status(), RegStatus::AccessDenied);
    EXPECT_EQ(readOnly.createKey(kSetupKey).status(), RegStatus::AccessDenied);
    EXPECT_EQ(readOnly.createKey("Software\\New").status(), RegStatus::AccessDenied);
    EXPECT_EQ(readOnly.read().value("Software\\Tamsworth\\Lettrix\\Setup", "top")->data, bytes({7, 0, 0, 0}));
    EXPECT_EQ(readFileBytes(dir.file("r.reg")), before);
}

TEST(RegistryStore, AStoreUnderARegularFileCannotBeCreated)
{
    TempDir dir;
    writeFileBytes(dir.file("plain"), "not a folder");
    RegistryStore store(dir.file("plain") / "Quillmark" / "r.reg");
    EXPECT_EQ(store.openKey(kSetupKey).status(), RegStatus::NotFound);
    EXPECT_FALSE(store.createKey(kSetupKey).isOpen());
    EXPECT_EQ(readFileBytes(dir.file("plain")), "not a folder");
}

TEST(RegistryStore, AnOversizedOrNonRegularStoreIsNeitherReadNorReplaced)
{
    TempDir dir;
    std::string huge = "[HKEY_CURRENT_USER\\S]\n\"top\"=dword:00000001\n";
    huge.append(RegistryStore::kMaxStoreBytes, ';');
    // Regression: a store of nothing but line breaks, well under the size limit, was read into some
    // 200 times its size.
    const std::string manyLines
        = "[HKEY_CURRENT_USER\\S]\n\"top\"=dword:00000001\n" + std::string(RegistryStore::kMaxStoreLines + 1, '\n');
    for (const std::string& content : {huge, manyLines}) {
        writeFileBytes(dir.file("big.reg"), content);
        RegistryStore big(dir.file("big.reg"));
        EXPECT_EQ(big.openKey("S").status(), RegStatus::NotFound);
        EXPECT_EQ(big.createKey("S").status(), RegStatus::AccessDenied);
        EXPECT_EQ(readFileBytes(dir.file("big.reg")).size(), content.size());
    }

    // A pipe would block a reader for ever; a folder cannot be read at all.
    ASSERT_EQ(::mkfifo(dir.file("pipe.reg").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.reg"));
    for (const char* name : {"pipe.reg", "folder.reg"}) {
        RegistryStore odd(dir.file(name));
        EXPECT_EQ(odd.openKey("S").status(), RegStatus::NotFound) << name;
        EXPECT_EQ(odd.createKey("S").status(), RegStatus::AccessDenied) << name;
    }
}

} // namespace
} // namespace qm
