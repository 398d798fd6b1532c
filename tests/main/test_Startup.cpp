#include "animation/AnimateForces.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{
const char* const AllTools[] = {"tabulo.exe", "chronel.exe", "swivra.exe",
                                "marquo.exe", "scalera.exe", "tymlyn.bat"};

void writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray forceFile(int records)
{
    QByteArray text = QByteArray("JUMP TRIAL").leftJustified(60, ' ') + "       500\r\n" +
                      QByteArray("SUBJECT").leftJustified(60, ' ') + "     700.0\r\n\r\n";
    for (int i = 1; i <= records; ++i) {
        QByteArray card;
        for (double v : {1.0, 2.0, 300.0 + i, 10.0, 20.0, 0.5, 0.0})
            card += QByteArray::number(v, 'f', 4).rightJustified(10, ' ');
        text += card + QByteArray::number(i).rightJustified(9, ' ') + "\r\n";
    }
    return text;
}

// Start-up changes the process's current directory; every test gets it back.
class Startup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = QDir::currentPath();
        programDir = m_program.path();
        dataDir = m_data.path();
        fp.env.ownDir = programDir;
        fp.settings.values["Kinemora/Startup/Datadir"] = dataDir;
        for (const char* tool : AllTools)
            writeFile(programDir + "/" + tool);
    }
    void TearDown() override { QDir::setCurrent(m_cwd); }

    bool splashShown() const { return fp.clock.now >= 2.0; }

    FakePlatform fp;
    SharedState s;
    QString programDir;
    QString dataDir;

private:
    QString m_cwd;
    QTemporaryDir m_program;
    QTemporaryDir m_data;
};
} // namespace

TEST_F(Startup, WithoutArgumentsShowsTheSplashAndEntersTheSavedDataDirectory)
{
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_TRUE(splashShown());
    EXPECT_EQ(s.DataDir, dataDir);
    EXPECT_EQ(QDir::currentPath(), dataDir);
    EXPECT_EQ(s.ProgramDir, programDir) << "KINEMORA unset: the program's own directory";
    EXPECT_EQ(w.lblOutput->text(), "Listing is to: DISK FILE");
    EXPECT_EQ(w.lblGraphics->text(), "Graphics is to: SCREEN");
    EXPECT_EQ(w.lblCommand->text(), "Orvane.exe ");
    EXPECT_EQ(s.VersionText, "1.02 (003)");
    EXPECT_TRUE(fp.dialogs.shown.empty()) << "all tools present: no message";
    EXPECT_TRUE(w.cmdTessel->isEnabled());
}

TEST_F(Startup, ASemicolonOrQuestionMarkStartsWithoutSplash)
{
    for (const char* arg : {";", "?"}) {
        FakePlatform local;
        local.env = fp.env;
        local.settings.values = fp.settings.values;
        local.env.arguments = arg;
        SharedState state;
        frmOrvane w(state, local);
        w.Form_Load();
        EXPECT_LT(local.clock.now, 1.0) << arg;
        EXPECT_TRUE(w.isVisible());
    }
}

TEST_F(Startup, AForceFileOnTheCommandLineIsReadAtOnceWithoutSplash)
{
    writeFile(dataDir + "/JUMP1.RF", forceFile(3));
    fp.settings.values.remove("Kinemora/Startup/Datadir");
    fp.env.arguments = dataDir + "/JUMP1.RF";
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_FALSE(splashShown());
    EXPECT_EQ(s.DataDir, dataDir);
    EXPECT_EQ(s.TrialName, "JUMP1");
    EXPECT_EQ(s.FileType, "RF");
    EXPECT_EQ(w.lblTrial->text(), "JUMP1.RF");
    EXPECT_EQ(s.forces.RecordCount, 3);
    EXPECT_EQ(s.LoadedForceFile, "JUMP1.RF");
    EXPECT_TRUE(w.cmdViewForces->isEnabled());
    EXPECT_EQ(fp.settings.values.value("Kinemora/Startup/Datadir"), dataDir);
}

TEST_F(Startup, AnotherTrialFileIsChosenButNotRead)
{
    writeFile(dataDir + "/JUMP1.DG");
    QDir::setCurrent(dataDir);
    fp.env.arguments = "JUMP1.DG";
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_FALSE(splashShown());
    EXPECT_EQ(w.lblTrial->text(), "JUMP1.DG");
    EXPECT_EQ(s.forces.RecordCount, -1);
}

TEST_F(Startup, ASwitchAloneChoosesTheCurrentDirectory)
{
    QDir::setCurrent(programDir);
    fp.env.arguments = "-x";
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_EQ(s.DataDir, programDir);
    EXPECT_TRUE(splashShown());
}

TEST_F(Startup, AVanishedDataDirectoryFallsBackToTheProgramDirectory)
{
    fp.settings.values["Kinemora/Startup/Progdir"] = programDir;
    fp.settings.values["Kinemora/Startup/Datadir"] = dataDir + "/gone";
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_EQ(s.DataDir, programDir);
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(Startup, KinemoraNamesTheProgramDirectory)
{
    fp.env.variables["KINEMORA"] = programDir;
    fp.env.ownDir = "/nowhere";
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_EQ(s.ProgramDir, programDir);
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(Startup, MissingToolsAreListedInOneMessageAndTheirCommandsSwitchedOff)
{
    QFile::remove(programDir + "/marquo.exe");
    QFile::remove(programDir + "/tymlyn.bat");
    frmOrvane w(s, fp);
    auto* signature = new QAction("Force &Signature", &w);
    auto* other = new QAction("&Analyze", &w);
    w.toolCommands << qMakePair(QString("marquo.exe"), signature)
                   << qMakePair(QString("tabulo.exe"), other);
    w.Form_Load();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text,
              "Some programs were not found in the 'program' directory:\n --> " + programDir +
                  "\nThe following files and 'Orvane.exe' must be in the same directory.\n"
                  " --> Marquo.exe\n --> Tymlyn.bat\n\n"
                  "Some program options will not be activated.  The software needs to be "
                  "reinstalled.");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(signature->isEnabled());
    EXPECT_TRUE(other->isEnabled());
}

TEST_F(Startup, NoManualsDirectorySwitchesOffTheManualsMenuToo)
{
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_FALSE(w.cmdManuals->isEnabled());
    EXPECT_FALSE(w.mnuManuals->isEnabled());

    QDir(programDir).mkdir("manuals");
    SharedState s2;
    frmOrvane w2(s2, fp);
    w2.Form_Load();
    EXPECT_FALSE(w2.cmdManuals->isEnabled());
    EXPECT_TRUE(w2.mnuManuals->isEnabled()) << "a manuals directory without the manual";
}

TEST_F(Startup, OnlyTheExitButtonStoresTheDataDirectory)
{
    {
        frmOrvane w(s, fp);
        w.Form_Load();
        fp.settings.saved.clear();
        w.mnuExit_Click();
        EXPECT_TRUE(fp.settings.saved.isEmpty());
    }
    {
        SharedState s2;
        frmOrvane w(s2, fp);
        w.Form_Load();
        w.close();
        EXPECT_TRUE(fp.settings.saved.isEmpty());
    }
    {
        SharedState s3;
        frmOrvane w(s3, fp);
        w.Form_Load();
        w.cmdExit_Click();
        EXPECT_EQ(fp.settings.saved, QStringList{"Kinemora/Startup/Datadir"});
        EXPECT_EQ(fp.settings.values.value("Kinemora/Startup/Datadir"), dataDir);
    }
    {
        // A save that fails as the window goes is said in a box, not a vanishing status bar.
        SharedState s4;
        frmOrvane w(s4, fp);
        w.Form_Load();
        fp.dialogs.shown.clear();
        fp.settings.failure = "Could not save Datadir in Kinemora.ini: Disk full";
        w.cmdExit_Click();
        ASSERT_EQ(fp.dialogs.shown.size(), 1);
        EXPECT_EQ(fp.dialogs.shown[0].text, fp.settings.failure);
        EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
        fp.settings.failure.clear();
    }
}

TEST_F(Startup, TheProgressDialogCountsThenOffersAnimateAndDone)
{
    writeFile(dataDir + "/WALK.RF", forceFile(250));
    frmOrvane w(s, fp);
    fp.env.arguments = ";";
    w.Form_Load();
    s.ForceFile = "WALK.RF";
    s.FileType = "RF";
    fp.events.secondsPerYield = 0.02; // a display slow enough to show every record
    QString midCount;
    int midBar = -1;
    bool cancelEnabled = true;
    fp.events.onYield = [&](int) {
        if (frmReading* d = w.readingDialog();
            d && s.forces.RecordCount == 250 && d->cmdCancel->isVisible()) {
            midCount = d->txtSample->text();
            midBar = d->pbarLoading->value();
            cancelEnabled = d->cmdCancel->isEnabled();
        }
    };
    w.cmdReadForces_Click();
    EXPECT_EQ(midCount, "250");
    EXPECT_EQ(midBar, 50);
    EXPECT_FALSE(cancelEnabled);
    frmReading* d = w.readingDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->txtSample->text(), "Number of records: 250");
    EXPECT_EQ(d->txtFilename->text(), "WALK.RF");
    EXPECT_TRUE(d->cmdView->isVisible());
    EXPECT_TRUE(d->cmdExit->isVisible());
    EXPECT_FALSE(d->cmdCancel->isVisible());
    EXPECT_FALSE(d->pbarLoading->isVisible());
    EXPECT_EQ(fp.events.busyDepth, 0) << "the pointer is back to normal";
}

TEST_F(Startup, AnEmptyFileWarnsAsksTheRateAndStillEnablesTheViews)
{
    writeFile(dataDir + "/EMPTY.RF", "");
    frmOrvane w(s, fp);
    fp.env.arguments = ";";
    w.Form_Load();
    s.ForceFile = "EMPTY.RF";
    fp.dialogs.inputAnswers = {""};
    w.cmdReadForces_Click();
    ASSERT_EQ(fp.dialogs.shown.size(), 2u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "Data file was empty.");
    EXPECT_EQ(fp.dialogs.shown[1].kind, ShownBox::Input);
    EXPECT_EQ(fp.dialogs.shown[1].text, "Enter sampling rate of forces.");
    EXPECT_EQ(fp.dialogs.shown[1].title, "Force Sampling Rate");
    EXPECT_EQ(fp.dialogs.shown[1].defaultText, "200");
    EXPECT_EQ(s.forces.SamplingRate, "");
    EXPECT_TRUE(w.cmdViewForces->isEnabled());
    EXPECT_TRUE(w.cmdAnimate->isEnabled());
    ASSERT_NE(w.readingDialog(), nullptr);
    EXPECT_EQ(w.readingDialog()->txtSample->text(), "Number of records: -1");
}

TEST_F(Startup, LoadWithoutAChosenFileWarnsAndReadsNothing)
{
    frmOrvane w(s, fp);
    fp.env.arguments = ";";
    w.Form_Load();
    w.cmdReadForces_Click();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "Select a Force file (.RF) from the list.");
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(w.readingDialog(), nullptr);
}

TEST_F(Startup, ClicksDuringAReadNeitherStealItsFileNorStartViewsOfAHalfTable)
{
    writeFile(dataDir + "/WALK.RF", forceFile(300));
    writeFile(dataDir + "/OTHER.RF", forceFile(2));
    frmOrvane w(s, fp);
    fp.env.arguments = ";";
    w.Form_Load();
    s.ForceFile = "WALK.RF";
    fp.events.onYield = [&](int) {
        if (s.forces.RecordCount == 100) {
            s.ForceFile = "OTHER.RF"; // the user chooses the next file meanwhile
            w.cmdAnimate_Click();
            w.cmdViewForces_Click();
        }
    };
    w.cmdReadForces_Click();
    EXPECT_EQ(s.forces.RecordCount, 300);
    EXPECT_EQ(s.LoadedForceFile, "WALK.RF");
    EXPECT_EQ(animationWindow(), nullptr);
    ASSERT_NE(w.readingDialog(), nullptr) << "the progress dialog stays to the end";
    EXPECT_EQ(w.readingDialog()->txtSample->text(), "Number of records: 300");
}

TEST_F(Startup, AnExitDuringTheSplashStillEndsTheProgram)
{
    QCoreApplication::processEvents();
    frmOrvane w(s, fp);
    fp.events.onYield = [&](int n) {
        if (n == 3)
            w.mnuExit_Click();
    };
    w.Form_Load();
    EXPECT_LT(fp.clock.now, 2.0) << "the splash wait ends with the program";
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0) << "the exit reaches the event loop";
}

// The real event pump delivers the queued quit during the splash, before the event
// loop runs; the program must end all the same.
TEST_F(Startup, ACloseDuringTheSplashEndsTheRunWithTheRealEventPump)
{
    struct Case {
        const char* what;
        int afterMs;
        std::function<void(frmOrvane&)> close;
        QString arguments;
    };
    writeFile(dataDir + "/BIG.RF", forceFile(5000));
    const Case cases[] = {
        {"close box at once", 0, [](frmOrvane& w) { w.close(); }, {}},
        {"close box during the wait", 300, [](frmOrvane& w) { w.close(); }, {}},
        {"E&xit during the wait", 300, [](frmOrvane& w) { w.cmdExit->click(); }, {}},
        {"&Exit during the wait", 600, [](frmOrvane& w) { w.mnuExit->trigger(); }, {}},
        {"close box during the first read", 0, [](frmOrvane& w) { w.close(); },
         dataDir + "/BIG.RF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fp.env.arguments = c.arguments;
        QtEventPump pump;
        QtClock clock;
        Platform real{fp.settings, fp.dialogs, fp.launcher, fp.files,
                      pump,        clock,      fp.printer,  fp.env};
        SharedState state;
        frmOrvane w(state, real);
        QTimer::singleShot(c.afterMs, &w, [&w, &c] { c.close(w); });
        // Without the mend the event loop would wait here for this guard.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(7); });
        guard.start(5000);
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(w.Run(), 0);
        EXPECT_LT(took.elapsed(), 2500) << "the splash wait ends with the program";
        EXPECT_TRUE(w.unloaded());
    }
}

TEST_F(Startup, ARelativeNameOnTheCommandLineIsTakenFromTheStartDirectory)
{
    struct Case {
        const char* what;
        QStringList files; // relative to the start directory ("@" = the saved directory)
        QString arguments;
        QString dataDir; // relative to the start directory, or "@"
        QString trial;   // lblTrial; empty when the splash is shown
        int records;     // -1: nothing read
    };
    const QList<Case> cases = {
        {"bare force file", {"JUMP01.RF"}, "JUMP01.RF", ".", "JUMP01.RF", 3},
        {"force file below", {"Sub.Dir/S.RF"}, "Sub.Dir/S.RF", "Sub.Dir", "S.RF", 3},
        {"dot-relative", {"Sub.Dir/S.RF"}, "./Sub.Dir/S.RF", "Sub.Dir", "S.RF", 3},
        {"data file in start directory", {"JUMP1.DG"}, "JUMP1.DG", ".", "JUMP1.DG", -1},
        {"only in the saved directory", {"@/SAVED.RF"}, "SAVED.RF", "@", "SAVED.RF", 3},
        {"nowhere", {}, "GONE.RF", "@", "", -1},
        {"a quote and a blank in one argument", {"a\"b c.RF"}, "\"a\"\"b c.RF\"", ".",
         "A\"B C.RF", 3},
        {"a name with blanks given unquoted", {"Sub.Dir/my walk.RF"}, "Sub.Dir/my walk.RF",
         "Sub.Dir", "MY WALK.RF", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir start;
        QDir().mkpath(start.path() + "/Sub.Dir");
        for (const QString& f : c.files) {
            const QString path = f.startsWith('@') ? dataDir + f.mid(1) : start.path() + "/" + f;
            writeFile(path, path.endsWith(".RF") ? forceFile(3) : QByteArray("x"));
        }
        QDir::setCurrent(start.path());
        FakePlatform local;
        local.env = fp.env;
        local.settings.values = fp.settings.values;
        local.env.arguments = c.arguments;
        SharedState state;
        frmOrvane w(state, local);
        w.Form_Load();
        const QString expectedDir =
            c.dataDir == "@" ? dataDir : QDir::cleanPath(start.path() + "/" + c.dataDir);
        EXPECT_EQ(state.DataDir, expectedDir);
        EXPECT_EQ(local.clock.now >= 2.0, c.trial.isEmpty()) << "splash only without a trial";
        if (!c.trial.isEmpty()) {
            EXPECT_EQ(w.lblTrial->text(), c.trial);
        }
        // A force file named on the command line shows its title at once.
        if (c.records > 0) {
            EXPECT_EQ(w.lblTitle->text(), "JUMP TRIAL" + QString(57, u' ') + "500");
        }
        EXPECT_EQ(state.forces.RecordCount, c.records);
        QDir::setCurrent(dataDir);
    }
}

// Bytes that are not text make a name no file can be opened by: the user is told which,
// and start-up goes on as without a name.
TEST_F(Startup, ANameThatIsNotTextIsSaidThenTheSplashShows)
{
    const QString shown = QString::fromUtf8("walk\xEF\xBF\xBD.rf");
    fp.env.arguments = shown;
    fp.env.notText = {shown};
    frmOrvane w(s, fp);
    w.Form_Load();
    EXPECT_EQ(fp.dialogs.messageTexts(),
              QStringList{"This name is not valid text, so Orvane cannot open it:\n" + shown +
                          "\nRename it to use it here."});
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(splashShown());
    EXPECT_EQ(s.TrialFromCommandLine, 0);
}

TEST_F(Startup, TheReadingDialogShowsTheTrueCountBehindEveryQuestionAndAtTheEnd)
{
    // A sampling rate of 0 makes the read ask for one.
    QByteArray noRate = forceFile(250);
    noRate.replace(60, 10, QByteArray("0").rightJustified(10, ' '));
    writeFile(dataDir + "/NORATE.RF", noRate);
    frmOrvane w(s, fp);
    fp.env.arguments = ";";
    w.Form_Load();
    s.ForceFile = "NORATE.RF";
    s.FileType = "RF";
    fp.events.secondsPerYield = 0.001; // a fast read: most counts are never drawn
    QString countBehind;
    int barBehind = -1;
    fp.dialogs.onShow = [&](const ShownBox&) {
        if (frmReading* d = w.readingDialog()) {
            countBehind = d->txtSample->text();
            barBehind = d->pbarLoading->value();
        }
    };
    w.cmdReadForces_Click();
    ASSERT_FALSE(fp.dialogs.shown.empty());
    EXPECT_EQ(fp.dialogs.shown.back().title, "Force Sampling Rate");
    EXPECT_EQ(countBehind, "250");
    EXPECT_EQ(barBehind, 50);
    ASSERT_NE(w.readingDialog(), nullptr);
    EXPECT_EQ(w.readingDialog()->pbarLoading->value(), 50) << "the bar's value at the end";
}
