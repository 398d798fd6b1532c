#include "animation/frmAnimForces.h"

#include "animation/AnimControls.h"
#include "animation/AnimationText.h"
#include "animation/Layout.h"
#include "animation/PictureBox.h"
#include "core/Library.h"
#include "core/NumberText.h"
#include "core/PrintWindow.h"
#include "core/SharedState.h"
#include "platform/AccessibleRole.h"
#include "platform/KeyboardHabits.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

using namespace anim;

namespace
{

constexpr const char* SettingsApp = "Orvane";
constexpr const char* SettingsSection = "Startup";

// Design client area of the window.
constexpr int DesignWidth = 9840;
constexpr int DesignHeight = 7530;

} // namespace

frmAnimForces::frmAnimForces(SharedState& state, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_platform(platform)
{
    setObjectName("frmAnimForces");
    setWindowTitle("Display Force Vectors");
    setAccessibleRole(this, AccessibleRole::Frame);
    // The layout is measured for a small sans-serif face, about 8 points.
    QFont small = font();
    small.setPointSizeF(7.5);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    buildControls();
    connectHandlers();
    letTabStopAtCheckedOptions(this);
    addGraphsCommands();
    // Open at the size the resize rule would give the design size, so the first
    // showing does not resize the window under a running pass.
    resizeTwips(this, std::max(DesignWidth, anim::MinimumWindowWidth),
                std::max(DesignHeight, anim::MinimumWindowHeight));
    applyResizeLayout();
    m_openingSize = size();
    Form_Load();
}

frmAnimForces::~frmAnimForces() = default;

void frmAnimForces::buildControls()
{
    picVectors = placed(new PictureBox(this), anim::PictureLeft, anim::PictureTop, 6795, 4680);
    picVectors->setToolTip("This is where the force vectors will appear");
    picVectors->setAccessibleName("Force vectors");
    lblAbscissa = label(this, "+Y", 3240, 0, 375, 255);
    lblOrdinate = label(this, anim::PlusXLabel, 6960, 2640, 135, 495);
    lblOrdinate->setWordWrap(true);

    fraTitle = frame(this, "", "", 120, 4920, 6975, 855);
    lblTitle = label(fraTitle, "Title:", 120, 120, 3495, 615);
    lblTitle->setWordWrap(true);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFrame = label(fraTitle, "Frame:", 3720, 150, 1000, 255);
    txtFrame = textBox(fraTitle, "Frame", "Currect force number", 4800, 120, 855, 285);
    txtFrameTime = textBox(fraTitle, "Frame time in seconds", "", 5760, 120, 915, 285);
    const QString seconds = "s ";
    label(fraTitle, seconds, 6720, 150, 200, 255);
    lblRecord = label(fraTitle, "Record:", 3720, 510, 1000, 255);
    txtRecord = textBox(fraTitle, "Record", "Currect force record", 4800, 480, 855, 285);
    txtRecordTime = textBox(fraTitle, "Record time in seconds", "", 5760, 480, 915, 285);
    label(fraTitle, seconds, 6720, 510, 200, 255);

    fraSizing = frame(this, "", "", 7200, 0, 2535, 5775);
    lblTrial = label(fraSizing, "Filename:", 120, 120, 1335, 255);
    txtTrial = textBox(fraSizing, "Filename", "Trial code and filename", 120, 360, 2295, 285);
    label(fraSizing, "Forces:", 120, 720, 1400, 255);
    txtForces = textBox(fraSizing, "Forces", "Number of force vectors read", 1560, 690, 855, 285);
    label(fraSizing, "Rate (Hz):", 120, 1020, 1400, 255);
    txtRate = textBox(fraSizing, "Rate (Hz)", "Sampling rate of forces", 1560, 990, 855, 285);
    cmdView =
        button(fraSizing, "&Static view", "Click to view forces statically", 120, 1320, 1095, 495);
    cmdStep =
        button(fraSizing, "S&tep", "Click to step through force vectors", 1320, 1320, 1095, 495);
    cmdAnimate = button(fraSizing, "&Animate", "Click to animate forces", 120, 1920, 1095, 495);
    cmdStop = button(fraSizing, "&Stop", "Click to stop animation", 120, 1920, 1095, 495);
    txtAnimate = label(fraSizing, "Press space bar to pause.", 1320, 1920, 1095, 495);
    txtAnimate->setWordWrap(true);
    cmdReset = button(fraSizing, "&Reset", "Click to reset magnification, delay and increment", 120,
                      2520, 1095, 495);
    label(fraSizing, "Vector size:", 120, 3150, 1400, 255);
    txtScaleF =
        textBox(fraSizing, "Vector size", "Click to change vector lengths", 1560, 3120, 855, 285);
    lblMagnify = label(fraSizing, "Scaling:", 120, 3480, 1400, 255);
    txtMagnify =
        textBox(fraSizing, "Scaling", "Click to change magnification factor", 1560, 3450, 855, 285);
    QLabel* incrementCaption = label(fraSizing, "Increment:", 120, 3810, 1400, 255);
    comIncrement = placed(new QComboBox(fraSizing), 1560, 3780, 855, 300);
    comIncrement->setToolTip("Click to change force increment");
    comIncrement->setAccessibleName("Increment");
    QLabel* delayCaption = label(fraSizing, "Delay:", 120, 4140, 1400, 255);
    comDelay = placed(new QComboBox(fraSizing), 1560, 4110, 855, 300);
    comDelay->setToolTip("Click to change delay between vectors");
    comDelay->setAccessibleName("Delay");
    incrementCaption->setBuddy(comIncrement);
    delayCaption->setBuddy(comDelay);
    for (QComboBox* list : {comIncrement, comDelay}) {
        // The lists show values that are not among their entries (a stored delay),
        // but only a choice from the list changes anything.
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->lineEdit()->setReadOnly(true);
        list->lineEdit()->setAccessibleName(list->accessibleName());
    }
    label(fraSizing, "Body Weight:", 120, 4470, 1400, 255);
    txtWeight = textBox(fraSizing, "Body Weight", "Body weight in newtons. Click to change.", 1560,
                        4440, 855, 285);
    const QString angleTip = "Check New custom|Choose view to change angles";
    label(fraSizing, "Pitch (deg):", 120, 4800, 1400, 255)->setToolTip(angleTip);
    txtRx = textBox(fraSizing, "Pitch (deg)", "Pitch angle in degrees", 1560, 4770, 855, 285);
    label(fraSizing, "Roll (deg):", 120, 5130, 1400, 255)->setToolTip(angleTip);
    txtRy = textBox(fraSizing, "Roll (deg)", "Roll angle in degrees", 1560, 5100, 855, 285);
    label(fraSizing, "Yaw (deg):", 120, 5460, 1400, 255)->setToolTip(angleTip);
    txtRz = textBox(fraSizing, "Yaw (deg)", "Yaw angle in degrees", 1560, 5430, 855, 285);
    for (QLineEdit* box : {txtFrame, txtRecord, txtFrameTime, txtRecordTime, txtTrial, txtForces,
                           txtRate, txtRx, txtRy, txtRz})
        box->setReadOnly(true);
    for (QLineEdit* box : {txtRx, txtRy, txtRz})
        box->setText(" 0.0");

    const QString historyTip = "Show history of vectors during animation";
    fraMode = frame(this, "Animation", "Select animation method", 1200, 5760, 1455, 1695);
    optMode[0] = choice<QRadioButton>(
        fraMode, "&all", "All vectors with same colour during animation", 120, 270, 1275, 255);
    optMode[1] = choice<QRadioButton>(fraMode, "&single vector",
                                      "Show single vectors during animation", 120, 600, 1275, 255);
    optMode[2] = choice<QRadioButton>(fraMode, "&history", historyTip, 120, 930, 1275, 255);
    optMode[3] = choice<QRadioButton>(fraMode, "&cycle vectors", historyTip, 120, 1260, 1275, 255);
    optMode[2]->setChecked(true);

    fraView = frame(this, "View ", "Select type of view", 2760, 5760, 1575, 1695);
    optView[0] =
        choice<QRadioButton>(fraView, "F&x - Fy (top)", "Click for top view", 120, 240, 1395, 255);
    optView[1] = choice<QRadioButton>(fraView, "F&y - Fz (side)", "Click for sagittal view", 120,
                                      510, 1395, 255);
    optView[2] = choice<QRadioButton>(fraView, "Fx - F&z (back)", "Click for antero-posterior view",
                                      120, 780, 1395, 255);
    optView[3] = choice<QRadioButton>(fraView, "&Custom view", "Click for custom view", 120, 1050,
                                      1395, 255);
    optView[4] = choice<QRadioButton>(fraView, "&New custom", "Click for new custom view", 120,
                                      1320, 1395, 255);
    optView[1]->setChecked(true);
    optView[3]->setEnabled(false);

    // The two reversal frames share their tooltips and last caption.
    const QString reverseTip = "Select which parameter(s) to reverse";
    const std::array<QString, 4> reverseTips = {"No reversals", "Reverse only forces",
                                                "Reverse only centre of pressure direction",
                                                "Reverse both forces and centres of pressure"};
    const QString both = "&both";
    fraReverse = frame(this, anim::ReverseYCaption, reverseTip, 4440, 5760, 1455, 1695);
    const std::array<QString, 4> reverseY = {"&neither", "&forces only", "&centres only", both};
    for (std::size_t i = 0; i < 4; ++i)
        optReverse[i] = choice<QRadioButton>(fraReverse, reverseY[i], reverseTips[i], 120,
                                             240 + 270 * int(i), 1275, 255);
    chkReverseAz = placed(new QCheckBox("Reverse Az", fraReverse), 120, 1350, 1275, 255);
    chkReverseAz->setEnabled(false);
    optReverse[1]->setChecked(true);

    fraPlate =
        frame(this, "Force plate", "Click type of force plate outline", 6000, 5760, 1815, 1695);
    optPlate[0] =
        choice<QRadioButton>(fraPlate, "&none", "No force plate outline", 120, 240, 1635, 255);
    optPlate[1] = choice<QRadioButton>(fraPlate, "&Kistler 40x60 cm",
                                       "Kistler 40x60 cm force plate", 120, 510, 1635, 255);
    optPlate[2] = choice<QRadioButton>(fraPlate, "&AMTI 20x18.25\"", "AMTI  20x18.25\" force plate",
                                       120, 780, 1635, 255);
    optPlate[3] = choice<QRadioButton>(fraPlate, "Kistler &60x60 cm", "Kistler 60x60 cm plate", 120,
                                       1050, 1635, 255);
    optPlate[4] =
        choice<QRadioButton>(fraPlate, "&other", "Custom size plate", 120, 1320, 1635, 255);
    optPlate[0]->setChecked(true);
    optPlate[4]->setEnabled(false);

    fraReverse2 = frame(this, anim::ReverseXCaption, reverseTip, 6000, 5760, 1575, 1695);
    const std::array<QString, 4> reverseX = {"&neither X", "&X forces only", "&X centres only",
                                             both};
    for (std::size_t i = 0; i < 4; ++i)
        optReverse[i + 4] = choice<QRadioButton>(fraReverse2, reverseX[i], reverseTips[i], 120,
                                                 300 + 330 * int(i), 1395, 255);
    optReverse[4]->setChecked(true);
    fraReverse2->hide();

    fraOptions = frame(this, "Options", "Check an option", 7920, 5760, 1815, 1695);
    chkOptions[0] = choice<QCheckBox>(fraOptions, "Show &footprint", "Click to view footprint", 120,
                                      240, 1635, 240);
    chkOptions[1] =
        choice<QCheckBox>(fraOptions, "Show &C of P path",
                          "Check to display centre of pressure path", 120, 480, 1635, 240);
    chkOptions[2] =
        choice<QCheckBox>(fraOptions, "&No vectors",
                          "Check to remove vectors. Used to show only path of centre of pressure.",
                          120, 720, 1635, 240);
    chkOptions[3] = choice<QCheckBox>(fraOptions, "&Real-time",
                                      "Check to animate vectors at their original sampling rate",
                                      120, 960, 1635, 240);
    chkOptions[4] =
        choice<QCheckBox>(fraOptions, "Normalize to BW",
                          "Check to normalize vectors to body weight", 120, 1200, 1635, 240);
    chkOptions[5] = choice<QCheckBox>(fraOptions, "Use Az", "", 120, 1440, 1635, 240);
    chkOptions[1]->setChecked(true);
    for (int i = 0; i <= 4; ++i)
        chkOptions[std::size_t(i)]->setEnabled(false);

    cmdPrint = button(this, "&Print", "", 120, 5880, 975, 375);
    cmdMinimum = button(this, "&Small", "", 120, 6360, 975, 375);
    cmdOk = button(this, "O&K", "Click to exit form", 120, 6960, 975, 495);

    cmdStop->hide();
    txtAnimate->hide();
}

void frmAnimForces::connectHandlers()
{
    connect(cmdOk, &QPushButton::clicked, this, &frmAnimForces::cmdOk_Click);
    connect(cmdMinimum, &QPushButton::clicked, this, &frmAnimForces::cmdMinimum_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmAnimForces::cmdPrint_Click);
    connect(cmdAnimate, &QPushButton::clicked, this, &frmAnimForces::cmdAnimate_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmAnimForces::cmdStop_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmAnimForces::cmdView_Click);
    connect(cmdStep, &QPushButton::clicked, this, &frmAnimForces::cmdStep_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmAnimForces::cmdReset_Click);
    connect(comDelay, &QComboBox::activated, this, &frmAnimForces::comDelay_Click);
    connect(comIncrement, &QComboBox::activated, this, &frmAnimForces::comIncrement_Click);

    const auto group = [this](auto& buttons, int first, int count, bool exclusive) {
        auto* g = new QButtonGroup(this);
        g->setExclusive(exclusive);
        for (int i = first; i < first + count; ++i)
            g->addButton(buttons[std::size_t(i)], i);
        return g;
    };
    m_modeGroup = group(optMode, 0, 4, true);
    m_viewGroup = group(optView, 0, 5, true);
    m_reverseYGroup = group(optReverse, 0, 4, true);
    m_reverseXGroup = group(optReverse, 4, 4, true);
    m_plateGroup = group(optPlate, 0, 5, true);
    m_optionsGroup = group(chkOptions, 0, 6, false);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &frmAnimForces::optMode_Click);
    connect(m_viewGroup, &QButtonGroup::idClicked, this, &frmAnimForces::optView_Click);
    connect(m_reverseYGroup, &QButtonGroup::idClicked, this, &frmAnimForces::optReverse_Click);
    connect(m_reverseXGroup, &QButtonGroup::idClicked, this, &frmAnimForces::optReverse_Click);
    connect(m_plateGroup, &QButtonGroup::idClicked, this, &frmAnimForces::optPlate_Click);
    connect(m_optionsGroup, &QButtonGroup::idClicked, this, &frmAnimForces::chkOptions_Click);
    connect(chkReverseAz, &QCheckBox::clicked, this, &frmAnimForces::chkReverseAz_Click);

    connect(txtMagnify, &QLineEdit::textChanged, this, &frmAnimForces::txtMagnify_Change);
    connect(txtScaleF, &QLineEdit::textChanged, this, &frmAnimForces::txtScaleF_Change);
    connect(txtWeight, &QLineEdit::textChanged, this, &frmAnimForces::txtWeight_Change);
    // Enter in a value box asks for the value as a click does, for keyboard users.
    connect(txtMagnify, &QLineEdit::returnPressed, this, &frmAnimForces::txtMagnify_Click);
    connect(txtScaleF, &QLineEdit::returnPressed, this, &frmAnimForces::txtScaleF_Click);
    connect(txtWeight, &QLineEdit::returnPressed, this, &frmAnimForces::txtWeight_Click);

    // Key preview and the clicks on the value boxes are seen through one filter.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void frmAnimForces::Form_Load()
{
    picVectors->setBackColour(Qt::black);
    picVectors->setDrawWidth(1);

    ForceScale = 0.01;
    Magnification = VectorSize = 1.0f;
    SmallLayout = false;
    ModeIndex = 2;
    PlateIndex = 0;
    ViewIndex = 1;
    // The axis labels name the view drawn from the first picture on.
    showViewCaptions(ViewIndex);
    HorizForceSign = -1;
    HorizCentreSign = VertForceSign = VertCentreSign = AzSign = 1;
    Animating = true;
    StepMode = false;

    SettingsStore& settings = m_platform.settings;
    const auto number = [&settings](const char* key, const char* fallback) {
        const double v =
            lenientNumber(settings.get(SettingsApp, SettingsSection, key, fallback).toStdString());
        return std::isfinite(v) ? v : 0.0;
    };
    PitchDeg = number("pitch", "0");
    RollDeg = number("roll", "0");
    YawDeg = float(number("yaw", "0"));
    txtRx->setText(anim::angleText(PitchDeg));
    txtRy->setText(anim::angleText(RollDeg));
    txtRz->setText(anim::angleText(YawDeg));

    Increment = 1;
    Delay = int16_t(std::clamp(std::round(number("delay", "1")), -32768.0, 32767.0));

    comIncrement->clear();
    for (int i = 1; i <= 12; ++i)
        comIncrement->addItem(QString::number(i));
    comDelay->clear();
    for (int d : {0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 50, 100})
        comDelay->addItem(QString::number(d));
    anim::showListText(comIncrement, QString::number(Increment));
    anim::showListText(comDelay, QString::number(Delay));

    ShowPath = chkOptions[1]->isChecked();

    txtFrame->setText("0");
    txtRecord->setText(QString::number(m_state.forces.RecordNo[1]));

    cmdStop->show();
    cmdAnimate->hide();

    StopRequested = false;
    Animating = true;
    SettingsChanged = true;
}

void frmAnimForces::refreshReadouts()
{
    const ForceTable& t = m_state.forces;
    txtForces->setText(QString::number(t.RecordCount));
    txtRate->setText(anim::valueText(t.samplingRateHz()));
    txtTrial->setText(m_state.ForceFile);
    txtWeight->setText(anim::valueText(t.BodyWeight));
    chkOptions[4]->setEnabled(t.BodyWeight > 0);
    lblTitle->setText(QString::fromStdString(t.TrialTitle));
    txtMagnify->setText(anim::valueText(Magnification));
    txtScaleF->setText(anim::valueText(VectorSize));
}

void frmAnimForces::Form_Activate()
{
    if (m_unloaded)
        return;
    if (m_activationPending) {
        activateFromMain();
        return;
    }
    refreshReadouts();
    // Coming back to the window leaves a running playback, or a stopped picture, as
    // it is; only a window that is due to animate starts now.
    if (m_playing || StopRequested)
        return;
    picVectors->cls();
    PlaybackLoop();
}

void frmAnimForces::activateFromMain()
{
    m_activationPending = false;
    if (m_unloaded)
        return;
    refreshReadouts();
    if (m_playing) {
        // The trial may have been read again: the running playback starts over.
        m_restartPlayback = true;
        return;
    }
    picVectors->cls();
    if (!StopRequested)
        PlaybackLoop();
}

void frmAnimForces::requestActivation()
{
    m_activationPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_activationPending)
                activateFromMain();
        },
        Qt::QueuedConnection);
}

QSize frmAnimForces::frameMarginsPx() const
{
    if (!isVisible())
        return {0, 0};
    const QRect outer = frameGeometry();
    return {std::max(0, outer.width() - width()), std::max(0, outer.height() - height())};
}

void frmAnimForces::Form_Resize()
{
    if (isMinimized())
        return;
    SettingsChanged = true;
    if (SmallLayout)
        return;
    applyResizeLayout();
}

void frmAnimForces::adoptWindowFrame()
{
    if (SmallLayout || !isVisible() || isMinimized())
        return;
    const QSize margins = frameMarginsPx();
    if (margins == m_layoutMargins)
        return;
    if (size() == m_openingSize) {
        const anim::ResizeLayout l =
            anim::resizeLayout(std::max(DesignWidth, anim::MinimumWindowWidth),
                               std::max(DesignHeight, anim::MinimumWindowHeight));
        setMinimumSize(0, 0);
        resize(twipsToPixels(l.windowWidth) - margins.width(),
               twipsToPixels(l.windowHeight) - margins.height());
        m_openingSize = size();
    }
    applyResizeLayout();
}

void frmAnimForces::applyResizeLayout()
{
    const QSize margins = frameMarginsPx();
    m_layoutMargins = margins;
    const int outerWidth = pixelsToTwips(width() + margins.width());
    const int outerHeight = pixelsToTwips(height() + margins.height());
    const anim::ResizeLayout l = anim::resizeLayout(outerWidth, outerHeight);

    setMinimumSize(twipsToPixels(anim::MinimumWindowWidth) - margins.width(),
                   twipsToPixels(anim::MinimumWindowHeight) - margins.height());
    if (l.windowWidth != outerWidth || l.windowHeight != outerHeight)
        resize(std::max(width(), twipsToPixels(l.windowWidth) - margins.width()),
               std::max(height(), twipsToPixels(l.windowHeight) - margins.height()));

    placeTwips(picVectors, anim::PictureLeft, anim::PictureTop, int(std::lround(l.pictureWidth)),
               int(std::lround(l.pictureHeight)));
    moveTwips(lblAbscissa, l.abscissaLeft, l.abscissaTop);
    moveTwips(lblOrdinate, l.ordinateLeft, l.ordinateTop);
    for (QGroupBox* f : {fraMode, fraPlate, fraView, fraOptions, fraReverse, fraReverse2})
        moveTwips(f, pixelsToTwips(f->x()), l.rowTop);
    moveTwips(cmdPrint, pixelsToTwips(cmdPrint->x()), l.printTop);
    moveTwips(cmdMinimum, pixelsToTwips(cmdMinimum->x()), l.smallTop);
    moveTwips(cmdOk, pixelsToTwips(cmdOk->x()), l.okTop);
    moveTwips(fraTitle, pixelsToTwips(fraTitle->x()), l.titleTop);
    moveTwips(fraSizing, l.sizingLeft, pixelsToTwips(fraSizing->y()));
}

void frmAnimForces::cmdMinimum_Click()
{
    if (SmallLayout)
        return;
    SmallLayout = true;
    moveTwips(picVectors, anim::SmallMargin, anim::SmallMargin);
    const QSize margins = frameMarginsPx();
    const anim::SmallLayout s =
        anim::smallLayout(pixelsToTwips(picVectors->width()), pixelsToTwips(picVectors->height()));
    // The client area keeps the whole picture with its margin on every side, however
    // tall the window's title bar is.
    const int margin = twipsToPixels(anim::SmallMargin);
    const int clientWidth =
        std::max(twipsToPixels(int(std::lround(s.windowWidth))) - margins.width(),
                 picVectors->width() + 2 * margin);
    const int clientHeight =
        std::max(twipsToPixels(int(std::lround(s.windowHeight))) - margins.height(),
                 picVectors->height() + 2 * margin);
    setMinimumSize(0, 0);
    resize(clientWidth, clientHeight);
}

void frmAnimForces::cmdPrint_Click()
{
    if (!ConfirmPrint(m_state, m_platform))
        return;
    // The shared print routine: where no printer is installed it writes a PDF under a
    // name not yet taken, so an earlier print is never written over.
    printWindow(this, m_state, m_platform,
                [this](const QString& where) { emit statusMessage(where); });
}

void frmAnimForces::cmdOk_Click()
{
    SettingsStore& settings = m_platform.settings;
    settings.save(SettingsApp, SettingsSection, "delay", QString::number(Delay));
    settings.save(SettingsApp, SettingsSection, "pitch",
                  QString::fromStdString(shortestNumberText(PitchDeg)));
    settings.save(SettingsApp, SettingsSection, "roll",
                  QString::fromStdString(shortestNumberText(RollDeg)));
    settings.save(SettingsApp, SettingsSection, "yaw", QString::number(YawDeg, 'g', 7));
    emit mainWindowWanted();
    hide();
}

void frmAnimForces::Form_Unload(bool& cancel)
{
    cancel = false;
    StopRequested = true;
    cmdOk_Click();
    m_unloaded = true;
    finishUnload();
}

void frmAnimForces::setDeleteWhenUnloaded(bool on)
{
    m_deleteWhenUnloaded = on;
    finishUnload();
}

void frmAnimForces::finishUnload()
{
    // Never deleted under a running pass: the pass sees the mark at its next yield and
    // the last one out deletes the window.
    if (m_unloaded && m_deleteWhenUnloaded && m_busy == 0)
        deleteLater();
}

bool frmAnimForces::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) {
        const bool handled = QWidget::event(e);
        adoptWindowFrame();
        Form_Activate();
        return handled;
    }
    const bool handled = QWidget::event(e);
    // The frame becomes known some time after the window is shown, and moves it.
    if (e->type() == QEvent::Move || e->type() == QEvent::Show)
        adoptWindowFrame();
    return handled;
}

void frmAnimForces::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmAnimForces::closeEvent(QCloseEvent* e)
{
    if (m_unloaded) {
        e->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        e->ignore();
    else
        e->accept();
}

bool frmAnimForces::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && KeyPreview) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const int code = virtualKey(key->key());
        if (code == 0 || key->isAutoRepeat())
            return QWidget::eventFilter(watched, e);
        // Space is the window's only while it animates; otherwise it presses buttons.
        if (code == 32 && !Animating)
            return QWidget::eventFilter(watched, e);
        Form_KeyDown(code);
        return true;
    }
    if (e->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget && widget->rect().contains(mouse->pos())) {
            if (watched == txtMagnify)
                txtMagnify_Click();
            else if (watched == txtScaleF)
                txtScaleF_Click();
            else if (watched == txtWeight)
                txtWeight_Click();
        }
    }
    return QWidget::eventFilter(watched, e);
}
