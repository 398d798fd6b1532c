#include "main/PrintWindow.h"
#include "tools/Commands.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

TEST(ToolCommands, FileNamesWithBlanksReachTheToolAsOneArgument)
{
    EXPECT_EQ(analysisArguments(AnalysisSwitches, "my walk.rf"), "/F/I  \"my walk.rf\"");
    EXPECT_EQ(modelRewriteArguments("my trial"), " /C/R/M/F/G \"my trial\"");
    // Shell characters are only text: no shell ever reads them.
    EXPECT_EQ(fileArguments("a;rm -x$(y).dg"), " \"a;rm -x$(y).dg\"");
    EXPECT_EQ(fileArguments("a;b|c.dg"), " a;b|c.dg");
    // Without a force file the history arguments end with the switches.
    EXPECT_EQ(historyArguments(0, ""), " /A/C/Z ");
}

TEST(ToolCommands, EverySignatureOptionAddsItsSwitchInItsPlace)
{
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
