#include "animation/AnimationText.h"
#include "animation/PictureBox.h"
#include "animation/PlaybackText.h"
#include "animation/frmAnimForces.h"
#include "core/Library.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "platform/Platform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

// Counts the passes and loops on the call stack, so an unloaded window is deleted only
// once the last of them has returned.
class frmAnimForces::BusyScope
{
public:
    explicit BusyScope(frmAnimForces& window) : m_window(window) { ++m_window.m_busy; }
    ~BusyScope()
    {
        --m_window.m_busy;
        m_window.finishUnload();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    frmAnimForces& m_window;
};

void frmAnimForces::PlaybackLoop()
{
    // A stopped window stays as the user left it; a running playback takes the new
    // settings by starting over rather than running a second one inside itself.
    if (m_unloaded || StopRequested)
        return;
    if (m_playing) {
        m_restartPlayback = true;
        return;
    }
    BusyScope busy(*this);
    m_playing = true;
    do {
        if (optView[4]->isChecked())
            selectCustomView();
        cmdAnimate->hide();
        txtAnimate->show();
        cmdStop->show();
        KeyPreview = true;
        ViewIndex = int16_t(std::clamp(m_viewGroup->checkedId(), 0, 3));
        ModeIndex = int16_t(std::max(m_modeGroup->checkedId(), 0));
        picVectors->cls();
        m_restartPlayback = false;
        while (!StopRequested && !m_unloaded && !m_restartPlayback) {
            ViewVectors(Delay);
            if (m_unloaded || m_restartPlayback || !waitBetweenPasses())
                break;
        }
    } while (m_restartPlayback && !StopRequested && !m_unloaded);
    m_restartPlayback = false;
    m_playing = false;
}

bool frmAnimForces::waitBetweenPasses()
{
    const double start = m_platform.clock.elapsed();
    while (!StopRequested && !m_restartPlayback) {
        const double left = 1.0 - (m_platform.clock.elapsed() - start);
        if (left <= 0)
            break;
        m_platform.events.yieldFor(std::clamp(int(std::ceil(left * 1000)), 1, 20));
        if (m_unloaded)
            return false;
    }
    return true;
}

void frmAnimForces::ViewVectors(int16_t delay)
{
    runPass(delay, false);
}

void frmAnimForces::runPass(int16_t delay, bool isStatic)
{
    if (m_unloaded)
        return;
    BusyScope busy(*this);
    struct StaticCount {
        int& count;
        bool on;
        ~StaticCount()
        {
            if (on)
                --count;
        }
    } staticCount{m_staticPasses, isStatic};
    if (isStatic)
        ++m_staticPasses;

    for (;;) {
        if (isStatic)
            m_restartStatic = false;
        SettingsChanged = false;
        if (ModeIndex != anim::CycleMode)
            picVectors->cls();
        const PassScales scales{anim::centreScale(Magnification),
                                anim::vectorScale(VectorSize, Magnification, ForceScale)};
        if (const auto scale = anim::viewScale(ViewIndex))
            picVectors->setScale(scale->upperLeft, scale->lowerRight);
        DrawPlate();
        if (Increment < 1)
            Increment = 1;
        const PassEnd end = drawRecords(delay, isStatic, scales);
        if (!m_unloaded)
            refreshDisplay(true);
        if (end != PassEnd::Restart)
            break;
    }
}

void frmAnimForces::refreshDisplay(bool now)
{
    // About the refresh rate of a screen: more often would only cost time.
    constexpr double Interval = 1.0 / 60;
    const double time = m_platform.clock.elapsed();
    if (!now && time >= m_lastRefresh && time - m_lastRefresh < Interval)
        return;
    m_lastRefresh = time;
    picVectors->flush();
    if (m_pendingReadout <= 0)
        return;
    const ForceTable& t = m_state.forces;
    const int i = std::min<int>(m_pendingReadout, ForceTable::RecordCapacity);
    const double rate = t.samplingRateHz();
    const int16_t recordNo = t.RecordNo[std::size_t(i)];
    txtRecord->setText(QString::number(recordNo));
    txtFrame->setText(QString::number(i));
    txtFrameTime->setText(FormatField(anim::sampleTime(i, rate)));
    txtRecordTime->setText(FormatField(anim::sampleTime(recordNo, rate)));
    m_pendingReadout = 0;
    emit recordShown(i);
}

anim::Projection frmAnimForces::projection(const PassScales& scales) const
{
    anim::Projection p;
    p.ViewIndex = ViewIndex;
    p.CentreScale = scales.centre;
    p.VectorScale = scales.vector;
    p.HorizForceSign = HorizForceSign;
    p.HorizCentreSign = HorizCentreSign;
    p.VertForceSign = VertForceSign;
    p.VertCentreSign = VertCentreSign;
    p.AzSign = AzSign;
    p.UseAz = chkOptions[5]->isChecked();
    p.Pitch = anim::angleRadians(PitchDeg);
    p.Roll = anim::angleRadians(RollDeg);
    p.Yaw = anim::angleRadians(YawDeg);
    return p;
}

bool frmAnimForces::passInterrupted(bool isStatic) const
{
    return m_unloaded || (isStatic ? m_restartStatic : m_restartPlayback);
}

bool frmAnimForces::yieldAndContinue(bool isStatic)
{
    m_platform.events.yield();
    return !passInterrupted(isStatic);
}

frmAnimForces::PassEnd frmAnimForces::drawRecords(int16_t delay, bool isStatic, PassScales scales)
{
    const ForceTable& t = m_state.forces;
    const auto interrupted = [this, isStatic] {
        return !m_unloaded && isStatic && m_restartStatic ? PassEnd::Restart : PassEnd::Ended;
    };
    const int last = std::min<int>(t.RecordCount, ForceTable::RecordCapacity);
    const int step = std::max(1, int(std::lround(Increment)));
    QPointF previousBase(0, 0);
    QPointF previousTip(0, 0);
    int i = 1;
    for (; i <= last; i += step) {
        CurrentRecord = i;
        const std::size_t k = std::size_t(i);
        if (t.Fz[k] == 0) {
            if (!yieldAndContinue(isStatic))
                return interrupted();
            continue;
        }

        const anim::VectorLine v = anim::baseAndTip(t, i, projection(scales));
        if (anim::drawsPath(ViewIndex, ShowPath, i, t.RecordCount)) {
            picVectors->setDrawWidth(2);
            picVectors->line(v.base, previousBase, anim::PathColour);
            picVectors->setDrawWidth(1);
        }
        if (anim::drawsVectors(ViewIndex, chkOptions[2]->isChecked())) {
            if (const auto colour = anim::previousVectorColour(ModeIndex, i))
                picVectors->line(previousBase, previousTip, *colour);
            picVectors->line(v.base, v.tip, anim::VectorColour);
        }
        if (!yieldAndContinue(isStatic))
            return interrupted();

        m_pendingReadout = i;
        refreshDisplay(false);

        if (SettingsChanged && Animating)
            return PassEnd::Ended;
        for (int unit = 0; unit < delay; ++unit) {
            m_platform.events.yieldFor(DelayUnitMs);
            if (passInterrupted(isStatic))
                return interrupted();
        }

        if (StepMode) {
            refreshDisplay(true);
            const int answer = m_platform.dialogs.message(
                anim::stepDialogText(t, i, t.samplingRateHz(), m_state.LF), "Step mode",
                MessageIcon::Question, MessageButtons::YesNoCancel);
            m_state.LastResult = answer;
            if (passInterrupted(isStatic))
                return interrupted();
            if (answer == AnswerNo) {
                StepMode = false;
            } else if (answer == AnswerCancel) {
                Animating = false;
                StepMode = false;
                runStaticView();
                return interrupted();
            }
        }

        if (const auto colour = anim::finishedVectorColour(ModeIndex, chkOptions[2]->isChecked()))
            picVectors->line(v.base, v.tip, *colour);
        previousBase = v.base;
        previousTip = v.tip;
        if (!yieldAndContinue(isStatic))
            return interrupted();
    }
    // As a counted loop leaves its counter: one step past the last record.
    CurrentRecord = i;
    return PassEnd::Finished;
}

void frmAnimForces::DrawPlate()
{
    picVectors->setDrawWidth(1);
    const auto plate = anim::plateShape(PlateIndex, ViewIndex, Magnification);
    if (!plate)
        return;
    if (plate->filled)
        picVectors->filledBox(plate->corner1, plate->corner2, anim::PlateColour);
    else
        picVectors->box(plate->corner1, plate->corner2, anim::PlateColour);
}

void frmAnimForces::showAnimateButton()
{
    cmdAnimate->show();
    cmdStop->hide();
}

void frmAnimForces::selectCustomView()
{
    optView[3]->setChecked(true);
    // The caller draws next; the view handler need not draw as well.
    m_redrawSuppressed = true;
    optView_Click(3);
    m_redrawSuppressed = false;
}

void frmAnimForces::runStaticView()
{
    if (m_unloaded)
        return;
    if (optView[4]->isChecked())
        selectCustomView();
    KeyPreview = false;
    StopRequested = true;
    Animating = false;
    txtAnimate->hide();
    showAnimateButton();
    picVectors->cls();
    ModeIndex = anim::AllMode;
    // A static view asked for while one draws starts that one over.
    if (m_staticPasses > 0) {
        m_restartStatic = true;
        return;
    }
    runPass(0, true);
}

void frmAnimForces::cmdAnimate_Click()
{
    StopRequested = false;
    Animating = true;
    PlaybackLoop();
}

void frmAnimForces::cmdStop_Click()
{
    Animating = false;
    StopRequested = true;
    txtAnimate->hide();
    showAnimateButton();
}

void frmAnimForces::cmdView_Click()
{
    runStaticView();
}

void frmAnimForces::cmdStep_Click()
{
    StepMode = !StepMode;
    if (!Animating)
        cmdAnimate_Click();
}

void frmAnimForces::cmdReset_Click()
{
    Magnification = 1.0f;
    VectorSize = 1.0f;
    txtMagnify->setText(anim::valueText(Magnification));
    txtScaleF->setText(anim::valueText(VectorSize));
    Increment = 1;
    Delay = 1;
    anim::showListText(comIncrement, "1");
    anim::showListText(comDelay, "1");
    SettingsChanged = true;
    if (!Animating)
        runStaticView();
}

void frmAnimForces::comDelay_Click()
{
    const double chosen = lenientNumber(comDelay->currentText().toStdString());
    Delay = int16_t(std::clamp(std::round(chosen), 0.0, 32767.0));
    PlaybackLoop();
}

void frmAnimForces::comIncrement_Click()
{
    Increment = lenientNumber(comIncrement->currentText().toStdString());
    if (!Animating)
        runStaticView();
}

void frmAnimForces::Form_KeyDown(int keyCode)
{
    switch (keyCode) {
    case 112:
        m_platform.dialogs.message("No help available.", "", MessageIcon::None, MessageButtons::OK);
        break;
    case 113:
        Magnification = 1.0f;
        txtMagnify_Change();
        break;
    case 114:
        Delay = 1;
        anim::showListText(comDelay, "1");
        break;
    case 115:
        Increment = 1;
        anim::showListText(comIncrement, "1");
        break;
    case 32:
        if (Animating)
            showPauseDialog();
        break;
    default:
        break;
    }
}

void frmAnimForces::showPauseDialog()
{
    refreshDisplay(true);
    const ForceTable& t = m_state.forces;
    const int answer = m_platform.dialogs.message(
        anim::pauseDialogText(t, CurrentRecord, t.samplingRateHz(), m_state.LF), "Pause mode",
        MessageIcon::Question, MessageButtons::OKCancel);
    m_state.LastResult = answer;
    if (answer == AnswerCancel) {
        Animating = false;
        StepMode = false;
        runStaticView();
    }
}
