#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "fakes/FakePlatform.h"
#include "main/SharedState.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <gtest/gtest.h>

TEST(Render, Views)
{
    const QString dir = qEnvironmentVariable("ORVANE_RENDER_DIR");
    if (dir.isEmpty())
        GTEST_SKIP();
    SharedState state;
    FakePlatform fake;
    fillStance(state.forces);
    state.ForceFile = "WALK01.RF";
    frmAnimForces w(state, fake);
    fake.events.onYield = [&](int n) { if (n == 3) w.cmdStop_Click(); };
    w.show();
    QApplication::processEvents();
    w.Form_Activate();
    fake.events.onYield = nullptr;
    w.grab().save(dir + "/activate-stopped.png");
    w.optPlate[1]->setChecked(true);
    w.optPlate_Click(1);
    for (int v : {0, 1, 2}) {
        w.optView[v]->setChecked(true);
        w.optView_Click(v);
        w.grab().save(dir + QString("/static-view%1.png").arg(v));
    }
    fake.dialogs.inputAnswers = {"20", "10", "30"};
    w.optView[4]->setChecked(true);
    w.optView_Click(4);
    w.grab().save(dir + "/static-custom.png");
    for (int m : {1, 2, 3}) {
        w.optView[1]->setChecked(true);
        w.optView_Click(1);
        int stopAt = fake.events.yields + 150;
        fake.events.onYield = [&](int n) { if (n == stopAt) { w.grab().save(dir + QString("/mode%1-mid.png").arg(m)); w.cmdStop_Click(); } };
        w.optMode[m]->setChecked(true);
        w.optMode_Click(m);
        fake.events.onYield = nullptr;
        w.grab().save(dir + QString("/mode%1-end.png").arg(m));
    }
    w.optView[0]->setChecked(true);
    w.optView_Click(0);
    w.grab().save(dir + "/top-static.png");
    w.resize(1100, 700);
    QApplication::processEvents();
    w.grab().save(dir + "/wide.png");
    w.cmdMinimum_Click();
    QApplication::processEvents();
    w.grab().save(dir + "/small.png");
}
