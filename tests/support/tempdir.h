#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::test {

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempDir final {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for tests: bytes in, bytes out, no text translation.
std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace qm::test
