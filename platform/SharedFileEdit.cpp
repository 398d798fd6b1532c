#include "platform/SharedFileEdit.h"

#include "platform/FileErrors.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <array>

namespace
{
// Held for the lifetime of the object; a lock that cannot be had within a second is
// gone without, as a sibling that crashed holding it must not stop the save.
class SharedFileLock
{
public:
    explicit SharedFileLock(const std::string& path)
    {
        m_fd = ::open(sharedFileLockName(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY,
                      0666);
        if (m_fd < 0)
            return;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() >= until) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~SharedFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing the last descriptor lets the lock go
    }
    SharedFileLock(const SharedFileLock&) = delete;
    SharedFileLock& operator=(const SharedFileLock&) = delete;

private:
    int m_fd = -1;
};

// The file as read: its bytes, and the open descriptor that still reaches the old file
// after the new one has taken its name.
struct ReadFile {
    int error = FileError::None;
    int fd = -1;
    std::string bytes;
    struct stat st {
    };
    ReadFile() = default;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ~ReadFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

int readAll(int fd, off_t from, std::string& bytes)
{
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), from);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fileErrorFromErrno(errno);
        if (n == 0)
            return FileError::None;
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
        from += n;
    }
}

void readFile(const std::string& path, ReadFile& file)
{
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file.fd < 0) {
        file.error = errno == ENOENT ? FileError::None : fileErrorFromErrno(errno, path);
        return;
    }
    file.error = regularFileError(file.fd);
    if (file.error == FileError::None && ::fstat(file.fd, &file.st) != 0)
        file.error = fileErrorFromErrno(errno);
    if (file.error == FileError::None)
        file.error = readAll(file.fd, 0, file.bytes);
}

// True when the file at `path` is still the one read, with the bytes read at its start:
// lines appended meanwhile are carried over after the rename.
bool unchangedButForAppends(const std::string& path, const ReadFile& file)
{
    ReadFile now;
    readFile(path, now);
    if (now.error != FileError::None || (now.fd < 0) != (file.fd < 0))
        return false;
    if (file.fd >= 0 && (now.st.st_dev != file.st.st_dev || now.st.st_ino != file.st.st_ino))
        return false;
    return now.bytes.compare(0, file.bytes.size(), file.bytes) == 0;
}

// Bytes appended to the old file after it was read went to a file that no longer has a
// name: they are added to the end of the new one. `from` is how much of the old
// file has been taken already.
int carryOverLateAppends(const std::string& path, int oldFd, std::size_t& from)
{
    if (oldFd < 0)
        return FileError::None;
    std::string late;
    if (readAll(oldFd, static_cast<off_t>(from), late) != FileError::None || late.empty())
        return FileError::None;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fileErrorFromErrno(errno, path);
    const int result = writeAllBytes(fd, late.data(), late.size());
    ::close(fd);
    if (result == FileError::None)
        from += late.size();
    return result;
}
} // namespace

std::string sharedFileLockName(const std::string& path)
{
    return path + ".lock";
}

int editSharedFile(const std::string& path, const SharedFileEditor& edit)
{
    const SharedFileLock lock(path);
    // A file that changes at every look is given up, and the save said to have failed.
    for (int attempt = 0; attempt < 50; ++attempt) {
        ReadFile file;
        readFile(path, file);
        if (file.error != FileError::None)
            return file.error;
        std::string edited;
        if (const int error = edit(file.bytes, edited); error != FileError::None)
            return error;
        if (edited == file.bytes)
            return FileError::None;
        const int result =
            replaceFileContents(path, edited, [&] { return unchangedButForAppends(path, file); });
        if (result == FileError::ChangedMeanwhile)
            continue;
        if (result != FileError::None)
            return result;
        // A writer that opened the old file just before the rename writes a moment later.
        std::size_t taken = file.bytes.size();
        int carried = carryOverLateAppends(path, file.fd, taken);
        if (carried == FileError::None) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            carried = carryOverLateAppends(path, file.fd, taken);
        }
        return carried;
    }
    return FileError::PathFileAccessError;
}
