#pragma once

// The animation window on fake services, with a trial in the force table and the
// helpers its tests share.

#include "SampleTrial.h"
#include "animation/AnimateForces.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using Primitive = PictureBox::Primitive;

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);
const QColor Grey8(128, 128, 128);
const QColor Grey7(192, 192, 192);
const QColor Cyan(0, 255, 255);

struct AnimWindow : testing::Test {
    AnimWindow()
    {
        fillStance(state.forces, 10, 0);
        state.ForceFile = "WALK01.RF";
        // Every playback in these tests ends by script; one that would run away is
        // closed and reported instead of hanging the suite.
        fake.events.onYield = [this](int n) {
            if (script)
                script(n);
            if (n > 200000 && w && !w->isUnloaded()) {
                ADD_FAILURE() << "playback never ended";
                w->close();
            }
        };
    }

    void open() { w = std::make_unique<frmAnimForces>(state, fake.platform()); }

    // Every playback stops at its first yield (its pass still runs to the end).
    void stopAtOnce()
    {
        script = [this](int) {
            if (w->Animating)
                w->cmdStop_Click();
        };
    }

    // The vectors drawn in one colour, in order.
    std::vector<Primitive> lines(const QColor& colour) const
    {
        std::vector<Primitive> out;
        for (const Primitive& p : w->picVectors->primitives())
            if (p.kind == Primitive::Line && p.colour == colour)
                out.push_back(p);
        return out;
    }

    // Where record i stands in the current drawing state.
    anim::VectorLine vectorOf(int i) const
    {
        anim::Projection p;
        p.ViewIndex = w->ViewIndex;
        p.CentreScale = w->Magnification;
        p.VectorScale = anim::vectorScale(w->VectorSize, w->Magnification, w->ForceScale);
        p.HorizForceSign = w->HorizForceSign;
        p.HorizCentreSign = w->HorizCentreSign;
        p.VertForceSign = w->VertForceSign;
        p.VertCentreSign = w->VertCentreSign;
        p.Pitch = anim::angleRadians(w->PitchDeg);
        p.Roll = anim::angleRadians(w->RollDeg);
        p.Yaw = anim::angleRadians(w->YawDeg);
        return anim::baseAndTip(state.forces, i, p);
    }

    std::vector<int> framesOf(const std::vector<Primitive>& drawn) const
    {
        std::vector<int> frames;
        for (const Primitive& p : drawn)
            for (int i = 1; i <= state.forces.RecordCount; ++i)
                if (p.from == vectorOf(i).base && p.to == vectorOf(i).tip)
                    frames.push_back(i);
        return frames;
    }

    void choose(std::array<QRadioButton*, 5>& buttons, int index,
                void (frmAnimForces::*handler)(int))
    {
        buttons[std::size_t(index)]->setChecked(true);
        (w.get()->*handler)(index);
    }

    SharedState state;
    FakePlatform fake;
    std::unique_ptr<frmAnimForces> w;
    std::function<void(int)> script;
};
