// The settings files on disk, shared with the suite's sibling programs.

#include "platform/FileErrors.h"
#include "platform/QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace
{
QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

ssize_t diskFullWrite(int, const void*, std::size_t)
{
    errno = ENOSPC;
    return -1;
}

class SettingsFiles : public ::testing::Test
{
protected:
    QString ini(const QString& app) const { return m_config.path() + "/kinemora/" + app + ".ini"; }
    QTemporaryDir m_config;
    QtSettingsStore store{m_config.path()};
    QStringList failures;
    void SetUp() override
    {
        store.saveFailed = [this](const QString& line) { failures << line; };
    }
    void TearDown() override { setWriteCallForTesting(nullptr); }
};
} // namespace

TEST_F(SettingsFiles, ASaveRewritesOnlyItsOwnLineOfASiblingsFile)
{
    const QByteArray sibling = "; written by Kinemora for Windows\r\n"
                               "[Startup]\r\n"
                               "Progdir=C:\\KINEMORA\r\n"
                               "Datadir=C:\\DATA\r\n"
                               "name with spaces=a;b\r\n"
                               "Unknown=\xE9t\xE9\r\n";
    write(ini("Kinemora"), sibling);
    EXPECT_EQ(store.get("Kinemora", "Startup", "Progdir", "-"), "C:\\KINEMORA");
    EXPECT_EQ(store.get("Kinemora", "Startup", "name with spaces", "-"), "a;b");
    EXPECT_EQ(store.get("Kinemora", "Startup", "Unknown", "-"), QString::fromUtf8("été"));
    EXPECT_EQ(store.get("Kinemora", "Startup", "Missing", "-"), "-");

    store.save("Kinemora", "Startup", "Datadir", "/home/ana/Trials");
    QByteArray expected = sibling;
    expected.replace("Datadir=C:\\DATA", "Datadir=/home/ana/Trials");
    EXPECT_EQ(read(ini("Kinemora")), expected);
    // A file in Latin-1 stays Latin-1.
    store.save("Kinemora", "Startup", "Datadir", QString::fromUtf8("/home/ana/Éssais"));
    expected.replace("Datadir=/home/ana/Trials", "Datadir=/home/ana/\xC9ssais");
    EXPECT_EQ(read(ini("Kinemora")), expected);
    EXPECT_EQ(store.get("Kinemora", "Startup", "Datadir", "-"),
              QString::fromUtf8("/home/ana/Éssais"));

    store.save("Orvane", "Startup", "delay", "3");
    EXPECT_EQ(read(ini("Orvane")), "[Startup]\ndelay=3\n");
    store.save("Orvane", "Startup", "pitch", QString::fromUtf8("-12.5 °"));
    EXPECT_EQ(read(ini("Orvane")), "[Startup]\ndelay=3\npitch=-12.5 \xC2\xB0\n");
    EXPECT_EQ(QDir(m_config.path() + "/kinemora").entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file is left";
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
}

TEST_F(SettingsFiles, AFailedSaveIsToldAndLeavesTheFileAsItWas)
{
    write(ini("Kinemora"), "[Startup]\r\nDatadir=C:\\DATA\r\n");
    setWriteCallForTesting(diskFullWrite);
    store.save("Kinemora", "Startup", "Datadir", "/d");
    setWriteCallForTesting(nullptr);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith("Could not save Datadir in " + ini("Kinemora")))
        << failures[0].toStdString();
    EXPECT_TRUE(failures[0].endsWith("Disk full")) << failures[0].toStdString();
    EXPECT_EQ(read(ini("Kinemora")), "[Startup]\r\nDatadir=C:\\DATA\r\n");

    // A folder where the file should be, and a value no line can hold.
    QDir().mkpath(ini("Tessel2"));
    store.save("Tessel2", "Startup", "Datadir", "/d");
    store.save("Kinemora", "Startup", "Datadir", "/a\nb");
    ASSERT_EQ(failures.size(), 3);
    EXPECT_TRUE(failures[1].endsWith("Path/File access error")) << failures[1].toStdString();
    EXPECT_EQ(read(ini("Kinemora")), "[Startup]\r\nDatadir=C:\\DATA\r\n");
    // Saving the value the file already holds writes nothing, so it cannot fail.
    setWriteCallForTesting(diskFullWrite);
    store.save("Kinemora", "Startup", "Datadir", "C:\\DATA");
    EXPECT_EQ(failures.size(), 3);
}
