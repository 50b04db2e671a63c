// The registry store's reader over arbitrary bytes. Besides not crashing, hanging or growing without
// bound, it must keep what it read: writing the store back and reading it again gives the same
// values, and setting a value changes no other value.
#include "platform/bytes.h"
#include "platform/registryfile.h"
#include "platform/registrystore.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view kKey = "Software\\Tamsworth\\Lettrix\\Setup";

bool isTheSetValue(const qm::RegistryFile::Item& item)
{
    return qm::equalsNoCase(item.path, kKey) && qm::equalsNoCase(item.name, "top");
}

std::vector<qm::RegistryFile::Item> othersThanTheSetValue(const qm::RegistryFile& file)
{
    std::vector<qm::RegistryFile::Item> items = file.items();
    std::erase_if(items, isTheSetValue);
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > qm::RegistryStore::kMaxStoreBytes) // the store never reads more
        return 0;
    const qm::RegistryFile read = qm::RegistryFile::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = read.serialize();
    const qm::RegistryFile reread = qm::RegistryFile::parse(written);
    if (read.items() != reread.items() || reread.serialize() != written)
        __builtin_trap();

    qm::RegistryFile changed = reread;
    changed.createKey(kKey);
    const qm::RegValue top{qm::RegType::Dword, std::string("\x50\0\0\0", 4)};
    if (!changed.setDword(kKey, "top", 0x50))
        __builtin_trap();
    const qm::RegistryFile saved = qm::RegistryFile::parse(changed.serialize());
    const qm::RegValue* stored = saved.value(kKey, "top");
    if (stored == nullptr || *stored != top || othersThanTheSetValue(reread) != othersThanTheSetValue(saved))
        __builtin_trap();
    return 0;
}
