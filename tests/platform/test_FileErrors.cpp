#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(FileErrors, OpenTestTellsMissingFileMissingPathAndDirectory)
{
    QTemporaryDir dir;
    write(dir.filePath("a.rf"), "x");
    const std::string base = dir.path().toStdString();
    EXPECT_EQ(openForReadingError(base + "/a.rf"), 0);
    EXPECT_EQ(openForReadingError(base + "/b.rf"), FileError::FileNotFound);
    EXPECT_EQ(openForReadingError(base + "/no/b.rf"), FileError::PathNotFound);
    EXPECT_EQ(openForReadingError(base), FileError::PathFileAccessError);
    EXPECT_EQ(openForReadingError(""), FileError::BadFileNameOrNumber);
    EXPECT_EQ(fileErrorText(53), "File not found");
    EXPECT_EQ(fileErrorText(76), "Path not found");
}

TEST(FileErrors, RenameNeverReplacesAnExistingFile)
{
    QTemporaryDir dir;
    write(dir.filePath("old.rf"), "old");
    write(dir.filePath("taken.rf"), "keep me");
    EXPECT_EQ(renameNoReplace(dir.filePath("old.rf").toStdString(),
                              dir.filePath("taken.rf").toStdString()),
              FileError::FileAlreadyExists);
    EXPECT_EQ(read(dir.filePath("taken.rf")), "keep me");
    EXPECT_EQ(read(dir.filePath("old.rf")), "old");

    EXPECT_EQ(
        renameNoReplace(dir.filePath("old.rf").toStdString(), dir.filePath("new.rf").toStdString()),
        0);
    EXPECT_EQ(read(dir.filePath("new.rf")), "old");
    EXPECT_FALSE(QFile::exists(dir.filePath("old.rf")));
}

TEST(FileErrors, CopyNeverDestroysTheSourceOrAnUnconfirmedTarget)
{
    QTemporaryDir dir;
    write(dir.filePath("model.cfb"), "model");
    write(dir.filePath("other.cfb"), "other");
    const std::string src = dir.filePath("model.cfb").toStdString();

    EXPECT_NE(copyFileBytes(src, src, true), 0) << "copying a file onto itself would empty it";
    EXPECT_NE(copyFileBytes(src, dir.filePath("./model.cfb").toStdString(), true), 0);
    EXPECT_EQ(read(dir.filePath("model.cfb")), "model");

    EXPECT_EQ(copyFileBytes(src, dir.filePath("other.cfb").toStdString(), false),
              FileError::FileAlreadyExists);
    EXPECT_EQ(read(dir.filePath("other.cfb")), "other");
    EXPECT_EQ(copyFileBytes(src, dir.filePath("other.cfb").toStdString(), true), 0);
    EXPECT_EQ(read(dir.filePath("other.cfb")), "model");
    EXPECT_EQ(copyFileBytes(src, dir.filePath("fresh.cfb").toStdString(), false), 0);
    EXPECT_EQ(read(dir.filePath("fresh.cfb")), "model");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file is left";
}

namespace
{
// A write that finds the disk full, put in place of the system's for one test.
ssize_t diskFullWrite(int, const void*, std::size_t)
{
    errno = ENOSPC;
    return -1;
}

struct DiskFullWrites {
    DiskFullWrites() { setWriteCallForTesting(diskFullWrite); }
    ~DiskFullWrites() { setWriteCallForTesting(nullptr); }
};

// A small file system of its own, where the test may mount one; it fills up for real.
class SmallTmpfs
{
public:
    explicit SmallTmpfs(const QString& options)
    {
        QDir(m_dir.path()).mkdir("mnt");
        m_path = m_dir.filePath("mnt");
        const QByteArray where = QFile::encodeName(m_path);
        m_mounted =
            ::mount("tmpfs", where.constData(), "tmpfs", 0, options.toLatin1().constData()) == 0;
    }
    ~SmallTmpfs()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_path + "/" + name; }
    void makeReadOnly()
    {
        const QByteArray where = QFile::encodeName(m_path);
        m_mounted =
            ::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0 ||
            (::umount2(where.constData(), MNT_DETACH), false);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
} // namespace

TEST(FileErrors, EveryErrnoGivesANumberTheSuiteKnowsWithItsText)
{
    struct Case {
        int err;
        int number;
        const char* text;
    } cases[] = {
        {0, 0, ""},
        {ENOENT, 53, "File not found"},
        {ENOTDIR, 76, "Path not found"},
        {ELOOP, 76, "Path not found"},
        {EACCES, 70, "Permission denied"},
        {EPERM, 70, "Permission denied"},
        {EROFS, 70, "Permission denied"},
        {EEXIST, 58, "File already exists"},
        {EBUSY, 55, "File already open"},
        {ETXTBSY, 55, "File already open"},
        {ENAMETOOLONG, 52, "Bad file name or number"},
        {EINVAL, 52, "Bad file name or number"},
        {EBADF, 52, "Bad file name or number"},
        {ENOSPC, 61, "Disk full"},
        {EDQUOT, 61, "Disk full"},
        {EISDIR, 75, "Path/File access error"},
        {EIO, 75, "Path/File access error"},
        {ENXIO, 75, "Path/File access error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(fileErrorFromErrno(c.err), c.number);
        EXPECT_EQ(fileErrorText(c.number), c.text);
    }
    // A message shows the number with what it means, never a bare "Error 61".
    for (int err = 1; err < 134; ++err) {
        const std::string text = fileErrorText(fileErrorFromErrno(err));
        EXPECT_FALSE(text.empty() || text.rfind("Error ", 0) == 0) << err << ": " << text;
    }
}

TEST(FileErrors, CopyUsesAFreshTemporaryFileAndLeavesNothingOfItsOwn)
{
    QTemporaryDir dir;
    write(dir.filePath("model.cfb"), "model");
    write(dir.filePath("new.cfb.orvane-copy"), "someone's file");
    write(dir.filePath("kept.cfb"), "kept");
    write(dir.filePath("kept.cfb.orvane-copy"), "another");
    const std::string src = dir.filePath("model.cfb").toStdString();

    EXPECT_EQ(copyFileBytes(src, dir.filePath("new.cfb").toStdString(), false), 0);
    EXPECT_EQ(copyFileBytes(src, dir.filePath("kept.cfb").toStdString(), true), 0);
    EXPECT_EQ(read(dir.filePath("new.cfb")), "model");
    EXPECT_EQ(read(dir.filePath("kept.cfb")), "model");
    EXPECT_EQ(read(dir.filePath("new.cfb.orvane-copy")), "someone's file");
    EXPECT_EQ(read(dir.filePath("kept.cfb.orvane-copy")), "another");
    EXPECT_EQ(filesIn(dir.path()).size(), 5);

    // Neither a pipe nor a device is a model: the copy refuses at once.
    const std::string fifo = dir.filePath("pipe.cfb").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(copyFileBytes(fifo, dir.filePath("p.cfb").toStdString(), false),
              FileError::PathFileAccessError);
    EXPECT_EQ(copyFileBytes("/dev/zero", dir.filePath("z.cfb").toStdString(), false),
              FileError::PathFileAccessError);
    EXPECT_EQ(filesIn(dir.path()).size(), 6) << filesIn(dir.path()).join(' ').toStdString();
}

TEST(FileErrors, AFullDiskLeavesTheTargetAsItWasAndSaysDiskFull)
{
    QTemporaryDir dir;
    write(dir.filePath("model.cfb"), QByteArray(200000, 'm'));
    write(dir.filePath("old.cfb"), "old");
    const std::string src = dir.filePath("model.cfb").toStdString();
    {
        DiskFullWrites full;
        EXPECT_EQ(copyFileBytes(src, dir.filePath("old.cfb").toStdString(), true),
                  FileError::DiskFull);
        EXPECT_EQ(copyFileBytes(src, dir.filePath("new.cfb").toStdString(), false),
                  FileError::DiskFull);
        EXPECT_EQ(replaceFileContents(dir.filePath("old.cfb").toStdString(), "x"),
                  FileError::DiskFull);
    }
    EXPECT_EQ(read(dir.filePath("old.cfb")), "old");
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"model.cfb", "old.cfb"}));

    SmallTmpfs small("size=64k");
    if (!small.mounted())
        GTEST_SKIP() << "no right to mount a small file system here";
    write(small.filePath("old.cfb"), "old");
    EXPECT_EQ(copyFileBytes(src, small.filePath("new.cfb").toStdString(), false),
              FileError::DiskFull);
    EXPECT_EQ(copyFileBytes(src, small.filePath("old.cfb").toStdString(), true),
              FileError::DiskFull);
    EXPECT_EQ(
        replaceFileContents(small.filePath("old.cfb").toStdString(), std::string(200000, 'x')),
        FileError::DiskFull);
    EXPECT_EQ(read(small.filePath("old.cfb")), "old");
    EXPECT_EQ(filesIn(small.filePath("")), QStringList{"old.cfb"});
}

TEST(FileErrors, ReplacingAFileKeepsItsLinkAndModeAndRefusesAReadOnlyPlace)
{
    QTemporaryDir dir;
    write(dir.filePath("real.ini"), "old");
    ::chmod(dir.filePath("real.ini").toLocal8Bit().constData(), 0640);
    ASSERT_EQ(::symlink("real.ini", dir.filePath("link.ini").toLocal8Bit().constData()), 0);
    EXPECT_EQ(replaceFileContents(dir.filePath("link.ini").toStdString(), "new"), 0);
    EXPECT_EQ(read(dir.filePath("real.ini")), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("link.ini")).isSymLink());
    struct stat st {
    };
    ASSERT_EQ(::stat(dir.filePath("real.ini").toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(filesIn(dir.path()).size(), 2);

    SmallTmpfs small("size=64k");
    if (!small.mounted())
        GTEST_SKIP() << "no right to mount a small file system here";
    write(small.filePath("shared.ini"), "old");
    small.makeReadOnly();
    ASSERT_TRUE(small.mounted());
    EXPECT_EQ(replaceFileContents(small.filePath("shared.ini").toStdString(), "new"),
              FileError::PermissionDenied);
    EXPECT_EQ(replaceFileContents(small.filePath("fresh.ini").toStdString(), "new"),
              FileError::PermissionDenied);
    EXPECT_EQ(read(small.filePath("shared.ini")), "old");
}
