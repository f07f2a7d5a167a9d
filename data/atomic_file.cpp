#include "data/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorvane {

namespace {

[[noreturn]] void Fail(int errorCode, const std::string& what) {
    throw FileReplaceError(errorCode, what + ": " + std::strerror(errorCode));
}

// Closes and removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target) {
        // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
        std::string name(1, '.');
        name += target.filename().string();
        name += ".XXXXXX";
        const std::filesystem::path folder = target.parent_path();
        m_path = (folder.empty() ? std::filesystem::path(".") : folder) / name;
        std::string pattern = m_path.string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        m_fd = ::mkstemp(buffer.data());
        if (m_fd < 0) {
            Fail(errno, "The temporary file beside " + target.string() + " cannot be created");
        }
        m_path = buffer.data();
    }
    ~TemporaryFile() {
        Close();
        if (!m_kept) {
            ::unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Fd() const { return m_fd; }
    const std::filesystem::path& Path() const { return m_path; }
    int Close() {
        int result = 0;
        if (m_fd >= 0) {
            result = ::close(m_fd);
            m_fd = -1;
        }
        return result;
    }
    void Keep() { m_kept = true; }

private:
    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_kept = false;
};

// Makes the rename itself durable; a folder that cannot be synced changes nothing for the file.
void SyncFolder(const std::filesystem::path& target) {
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileWriteCalls SystemFileWriteCalls() {
    return {[](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); },
            [](int fd) { return ::fsync(fd); }};
}

void ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                 const FileWriteCalls& calls) {
    TemporaryFile temp(target);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(temp.Fd(), existing.st_mode & 07777);
    } else {
        // A new file gets the permissions any new file of the user gets, not mkstemp's 0600.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temp.Fd(), 0666 & ~mask);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = calls.write(temp.Fd(), bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            Fail(step < 0 ? errno : ENOSPC, "Writing " + target.string() + " failed");
        }
        written += static_cast<std::size_t>(step);
    }
    if (calls.sync(temp.Fd()) != 0) {
        Fail(errno, "Flushing " + target.string() + " to the disk failed");
    }
    if (temp.Close() != 0) {
        Fail(errno, "Closing " + target.string() + " failed");
    }
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        Fail(errno, "Replacing " + target.string() + " failed");
    }
    temp.Keep();
    SyncFolder(target);
}

} // namespace quorvane
