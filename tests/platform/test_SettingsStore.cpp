// The settings files on disk, shared with the suite's sibling programs.

#include "platform/FileErrors.h"
#include "platform/QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    EXPECT_EQ(QDir(m_config.path() + "/kinemora")
                  .entryList({"*.ini", ".*"}, QDir::Files | QDir::Hidden)
                  .size(),
              2)
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

TEST_F(SettingsFiles, AUtf16FileIsReadAndWrittenBackInItsOwnEncoding)
{
    struct Case {
        const char* name;
        QStringEncoder::Encoding encoding;
        QByteArray bom;
    } cases[] = {
        {"little-endian", QStringEncoder::Utf16LE, "\xFF\xFE"},
        {"big-endian", QStringEncoder::Utf16BE, "\xFE\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto utf16 = [&](const QString& text) {
            QStringEncoder encoder(c.encoding);
            return c.bom + QByteArray(encoder.encode(text));
        };
        write(ini("Kinemora"), utf16(QString::fromUtf8("; Éditeur\r\n[Other]\r\nk=1\r\n")));
        EXPECT_EQ(store.get("Kinemora", "Startup", "Datadir", "-"), "-");
        store.save("Kinemora", "Startup", "Datadir", QString::fromUtf8("/home/ana/Éssais"));
        EXPECT_EQ(read(ini("Kinemora")),
                  utf16(QString::fromUtf8("; Éditeur\r\n[Other]\r\nk=1\r\n[Startup]\r\n"
                                          "Datadir=/home/ana/Éssais\r\n")));

        write(ini("Kinemora"), utf16("[Startup]\r\nProgdir=C:\\KIN\r\nDatadir=C:\\DATA\r\n"));
        EXPECT_EQ(store.get("Kinemora", "Startup", "Datadir", "-"), "C:\\DATA");
        store.save("Kinemora", "Startup", "Datadir", "/d");
        EXPECT_EQ(read(ini("Kinemora")), utf16("[Startup]\r\nProgdir=C:\\KIN\r\nDatadir=/d\r\n"));
    }
    // Half a character at the end: rewriting it would change bytes that are not the
    // key's, so the save is refused and said.
    write(ini("Kinemora"), QByteArray("\xFF\xFE[\0S\0]\0\n\0k", 11));
    store.save("Kinemora", "Startup", "Datadir", "/d");
    EXPECT_EQ(read(ini("Kinemora")), QByteArray("\xFF\xFE[\0S\0]\0\n\0k", 11));
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(SettingsFiles, ASaveKeepsEveryLineASiblingAppendsMeanwhile)
{
    write(ini("Kinemora"), "[Startup]\nDatadir=/start\n[Sibling]\n");
    // Another program appends a line at a time, opening the file afresh for each, as
    // the suite's programs log into their settings file.
    const int lines = 1500;
    QProcess sibling;
    sibling.start("/usr/bin/python3",
                  {"-c",
                   "import sys, time\n"
                   "for i in range(int(sys.argv[2])):\n"
                   "    with open(sys.argv[1], 'a') as f: f.write('line%05d=x\\n' % i)\n"
                   "    time.sleep(0.0003)\n",
                   ini("Kinemora"), QString::number(lines)});
    ASSERT_TRUE(sibling.waitForStarted());
    int saves = 0;
    while (sibling.state() != QProcess::NotRunning || saves < 24) {
        store.save("Kinemora", "Startup", "Datadir", "/data/" + QString::number(saves++));
        sibling.waitForFinished(1);
    }
    ASSERT_EQ(sibling.exitCode(), 0) << sibling.readAllStandardError().toStdString();
    const QByteArray text = read(ini("Kinemora"));
    int lost = 0;
    for (int i = 0; i < lines; ++i)
        lost += text.count(QString::asprintf("line%05d=x\n", i).toLatin1()) == 1 ? 0 : 1;
    EXPECT_EQ(lost, 0) << "of " << lines << " lines over " << saves << " saves";
    EXPECT_TRUE(text.startsWith("[Startup]\nDatadir=/data/" + QByteArray::number(saves - 1) +
                                "\n[Sibling]\nline00000=x\n"))
        << text.left(80).toStdString();
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
}

TEST_F(SettingsFiles, ALockThatIsNeverLetGoDelaysTheSaveWithoutStoppingIt)
{
    write(ini("Kinemora"), "[Startup]\nDatadir=/a\n");
    const QByteArray lockName = QFile::encodeName(ini("Kinemora") + ".lock");
    const int held = ::open(lockName.constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    store.save("Kinemora", "Startup", "Datadir", "/b");
    ::close(held);
    EXPECT_EQ(read(ini("Kinemora")), "[Startup]\nDatadir=/b\n");
}
