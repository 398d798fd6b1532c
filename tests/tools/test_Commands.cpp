#include "tools/Commands.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

TEST(ToolCommands, EachCommandBuildsItsExactArgumentText)
{
    const std::pair<QString, const char*> cases[] = {
        {analysisArguments(AnalysisSwitches, "WALK01.RF"), "/F/I  WALK01.RF"},
        {analysisArguments(RotationSwitches, "WALK01.RF"), "  WALK01.RF"},
        {historyArguments(0, "WALK01.RF"), " /A/C/Z WALK01.RF"},
        {historyArguments(1, "WALK01.RF"), " /A/C/T/Z WALK01.RF"},
        {historyArguments(2, "WALK01.RF"), " /A/C/V/H/Z WALK01.RF"},
        // Without a force file the arguments end with the switches.
        {historyArguments(0, ""), " /A/C/Z "},
        {modelRewriteArguments("walk01"), " /C/R/M/F/G walk01"},
        {addForcesArguments("walk01"), " /F walk01"},
        {arielArguments("walk01.2t"), " /A walk01.2t"},
        {animateArguments("walk01.km"), " /q /1 walk01.km"},
        {cdaArguments("walk01"), " /A walk01.cda"},
        {fileArguments("walk01.txt"), " walk01.txt"},
        {runToolLabel("/Prog/Scalera.exe", "walk01.DG"), "/prog/scalera.exe walk01.dg"},
    };
    for (const auto& [built, expected] : cases)
        EXPECT_EQ(built, QString::fromUtf8(expected));
}

TEST(ToolCommands, FileNamesWithBlanksReachTheToolAsOneArgument)
{
    EXPECT_EQ(analysisArguments(AnalysisSwitches, "my walk.rf"), "/F/I  \"my walk.rf\"");
    EXPECT_EQ(modelRewriteArguments("my trial"), " /C/R/M/F/G \"my trial\"");
    // Shell characters are only text: no shell ever reads them.
    EXPECT_EQ(fileArguments("a;rm -x$(y).dg"), " \"a;rm -x$(y).dg\"");
    EXPECT_EQ(fileArguments("a;b|c.dg"), " a;b|c.dg");
}

TEST(ToolCommands, SignatureSwitchesFollowTheChoicesInTheirFixedOrder)
{
    SignatureChoice defaults;
    EXPECT_EQ(signatureArguments(signatureSwitches(defaults), "WALK01.RF"),
              " /k/2/z/c/a/d WALK01.RF");

    SignatureChoice sagittal;
    sagittal.plate = 1;
    sagittal.view = 0;
    sagittal.colour = sagittal.graphics = sagittal.axes = 0;
    sagittal.skip = 1;
    EXPECT_EQ(signatureArguments(signatureSwitches(sagittal), "WALK01.RF"), " /m/1/z/s WALK01.RF");

    SignatureChoice all;
    all.plate = 2;
    all.view = 2;
    all.foot = 2; // greyed still counts
    all.skip = 1;
    all.dirCorr = 1;
    EXPECT_EQ(signatureSwitches(all), " /3/f/c/a/d/s/d");
}

TEST(ToolCommands, FootprintIsGreyedOnlyForTheSagittalView)
{
    struct Case {
        int view, foot, expected;
    };
    const Case cases[] = {
        {0, 1, 2}, {0, 2, 2}, {0, 0, 0}, {1, 2, 1}, {2, 2, 1}, {1, 1, 1}, {2, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(footprintAfterView(c.view, c.foot), c.expected) << c.view << " " << c.foot;
}

TEST(ToolCommands, ExtensionsOfTheTrialFiles)
{
    EXPECT_EQ(arielExtension(0), ".3d");
    EXPECT_EQ(arielExtension(1), ".1t");
    EXPECT_EQ(arielExtension(9), ".9t");
    const char* animate[] = {".dg", ".cn", ".km", ".sn"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(animateExtension(i), animate[i]);
    EXPECT_EQ(animateExtension(4), "");
    EXPECT_EQ(plotPrinterTool(0), "hardcpd.exe");
    EXPECT_EQ(plotPrinterTool(-1), "hardcpw.exe");
}

TEST(ToolCommands, MessagesJoinTheirLinesWithTheLineFeed)
{
    EXPECT_EQ(outputQuestion("Scalera", "\n"),
              "Do you want to view the output produced by the program, \nSCALERA.  If so, click "
              "Yes to view the output?");
    EXPECT_EQ(renameErrorText("walk01.rf", 58, "File already exists", "\n"),
              "Error renaming file: walk01.rf\n\nError was: \"File already exists\"  (58)");
    EXPECT_EQ(copyErrorText(52, "Bad file name or number", "\n"),
              "Error 52.  Bad file name or number\nYou must specify a complete destination file "
              "name.");
}

TEST(ToolCommands, APrintNeverTakesTheNameOfAnEarlierOne)
{
    QSet<QString> taken;
    const auto isTaken = [&taken](const QString& path) { return taken.contains(path); };
    EXPECT_EQ(printFallbackPath("/data", "frmOrvane", isTaken), "/data/frmOrvane.pdf");
    taken << "/data/frmOrvane.pdf"
          << "/data/frmOrvane-2.pdf";
    EXPECT_EQ(printFallbackPath("/data/", "frmOrvane", isTaken), "/data/frmOrvane-3.pdf");
    EXPECT_EQ(printFallbackPath("/", "w", isTaken), "/w.pdf");
}

} // namespace
