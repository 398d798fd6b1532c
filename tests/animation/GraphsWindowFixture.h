#pragma once

// The graph window on fake services with the animation window beside it, as the graph
// window's tests share it.

#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/ChartView.h"
#include "animation/graphs/PassDrawing.h"
#include "animation/graphs/PictureExport.h"
#include "animation/graphs/frmGraphs.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "fakes/FileSizeLimit.h"
#include "forcedata/ExportFile.h"
#include "forcedata/ForceTableCsv.h"
#include "forcedata/RfReader.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace graphs;

struct GraphsWindow : testing::Test {
    GraphsWindow()
    {
        fillStance(state.forces, 10, 0);
        state.ForceFile = "WALK01.RF";
        state.DataDir = dir.path();
        fake.events.onYield = [this](int n) {
            if (script)
                script(n);
        };
    }

    void open(bool withAnimation = true)
    {
        if (withAnimation) {
            anim = std::make_unique<frmAnimForces>(state, fake.platform());
            anim->StopRequested = true; // stopped, as after "&Stop"
            anim->Animating = false;
        }
        g = std::make_unique<frmGraphs>(state, fake.platform());
        g->linkAnimation(anim.get());
        settle();
    }
    void settle() { QCoreApplication::processEvents(); }
    void key(Qt::Key k) { QTest::keyClick(g->chart, k); }

    QTemporaryDir dir;
    SharedState state;
    FakePlatform fake;
    std::unique_ptr<frmAnimForces> anim;
    std::unique_ptr<frmGraphs> g;
    std::function<void(int)> script;
};
