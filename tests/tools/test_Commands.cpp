#include "core/PrintWindow.h"
#include "platform/ArgumentText.h"
#include "tools/Commands.h"

#include <QSet>
#include <gtest/gtest.h>

namespace
{

TEST(ToolCommands, EveryFileNameReachesTheToolAsOneArgument)
{
    struct Case {
        ToolArguments arguments;
        const char* text;
        QStringList list;
    };
    const Case cases[] = {
        {analysisArguments(AnalysisSwitches, "WALK01.RF"),
         "/F/I  WALK01.RF",
         {"/F/I", "WALK01.RF"}},
        {analysisArguments(RotationSwitches, "WALK01.RF"), "  WALK01.RF", {"WALK01.RF"}},
        {analysisArguments(AnalysisSwitches, "my walk.rf"),
         "/F/I  \"my walk.rf\"",
         {"/F/I", "my walk.rf"}},
        {modelRewriteArguments("my trial"), " /C/R/M/F/G \"my trial\"", {"/C/R/M/F/G", "my trial"}},
        {addForcesArguments("a\" extra \"b"), " /F \"a\"\" extra \"\"b\"", {"/F", "a\" extra \"b"}},
        // Shell characters are only text: no shell ever reads them.
        {fileArguments("a;rm -x$(y).dg"), " \"a;rm -x$(y).dg\"", {"a;rm -x$(y).dg"}},
        {fileArguments("a;b|c.dg"), " a;b|c.dg", {"a;b|c.dg"}},
        {fileArguments("-x.cfb"), " -x.cfb", {"-x.cfb"}},
        {arielArguments("WALK01.2T"), " /A WALK01.2T", {"/A", "WALK01.2T"}},
        {animateArguments("WALK01.KM"), " /q /1 WALK01.KM", {"/q", "/1", "WALK01.KM"}},
        {cdaArguments("$x.cda"), " /A $x.cda", {"/A", "$x.cda"}},
        {historyArguments(2, "WALK01.RF"), " /A/C/V/H/Z WALK01.RF", {"/A/C/V/H/Z", "WALK01.RF"}},
        {signatureArguments(" /k/2/z", "a b.rf"), " /k/2/z \"a b.rf\"", {"/k/2/z", "a b.rf"}},
        // Without a force file the history arguments end with the switches.
        {historyArguments(0, ""), " /A/C/Z ", {"/A/C/Z"}},
        {switchesAndName("/X", "run"), "/X run", {"/X", "run"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.arguments.text, c.text);
        EXPECT_EQ(c.arguments.list, c.list) << c.text;
        // What "Command line:" shows reads back as what the tool receives.
        EXPECT_EQ(splitArgumentText(c.arguments.text), c.arguments.list) << c.text;
    }
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
    EXPECT_EQ(copyErrorText(61, "Disk full", "\n"),
              "Error 61.  Disk full\nFree some space on that disk, or choose a destination on "
              "another disk.");
}

TEST(ToolCommands, APrintIsNamedInWordsAndNeverTakesTheNameOfAnEarlierOne)
{
    QSet<QString> taken;
    const auto isTaken = [&taken](const QString& path) { return taken.contains(path); };
    struct Case {
        const char* dir;
        const char* trial;
        QString words;
        const char* path;
    };
    const Case cases[] = {
        {"/data", "WALK01", printedWindowWords("frmAnimForces", "Animate"),
         "/data/WALK01 animation 1.pdf"},
        {"/data/", "", printedWindowWords("frmOrvane", "Orvane"), "/data/main window 1.pdf"},
        {"/data", "RUN", printedWindowWords("frmRF", "x"), "/data/RUN force listing 1.pdf"},
        {"/data", "A/B", printedWindowWords("graphWindow", " Force graph "),
         "/data/A_B Force graph 1.pdf"},
        {"/", "", printedWindowWords("", ""), "/window 1.pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printFallbackPath(c.dir, c.trial, c.words, isTaken), c.path) << c.path;

    taken << "/data/WALK01 animation 1.pdf"
          << "/data/WALK01 animation 2.pdf";
    EXPECT_EQ(printFallbackPath("/data", "WALK01", "animation", isTaken),
              "/data/WALK01 animation 3.pdf");
}

} // namespace
