// The registry store's text over arbitrary bytes. Besides not crashing, hanging or growing without
// bound, it must keep what it read: the text comes back byte for byte, and setting a value changes no
// other value and loses no other line.
#include "platform/registrystore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kKey = "Software\\Tamsworth\\Lettrix\\Setup";

bool same(const std::optional<qm::RegValue>& a, const std::optional<qm::RegValue>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->size == b->size && a->dword == b->dword));
}

// The lines without their line breaks (CR LF or LF): the file's last line may gain one.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > qm::RegistryStore::kMaxStoreBytes) // the store never reads more
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qm::RegistryFile read(text, kKey);
    if (read.text() != text)
        __builtin_trap();

    qm::RegistryFile changed = read;
    if (!changed.hasKey())
        changed.createKey();
    if (!changed.setDword("top", 0x50))
        __builtin_trap();
    const std::string written = changed.text();
    const qm::RegistryFile saved(written, kKey);
    const std::optional<qm::RegValue> top = saved.value("top");
    if (!top || top->type != qm::RegType::Dword || top->dword != 0x50 || !same(saved.value("left"), read.value("left")))
        __builtin_trap();

    // Every line read is still there, in its order, but for the one line the value may have replaced:
    // the change is one line replaced or added in place, or the key added at the end.
    const std::vector<std::string_view> before = linesOf(text);
    const std::vector<std::string_view> after = linesOf(written);
    const std::size_t most = std::min(before.size(), after.size());
    std::size_t same = 0;
    while (same < most && before[same] == after[same])
        ++same;
    for (std::size_t end = 1; same < most && before[before.size() - end] == after[after.size() - end]; ++end)
        ++same;
    if (same + 1 < before.size() || after.size() > before.size() + 4)
        __builtin_trap();
    return 0;
}
