// "&Load Data" on files that cannot be read, and what the user is told.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "main/frmOrvane.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const QByteArray TwoRecords =
    "WALK                                                               500\r\n"
    "SUBJECT                                                          700.0\r\n"
    "\r\n"
    "       1.0       2.0     300.0      10.0      20.0       0.5       0.0        1\r\n"
    "       1.0       2.0     301.0      10.0      20.0       0.5       0.0        2\r\n";

class LoadData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dataDir = m_data.path();
        s.DataDir = dataDir;
        QFile f(dataDir + "/WALK.RF");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TwoRecords);
    }

    FakePlatform fp;
    SharedState s;
    QString dataDir;

private:
    QTemporaryDir m_data;
};
} // namespace

TEST_F(LoadData, AFileThatCannotBeReadIsNamedWithTheReason)
{
    QDir(dataDir).mkdir("FOLDER.RF");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dataDir + "/PIPE.RF").constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dataDir + "/FED.RF").constData(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(dataDir + "/ZERO.RF").constData()), 0);
    // A writer that streams without line ends and never closes.
    const int writer =
        ::open(QFile::encodeName(dataDir + "/FED.RF").constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_GT(::write(writer, "1234567890", 10), 0);

    struct Case {
        const char* file;
        const char* reason;
    } cases[] = {
        {"GONE.RF", "\"File not found\"  (53)"},
        {"FOLDER.RF", "\"Path/File access error\"  (75)"},
        {"PIPE.RF", "\"Path/File access error\"  (75)"},
        {"FED.RF", "\"Path/File access error\"  (75)"},
        {"ZERO.RF", "\"Path/File access error\"  (75)"},
    };
    frmOrvane w(s, fp);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fp.dialogs.shown.clear();
        fp.settings.saved.clear();
        s.forces.RecordCount = 7;
        s.ForceFile = c.file;
        w.cmdReadForces_Click();
        ASSERT_EQ(fp.dialogs.shown.size(), 1u);
        EXPECT_EQ(fp.dialogs.shown[0].text,
                  "Error opening file: " + dataDir + "/" + c.file + "\n\n" + c.reason);
        EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(w.readingDialog(), nullptr);
        EXPECT_EQ(s.forces.RecordCount, 7) << "the table is left alone";
        EXPECT_EQ(fp.settings.saved, QStringList{"Kinemora/Startup/Datadir"});
    }
    ::close(writer);
}

TEST_F(LoadData, APipeNamedOnTheCommandLineIsNotRead)
{
    const QString fed = dataDir + "/FED.RF";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fed).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fed).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_GT(::write(writer, "1234567890", 10), 0);
    const QString startDir = QDir::currentPath();
    fp.settings.values["Kinemora/Startup/Datadir"] = dataDir;
    fp.env.arguments = fed;
    {
        frmOrvane w(s, fp);
        w.Form_Load();
        EXPECT_EQ(w.readingDialog(), nullptr);
        EXPECT_EQ(s.TrialFromCommandLine, 0);
        EXPECT_EQ(s.OpenError, 75);
    }
    QDir::setCurrent(startDir);
    ::close(writer);
}

// The reason must be read and acted on: a box, not a status panel that cuts it off.
TEST_F(LoadData, ASettingThatCannotBeSavedIsToldInABox)
{
    QTemporaryDir config;
    QDir().mkpath(config.path() + "/kinemora/Kinemora.ini"); // a folder in the file's place
    QtSettingsStore settings(config.path());
    Platform platform{settings,  fp.dialogs, fp.launcher, fp.files,
                      fp.events, fp.clock,   fp.printer,  fp.env};
    frmOrvane w(s, platform);
    s.ForceFile = "WALK.RF";
    w.cmdReadForces_Click();
    EXPECT_EQ(s.forces.RecordCount, 2);
    EXPECT_EQ(fp.dialogs.messageTexts().join('|'),
              "Could not save Datadir in " + config.path() +
                  "/kinemora/Kinemora.ini: Path/File access error");
    EXPECT_EQ(fp.dialogs.shown.back().icon, MessageIcon::Exclamation);
}
