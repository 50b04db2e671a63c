// The profile reader on arbitrary bytes: it must not crash, hang or grow without bound, what it
// writes back must mean the same, and a value written must read back as written.
#include "headlines/headlinefile.h"
#include "platform/profilefile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    qm::ProfileFile file = qm::ProfileFile::parse("fuzz.ini", bytes);

    qm::VectorSuggestions items;
    qm::readHeadlineItems(file, items);

    // Written back (CR LF line ends), the file holds the same sections, keys and values.
    const qm::ProfileFile again = qm::ProfileFile::parse("fuzz.ini", file.bytes());
    require(again.sectionCount() == file.sectionCount());
    qm::VectorSuggestions itemsAgain;
    qm::readHeadlineItems(again, itemsAgain);
    require(itemsAgain.items() == items.items());

    // Any bytes written as a value read back the same, line breaks turned into blanks.
    const std::string value = bytes.substr(0, 80);
    std::string expected = value;
    std::replace_if(
        expected.begin(), expected.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    file.write("Fuzz", "value", value);
    require(file.value("fuzz", "VALUE", "?", 4096) == expected);
    const qm::ProfileFile written = qm::ProfileFile::parse("fuzz.ini", file.bytes());
    require(written.value("fuzz", "value", "?", 4096) == expected);
    return 0;
}
