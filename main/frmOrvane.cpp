#include "main/frmOrvane.h"

#include "animation/AnimateForces.h"
#include "core/Library.h"
#include "core/SharedState.h"
#include "core/WindowNotice.h"
#include "docs/AboutBox.h"
#include "main/FileListBox.h"
#include "main/FileLists.h"
#include "platform/Controls.h"
#include "platform/DirectoryReader.h"
#include "platform/KeyboardHabits.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace
{
// The client area that holds every control, in twips.
constexpr int ClientWidth = 8775;
constexpr int ClientHeight = 5460;

template <typename List = QListWidget>
QListWidget* makeList(QWidget* parent, const QString& name, const QString& tip,
                      const QString& accessibleName, int l, int t, int w, int h)
{
    auto* list = new List(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setAccessibleName(accessibleName);
    list->setAccessibleDescription(tip);
    placeTwips(list, l, t, w, h);
    return list;
}
} // namespace

frmOrvane::frmOrvane(SharedState& state, Platform& platform, QWidget* parent)
    : QMainWindow(parent), ToolMenus(state, platform, *this, *this),
      DocsMenus(static_cast<MainWindowLink&>(*this)), m_state(state), m_platform(platform)
{
    setObjectName("frmOrvane");
    setWindowTitle("Orvane System");
    setAccessibleName("Orvane System");
    createControls();
    createMenus();
    setupFilePanels();
    connectToolButtons({cmdKinemora, cmdTessel, cmdEditor, cmdPictor});
    setupImportC3D();
    setupCompareTrials();
    letMenusTakeSharedAccessKeys(menuBar(), centralWidget());
    letCtrlShortcutsTakeExtraModifiers(this);
    // A setting that could not be saved is said in a box, with its reason.
    m_platform.settings.saveFailed = [this](const QString& line) {
        m_platform.dialogs.message(line, {}, MessageIcon::Exclamation, MessageButtons::OK);
    };
}

frmOrvane::~frmOrvane()
{
    m_platform.settings.saveFailed = nullptr;
    closeAnimation();
}

void frmOrvane::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    client->setMinimumSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));

    lblDatafiles = makeLabel(client, "lblDatafiles", "Dig. data files", 1320, 0, 1815, 495);
    filDatafiles = makeList<FileListBox>(client, "filDatafiles", "Click to select motion data",
                                         "Dig. data files", 1320, 360, 1815, 1845);
    lblModels = makeLabel(client, "lblModels", "Models (.CFB)", 3120, 0, 1935, 495);
    filModels = makeList<FileListBox>(client, "filModels", "Click to select a model",
                                      "Models (.CFB)", 3120, 360, 1935, 1845);
    lblForces = makeLabel(client, "lblForces", "Force files", 5040, 0, 1815, 375);
    filForces = makeList<FileListBox>(client, "filForces",
                                      "Click to select graph or double click to view a graph",
                                      "Force files", 5040, 360, 1815, 1845);
    lblOutputs = makeLabel(client, "lblOutputs", "Output files", 6840, 0, 1815, 375);
    filOutputs =
        makeList<FileListBox>(client, "filOutputs", "Click to view program output or Open file",
                              "Output files", 6840, 360, 1815, 1845);
    // Labels sit behind the lists they head, as the lists overlap their lower half.
    for (QLabel* label : {lblDatafiles, lblModels, lblForces, lblOutputs})
        label->lower();

    cmdGuide = makeButton(client, "cmdGuide", "&Guide", "Click to view Quick Reference Guide", 120,
                          480, 1095, 372);
    cmdManuals = makeButton(client, "cmdManuals", "Man&ual", "Click to view User's Manual", 120,
                            960, 1095, 492);
    cmdRefresh = makeButton(client, "cmdRefresh", "Refresh &File Lists",
                            "Click to show and refresh the file lists", 120, 1560, 1095, 615);
    cmdRefresh->setStyleSheet("QPushButton { text-align: center; }");

    drvDrives = new QComboBox(client);
    drvDrives->setObjectName("drvDrives");
    drvDrives->setToolTip("Select drive with data files");
    drvDrives->setAccessibleName("Drive");
    drvDrives->setAccessibleDescription("Select drive with data files");
    placeTwips(drvDrives, 120, 2280, 2772, 315);
    dirSelect = makeList(client, "dirSelect", "Select the data directory", "Directory", 120, 2640,
                         2772, 2448);

    Label2 = makeLabel(client, "Label2", "Trial:", 3000, 2280, 612, 252);
    lblTrial = makeLabel(client, "lblTrial", "Current trial: ", 3720, 2280, 2535, 255);
    Label3 = makeLabel(client, "Label3", "Path:", 3000, 2640, 612, 252);
    lblPath = makeLabel(client, "lblPath", "Current path:", 3000, 3000, 3372, 372);
    lblCommand0 = makeLabel(client, "lblCommand0", "Command line:", 3000, 3480, 1452, 252);
    lblCommand = makeLabel(client, "lblCommand", QString(), 3000, 3840, 3252, 372);
    lblOutput = makeLabel(client, "lblOutput", "Listing is to:", 3000, 4320, 2892, 252);
    lblGraphics = makeLabel(client, "lblGraphics", "Graphics is to:", 3000, 4680, 2892, 252);
    // Value labels speak their text; the caption beside each describes it.
    Label2->setBuddy(lblTrial);
    lblTrial->setAccessibleDescription("Trial");
    lblPath->setAccessibleDescription("Path");
    lblCommand->setAccessibleDescription("Command line");
    lblCommand->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdReadForces = makeButton(client, "cmdReadForces", "&Load Data",
                               "Click to read current force file", 6360, 2280, 1095, 615);
    cmdViewForces = makeButton(client, "cmdViewForces", "&View Forces",
                               "Click to view current force file digitally", 6360, 3000, 1095, 615);
    cmdAnimate =
        makeButton(client, "cmdAnimate", "&Animate Forces",
                   "Click to animate current force file vectorially", 6360, 3720, 1095, 615);
    cmdPictor =
        makeButton(client, "cmdPictor", "&Pictor", "Click to start Pictor", 6360, 4440, 1095, 615);
    cmdTessel =
        makeButton(client, "cmdTessel", "Tes&sel2", "Click to start Tessel", 7560, 2280, 1095, 615);
    cmdKinemora = makeButton(client, "cmdKinemora", "&Kinemora",
                             "Click to start Kinemora for Windows95", 7560, 3000, 1095, 615);
    cmdEditor = makeButton(client, "cmdEditor", ".CFB &Editor",
                           "Click to start Control File Editor", 7560, 3720, 1095, 615);
    cmdExit = makeButton(client, "cmdExit", "E&xit", "Click to exit", 7560, 4440, 1095, 615);
    for (QPushButton* b :
         {cmdReadForces, cmdViewForces, cmdAnimate, cmdPictor, cmdTessel, cmdKinemora, cmdEditor})
        b->setEnabled(false);
    // The long captions need two lines in a button of this width.
    for (QPushButton* b : {cmdRefresh, cmdReadForces, cmdViewForces, cmdAnimate}) {
        QString caption = b->text();
        b->setAccessibleName(caption.remove(u'&'));
        QString wrapped = b->text();
        wrapped[wrapped.lastIndexOf(u' ')] = u'\n';
        b->setText(wrapped);
    }

    Label1 = makeLabel(client, "Label1", "Title:", 120, 5100, 615, 255);
    lblTitle = makeLabel(client, "lblTitle", QString(), 840, 5100, 7812, 252);
    lblTitle->setAccessibleDescription("Title");
    lblTitle->setWordWrap(false);

    connect(cmdReadForces, &QPushButton::clicked, this, &frmOrvane::cmdReadForces_Click);
    connect(cmdViewForces, &QPushButton::clicked, this, &frmOrvane::cmdViewForces_Click);
    connect(cmdAnimate, &QPushButton::clicked, this, &frmOrvane::cmdAnimate_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmOrvane::cmdRefresh_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmOrvane::cmdExit_Click);

    // The shortcuts reach the window before its controls and work while the buttons
    // are disabled, so they are window shortcuts rather than the buttons' own keys.
    const std::pair<QKeyCombination, void (frmOrvane::*)()> keys[] = {
        {Qt::CTRL | Qt::Key_R, &frmOrvane::cmdRefresh_Click},
        {Qt::CTRL | Qt::Key_A, &frmOrvane::cmdAnimate_Click},
        {Qt::CTRL | Qt::Key_V, &frmOrvane::cmdViewForces_Click},
        {Qt::CTRL | Qt::Key_L, &frmOrvane::cmdReadForces_Click},
        {Qt::CTRL | Qt::Key_G, &frmOrvane::cmdGraphs_Click},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }

    auto* bar = statusBar();
    bar->setSizeGripEnabled(false);
    const QStringList names{"Notice", "Version", "Date", "Time"};
    for (int i = 0; i < 4; ++i) {
        StatusBarPanels[i] = new QLabel(bar);
        StatusBarPanels[i]->setObjectName("StatusBar1Panel" + QString::number(i + 1));
        StatusBarPanels[i]->setAccessibleDescription(names[i]);
        StatusBarPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(StatusBarPanels[i], i == 0 ? 1 : 0);
    }
    StatusBarPanels[0]->setText(QString::fromLatin1(FixedNoticeText));
    m_clockTimer = new QTimer(this);
    connect(m_clockTimer, &QTimer::timeout, this, &frmOrvane::updateClock);
    m_clockTimer->start(1000);
    updateClock();
}

void frmOrvane::createMenus()
{
    QMenuBar* bar = menuBar();
    mnuFile = bar->addMenu("&File");
    mnuData = bar->addMenu("&Data");
    mnuModel = bar->addMenu("&Model");
    mnuAnimate = bar->addMenu("&Animate");
    mnuPrograms = bar->addMenu("&Programs");
    mnuSettings = bar->addMenu("&Settings               ");
    mnuManuals = bar->addMenu("&Manuals");
    mnuHelp = bar->addMenu("&Help");
    mnuFile->setObjectName("mnuFile");
    mnuData->setObjectName("mnuData");
    mnuModel->setObjectName("mnuModel");
    mnuAnimate->setObjectName("mnuAnimate");
    mnuPrograms->setObjectName("mnuPrograms");
    mnuSettings->setObjectName("mnuSettings");
    mnuManuals->setObjectName("mnuManuals");
    mnuHelp->setObjectName("mnuHelp");

    mnuExit = new QAction("&Exit", this);
    mnuExit->setObjectName("mnuExit");
    connect(mnuExit, &QAction::triggered, this, &frmOrvane::mnuExit_Click);
    mnuProgHelp = new QAction("Command line &help", this);
    mnuProgHelp->setObjectName("mnuProgHelp");
    mnuAbout = new QAction("&About Orvane", this);
    mnuAbout->setObjectName("mnuAbout");
    connect(mnuAbout, &QAction::triggered, this, [this] { showAbout(m_state, m_platform, this); });

    buildToolMenus(
        {mnuFile, mnuData, mnuModel, mnuAnimate, mnuPrograms, mnuSettings, mnuExit, mnuProgHelp});
    buildDocsMenus({mnuManuals, mnuHelp, mnuProgHelp, mnuAbout, cmdGuide, cmdManuals});
}

void frmOrvane::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    StatusBarPanels[2]->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
    StatusBarPanels[3]->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
}

void frmOrvane::showStatus(const QString& text)
{
    showPanelText(StatusBarPanels[0], text, QString::fromLatin1(FixedNoticeText));
}

void frmOrvane::showCommand(const QString& text)
{
    lblCommand->setText(text);
    lblCommand->setVisible(true);
}

void frmOrvane::showTrial(const QString& caption)
{
    lblTrial->setText(caption);
}

FilePanelWidgets frmOrvane::filePanels()
{
    return {filDatafiles, lblDatafiles, filModels, lblModels,
            filForces,    filOutputs,   drvDrives, dirSelect};
}

void frmOrvane::Form_Load()
{
    SharedState& s = m_state;
    Platform& p = m_platform;
    s.LF = QStringLiteral("\n");
    const VersionNumber v = p.env.version();
    s.VersionText = QString::number(v.major) + "." +
                    QString::number(v.minor).rightJustified(2, u'0') + " (" +
                    QString::number(v.revision).rightJustified(3, u'0') + ")";
    s.WebPageAddress = QString::fromLatin1(WebPageAddressText);
    StatusBarPanels[1]->setText("Version " + s.VersionText);

    // Centred vertically, 500 twips from the right edge of the screen.
    const QRect screen = p.env.screenTwips();
    const int heightTwips = pixelsToTwips(sizeHint().height());
    const int widthTwips = pixelsToTwips(sizeHint().width());
    move(twipsToPixels(screen.x() + screen.width() - (widthTwips + 500)),
         twipsToPixels(screen.y() + (screen.height() - heightTwips) / 2));

    StartDir = p.files.currentDir();
    LoadStartupSettings(s, p);
    s.TargetName.clear();
    ParseCommandLine(s, p, 10);
    // The name as it lies in the data directory, once that is entered.
    const QString targetFile = commandLineDataDir(s, p, StartDir);
    lblCommand->setText("Orvane.exe " + s.TargetName);
    if (s.DataDir.isEmpty())
        s.DataDir = p.files.currentDir();

    // A saved directory that has gone falls back to the program directory, and from
    // there to wherever the program was started; it never loops.
    if (!enterDataDirectory(s.DataDir)) {
        s.DataDir = s.ProgramDir;
        if (!enterDataDirectory(s.DataDir)) {
            s.DataDir = StartDir;
            enterDataDirectory(s.DataDir);
        }
    }

    s.ProgramDir = p.env.variable("KINEMORA");
    if (s.ProgramDir.isEmpty())
        s.ProgramDir = p.env.programDir();

    for (QPushButton* b : {cmdKinemora, cmdTessel, cmdPictor, cmdEditor})
        b->setEnabled(true);

    s.ManualsDir = s.ProgramDir + "/manuals/";
    s.OpenError = CheckOpen(s, p, s.ManualsDir, OwnManualFile, 0);
    if (s.OpenError != 0) {
        cmdManuals->setEnabled(false);
        if (s.OpenError == 76)
            mnuManuals->setEnabled(false);
    }

    s.ListingTo = "DISK FILE";
    s.GraphicsTo = "SCREEN";
    s.MainWindowHandle = static_cast<quintptr>(winId());
    s.AboutText = s.LF + "     Orvane, version " + s.VersionText + s.LF + s.LF +
                  "     For use with the Kinemora Motion Analysis System." + s.LF + s.LF + "     " +
                  QString::fromLatin1(FixedNoticeText);

    CheckTools();
    if (m_unloading)
        return; // closed while the missing-tools message was up

    dlgOpenInitialDir = s.DataDir;
    lblTrial->setText(s.TrialName.toUpper());
    lblPath->setText(pathCaption(s.DataDir, caseSensitiveFileNames()));
    lblOutput->setText("Listing is to: " + s.ListingTo.toUpper());
    lblGraphics->setText(QString("Graphics") + " is to: " + s.GraphicsTo);

    s.TrialFromCommandLine = 0;
    s.OpenError = CheckOpen(s, p, QString(), targetFile, 0);
    if (s.OpenError != 0 && p.env.argumentsNotText().contains(s.TargetName)) {
        p.dialogs.message(unusableNameText(s.TargetName, s.LF), {}, MessageIcon::Exclamation,
                          MessageButtons::OK);
        if (m_unloading)
            return;
    }
    if (s.OpenError != 0) {
        if (s.TargetName != ";" && s.TargetName != "?")
            ShowSplash(2);
        else
            show();
        return;
    }
    s.TrialFromCommandLine = -1;
    s.TrialName = GetBaseName(s.TargetName);
    s.FileType = GetExtension(s.TargetName);
    lblTrial->setText(s.TrialName.toUpper() + "." + s.FileType);
    show();
    const QString type = s.FileType.toUpper();
    if (type == "RF" || type == "RF1" || type == "RF2") {
        s.ForceFile = s.TrialName + "." + s.FileType;
        showForceFileTitle();
        cmdReadForces->setEnabled(true);
        cmdReadForces_Click();
    }
}

// A command-line file named with a directory makes that directory the data directory;
// a bare name found in the start directory makes the start directory so. Relative
// names are taken from where the program was started. The answer is the file's name
// without its directory.
QString frmOrvane::commandLineDataDir(SharedState& s, Platform& p, const QString& startDir)
{
    const QString& target = s.TargetName;
    if (target.isEmpty())
        return target;
    const QString dir = GetDirectory(target);
    if (dir == NoDirectory) {
        if (CheckOpen(s, p, startDir, target, 0) == 0)
            s.DataDir = startDir;
        return target;
    }
    s.DataDir = QDir::cleanPath(QDir(startDir).filePath(dir));
    return target.mid(dir.size() + (dir.endsWith(u'/') || dir.endsWith(u'\\') ? 0 : 1));
}

int frmOrvane::Run()
{
    Form_Load();
    // A quit posted before the event loop runs is lost when the splash's own event
    // processing delivers it, so a close during start-up is checked here.
    if (m_unloading)
        return 0;
    return QApplication::exec();
}

void frmOrvane::CheckTools()
{
    struct Tool {
        const char* lookedUp;
        const char* shown;
    };
    static constexpr Tool tools[] = {
        {"tabulo.exe", " --> Tabulo.exe"},   {"chronel.exe", " --> Chronel.exe"},
        {"swivra.exe", " --> Swivra.exe"},   {"marquo.exe", " --> Marquo.exe"},
        {"scalera.exe", " --> Scalera.exe"}, {"tymlyn.bat", " --> Tymlyn.bat"},
    };
    QString missing;
    for (const Tool& tool : tools) {
        const QString name = QString::fromLatin1(tool.lookedUp);
        m_state.OpenError = CheckOpen(m_state, m_platform, m_state.ProgramDir, name, 0);
        if (m_state.OpenError == 0)
            continue;
        for (const auto& [toolName, action] : toolCommands) {
            if (toolName == name && action)
                action->setEnabled(false);
        }
        missing += QString::fromLatin1(tool.shown) + m_state.LF;
    }
    if (missing.isEmpty())
        return;
    const QString& LF = m_state.LF;
    m_platform.dialogs.message(
        "Some programs were not found in the 'program' directory:" + LF + " --> " +
            m_state.ProgramDir + LF +
            "The following files and 'Orvane.exe' must be in the same directory." + LF + missing +
            LF +
            "Some program options will not be activated.  The software needs to be reinstalled.",
        {}, MessageIcon::Critical, MessageButtons::OK);
}

void frmOrvane::ShowSplash(int16_t seconds)
{
    if (m_unloading)
        return;
    showAbout(m_state, m_platform, this);
    show();
    // A monotonic clock, so the wait ends on time even across midnight.
    const double t0 = m_platform.clock.elapsed();
    while (t0 + seconds > m_platform.clock.elapsed() && !m_unloading)
        m_platform.events.yieldFor(20);
    hideAbout();
}

void frmOrvane::cmdAnimate_Click()
{
    // Ctrl+A works while the buttons are disabled; a playback started inside the
    // read's yield would hold the read up and play a half-read table.
    if (m_readingNow)
        return;
    if (m_reading)
        m_reading->close();
    showAnimation(m_state, m_platform);
}

void frmOrvane::cmdExit_Click()
{
    // A save that fails is said in a box before the window closes.
    m_platform.settings.save("Kinemora", "Startup", "Datadir", m_state.DataDir);
    close();
}

void frmOrvane::mnuExit_Click()
{
    close();
}

void frmOrvane::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmOrvane::Form_Unload()
{
    if (m_unloading)
        return;
    m_unloading = true;
    if (!StartDir.isEmpty())
        m_platform.files.setCurrentDir(StartDir);
    closeAnimation();
    hideAbout();
    // Every other window closes with the main window.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this)
            w->close();
    }
    // Queued: an exit during the splash or a first read comes before the event loop
    // runs, where a direct quit would be lost and leave the program running unseen.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void frmOrvane::mouseDoubleClickEvent(QMouseEvent* event)
{
    showAbout(m_state, m_platform, this);
    QMainWindow::mouseDoubleClickEvent(event);
}
