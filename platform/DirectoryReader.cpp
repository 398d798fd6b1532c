#include "platform/DirectoryReader.h"

#include "platform/FileErrors.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A missing directory is a path that cannot be found, whatever errno says.
int directoryError(int err)
{
    return err == ENOENT ? FileError::PathNotFound : fileErrorFromErrno(err);
}
} // namespace

DirectoryContents readDirectory(const QString& dir)
{
    DirectoryContents contents;
    if (dir.isEmpty()) {
        contents.error = FileError::PathNotFound;
        return contents;
    }
    const QByteArray encoded = QFile::encodeName(dir);
    DIR* handle = ::opendir(encoded.constData());
    if (!handle) {
        contents.error = directoryError(errno);
        return contents;
    }
    const int fd = ::dirfd(handle);
    errno = 0;
    while (const dirent* entry = ::readdir(handle)) {
        const char* raw = entry->d_name;
        if (raw[0] == '.')
            continue;
        const QByteArray rawName(raw);
        const QString name = QFile::decodeName(rawName);
        bool lossy = QFile::encodeName(name) != rawName;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st {
            };
            if (::fstatat(fd, raw, &st, 0) != 0)
                continue; // a broken link
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            contents.directories << name;
        else if (type == DT_REG)
            contents.files << name;
        else
            lossy = false;
        if (lossy)
            contents.untranslatable.insert(name);
        errno = 0;
    }
    if (errno != 0)
        contents.error = directoryError(errno);
    ::closedir(handle);
    return contents;
}

FileStart readFileStart(const QString& path, int maxBytes)
{
    FileStart start;
    const QByteArray encoded = QFile::encodeName(path);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        start.error = fileErrorFromErrno(errno);
        if (errno == ENOENT)
            start.error = openForReadingError(encoded.toStdString());
        return start;
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        start.error = FileError::PathFileAccessError;
        return start;
    }
    start.bytes.resize(std::max(0, maxBytes));
    qsizetype filled = 0;
    while (filled < start.bytes.size()) {
        const ssize_t got = ::read(fd, start.bytes.data() + filled, start.bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            start.error = fileErrorFromErrno(errno);
            break;
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    start.bytes.truncate(filled);
    return start;
}

bool caseSensitiveFileNames()
{
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}
