#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
