#pragma once

// Whole-file reads and writes for the program's own files. A write goes to a temporary file in the
// target's folder, is flushed to disk and then put in the target's place in one step, so a crash or
// a full disk never leaves a half-written file: the target holds either its old or its new content.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

// A file that could not be read or written; the message names the file and the reason.
class FileError final : public std::runtime_error {
public:
    // reason: what the user is told; the system's text for errorNumber when empty.
    FileError(const std::filesystem::path& path, int errorNumber, std::string reason = {});
    int errorNumber() const { return m_errorNumber; }
    const std::string& reason() const { return m_reason; }

private:
    int m_errorNumber;
    std::string m_reason;
};

// A size limit in the user's words: "64 MiB" for whole mebibytes, else "<n> bytes".
std::string byteSizeText(std::size_t bytes);
// The FileError (EFBIG) of a file larger than maxBytes.
FileError fileTooLarge(const std::filesystem::path& path, std::size_t maxBytes);

// Where a write puts the new content before it is renamed over the target. Unnamed: a file without a
// name in the target's folder, named only once complete, so a write killed half-way leaves nothing
// behind. Named: a temporary file beside the target from the start; the fallback where the file
// system cannot make unnamed files or the link that names one is refused. Tests ask for Named to
// reach that path.
enum class TemporaryFile { Unnamed, Named };

// Replaces the file's content with the bytes, atomically. A symbolic link is followed and its target
// replaced; an existing file keeps its permission bits and, where the process may set it, its group.
// No temporary file is left behind after a failure. Throws FileError.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         TemporaryFile first = TemporaryFile::Unnamed);

// The file's bytes. Throws FileError when it cannot be read, when it is not a regular file (a folder,
// a named pipe, a device: refused at once, without waiting for a writer), or (with EFBIG) when it is
// larger than maxBytes, so that a hostile file cannot make the program allocate without bound.
std::string readWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

} // namespace qm
