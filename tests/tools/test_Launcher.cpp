#include "ToolsFixture.h"
#include "tools/Commands.h"
#include "tools/frmVectorOp.h"

#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

namespace
{

class Launcher : public ToolsTest
{
protected:
    void chooseForceFile(const QString& name = "WALK01.RF")
    {
        dataFile(name);
        s.ForceFile = name;
    }
    QString status() const { return window->StatusBarPanels[0]->text(); }
};

TEST_F(Launcher, AnalyzeRotateAndNotepadOpenTheForceFileThroughTheShell)
{
    chooseForceFile();
    window->lblCommand->setText("unchanged");
    struct Case {
        int item;
        QString program;
        QStringList arguments;
        const char* commandLine;
    };
    const Case cases[] = {
        {0, programDir + "/Tabulo.exe", {"/F/I", "WALK01.RF"}, "/F/I  WALK01.RF"},
        {2, programDir + "/Swivra.exe", {"WALK01.RF"}, "  WALK01.RF"},
        {4, "notepad.exe", {"WALK01.RF"}, "  WALK01.RF"},
    };
    for (const Case& c : cases) {
        window->mnuForce_Click(c.item);
        const StartedProgram& p = lastStart();
        EXPECT_EQ(p.kind, StartedProgram::Shell);
        EXPECT_EQ(p.operation, "open");
        EXPECT_EQ(p.program, c.program);
        EXPECT_EQ(p.argumentList, c.arguments);
        EXPECT_EQ(window->CommandLine, c.commandLine);
        EXPECT_EQ(p.workingDir, dataDir);
        EXPECT_EQ(p.style, WindowStyle::NormalFocus);
        EXPECT_EQ(s.LastResult, 33);
    }
    EXPECT_EQ(window->lblCommand->text(), "unchanged");
    EXPECT_TRUE(fp.dialogs.shown.empty());

    // The tool is found whatever the case of its name on disk.
    tool("tabulo.exe");
    window->mnuForce_Click(0);
    EXPECT_EQ(lastStart().program, programDir + "/tabulo.exe");
}

TEST_F(Launcher, WithoutAForceFileTheProgramsMenuOnlyAsks)
{
    for (int item = 0; item < 5; ++item)
        window->mnuForce_Click(item);
    EXPECT_EQ(fp.dialogs.messageTexts(), QStringList(5, NoForceFileText));
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fp.launcher.started.empty());
    EXPECT_EQ(window->vectorOp, nullptr);
}

TEST_F(Launcher, HistoriesShowTheirCommandAndStartTheBatchWrapper)
{
    chooseForceFile();
    const char* switches[] = {" /A/C/Z ", " /A/C/T/Z ", " /A/C/V/H/Z "};
    for (int item = 0; item < 3; ++item) {
        window->mnuHistory[item]->trigger();
        const QString arguments = QString(switches[item]) + "WALK01.RF";
        EXPECT_EQ(window->lblCommand->text(), programDir + "/Tymlyn.bat" + arguments);
        EXPECT_EQ(lastStart().kind, StartedProgram::Shell);
        EXPECT_EQ(lastStart().program, programDir + "/Tymlyn.bat");
        EXPECT_EQ(lastStart().argumentList,
                  (QStringList{QString(switches[item]).trimmed(), "WALK01.RF"}));
        EXPECT_EQ(lastStart().workingDir, dataDir);
    }
}

TEST_F(Launcher, ThePlotPrinterCheckMarkFollowsTheChoice)
{
    EXPECT_TRUE(window->mnuHcp[0]->isChecked());
    EXPECT_FALSE(window->mnuHcp[1]->isChecked());
    window->mnuHcp[1]->trigger();
    EXPECT_EQ(s.PlotPrinter, -1);
    EXPECT_FALSE(window->mnuHcp[0]->isChecked());
    EXPECT_TRUE(window->mnuHcp[1]->isChecked());
    window->mnuHcp[0]->trigger();
    EXPECT_EQ(s.PlotPrinter, 0);
    EXPECT_TRUE(window->mnuHcp[0]->isChecked());
    EXPECT_FALSE(window->mnuHcp[1]->isChecked());
    // Choosing the checked item again keeps its mark.
    window->mnuHcp[0]->trigger();
    EXPECT_TRUE(window->mnuHcp[0]->isChecked());
}

TEST_F(Launcher, CommandLineHelpRunsTheChosenProgramAndReturnsToTheDataDirectory)
{
    fp.dialogs.fileAnswers = {QString("/util dir/TOOL.EXE")};
    QDir::setCurrent(tmp.path());
    window->mnuProgHelp->trigger();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].request.initialDir, programDir);
    EXPECT_EQ(fp.dialogs.shown[0].request.title, "Select a program to view its help.");
    ASSERT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(lastStart().kind, StartedProgram::CommandLine);
    EXPECT_EQ(lastStart().program, "/util dir/TOOL.EXE");
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/?", "/Q", "/HELP"}));
    EXPECT_EQ(window->lblCommand->text(), "/util dir/TOOL.EXE /? /Q /HELP");
    EXPECT_EQ(window->CurrentFile, "");
    EXPECT_EQ(QDir::currentPath(), dataDir);

    QDir::setCurrent(tmp.path());
    window->mnuProgHelp_Click(); // cancelled
    EXPECT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(window->lblCommand->text(), "*.exe /? /Q /HELP");
    EXPECT_EQ(QDir::currentPath(), dataDir);
    EXPECT_EQ(window->dlgOpenInitialDir, dataDir);
    EXPECT_EQ(fp.dialogs.messageTexts().size(), 0);
}

TEST_F(Launcher, RunToolWithAMissingToolWarnsAndStartsNothing)
{
    dataFile("walk01.dg");
    s.TrialName = "walk01";
    dataFile("later.out"); // written after the lists were read
    EXPECT_TRUE(window->RunTool(programDir + "/Scalera.exe", "walk01.dg", true));
    EXPECT_TRUE(fp.launcher.started.empty());
    ASSERT_EQ(fp.dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(fp.dialogs.messageTexts()[0].startsWith("Error opening file: "));
    EXPECT_EQ(listed(window->filOutputs), "");
}

TEST_F(Launcher, ScaleraOffersItsOutputAndRefreshesTheLists)
{
    tool("Scalera.exe");
    dataFile("walk01.dg");
    s.TrialName = "walk01";
    dataFile("Scalera.out");
    window->mnuDatafile_Click(1);
    EXPECT_EQ(window->lblCommand->text(), (programDir + "/Scalera.exe walk01.dg").toLower());
    ASSERT_EQ(fp.launcher.started.size(), 2u);
    EXPECT_EQ(fp.launcher.started[0].kind, StartedProgram::Shell);
    EXPECT_EQ(fp.launcher.started[0].program, programDir + "/Scalera.exe");
    // The tool reads its data file under the name it has on disk.
    EXPECT_EQ(fp.launcher.started[0].argumentList, QStringList{"walk01.dg"});
    EXPECT_EQ(fp.launcher.started[0].workingDir, dataDir);
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].title, "View output");
    EXPECT_EQ(fp.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(fp.launcher.started[1].kind, StartedProgram::CommandLine);
    EXPECT_EQ(fp.launcher.started[1].program, "notepad.exe");
    EXPECT_EQ(fp.launcher.started[1].argumentList, QStringList{dataDir + "/Scalera.out"});
    EXPECT_EQ(s.ViewerFile, dataDir + "/Scalera.out");
    EXPECT_EQ(s.LastResult, 0);
    EXPECT_EQ(listed(window->filOutputs), "Scalera.out");

    fp.dialogs.messageAnswers = {AnswerNo};
    window->mnuDatafile_Click(1);
    EXPECT_EQ(fp.launcher.started.size(), 3u);
}

TEST_F(Launcher, AToolThatCannotStartIsNamedInTheStatusBar)
{
    tool("Scalera.exe");
    s.TrialName = "walk01";
    window->ToolName = "Scalera";
    fp.launcher.shellResult = 2;
    EXPECT_TRUE(window->RunTool(programDir + "/Scalera.exe", "walk01.dg", true));
    EXPECT_EQ(s.LastResult, 2);
    EXPECT_EQ(status(), "Could not start Scalera.exe");
    EXPECT_TRUE(fp.dialogs.shown.empty()); // no output to offer

    fp.launcher.nextProcessId = 0;
    window->mnuDOS_Click(0);
    EXPECT_EQ(s.LastResult, 0);
    EXPECT_EQ(status(), "Could not start calc.exe");

    // After a while the panel's notice comes back.
    auto* timer = window->StatusBarPanels[0]->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    timer->start(0);
    for (int i = 0; i < 50 && status() != FixedNoticeText; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(status(), FixedNoticeText);
}

TEST_F(Launcher, CheckToolsSwitchesOffTheCommandsOfMissingTools)
{
    tool("tabulo.exe");
    window->CheckTools();
    EXPECT_TRUE(window->mnuForce[0]->isEnabled());
    for (int i : {1, 2, 3})
        EXPECT_FALSE(window->mnuForce[i]->isEnabled()) << i;
    EXPECT_TRUE(window->mnuForce[4]->isEnabled());
    EXPECT_FALSE(window->mnuDatafile[1]->isEnabled());
}

class SignatureOptions : public Launcher
{
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        chooseForceFile();
        window->mnuForce[3]->trigger();
        op = window->vectorOp;
        ASSERT_NE(op, nullptr);
    }
    frmVectorOp* op = nullptr;
};

TEST_F(SignatureOptions, TheDefaultsStartTheSignatureToolAndAskAboutThePlot)
{
    fp.dialogs.messageAnswers = {AnswerNo};
    op->cmdView_Click();
    EXPECT_EQ(s.SigArguments, " /k/2/z/c/a/d WALK01.RF");
    EXPECT_EQ(s.SigCommand, programDir + "/Marquo.exe");
    EXPECT_EQ(window->lblCommand->text(), programDir + "/Marquo.exe /k/2/z/c/a/d WALK01.RF");
    ASSERT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(lastStart().kind, StartedProgram::Shell);
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/k/2/z/c/a/d", "WALK01.RF"}));
    EXPECT_EQ(lastStart().workingDir, dataDir);
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text,
              "After the program has finished execution click Yes to view the file labelled, "
              "'PREVIEW.PLT'.\nfrom the 'Output files' listbox.");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(s.LastResult, AnswerNo);
}

TEST_F(SignatureOptions, YesPrintsThePlotWithTheChosenPlotPrinter)
{
    const std::pair<int, const char*> cases[] = {{1, "/hardcpw.exe"}, {0, "/hardcpd.exe"}};
    for (const auto& [item, program] : cases) {
        window->mnuHcp_Click(item);
        fp.launcher.started.clear();
        op->cmdView_Click();
        ASSERT_EQ(fp.launcher.started.size(), 2u);
        EXPECT_EQ(lastStart().kind, StartedProgram::CommandLine);
        EXPECT_EQ(lastStart().program, programDir + program);
        EXPECT_EQ(lastStart().argumentList, QStringList{"preview.plt"});
        EXPECT_EQ(s.LastResult, fp.launcher.nextProcessId);
    }
}

TEST_F(SignatureOptions, OptionsChangeTheSwitches)
{
    // Sagittal view, AMTI plate, only the skip factor.
    op->optPlate[1]->click();
    op->optView[0]->click();
    for (TriStateCheckBox* box : {op->chkColour, op->chkGraphics, op->chkAxes})
        box->setValue(0);
    op->chkSkip->setValue(1);
    fp.dialogs.messageAnswers = {AnswerNo};
    op->cmdView_Click();
    EXPECT_EQ(s.SigArguments, " /m/1/z/s WALK01.RF");

    // The three-dimensional view asks nothing.
    op->optView[2]->click();
    fp.dialogs.shown.clear();
    fp.launcher.started.clear();
    op->cmdView_Click();
    EXPECT_TRUE(fp.dialogs.shown.empty());
    EXPECT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(s.SigArguments, " /m/3/s WALK01.RF");

    op->cmdDefaults_Click();
    EXPECT_EQ(op->choice().view, 1);
    EXPECT_EQ(op->choice().plate, 0);
    EXPECT_EQ(op->chkColour->value(), 2);
    EXPECT_EQ(op->chkSkip->value(), 0);
}

TEST_F(SignatureOptions, TheSagittalViewGreysTheFootprintWhichStillCounts)
{
    op->chkFoot->setValue(1);
    op->optView[0]->click();
    EXPECT_EQ(op->chkFoot->value(), 2);
    fp.dialogs.messageAnswers = {AnswerNo};
    op->cmdView_Click();
    EXPECT_EQ(s.SigArguments, " /k/1/z/f/c/a/d WALK01.RF");
    op->optView[1]->click();
    EXPECT_EQ(op->chkFoot->value(), 1);

    // A click on a greyed box clears it; the next ticks it.
    op->chkColour->click();
    EXPECT_EQ(op->chkColour->value(), 0);
    op->chkColour->click();
    EXPECT_EQ(op->chkColour->value(), 1);
}

TEST_F(SignatureOptions, LeavingTheWindowBringsBackTheDefaults)
{
    op->chkSkip->setValue(1);
    op->optView[2]->click();
    QEvent leave(QEvent::WindowDeactivate);
    QApplication::sendEvent(op, &leave);
    EXPECT_EQ(op->chkSkip->value(), 0);
    EXPECT_EQ(op->choice().view, 1);
}

TEST_F(SignatureOptions, EachBoxAddsItsOwnSwitchAndNoOther)
{
    struct Case {
        TriStateCheckBox* box;
        const char* switches;
    };
    const Case cases[] = {
        {op->chkColour, " /k/2/z/c"}, {op->chkGraphics, " /k/2/z/a"}, {op->chkAxes, " /k/2/z/d"},
        {op->chkFoot, " /k/2/z/f"},   {op->chkSkip, " /k/2/z/s"},     {op->chkDirCorr, " /k/2/z/d"},
    };
    for (const Case& c : cases) {
        for (TriStateCheckBox* box : {op->chkColour, op->chkGraphics, op->chkAxes, op->chkFoot,
                                      op->chkSkip, op->chkDirCorr})
            box->setValue(0);
        c.box->click(); // the user ticks this one box
        EXPECT_EQ(c.box->value(), 1) << c.switches;
        fp.dialogs.messageAnswers = {AnswerNo};
        op->cmdView_Click();
        EXPECT_EQ(s.SigArguments, QString(c.switches) + " WALK01.RF")
            << c.box->objectName().toStdString();
    }
}

TEST_F(SignatureOptions, TheDefaultsGreyTheFirstThreeBoxesAndClearTheRest)
{
    struct Case {
        TriStateCheckBox* box;
        Qt::CheckState state;
    };
    const Case cases[] = {
        {op->chkColour, Qt::PartiallyChecked}, {op->chkGraphics, Qt::PartiallyChecked},
        {op->chkAxes, Qt::PartiallyChecked},   {op->chkFoot, Qt::Unchecked},
        {op->chkSkip, Qt::Unchecked},          {op->chkDirCorr, Qt::Unchecked},
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const Case& c : cases)
            c.box->setCheckState(c.state == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
        if (pass == 0)
            op->cmdDefaults_Click();
        else
            op->Form_Activate();
        for (const Case& c : cases)
            EXPECT_EQ(c.box->checkState(), c.state) << c.box->objectName().toStdString();
    }
}

TEST_F(SignatureOptions, NoPlotIsOfferedWhenTheSignatureToolDidNotStart)
{
    fp.launcher.shellResult = 2;
    op->cmdView_Click();
    EXPECT_TRUE(fp.dialogs.shown.empty());
    EXPECT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(status(), "Could not start Marquo.exe");
    EXPECT_EQ(s.LastResult, 2);
}

TEST_F(SignatureOptions, TheKeyboardStartsOnTheChosenPlate)
{
    op->show();
    op->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(op));
    EXPECT_EQ(QApplication::focusWidget(), op->optPlate[0]);
}

TEST_F(SignatureOptions, ClosingOnlyHidesTheWindow)
{
    op->show();
    op->close();
    EXPECT_FALSE(op->isVisible());
    EXPECT_EQ(window->vectorOp, op);
    op->show();
    op->cmdExit_Click();
    EXPECT_FALSE(op->isVisible());
    EXPECT_TRUE(window->isVisible());
}

} // namespace
