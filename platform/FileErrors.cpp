#include "platform/FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <random>

std::string fileErrorText(int number)
{
    switch (number) {
    case FileError::None:
        return {};
    case FileError::BadFileNameOrNumber:
        return "Bad file name or number";
    case FileError::FileNotFound:
        return "File not found";
    case FileError::FileAlreadyOpen:
        return "File already open";
    case FileError::FileAlreadyExists:
        return "File already exists";
    case FileError::DiskFull:
        return "Disk full";
    case FileError::PermissionDenied:
        return "Permission denied";
    case FileError::PathFileAccessError:
        return "Path/File access error";
    case FileError::PathNotFound:
        return "Path not found";
    default:
        return "Error " + std::to_string(number);
    }
}

int fileErrorFromErrno(int err)
{
    switch (err) {
    case 0:
        return FileError::None;
    case ENOENT:
        return FileError::FileNotFound;
    case ENOTDIR:
    case ELOOP:
        return FileError::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileError::PermissionDenied;
    case EEXIST:
        return FileError::FileAlreadyExists;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EBUSY:
    case ETXTBSY:
        return FileError::FileAlreadyOpen;
    case ENAMETOOLONG:
    case EINVAL:
    case EBADF:
        return FileError::BadFileNameOrNumber;
    default:
        return FileError::PathFileAccessError;
    }
}

namespace
{
// ENOENT for a missing file in a missing directory is "Path not found".
int missingError(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return FileError::FileNotFound;
    struct stat st {
    };
    const std::string dir = path.substr(0, slash);
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return FileError::PathNotFound;
    return FileError::FileNotFound;
}

} // namespace

int fileErrorFromErrno(int err, const std::string& path)
{
    return err == ENOENT ? missingError(path) : fileErrorFromErrno(err);
}

namespace
{
int errorFor(const std::string& path, int err)
{
    return fileErrorFromErrno(err, path);
}
} // namespace

int regularFileError(int fd)
{
    struct stat st {
    };
    if (::fstat(fd, &st) != 0)
        return fileErrorFromErrno(errno);
    return S_ISREG(st.st_mode) ? FileError::None : FileError::PathFileAccessError;
}

int openForReadingError(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return FileError::BadFileNameOrNumber;
    // Looked at before opening: opening a device can do something of its own.
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return errorFor(path, errno);
    if (!S_ISREG(st.st_mode))
        return FileError::PathFileAccessError;
    // Not blocking, so a pipe put in the file's place meanwhile cannot hang the test.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errorFor(path, errno);
    const int error = regularFileError(fd);
    ::close(fd);
    return error;
}

int renameNoReplace(const std::string& from, const std::string& to)
{
    struct stat st {
    };
    if (::lstat(from.c_str(), &st) != 0)
        return errorFor(from, errno);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return FileError::None;
    if (errno != EINVAL && errno != ENOSYS)
        return errorFor(to, errno);
    // A file system without an atomic no-replace rename: check, then rename.
    if (::lstat(to.c_str(), &st) == 0)
        return FileError::FileAlreadyExists;
    if (::rename(from.c_str(), to.c_str()) != 0)
        return errorFor(to, errno);
    return FileError::None;
}

namespace
{
WriteCall g_write = nullptr;

ssize_t writeCall(int fd, const void* data, std::size_t size)
{
    return g_write ? g_write(fd, data, size) : ::write(fd, data, size);
}

// A file beside `target` that did not exist before: created with O_EXCL under a
// random name, so no file of the user's is ever opened, emptied or removed by it.
class TempBeside
{
public:
    explicit TempBeside(const std::string& target, mode_t mode)
    {
        const auto slash = target.find_last_of('/');
        const std::string dir =
            slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        static const char letters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        std::random_device seed;
        std::mt19937 random(seed());
        std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof letters) - 2);
        // Short enough that a long target name still leaves room for the suffix.
        const std::string stem =
            "." + name.substr(0, std::min<std::size_t>(name.size(), 200)) + ".";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = dir + stem;
            for (int i = 0; i < 8; ++i)
                candidate += letters[pick(random)];
            m_fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (m_fd >= 0) {
                m_path = candidate;
                return;
            }
            if (errno != EEXIST)
                break;
        }
        m_error = fileErrorFromErrno(errno, target);
    }
    ~TempBeside()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TempBeside(const TempBeside&) = delete;
    TempBeside& operator=(const TempBeside&) = delete;

    int fd() const { return m_fd; }
    int error() const { return m_error; }
    const std::string& path() const { return m_path; }

    // Flushes the bytes to the disk and closes: a full disk or a failing device
    // shows here at the latest, before the file takes the target's place.
    int finish()
    {
        int error = FileError::None;
        // fsync is not offered by every file system (EINVAL); the close still tells.
        if (::fsync(m_fd) != 0 && errno != EINVAL)
            error = fileErrorFromErrno(errno);
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0 && error == FileError::None)
            error = fileErrorFromErrno(errno);
        return error;
    }
    // The file now has another name and is no longer this object's to remove.
    void release() { m_path.clear(); }

private:
    int m_fd = -1;
    int m_error = FileError::None;
    std::string m_path;
};
} // namespace

int writeAllBytes(int fd, const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = writeCall(fd, data + done, size - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            return fileErrorFromErrno(errno);
        if (w == 0)
            return FileError::DiskFull; // nothing more fits
        done += static_cast<std::size_t>(w);
    }
    return FileError::None;
}

void setWriteCallForTesting(WriteCall call)
{
    g_write = call;
}

int copyFileBytes(const std::string& from, const std::string& to, bool replace)
{
    struct stat src {
    };
    struct stat dst {
    };
    if (::stat(from.c_str(), &src) != 0)
        return errorFor(from, errno);
    if (!S_ISREG(src.st_mode))
        return FileError::PathFileAccessError;
    if (::stat(to.c_str(), &dst) == 0) {
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
            return FileError::FileAlreadyOpen; // the same file: copying would empty it
        if (!replace)
            return FileError::FileAlreadyExists;
        if (!S_ISREG(dst.st_mode))
            return FileError::PathFileAccessError;
    }
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (in < 0)
        return errorFor(from, errno);
    if (const int error = regularFileError(in); error != FileError::None) {
        ::close(in);
        return error;
    }
    TempBeside out(to, 0666);
    if (out.fd() < 0) {
        ::close(in);
        return out.error();
    }
    std::array<char, 65536> buffer{};
    int result = FileError::None;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            result = fileErrorFromErrno(errno);
        if (n <= 0)
            break;
        result = writeAllBytes(out.fd(), buffer.data(), static_cast<std::size_t>(n));
        if (result != FileError::None)
            break;
    }
    ::close(in);
    if (const int finished = out.finish(); result == FileError::None)
        result = finished;
    if (result != FileError::None)
        return result;
    if (replace) {
        if (::rename(out.path().c_str(), to.c_str()) != 0)
            return errorFor(to, errno);
    } else if (const int error = renameNoReplace(out.path(), to); error != FileError::None) {
        return error;
    }
    out.release();
    return FileError::None;
}

int readWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    if (const int error = openForReadingError(path); error != FileError::None)
        return error;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errorFor(path, errno);
    int result = regularFileError(fd);
    std::array<char, 65536> buffer{};
    while (result == FileError::None) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            result = fileErrorFromErrno(errno);
        if (n <= 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return result;
}

int replaceFileContents(const std::string& path, const std::string& bytes,
                        const std::function<bool()>& stillAsRead)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return FileError::BadFileNameOrNumber;
    // A settings file linked from elsewhere stays a link: the file it names changes.
    std::string target = path;
    struct stat st {
    };
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr)
            return errorFor(path, errno);
        target = resolved;
    }
    mode_t mode = 0666;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return FileError::PathFileAccessError;
        // The rename needs only the folder's permission; a read-only file stays so.
        if (::access(target.c_str(), W_OK) != 0)
            return errorFor(target, errno);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return errorFor(target, errno);
    }
    TempBeside out(target, mode);
    if (out.fd() < 0)
        return out.error();
    // The creation mask may have taken bits the file had.
    if (mode != 0666)
        ::fchmod(out.fd(), mode);
    int result = writeAllBytes(out.fd(), bytes.data(), bytes.size());
    if (const int finished = out.finish(); result == FileError::None)
        result = finished;
    if (result != FileError::None)
        return result;
    if (stillAsRead && !stillAsRead())
        return FileError::ChangedMeanwhile;
    if (::rename(out.path().c_str(), target.c_str()) != 0)
        return errorFor(target, errno);
    out.release();
    return FileError::None;
}
