#include "animation/AnimationText.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace
{

// The value of a typed answer; a number too large to compute with counts as none.
double answerValue(const QString& answer)
{
    const double v = lenientNumber(answer.toStdString());
    return std::isfinite(v) ? v : 0.0;
}

// A positive factor from a prompt's answer, or 0 when it is not one.
float positiveFactor(const QString& answer)
{
    const float v = float(answerValue(answer));
    return std::isfinite(v) && v > 0 ? v : 0.0f;
}

} // namespace

void frmAnimForces::redraw()
{
    if (!Animating)
        runStaticView();
    else
        cmdAnimate_Click();
}

void frmAnimForces::showViewCaptions(int view)
{
    const anim::ViewCaptions c = anim::viewCaptions(view);
    lblAbscissa->setText(c.abscissa);
    lblOrdinate->setText(c.ordinate);
    if (!c.reverseCaption.isEmpty())
        fraReverse->setTitle(c.reverseCaption);
    fraReverse2->setVisible(c.reverseXShown);
    fraPlate->setVisible(!c.reverseXShown);
}

void frmAnimForces::optView_Click(int index)
{
    ViewIndex = int16_t(index);
    const bool sideOrBack = index == anim::SideView || index == anim::BackView;
    chkOptions[1]->setEnabled(!sideOrBack);
    chkOptions[2]->setEnabled(!sideOrBack);

    showViewCaptions(index);

    if (index == anim::NewCustomView) {
        const QString pitch = m_platform.dialogs.input(
            "Enter X (pitch) rotation in degrees", "X rotation angle", anim::angleText(PitchDeg));
        if (pitch.isEmpty())
            return;
        const QString roll = m_platform.dialogs.input("Enter Y (roll) rotation in degrees",
                                                      "Y rotation angle", anim::angleText(RollDeg));
        if (roll.isEmpty())
            return;
        const QString yaw = m_platform.dialogs.input("Enter Z (yaw) rotation in degrees",
                                                     "Z rotation angle", anim::angleText(YawDeg));
        if (yaw.isEmpty())
            return;
        PitchDeg = answerValue(pitch);
        RollDeg = answerValue(roll);
        YawDeg = float(answerValue(yaw));
        if (!std::isfinite(YawDeg))
            YawDeg = 0;
        txtRx->setText(anim::angleText(PitchDeg));
        txtRy->setText(anim::angleText(RollDeg));
        txtRz->setText(anim::angleText(YawDeg));
        optView[3]->setEnabled(!(PitchDeg == 0 && RollDeg == 0 && YawDeg == 0));
    }
    if (!m_redrawSuppressed)
        redraw();
}

void frmAnimForces::optMode_Click(int index)
{
    ModeIndex = int16_t(index);
    Animating = true;
    cmdAnimate_Click();
}

void frmAnimForces::optPlate_Click(int index)
{
    PlateIndex = int16_t(index);
    picVectors->cls();
    DrawPlate();
    picVectors->flush();
    if (!Animating)
        runStaticView();
}

void frmAnimForces::optReverse_Click(int index)
{
    // Per button: the two signs it sets, on the horizontal axis (0-3) or on X in the
    // top view (4-7).
    static constexpr int forceSign[8] = {1, -1, 1, -1, 1, -1, 1, -1};
    static constexpr int centreSign[8] = {1, 1, -1, -1, 1, 1, -1, -1};
    if (index < 0 || index > 7)
        return;
    if (index < 4) {
        HorizForceSign = forceSign[index];
        HorizCentreSign = centreSign[index];
    } else {
        VertForceSign = forceSign[index];
        VertCentreSign = centreSign[index];
    }
    redraw();
}

void frmAnimForces::chkReverseAz_Click()
{
    AzSign = -AzSign;
}

void frmAnimForces::chkOptions_Click(int)
{
    SettingsChanged = true;
    // Showing no vectors always shows the path.
    if (chkOptions[2]->isChecked() && !chkOptions[1]->isChecked()) {
        chkOptions[1]->setChecked(true);
        chkOptions_Click(1);
    }
    ShowPath = chkOptions[1]->isChecked();
    if (chkOptions[4]->isChecked()) {
        // A trial read without a body weight keeps the scale it had.
        if (const auto scale = anim::normalisedForceScale(m_state.forces.BodyWeight))
            ForceScale = *scale;
    } else {
        ForceScale = 0.01;
    }
    chkReverseAz->setEnabled(chkOptions[5]->isChecked());
}

void frmAnimForces::txtMagnify_Click()
{
    const float v = positiveFactor(m_platform.dialogs.input(
        "Enter magnification factor", "Magnification factor", anim::valueText(Magnification)));
    if (v <= 0)
        return;
    Magnification = v;
    txtMagnify_Change();
    redraw();
}

void frmAnimForces::txtScaleF_Click()
{
    const float v = positiveFactor(m_platform.dialogs.input(
        "Enter force magnification factor", "Force scaling", anim::valueText(VectorSize)));
    if (v <= 0)
        return;
    VectorSize = v;
    txtScaleF_Change();
    redraw();
}

void frmAnimForces::txtWeight_Click()
{
    ForceTable& t = m_state.forces;
    const QString answer = m_platform.dialogs.input("Enter body weight in newtons.", "Body weight",
                                                    anim::valueText(t.BodyWeight));
    if (answer.isEmpty())
        return;
    if (const float v = positiveFactor(answer); v > 0)
        t.BodyWeight = v;
    txtWeight_Change();
    chkOptions[4]->setEnabled(t.BodyWeight > 0);
}

void frmAnimForces::txtMagnify_Change()
{
    const QString shown = anim::valueText(Magnification);
    if (txtMagnify->text() != shown)
        txtMagnify->setText(shown);
}

void frmAnimForces::txtScaleF_Change()
{
    const QString shown = anim::valueText(VectorSize);
    if (txtScaleF->text() != shown)
        txtScaleF->setText(shown);
}

void frmAnimForces::txtWeight_Change()
{
    const QString shown = anim::valueText(m_state.forces.BodyWeight);
    if (txtWeight->text() != shown)
        txtWeight->setText(shown);
}
