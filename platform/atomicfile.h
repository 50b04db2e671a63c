#pragma once

// Whole-file reads and writes for the program's own files. A write goes to a temporary file in the
// same folder, is flushed to disk and then renamed over the target, so a crash or a full disk never
// leaves a half-written file: the target holds either its old or its new content.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

// A file that could not be read or written; the message names the file and the reason.
class FileError final : public std::runtime_error {
public:
    FileError(const std::filesystem::path& path, int errorNumber);
    const std::filesystem::path& path() const { return m_path; }
    int errorNumber() const { return m_errorNumber; }

private:
    std::filesystem::path m_path;
    int m_errorNumber;
};

// Replaces the file's content with the bytes, atomically. Throws FileError.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The file's bytes. Throws FileError when it cannot be read, or (with EFBIG) when it is larger than
// maxBytes, so that a hostile file cannot make the program allocate without bound.
std::string readWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

} // namespace qm
