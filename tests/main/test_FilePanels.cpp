#include "FilePanelsFixture.h"

namespace
{

TEST_F(FilePanels, EnteringADirectoryListsEachPanelsFilesWithoutRegardToCase)
{
    for (const char* name : {"walk01.dg", "WALK02.DG", "run.1T", "walk01.cfb", "WALK01.RF",
                             "walk01.rf2", "jump.RR2", "tabulo.out", "PREVIEW.PLT", "m.acd",
                             "notes.txt", ".hidden.rf", "walk 01.rf", "g\u00e5ng.rf", "a;b$(c).rf"})
        writeFile(data + "/" + QString::fromUtf8(name));
    s.TrialName = "old";
    s.FileType = "rf";
    enter();

    EXPECT_EQ(names(window->filDatafiles), (QStringList{"run.1T", "walk01.dg", "WALK02.DG"}));
    EXPECT_EQ(names(window->filModels), QStringList{"walk01.cfb"});
    EXPECT_EQ(names(window->filForces),
              (QStringList{"a;b$(c).rf", QString::fromUtf8("g\u00e5ng.rf"), "jump.RR2",
                           "walk 01.rf", "WALK01.RF", "walk01.rf2"}));
    EXPECT_EQ(names(window->filOutputs), (QStringList{"m.acd", "PREVIEW.PLT", "tabulo.out"}));
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());
    EXPECT_EQ(QDir::currentPath(), s.DataDir);
    EXPECT_EQ(window->lblPath->text(), s.DataDir) << "letter case names another folder";
    EXPECT_EQ(window->lblTrial->text(), "none");
    EXPECT_TRUE(s.TrialName.isEmpty());
    EXPECT_TRUE(s.FileType.isEmpty());

    // The directory list: the path's ancestors, then its one sub-directory.
    const QListWidget* dirs = window->dirSelect;
    ASSERT_GE(dirs->count(), 3);
    EXPECT_EQ(dirs->item(0)->text(), "/");
    EXPECT_EQ(dirs->item(dirs->count() - 2)->text(), "data");
    EXPECT_EQ(dirs->item(dirs->count() - 1)->text(), "sub");
    EXPECT_EQ(dirs->currentItem()->text(), "data");
    EXPECT_EQ(window->drvDrives->currentText(), "/");
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(FilePanels, ADirectoryThatCannotBeEnteredIsRefusedQuietlyAtStartUp)
{
    EXPECT_FALSE(window->enterDataDirectory(tmp.filePath("gone")));
    EXPECT_FALSE(window->enterDataDirectory("   "));
    writeFile(tmp.filePath("plain"));
    EXPECT_FALSE(window->enterDataDirectory(tmp.filePath("plain")));
    EXPECT_TRUE(fp.dialogs.shown.empty());
    // Blanks around a saved directory and a doubled separator do not matter.
    EXPECT_TRUE(window->enterDataDirectory("  " + data + "//  "));
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());
}

TEST_F(FilePanels, TheRootOfTheFileSystemIsADirectoryLikeAnyOther)
{
    enter();
    window->dirSelectPath = "/";
    window->dirSelect_Change();
    EXPECT_EQ(s.DataDir, "/");
    EXPECT_EQ(window->lblPath->text(), "/");
    EXPECT_EQ(QDir::currentPath(), "/");
    EXPECT_EQ(window->dirSelect->item(0)->text(), "/");
    EXPECT_EQ(window->dirSelect->currentRow(), 0);
    EXPECT_GT(window->dirSelect->count(), 1);
}

TEST_F(FilePanels, ChoosingAFileSetsTheTrialAndItsType)
{
    for (const char* name : {"a.b.dg", "walk01.dg", "m.x.cfb", "a.b.rf", "WALK01.RF"})
        writeFile(data + "/" + name);
    enter();
    struct Case {
        QListWidget* list;
        void (frmOrvane::*click)();
        const char* name;
        const char* trial;
        const char* type;
        const char* shown;
    };
    const Case cases[] = {
        {window->filDatafiles, &frmOrvane::filDatafiles_Click, "a.b.dg", "a", "b.dg", "A.b.dg"},
        {window->filDatafiles, &frmOrvane::filDatafiles_Click, "walk01.dg", "walk01", "dg",
         "WALK01.dg"},
        {window->filForces, &frmOrvane::filForces_Click, "a.b.rf", "a.b", "rf", "A.B.RF"},
        {window->filForces, &frmOrvane::filForces_Click, "WALK01.RF", "WALK01", "RF", "WALK01.RF"},
        // A model changes the trial and leaves the type as it was.
        {window->filModels, &frmOrvane::filModels_Click, "m.x.cfb", "m", "RF", "M"},
    };
    for (const Case& c : cases) {
        choose(c.list, c.name);
        ((*window).*c.click)();
        EXPECT_EQ(s.TrialName, c.trial) << c.name;
        EXPECT_EQ(s.FileType, c.type) << c.name;
        EXPECT_EQ(window->lblTrial->text(), c.shown) << c.name;
    }
    EXPECT_EQ(s.ForceFile, "WALK01.RF");
    EXPECT_EQ(window->CurrentFile, "WALK01.RF");
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(FilePanels, TheForceButtonsFollowWhetherTheChosenFileIsTheOneRead)
{
    for (const char* name : {"walk01.rf", "WALK01.RF", "jump.rf"})
        writeFile(data + "/" + name, QByteArray(name) + " title\r\n");
    enter();
    s.LoadedForceFile = "walk01.rf";
    struct Case {
        const char* name;
        bool read, view;
        const char* trial; // names that differ only in case are shown as on disk
    };
    for (const Case& c : {Case{"walk01.rf", false, true, "walk01.rf"},
                          Case{"jump.rf", true, false, "JUMP.RF"},
                          Case{"WALK01.RF", true, false, "WALK01.RF"},
                          Case{"walk01.rf", false, true, "walk01.rf"}}) {
        choose(window->filForces, c.name);
        window->filForces_Click();
        EXPECT_EQ(window->cmdReadForces->isEnabled(), c.read) << c.name;
        EXPECT_EQ(window->cmdViewForces->isEnabled(), c.view) << c.name;
        EXPECT_EQ(window->cmdAnimate->isEnabled(), c.view) << c.name;
        EXPECT_EQ(window->lblTitle->text(), QString(c.name) + " title");
        EXPECT_EQ(window->lblTrial->text(), c.trial);
    }
    // A refresh that keeps the choice shows the title the file holds now.
    writeFile(data + "/walk01.rf", "rewritten by a tool\r\n");
    window->refreshFileList(window->filForces);
    EXPECT_EQ(window->lblTitle->text(), "rewritten by a tool");
}

TEST_F(FilePanels, DataFilesAndModelsThatDifferOnlyInCaseAreShownAsOnDisk)
{
    for (const char* name : {"walk01.dg", "Walk01.Dg", "run.dg", "m.cfb", "M.CFB", "k.cfb"})
        writeFile(data + "/" + name);
    enter();
    struct Case {
        QListWidget* list;
        void (frmOrvane::*click)();
        const char* name;
        const char* trial;
    } cases[] = {
        {window->filDatafiles, &frmOrvane::filDatafiles_Click, "Walk01.Dg", "Walk01.Dg"},
        {window->filDatafiles, &frmOrvane::filDatafiles_Click, "run.dg", "RUN.dg"},
        {window->filModels, &frmOrvane::filModels_Click, "m.cfb", "m"},
        {window->filModels, &frmOrvane::filModels_Click, "k.cfb", "K"},
    };
    for (const Case& c : cases) {
        choose(c.list, c.name);
        (window.get()->*c.click)();
        EXPECT_EQ(window->lblTrial->text(), c.trial) << c.name;
    }
}

TEST_F(FilePanels, AnUnreadableForceFileKeepsItsChoiceAndSaysSo)
{
    writeFile(data + "/empty.rf", "");
    // A first "line" of 10 MB of binary without a line end.
    QByteArray binary(10 * 1024 * 1024, '\x01');
    binary.replace(0, 8,
                   QByteArray("\x7f"
                              "ELF\0\xff<b>",
                              8));
    writeFile(data + "/binary.rf", binary);
    writeFile(data + "/vanishing.rf");
    enter();

    choose(window->filForces, "empty.rf");
    window->filForces_Click();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "File is empty or unreadable.  Select another file.");
    EXPECT_EQ(fp.dialogs.shown[0].title, "Unreadable File");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window->lblTitle->text(), "Unreadable or empty file.");
    EXPECT_EQ(s.ForceFile, "empty.rf");
    EXPECT_EQ(s.TrialName, "empty");
    EXPECT_TRUE(window->cmdReadForces->isEnabled());

    QFile::remove(data + "/vanishing.rf");
    choose(window->filForces, "vanishing.rf");
    window->filForces_Click();
    EXPECT_EQ(fp.dialogs.shown.size(), 2u);
    EXPECT_EQ(window->lblTitle->text(), "Unreadable or empty file.");

    QElapsedTimer timer;
    timer.start();
    choose(window->filForces, "binary.rf");
    window->filForces_Click();
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(fp.dialogs.shown.size(), 2u);
    EXPECT_LE(window->lblTitle->text().size(), 4096);
    EXPECT_EQ(QFileInfo(data + "/binary.rf").size(), binary.size());
}

TEST_F(FilePanels, EmptyListsAndMissingChoicesShowTheirMessages)
{
    writeFile(data + "/walk01.rf");
    writeFile(data + "/run.out");
    enter();
    window->filForces->clearSelection();
    window->filOutputs->clearSelection();
    struct Case {
        void (frmOrvane::*handler)();
        const char* text;
        MessageIcon icon;
    };
    const Case onceChosen[] = {
        {&frmOrvane::filForces_Click, "No force file was selected.", MessageIcon::Exclamation},
        {&frmOrvane::filForces_DblClick, "No force file was selected.", MessageIcon::Exclamation},
        {&frmOrvane::filOutputs_Click, "No output file was selected.", MessageIcon::Information},
    };
    for (const Case& c : onceChosen) {
        fp.dialogs.shown.clear();
        ((*window).*c.handler)();
        ASSERT_EQ(fp.dialogs.shown.size(), 1u) << c.text;
        EXPECT_EQ(fp.dialogs.shown[0].text, c.text);
        EXPECT_EQ(fp.dialogs.shown[0].icon, c.icon) << c.text;
        EXPECT_TRUE(fp.dialogs.shown[0].title.isEmpty());
    }

    window->dirSelectPath = data + "/sub";
    window->dirSelect_Change();
    const Case empty[] = {
        {&frmOrvane::filDatafiles_Click, "No datafiles (*.DG) in this subdirectory.",
         MessageIcon::Critical},
        {&frmOrvane::filModels_Click, "No models (.CFB) in this subdirectory.",
         MessageIcon::Critical},
        {&frmOrvane::filForces_Click, "No force files in this directory.",
         MessageIcon::Information},
        {&frmOrvane::filForces_DblClick, "No force files in this directory.",
         MessageIcon::Information},
        {&frmOrvane::filOutputs_Click, "No output files in this directory.", MessageIcon::None},
    };
    for (const Case& c : empty) {
        fp.dialogs.shown.clear();
        ((*window).*c.handler)();
        ASSERT_EQ(fp.dialogs.shown.size(), 1u) << c.text;
        EXPECT_EQ(fp.dialogs.shown[0].text, c.text);
        EXPECT_EQ(fp.dialogs.shown[0].icon, c.icon) << c.text;
        EXPECT_EQ(fp.dialogs.shown[0].buttons, MessageButtons::OK);
    }
    EXPECT_TRUE(fp.launcher.started.empty());
}

TEST_F(FilePanels, EachOutputFileOpensInItsViewer)
{
    for (const char* name : {"run.out", "RUN.OUT", "run.Out", "x.plt", "m.acd", "a.b.out"})
        writeFile(data + "/" + name);
    enter();
    const QString dataDir = s.DataDir;
    struct Case {
        const char* name;
        int16_t plotPrinter;
        StartedProgram::Kind kind;
        QString program;
        QString arguments;
    };
    const Case cases[] = {
        {"run.out", 0, StartedProgram::CommandLine, "notepad.exe", "run.out"},
        {"RUN.OUT", 0, StartedProgram::CommandLine, "notepad.exe", "RUN.OUT"},
        {"run.Out", 0, StartedProgram::CommandLine, "notepad.exe", "run.Out"},
        {"x.plt", 0, StartedProgram::CommandLine, program + "/hardcpd.exe", "x.plt"},
        {"x.plt", -1, StartedProgram::CommandLine, program + "/hardcpw.exe", "x.plt"},
        {"m.acd", 0, StartedProgram::CommandLine, program + "/acrospin.exe", "m.acd"},
        {"a.b.out", 0, StartedProgram::Shell, dataDir + "/a.b.out", ""},
    };
    for (const Case& c : cases) {
        fp.launcher.started.clear();
        s.PlotPrinter = c.plotPrinter;
        choose(window->filOutputs, c.name);
        window->filOutputs_Click();
        ASSERT_EQ(fp.launcher.started.size(), 1u) << c.name;
        const StartedProgram& started = fp.launcher.started[0];
        EXPECT_EQ(started.kind, c.kind) << c.name;
        EXPECT_EQ(started.program, c.program) << c.name;
        EXPECT_EQ(started.arguments, c.arguments) << c.name;
        EXPECT_EQ(started.workingDir, dataDir) << c.name;
        EXPECT_EQ(started.style, WindowStyle::NormalFocus);
        if (c.kind == StartedProgram::Shell) {
            EXPECT_EQ(started.operation, "open");
        }
        EXPECT_EQ(s.TargetName, c.name);
        EXPECT_EQ(window->CurrentFile, c.name);
        EXPECT_EQ(s.LastResult, c.kind == StartedProgram::Shell ? 33 : 4242) << c.name;
    }
}

TEST_F(FilePanels, AProgramThatCannotStartIsNamedInTheStatusBar)
{
    writeFile(data + "/run.out");
    writeFile(data + "/a.b.out");
    enter();
    fp.launcher.nextProcessId = 0;
    choose(window->filOutputs, "run.out");
    window->filOutputs_Click();
    EXPECT_EQ(status(), "Could not start notepad.exe");
    EXPECT_EQ(s.LastResult, 0);

    fp.launcher.shellResult = 2;
    choose(window->filOutputs, "a.b.out");
    window->filOutputs_Click();
    EXPECT_EQ(status(), "Could not start a.b.out");
    EXPECT_EQ(s.LastResult, 2);
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(FilePanels, ADoubleClickedForceFileStartsTheHistoryTool)
{
    writeFile(data + "/walk01.rf");
    writeFile(data + "/walk 01.rf");
    writeFile(data + "/w;rm -rf x$(id)`id`.rf");
    enter();
    struct Case {
        bool chronel, tymlyn;
        const char* file;
        QString program; // empty: nothing starts
        QStringList arguments;
        bool chronelRuns = true; // false: there, but not a program that can start
    };
    const Case cases[] = {
        {true, true, "walk01.rf", program + "/tymlyn.bat", {"/a/c/z", "walk01.rf"}},
        {true, true, "walk01.rf", {}, {}, false},
        {true, false, "walk01.rf", program + "/chronel.exe", {"/a/c/z", "walk01.rf"}},
        {false, true, "walk01.rf", {}, {}},
        {true, false, "walk 01.rf", program + "/chronel.exe", {"/a/c/z", "walk 01.rf"}},
        {true,
         false,
         "w;rm -rf x$(id)`id`.rf",
         program + "/chronel.exe",
         {"/a/c/z", "w;rm -rf x$(id)`id`.rf"}},
    };
    for (const Case& c : cases) {
        QFile::remove(program + "/chronel.exe");
        QFile::remove(program + "/tymlyn.bat");
        if (c.chronel && c.chronelRuns)
            makeProgram(program + "/chronel.exe");
        if (c.chronel && !c.chronelRuns)
            writeFile(program + "/chronel.exe", "#!/bin/sh\nexit 0\n");
        if (c.tymlyn)
            makeProgram(program + "/tymlyn.bat");
        fp.launcher.started.clear();
        fp.dialogs.shown.clear();
        choose(window->filForces, c.file);
        window->filForces_Click();
        window->filForces_DblClick();
        EXPECT_TRUE(fp.dialogs.shown.empty()) << c.file;
        EXPECT_EQ(window->lblTrial->text(), s.TrialName.toUpper());
        if (c.program.isEmpty()) {
            EXPECT_TRUE(fp.launcher.started.empty());
            // Said, where the wrapper alone would have failed without a word.
            if (c.chronel) {
                EXPECT_EQ(status(), "Could not start chronel.exe");
            }
            continue;
        }
        ASSERT_EQ(fp.launcher.started.size(), 1u) << c.file;
        const StartedProgram& started = fp.launcher.started[0];
        EXPECT_EQ(started.program, c.program);
        EXPECT_EQ(splitArgumentText(started.arguments), c.arguments) << c.file;
        EXPECT_EQ(started.workingDir, s.DataDir);
        EXPECT_EQ(s.TargetName, c.file);
        EXPECT_EQ(window->CommandLine, c.program + " " + started.arguments);
        EXPECT_EQ(s.LastResult, 4242);
    }
}

TEST_F(FilePanels, AVanishedDirectoryIsReportedAndNeverEntered)
{
    writeFile(data + "/walk01.rf");
    enter();
    const QString entered = s.DataDir;

    window->dirSelectPath = data + "/missing";
    window->dirSelect_Change();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text,
              "There was a problem finding a path.  Error was Path not found");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(s.DataDir, entered);
    EXPECT_EQ(window->dirSelectPath, entered);
    EXPECT_EQ(names(window->filForces), QStringList{"walk01.rf"});

    // The shown directory goes away; a refresh says so and lists nothing of it.
    QDir::setCurrent(tmp.path());
    ASSERT_TRUE(QDir(data).removeRecursively());
    fp.dialogs.shown.clear();
    window->cmdRefresh_Click();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text,
              "There was a problem finding a path.  Error was Path not found");
    EXPECT_EQ(window->filForces->count(), 0);
}

TEST_F(FilePanels, AnUnreadableDirectoryIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const QString locked = data + "/sub";
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    enter();
    window->dirSelectPath = locked;
    window->dirSelect_Change();
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text,
              "There was a problem finding a path.  Error was Permission denied");
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());
}

TEST_F(FilePanels, ADriveThatCannotBeEnteredIsReportedAndTheListRestored)
{
    fp.files.mounts = {"/", tmp.filePath("unmounted")};
    enter();
    window->cmdRefresh_Click();
    ASSERT_EQ(window->drvDrives->count(), 2);
    window->drvDrives->setCurrentIndex(1);
    window->drvDrives_Change();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "There was a drive problem.\nError was: Path not found");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window->drvDrives->currentText(), "/");
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());

    // A drive that can be entered shows its root.
    fp.files.mounts = {"/", data};
    window->cmdRefresh_Click();
    EXPECT_EQ(window->drvDrives->currentText(), QDir(data).absolutePath());
    window->drvDrives->setCurrentIndex(0);
    window->drvDrives_Change();
    EXPECT_EQ(s.DataDir, "/");
    EXPECT_EQ(fp.dialogs.shown.size(), 1u);
}

TEST_F(FilePanels, RefreshShowsFilesMadeSinceAndTheHiddenPanels)
{
    enter();
    writeFile(data + "/later.rf");
    QDir().mkpath(data + "/later");
    window->filModels->hide();
    window->lblDatafiles->hide();
    window->show();
    window->cmdRefresh_Click();
    EXPECT_EQ(names(window->filForces), QStringList{"later.rf"});
    EXPECT_EQ(window->dirSelect->item(window->dirSelect->count() - 2)->text(), "later");
    EXPECT_TRUE(window->filModels->isVisible());
    EXPECT_TRUE(window->lblDatafiles->isVisible());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FilePanels, ThePathIsShownInItsOwnLetterCase)
{
    data = tmp.filePath("MyTrials");
    QDir().mkpath(data);
    enter();
    EXPECT_TRUE(window->lblPath->text().endsWith("/MyTrials"));
    EXPECT_TRUE(QFileInfo(window->lblPath->text()).isDir());
}

TEST_F(FilePanels, NamesThatAreNotTextAreListedAndRefusedWhenChosen)
{
    writeFile(data + "/good.rf", "good\r\n");
    const QByteArray raw = QFile::encodeName(data) + "/bad\xff.rf";
    const QByteArray rawDir = QFile::encodeName(data) + "/dir\xfe";
    for (const QByteArray& path : {raw}) {
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "bad\r\n", 5), 5);
        ::close(fd);
    }
    ASSERT_EQ(::mkdir(rawDir.constData(), 0755), 0);
    // The temporary folder cannot remove what Qt cannot name.
    const auto cleanUp = qScopeGuard([&] {
        ::unlink(raw.constData());
        ::rmdir(rawDir.constData());
    });
    enter();
    const QString shown = QString::fromUtf8("bad\xef\xbf\xbd.rf");
    ASSERT_EQ(names(window->filForces), (QStringList{shown, "good.rf"}));
    window->filForces->setCurrentRow(1);
    EXPECT_EQ(s.ForceFile, "good.rf");

    window->filForces->setCurrentRow(0);
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_TRUE(fp.dialogs.shown[0].text.contains(shown));
    EXPECT_EQ(s.ForceFile, "good.rf") << "the trial stays";
    ASSERT_EQ(window->filForces->selectedItems().size(), 1);
    EXPECT_EQ(window->filForces->selectedItems().first()->text(), "good.rf");

    // The directory is listed too, and entering it is refused the same way.
    QListWidget* dirs = window->dirSelect;
    const QList<QListWidgetItem*> odd =
        dirs->findItems(QString::fromUtf8("dir\xef\xbf\xbd"), Qt::MatchExactly);
    ASSERT_EQ(odd.size(), 1);
    emit dirs->itemActivated(odd.first());
    QCoreApplication::processEvents();
    EXPECT_EQ(fp.dialogs.shown.size(), 2u);
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());
}

TEST_F(FilePanels, PickingTheDriveAlreadyShownKeepsTheDirectory)
{
    fp.files.mounts = {"/"};
    data += "/sub";
    enter();
    window->drvDrives->setCurrentIndex(0);
    window->drvDrives_Change();
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath());
    EXPECT_EQ(window->lblTrial->text(), "none");
}

} // namespace
