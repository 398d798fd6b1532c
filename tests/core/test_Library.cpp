#include "core/Library.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
struct NameCase {
    const char* input;
    const char* expected;
};

void expectAll(QString (*routine)(const QString&), std::initializer_list<NameCase> cases)
{
    for (const NameCase& c : cases)
        EXPECT_EQ(routine(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << c.input;
}
} // namespace

TEST(FileNames, StripExtensionDropsOnlyTheLastExtension)
{
    expectAll(StripExtension, {{"", ""},
                               {"TRIAL", "TRIAL"},
                               {".RF", ".RF"},
                               {"TRIAL.RF", "TRIAL"},
                               {"a.b.rf", "a.b"},
                               {"C:\\MY.DIR\\TRIAL", "C:\\MY"},
                               {"/data/my.dir/trial", "/data/my"}});
}

TEST(FileNames, GetExtensionGivesTheTextAfterTheLastDot)
{
    expectAll(GetExtension, {{"", ""}, {"TRIAL", "TRIAL"}, {"TRIAL.RF", "RF"}, {"a.b.rf", "rf"}});
}

TEST(FileNames, GetBaseNameDropsDirectoryDriveAndExtension)
{
    expectAll(GetBaseName, {{"", ""},
                            {"C:\\DATA\\TRIAL.RF", "TRIAL"},
                            {"A:TRIAL.RF", "TRIAL"},
                            {"/home/ann/data/walk01.rf", "walk01"},
                            {"walk01", "walk01"}});
}

TEST(FileNames, GetDirectoryKeepsNoTrailingSeparatorExceptAtRoots)
{
    expectAll(GetDirectory, {{"", "./"},
                             {"\\", "\\"},
                             {"/", "/"},
                             {"D:", "D:\\"},
                             {"TRIAL.RF", "./"},
                             {"C:\\DATA\\TRIAL.RF", "C:\\DATA"},
                             {"C:\\TRIAL.RF", "C:"},
                             {"/data/walk/W1.RF", "/data/walk"},
                             {"/W1.RF", "/"},
                             {"a", "./"}});
}

TEST(CommandLine, SplitsAtBlanksWithQuotesGroupingAndAtMostTheMaximum)
{
    EXPECT_EQ(splitCommandLine("\"my file.rf\" -x"), (QStringList{"my file.rf", "-x"}));
    EXPECT_EQ(splitCommandLine("  \t "), QStringList{});
    EXPECT_EQ(splitCommandLine("a\tb  c"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine("1 2 3 4 5 6 7 8 9 10 11").size(), 10);
    EXPECT_EQ(splitCommandLine("a b c", 2), (QStringList{"a", "b"}));
    // A tab inside quotes separates; a blank does not.
    EXPECT_EQ(splitCommandLine("\"a\tb c\""), (QStringList{"a", "b c"}));
}

TEST(CommandLine, FirstNonSwitchIsTheTargetAndEarlierSwitchesChooseTheCurrentDirectory)
{
    SharedState s;
    FakePlatform fp;
    s.DataDir = "/saved";
    fp.env.arguments = "-x /y walk.rf other.rf";
    ParseCommandLine(s, fp);
    EXPECT_EQ(s.TargetName, "walk.rf");
    EXPECT_EQ(s.DataDir, QDir::currentPath());

    fp.env.arguments = "/x " + QDir::currentPath();
    ParseCommandLine(s, fp);
    EXPECT_EQ(s.TargetName, QDir::currentPath()) << "an absolute path is no switch";

    s.DataDir = "/saved";
    fp.env.arguments = "";
    ParseCommandLine(s, fp);
    EXPECT_EQ(s.TargetName, "");
    EXPECT_EQ(s.DataDir, "/saved");
}

TEST(CheckOpen, ReportsThePlatformNumbersAndShowsTheStandardMessageOnlyWhenAsked)
{
    SharedState s;
    FakePlatform fp;
    QTemporaryDir dir;
    QFile file(dir.filePath("Walk01.RF"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(CheckOpen(s, fp, dir.path(), "Walk01.RF", 0), 0);
    EXPECT_EQ(CheckOpen(s, fp, dir.path(), "walk01.rf", 0), 0) << "names are found without case";
    EXPECT_EQ(CheckOpen(s, fp, dir.path(), "missing.rf", 0), 53);
    EXPECT_EQ(CheckOpen(s, fp, dir.path() + "/nodir", "missing.rf", 0), 76);
    EXPECT_NE(CheckOpen(s, fp, "", "", 0), 0);
    EXPECT_TRUE(fp.dialogs.shown.empty());

    EXPECT_EQ(CheckOpen(s, fp, dir.path(), "missing.rf", 1), 53);
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    const ShownBox& box = fp.dialogs.shown[0];
    EXPECT_EQ(box.text, "Error opening file: " + dir.path() + "/missing.rf" +
                            "\n\n\"File not found\"  (53)");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.buttons, MessageButtons::OK);
}

// Letter case tells files apart here: the message names the path as it is on disk.
TEST(CheckOpen, TheMessageShowsThePathAsOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Kinemora/Prog/Data.RF")); // a folder: cannot be read
    const QString prog = dir.path() + "/Kinemora/Prog";
    struct Case {
        QString directory;
        QString file;
        QString shown;
    } cases[] = {
        {prog, "scalera.exe", prog + "/scalera.exe"},
        {prog + "/", "Tymlyn.bat", prog + "/Tymlyn.bat"},
        {prog, "data.rf", prog + "/Data.RF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        SharedState s;
        s.LF = "\n";
        FakePlatform fp;
        EXPECT_NE(CheckOpen(s, fp, c.directory, c.file, 1), 0);
        ASSERT_EQ(fp.dialogs.shown.size(), 1u);
        EXPECT_EQ(fp.dialogs.shown[0].text.section(u'\n', 0, 0), "Error opening file: " + c.shown);
    }
}

TEST(Settings, StartupSettingsFallBackToProgramAndCurrentDirectories)
{
    SharedState s;
    FakePlatform fp;
    LoadStartupSettings(s, fp);
    EXPECT_EQ(s.ProgramDir, fp.env.ownDir);
    EXPECT_EQ(s.DataDir, QDir::currentPath());

    fp.settings.values["Kinemora/Startup/Progdir"] = "/opt/kinemora";
    fp.settings.values["Kinemora/Startup/Datadir"] = "/data";
    LoadStartupSettings(s, fp);
    EXPECT_EQ(s.ProgramDir, "/opt/kinemora");
    EXPECT_EQ(s.DataDir, "/data");
}

TEST(ConfirmPrint, KeepsTheAnswerInLastResult)
{
    SharedState s;
    FakePlatform fp;
    fp.dialogs.messageAnswers = {AnswerOK, AnswerCancel};
    EXPECT_TRUE(ConfirmPrint(s, fp));
    EXPECT_EQ(s.LastResult, 1.0);
    EXPECT_FALSE(ConfirmPrint(s, fp));
    EXPECT_EQ(s.LastResult, 2.0);
    EXPECT_EQ(fp.dialogs.shown[0].text, "Press OK to print form or Cancel.");
    EXPECT_EQ(fp.dialogs.shown[0].title, "Confirm Printing");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(fp.dialogs.shown[0].buttons, MessageButtons::OKCancel);
}

TEST(FormatField, RightAlignsInTenColumnsAndNeverCutsALongNumber)
{
    EXPECT_EQ(FormatField(12.5), "   12.5000");
    EXPECT_EQ(FormatField(-0.25), "   -0.2500");
    EXPECT_EQ(FormatField(123456.0), "123456.0000");
}
