#pragma once

// Replacing a file so that a failure never destroys the old one: the new bytes go to a
// temporary file beside the target, are flushed to the disk, and only then is the temporary
// file renamed over the target. A failed or interrupted save leaves the previous file as it was
// and no temporary file behind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <sys/types.h>

namespace quorvane {

// The write failed; Errno() is the system's error code (ENOSPC, EACCES, ...).
class FileReplaceError : public std::runtime_error {
public:
    FileReplaceError(int errorCode, const std::string& message)
        : std::runtime_error(message), m_errno(errorCode) {}
    int Errno() const { return m_errno; }

private:
    int m_errno;
};

// The system calls the replacement writes through. A test substitutes one that fails as a full
// disk or a failing device would.
struct FileWriteCalls {
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> sync;
};

// The calls of the running system (write(2) and fsync(2)).
FileWriteCalls SystemFileWriteCalls();

// Writes `bytes` as the new content of `target`. An existing target keeps its permission bits.
// Throws FileReplaceError; the target is then unchanged.
void ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                 const FileWriteCalls& calls = SystemFileWriteCalls());

} // namespace quorvane
