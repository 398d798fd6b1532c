#include "platform/FileErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

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

int openForReadingError(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return FileError::BadFileNameOrNumber;
    // Not blocking, so a named pipe without a writer cannot hang the test.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errorFor(path, errno);
    struct stat st {
    };
    const bool isDirectory = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return isDirectory ? FileError::PathFileAccessError : FileError::None;
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

int copyFileBytes(const std::string& from, const std::string& to, bool replace)
{
    struct stat src {
    };
    struct stat dst {
    };
    if (::stat(from.c_str(), &src) != 0)
        return errorFor(from, errno);
    if (S_ISDIR(src.st_mode))
        return FileError::PathFileAccessError;
    if (::stat(to.c_str(), &dst) == 0) {
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
            return FileError::FileAlreadyOpen; // the same file: copying would empty it
        if (!replace)
            return FileError::FileAlreadyExists;
    }
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errorFor(from, errno);
    const std::string temp = to + ".orvane-copy";
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return errorFor(to, err);
    }
    std::array<char, 65536> buffer{};
    int result = FileError::None;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0) {
            result = fileErrorFromErrno(errno);
            break;
        }
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(out, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0) {
                result = fileErrorFromErrno(errno);
                break;
            }
            done += w;
        }
        if (result != FileError::None)
            break;
    }
    ::close(in);
    if (::close(out) != 0 && result == FileError::None)
        result = fileErrorFromErrno(errno);
    if (result == FileError::None && ::rename(temp.c_str(), to.c_str()) != 0)
        result = errorFor(to, errno);
    if (result != FileError::None)
        ::unlink(temp.c_str());
    return result;
}
