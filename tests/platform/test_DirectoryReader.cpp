#include "platform/DirectoryReader.h"
#include "platform/FileErrors.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(DirectoryReader, ListsRegularFilesAndDirectoriesOnly)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    writeFile(dir + "/walk01.rf", "x");
    writeFile(dir + "/.hidden.rf", "x");
    QDir().mkpath(dir + "/trials");
    QDir().mkpath(dir + "/.cache");
    QFile::link(dir + "/trials", dir + "/linked");
    QFile::link(dir + "/walk01.rf", dir + "/alias.rf");
    QFile::link(dir + "/nowhere", dir + "/broken.rf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.rf").constData(), 0600), 0);
    // A name that is not valid text in the file system's encoding.
    const QByteArray raw = QFile::encodeName(dir) + "/bad\xff.rf";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    DirectoryContents contents = readDirectory(dir);
    EXPECT_EQ(contents.error, 0);
    ::unlink(raw.constData()); // beyond what the temporary folder can remove
    contents.files.sort();
    contents.directories.sort();
    // It is listed with the replacement character, and marked as such.
    const QString shown = QString::fromUtf8("bad\xef\xbf\xbd.rf");
    EXPECT_EQ(contents.files, (QStringList{"alias.rf", shown, "walk01.rf"}));
    EXPECT_EQ(contents.untranslatable, QSet<QString>{shown});
    EXPECT_EQ(contents.directories, (QStringList{"linked", "trials"}));
}

TEST(DirectoryReader, AnswersThePathErrors)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath("file"), "x");
    const std::pair<QString, int> cases[] = {
        {tmp.filePath("missing"), FileError::PathNotFound},
        {tmp.filePath("file"), FileError::PathNotFound},
        {QString(), FileError::PathNotFound},
    };
    for (const auto& [path, error] : cases)
        EXPECT_EQ(readDirectory(path).error, error) << path.toStdString();
}

TEST(DirectoryReader, ReadsTheStartOfARegularFileOnly)
{
    QTemporaryDir tmp;
    writeFile(tmp.filePath("long.rf"), QByteArray(10000, 'a'));
    writeFile(tmp.filePath("empty.rf"), "");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.filePath("pipe.rf")).constData(), 0600), 0);

    EXPECT_EQ(readFileStart(tmp.filePath("long.rf"), 80).bytes, QByteArray(80, 'a'));
    const FileStart empty = readFileStart(tmp.filePath("empty.rf"), 80);
    EXPECT_EQ(empty.error, 0);
    EXPECT_TRUE(empty.bytes.isEmpty());
    EXPECT_EQ(readFileStart(tmp.filePath("missing.rf"), 80).error, FileError::FileNotFound);
    EXPECT_EQ(readFileStart(tmp.filePath("nodir/x.rf"), 80).error, FileError::PathNotFound);

    // A pipe without a writer would block a plain read for ever.
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(readFileStart(tmp.filePath("pipe.rf"), 80).error, FileError::PathFileAccessError);
    EXPECT_EQ(readFileStart(tmp.path(), 80).error, FileError::PathFileAccessError);
    EXPECT_LT(timer.elapsed(), 1000);
}

} // namespace
