#include "ToolsFixture.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>

#include <cerrno>

namespace
{

class Menus : public ToolsTest
{
protected:
    void trial(const QString& name, std::initializer_list<const char*> extensions)
    {
        for (const char* extension : extensions)
            dataFile(name + extension);
        s.TrialName = name;
    }
    template <std::size_t N> QString enabled(const std::array<QAction*, N>& items) const
    {
        QString flags;
        for (QAction* a : items)
            flags += a->isVisible() ? (a->isEnabled() ? 'E' : 'd') : '-';
        return flags;
    }
};

TEST_F(Menus, DataConvertAndAnimateFollowTheTrialsFiles)
{
    trial("walk01", {".dg", ".2t", ".km"});
    window->mnuDatafiles_Click();
    EXPECT_EQ(enabled(window->mnuDatafile), "EEEEE");
    window->mnuConverts_Click();
    // "&1T" stays in view, disabled; only the trial's own APAS files show.
    EXPECT_EQ(enabled(window->mnuArielType), "-dE-------");
    window->mnuImages_Click();
    EXPECT_EQ(enabled(window->mnuPictor), "EdEd");

    s.TrialName = "run";
    window->mnuDatafiles_Click();
    EXPECT_EQ(enabled(window->mnuDatafile), "Edddd");
    window->mnuConverts_Click();
    EXPECT_EQ(enabled(window->mnuArielType), "-d--------");
}

TEST_F(Menus, DataConvertAndAnimateCommands)
{
    trial("walk01", {".dg", ".2t", ".km"});
    const QString P = programDir;
    const QString unchanged = "left alone";
    struct Case {
        void (ToolMenus::*handler)(int);
        int item;
        QString program;
        QStringList arguments;
        QString label;
    };
    const Case cases[] = {
        {&ToolMenus::mnuArielType_Click,
         2,
         P + "/Pictor.exe",
         {"/A", "walk01.2t"},
         P + "/Pictor.exe /A walk01.2t"},
        {&ToolMenus::mnuPictor_Click,
         2,
         P + "/Pictor.exe",
         {"/q", "/1", "walk01.km"},
         (P + "/Pictor.exe /q /1 walk01.km").toLower()},
        {&ToolMenus::mnuDatafile_Click, 3, "Notepad.exe", {"walk01.dg"}, unchanged},
        {&ToolMenus::mnuDatafile_Click,
         4,
         P + "/Ordinex.exe",
         {"walk01.dg"},
         P + "/Ordinex.exe walk01.dg"},
    };
    for (const Case& c : cases) {
        window->lblCommand->setText(unchanged);
        (window.get()->*c.handler)(c.item);
        EXPECT_EQ(lastStart().kind, StartedProgram::CommandLine);
        EXPECT_EQ(lastStart().program, c.program);
        EXPECT_EQ(lastStart().argumentList, c.arguments);
        EXPECT_EQ(lastStart().workingDir, dataDir);
        EXPECT_EQ(window->lblCommand->text(), c.label);
    }

    s.FileType = "txt";
    window->mnuConvert_Click(5);
    EXPECT_EQ(lastStart().program, P + "/Morph2DG.exe");
    EXPECT_EQ(lastStart().argumentList, QStringList{"walk01.txt"});
}

TEST_F(Menus, TheCdaFileEnablesTheItemThatConvertsIt)
{
    trial("walk01", {".cda"});
    window->mnuDatafiles_Click();
    EXPECT_EQ(enabled(window->mnuConvert), "dddEdEd");
    window->mnuConvert[3]->trigger();
    EXPECT_EQ(lastStart().program, programDir + "/Pictor.exe");
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/A", "walk01.cda"}));
    EXPECT_EQ(window->CurrentFile, " /A walk01.cda");

    for (int item : {0, 1, 2, 4})
        window->mnuConvert_Click(item);
    window->mnuConvert_Click(6);
    EXPECT_EQ(fp.dialogs.messageTexts(), QStringList(4, NotImplementedText));
    EXPECT_EQ(fp.dialogs.shown[0].title, "Pictor");
    EXPECT_EQ(fp.launcher.started.size(), 1u);

    s.TrialName = "run";
    window->mnuDatafiles_Click();
    EXPECT_FALSE(window->mnuConvert[3]->isEnabled());
}

TEST_F(Menus, WithoutATrialAnimateAndArielOnlyWarn)
{
    window->mnuImages_Click();
    window->mnuAriel_Click();
    EXPECT_EQ(fp.dialogs.messageTexts(),
              QStringList(2, "Select a trial from the Data or Model menus first."));
    EXPECT_EQ(enabled(window->mnuPictor), "EEEE");

    trial("walk01", {".dg"});
    window->filDatafiles->hide();
    window->mnuAriel_Click();
    EXPECT_EQ(fp.dialogs.messageTexts().last(),
              "Select an APAS file (.1T/.3D) from Data menu first.");
    EXPECT_FALSE(window->filDatafiles->isHidden());
}

TEST_F(Menus, AMenuThatMustWarnFirstLetsItselfCloseBeforeTheBox)
{
    emit window->mnuAnimate->aboutToShow();
    EXPECT_TRUE(fp.dialogs.shown.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(fp.dialogs.messageTexts(),
              QStringList{"Select a trial from the Data or Model menus first."});

    // With a trial the states are there before the menu drops down.
    trial("walk01", {".km"});
    emit window->mnuAnimate->aboutToShow();
    EXPECT_EQ(enabled(window->mnuPictor), "ddEd");
    QCoreApplication::processEvents();
    EXPECT_EQ(fp.dialogs.shown.size(), 1u);
}

TEST_F(Menus, SelectingDigitizedDataTakesTheOnlyTrialOrOpensTheDirectoryPanels)
{
    window->drvDrives->hide();
    window->mnuDatafile_Click(0);
    EXPECT_EQ(fp.dialogs.messageTexts(),
              QStringList{"No datafiles in this directory.\nOpen another directory."});
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(window->drvDrives->isHidden());

    dataFile("run02.x.dg");
    window->mnuDatafile_Click(0);
    EXPECT_EQ(s.TrialName, "run02");
    EXPECT_EQ(window->lblTrial->text(), "RUN02");
}

TEST_F(Menus, ModelItemsNeedTheModelThenTheDataThenTheForces)
{
    trial("walk01", {".cfb", ".dg"});
    window->mnuModels_Click();
    EXPECT_EQ(enabled(window->mnuModelItem), "EEdEE");
    dataFile("walk01.rf");
    window->mnuModels_Click();
    EXPECT_EQ(enabled(window->mnuModelItem), "EEEEE");
    QFile::remove(dataDir + "/walk01.cfb");
    window->mnuModels_Click();
    EXPECT_EQ(enabled(window->mnuModelItem), "EdddE");
}

TEST_F(Menus, ModelToolsGetTheTrialName)
{
    trial("walk01", {".cfb", ".dg"});
    fp.dialogs.messageAnswers = {AnswerNo};
    window->mnuModel_Click(1);
    EXPECT_TRUE(fp.launcher.started.empty());

    window->mnuModel_Click(1);
    EXPECT_EQ(lastStart().program, programDir + "/Modeler.exe");
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/C/R/M/F/G", "walk01"}));
    EXPECT_EQ(window->CommandLine, " /C/R/M/F/G walk01");
    EXPECT_EQ(window->lblCommand->text(), programDir + "/Modeler.exe /C/R/M/F/G walk01");

    window->mnuModel_Click(2);
    EXPECT_EQ(lastStart().program, programDir + "/Vesmor.exe");
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/F", "walk01"}));
    EXPECT_EQ(window->lblCommand->text(), programDir + "/Vesmor.exe /F walk01");

    window->mnuModel_Click(3);
    EXPECT_EQ(lastStart().program, "Notepad.exe");
    EXPECT_EQ(lastStart().argumentList, QStringList{"walk01.cfb"});

    // Missing digitized data: the standard warning, nothing started.
    s.TrialName = "run";
    const auto count = fp.launcher.started.size();
    window->mnuModel_Click(2);
    EXPECT_EQ(fp.launcher.started.size(), count);
    EXPECT_TRUE(fp.dialogs.messageTexts().last().startsWith("Error opening file: "));
}

class NewModel : public Menus
{
protected:
    void SetUp() override
    {
        Menus::SetUp();
        dataFile("walk01.cfb", "MODEL");
    }
    void copy(const QString& destination)
    {
        fp.dialogs.fileAnswers = {dataDir + "/walk01.cfb", destination};
        window->mnuModel_Click(4);
    }
};

TEST_F(NewModel, CopiesTheChosenModelUnderTheNewName)
{
    copy(dataDir + "/run02.cfb");
    EXPECT_EQ(contents(dataDir + "/run02.cfb"), "MODEL");
    EXPECT_EQ(s.TrialName, "run02");
    EXPECT_EQ(window->lblTrial->text(), "RUN02");
    EXPECT_EQ(listed(window->filModels), "run02.cfb,walk01.cfb");
    EXPECT_TRUE(fp.dialogs.messageTexts().isEmpty());
    EXPECT_EQ(fp.dialogs.shown[1].title, "Save as");
    EXPECT_TRUE(fp.dialogs.shown[1].request.overwritePrompt);

    // A replacement the save dialog confirmed.
    dataFile("run03.cfb", "OLD");
    copy(dataDir + "/run03.cfb");
    EXPECT_EQ(contents(dataDir + "/run03.cfb"), "MODEL");
}

TEST_F(NewModel, NeverDestroysAModel)
{
    const QString error58 = copyErrorText(58, "File already exists", "\n");
    copy(dataDir + "/walk01.cfb");
    EXPECT_EQ(fp.dialogs.messageTexts(), QStringList{error58});
    EXPECT_EQ(contents(dataDir + "/walk01.cfb"), "MODEL");

    // Confirmed elsewhere, yet the copy lands in the data directory: not confirmed there.
    dataFile("run02.cfb", "OLD");
    QDir().mkpath(tmp.path() + "/other");
    copy(tmp.path() + "/other/run02.cfb");
    EXPECT_EQ(fp.dialogs.messageTexts().last(), error58);
    EXPECT_EQ(contents(dataDir + "/run02.cfb"), "OLD");

    copy(dataDir + "/run03");
    EXPECT_EQ(fp.dialogs.messageTexts().last(), copyErrorText(52, "Bad file name or number", "\n"));
    EXPECT_FALSE(QFile::exists(dataDir + "/run03"));
    EXPECT_EQ(s.TrialName, "run03");
}

namespace
{
ssize_t diskFullWrite(int, const void*, std::size_t)
{
    errno = ENOSPC;
    return -1;
}
} // namespace

TEST_F(NewModel, AFullDiskIsSaidForWhatItIsAndNoOtherFileSuffers)
{
    dataFile("run04.cfb.orvane-copy", "SOMEONE ELSE'S");
    setWriteCallForTesting(diskFullWrite);
    copy(dataDir + "/run04.cfb");
    setWriteCallForTesting(nullptr);
    EXPECT_EQ(
        fp.dialogs.messageTexts(),
        QStringList{"Error 61.  Disk full\nFree some space on that disk, or choose a destination "
                    "on another disk."});
    EXPECT_FALSE(QFile::exists(dataDir + "/run04.cfb"));
    EXPECT_EQ(QDir(dataDir).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"run04.cfb.orvane-copy", "walk01.cfb"}))
        << "no part of the copy is left";

    copy(dataDir + "/run04.cfb");
    EXPECT_EQ(contents(dataDir + "/run04.cfb"), "MODEL");
    EXPECT_EQ(contents(dataDir + "/run04.cfb.orvane-copy"), "SOMEONE ELSE'S");
}

TEST_F(NewModel, CancellingEitherDialogChangesNothing)
{
    s.TrialName = "walk01";
    fp.dialogs.fileAnswers = {std::nullopt};
    window->mnuModel_Click(4);
    fp.dialogs.fileAnswers = {dataDir + "/walk01.cfb", std::nullopt};
    window->mnuModel_Click(4);
    EXPECT_EQ(s.TrialName, "walk01");
    EXPECT_EQ(fp.dialogs.shown.size(), 3u);
    EXPECT_TRUE(fp.dialogs.messageTexts().isEmpty());
}

TEST_F(Menus, AnEmptyModelListOffersANewModel)
{
    fp.dialogs.messageAnswers = {AnswerYes};
    window->mnuModel_Click(0);
    ASSERT_EQ(fp.dialogs.shown.size(), 2u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "No models (.CFB files) in this directory.\nDo you want "
                                        "to create a new model (.CFB) file.");
    EXPECT_EQ(fp.dialogs.shown[1].kind, ShownBox::OpenFile);
    EXPECT_EQ(fp.dialogs.shown[1].title, "Select a model file (.CFB)");
}

TEST_F(Menus, RenameIsOfferedOnceAForceFileWasChosen)
{
    EXPECT_FALSE(window->mnuOpen[2]->isEnabled());
    window->mnuFile_Click();
    EXPECT_FALSE(window->mnuOpen[2]->isEnabled());
    s.ForceFile = "walk01.rf";
    window->mnuFile_Click();
    EXPECT_TRUE(window->mnuOpen[2]->isEnabled());
    s.ForceFile.clear();
    window->mnuFile_Click();
    EXPECT_TRUE(window->mnuOpen[2]->isEnabled());
}

TEST_F(Menus, RenameNeverOverwrites)
{
    dataFile("walk01.rf", "WALK");
    dataFile("run02.rf", "RUN");
    s.ForceFile = "walk01.rf";
    const QString warning = renameErrorText("walk01.rf", 58, "File already exists", "\n");
    // An existing name, then the preset name that a cancelled dialog leaves.
    fp.dialogs.fileAnswers = {dataDir + "/run02.rf", std::nullopt};
    window->mnuOpen_Click(2);
    window->mnuOpen_Click(2);
    EXPECT_EQ(fp.dialogs.messageTexts(), QStringList(2, warning));
    EXPECT_EQ(fp.dialogs.shown[0].request.fileName, "walk01.rf");
    EXPECT_EQ(fp.dialogs.shown[0].title, "Rename file");
    EXPECT_EQ(contents(dataDir + "/walk01.rf"), "WALK");
    EXPECT_EQ(contents(dataDir + "/run02.rf"), "RUN");
}

TEST_F(Menus, ARenamedFileIsListedUnderItsNewName)
{
    dataFile("walk01.rf", "WALK");
    window->cmdRefresh_Click();
    s.ForceFile = "walk01.rf";
    fp.dialogs.fileAnswers = {dataDir + "/walk 02.rf"};
    window->mnuOpen_Click(2);
    EXPECT_TRUE(fp.dialogs.messageTexts().isEmpty());
    EXPECT_EQ(listed(window->filForces), "walk 02.rf");
    EXPECT_EQ(s.ForceFile, "walk01.rf");
    EXPECT_EQ(contents(dataDir + "/walk 02.rf"), "WALK");
}

TEST_F(Menus, AccessoriesAndExplorer)
{
    struct Case {
        int item;
        StartedProgram::Kind kind;
        const char* program;
        WindowStyle style;
    };
    const Case cases[] = {
        {0, StartedProgram::CommandLine, "calc.exe", WindowStyle::NormalFocus},
        {1, StartedProgram::CommandLine, "command.com", WindowStyle::Maximized},
        {2, StartedProgram::CommandLine, "explorer.exe", WindowStyle::NormalFocus},
        {3, StartedProgram::Shell, "notepad.exe", WindowStyle::NormalFocus},
    };
    for (const Case& c : cases) {
        window->mnuDOS[c.item]->trigger();
        EXPECT_EQ(lastStart().kind, c.kind);
        EXPECT_EQ(lastStart().program, c.program);
        EXPECT_EQ(lastStart().argumentList, QStringList{});
        EXPECT_EQ(lastStart().style, c.style);
        EXPECT_EQ(lastStart().workingDir, dataDir);
    }
    window->mnuOpen_Click(1);
    EXPECT_EQ(lastStart().operation, "explore");
    EXPECT_EQ(lastStart().workingDir, dataDir);
    EXPECT_EQ(s.LastResult, 33);
}

TEST_F(Menus, RunAProgramStartsOnlyAFileThatExists)
{
    fp.dialogs.fileAnswers = {programDir + "/gone.exe"};
    window->mnuRun_Click();
    EXPECT_EQ(window->lblCommand->text(), programDir + "/gone.exe");
    EXPECT_TRUE(fp.launcher.started.empty());
    EXPECT_TRUE(fp.dialogs.messageTexts().isEmpty());

    tool("my tool.exe");
    fp.dialogs.fileAnswers = {programDir + "/my tool.exe"};
    QDir::setCurrent(tmp.path());
    window->mnuRun_Click();
    EXPECT_EQ(lastStart().program, programDir + "/my tool.exe");
    EXPECT_EQ(lastStart().argumentList, QStringList{});
    EXPECT_EQ(window->CurrentFile, "");
    EXPECT_EQ(QDir::currentPath(), dataDir);
}

// Notes what the settings store held when each program started.
class SnapshotLauncher : public FakeLauncher
{
public:
    explicit SnapshotLauncher(FakeSettings& settings) : m_settings(settings) {}
    qint64 start(const QString& program, const QStringList& arguments, const QString& workingDir,
                 WindowStyle style) override
    {
        seen << m_settings.values;
        return FakeLauncher::start(program, arguments, workingDir, style);
    }
    QList<QMap<QString, QString>> seen;

private:
    FakeSettings& m_settings;
};

TEST_F(Menus, EachToolButtonStoresTheDataDirectoryBeforeItStarts)
{
    SnapshotLauncher launcher(fp.settings);
    Platform platform{fp.settings, fp.dialogs, launcher,   fp.files,
                      fp.events,   fp.clock,   fp.printer, fp.env};
    SharedState state;
    state.ProgramDir = programDir;
    state.DataDir = dataDir;
    frmOrvane w(state, platform);
    struct Case {
        QPushButton* button;
        const char* application;
        const char* program;
    };
    const Case cases[] = {{w.cmdKinemora, "Kinemora", "/kqwin98.exe"},
                          {w.cmdTessel, "Tessel2", "/tessel2.exe"},
                          {w.cmdEditor, "Kinemora", "/ctledit.exe"},
                          {w.cmdPictor, "Kinemora", "/pictor98.exe"}};
    for (const Case& c : cases) {
        fp.settings.values.clear();
        c.button->setEnabled(true);
        c.button->click();
        const QString key = FakeSettings::name(c.application, "Startup", "Datadir");
        EXPECT_EQ(launcher.seen.last().value(key), dataDir) << c.program;
        EXPECT_EQ(launcher.started.back().program, programDir + c.program);
        EXPECT_EQ(launcher.started.back().argumentList, QStringList{";"});
        EXPECT_EQ(launcher.started.back().style, WindowStyle::NormalFocus);
    }
}

TEST_F(Menus, PrintingWithoutAPrinterWritesAPdfAndSaysWhere)
{
    fp.printer.answer = "Printed to somewhere.pdf";
    fp.dialogs.messageAnswers = {AnswerCancel};
    window->mnuPrint->trigger();
    EXPECT_TRUE(fp.printer.printed.empty());

    window->mnuPrint->trigger();
    ASSERT_EQ(fp.printer.printed.size(), 1u);
    EXPECT_FALSE(fp.printer.printed[0].isNull());
    EXPECT_EQ(fp.printer.fallbacks[0], dataDir + "/main window 1.pdf");
    EXPECT_EQ(window->StatusBarPanels[0]->text(), "Printed to somewhere.pdf");

    dataFile("WALK01 main window 1.pdf");
    s.TrialName = "walk01";
    fp.printer.answer = "Could not write here: No space left on device";
    window->mnuPrint_Click();
    EXPECT_EQ(fp.printer.fallbacks[1], dataDir + "/WALK01 main window 2.pdf");
    // A failure waits in a box with its reason; the status bar keeps the last success.
    EXPECT_EQ(fp.dialogs.messageTexts().last(), fp.printer.answer);
    EXPECT_EQ(window->StatusBarPanels[0]->text(), "Printed to somewhere.pdf");
}

} // namespace

namespace
{

// A trial whose files carry upper-case extensions on disk, and names that a shell or an
// option parser would take apart.
class OnDiskNames : public Menus
{
};

TEST_F(OnDiskNames, EveryFileHandedToAProgramIsTheFileOnDisk)
{
    trial("WALK01", {".CFB", ".DG", ".2T", ".KM", ".CDA", ".TXT"});
    s.TrialName = "walk01";
    s.FileType = "txt";
    struct Case {
        void (ToolMenus::*handler)(int);
        int item;
        QStringList arguments;
    };
    const Case cases[] = {
        {&ToolMenus::mnuModel_Click, 3, {"WALK01.CFB"}},
        {&ToolMenus::mnuDatafile_Click, 3, {"WALK01.DG"}},
        {&ToolMenus::mnuDatafile_Click, 4, {"WALK01.DG"}},
        {&ToolMenus::mnuArielType_Click, 2, {"/A", "WALK01.2T"}},
        {&ToolMenus::mnuPictor_Click, 2, {"/q", "/1", "WALK01.KM"}},
        {&ToolMenus::mnuConvert_Click, 3, {"/A", "WALK01.CDA"}},
        {&ToolMenus::mnuConvert_Click, 5, {"WALK01.TXT"}},
    };
    for (const Case& c : cases) {
        (window.get()->*c.handler)(c.item);
        EXPECT_EQ(lastStart().argumentList, c.arguments) << c.arguments.join(' ').toStdString();
    }
    // The Animate command still shows its line in lower case.
    window->mnuPictor_Click(2);
    EXPECT_EQ(window->lblCommand->text(), (programDir + "/Pictor.exe /q /1 walk01.km").toLower());

    // Where no file exists, the name built from the trial stays.
    window->mnuPictor_Click(3);
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/q", "/1", "walk01.sn"}));
}

TEST_F(OnDiskNames, RunToolGivesCapitalSwitchesAndTheDataFileAsItIs)
{
    tool("Pictor.exe");
    trial("Walk01", {".dg"});
    s.TrialName = "WALK01";
    window->mnuDatafile_Click(2);
    EXPECT_EQ(lastStart().argumentList, QStringList{"Walk01.dg"});
    EXPECT_EQ(s.TargetName, "Walk01.dg");

    window->ToolName = "Pictor";
    EXPECT_FALSE(window->RunTool(programDir + "/Pictor.exe", "/a/c \"Walk01.dg\" gone.dg", false));
    EXPECT_EQ(lastStart().argumentList, (QStringList{"/A/C", "Walk01.dg", "GONE.DG"}));
}

TEST_F(OnDiskNames, NamesWithQuotesBlanksAndShellCharactersStayOneArgument)
{
    const QString names[] = {"a\" extra \"b", "-rf x", "$HOME;ls", "`id`|y"};
    for (const QString& name : names) {
        trial(name, {".cfb", ".dg"});
        fp.dialogs.messageAnswers = {AnswerYes};
        window->mnuModel_Click(1);
        EXPECT_EQ(lastStart().argumentList, (QStringList{"/C/R/M/F/G", name}));
        // What "Command line:" shows reads back as what the tool received.
        const QString shown = window->lblCommand->text().mid(programDir.size() + 12);
        EXPECT_EQ(splitArgumentText(shown), lastStart().argumentList) << shown.toStdString();
        window->mnuModel_Click(3);
        EXPECT_EQ(lastStart().argumentList, QStringList{name + ".cfb"});
    }
}

} // namespace
