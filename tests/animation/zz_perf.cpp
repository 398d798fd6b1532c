#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "main/SharedState.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
}

TEST(Perf, Measure)
{
    if (qEnvironmentVariable("ORVANE_PERF").isEmpty())
        GTEST_SKIP();
    QtSettingsStore settings(QDir::tempPath() + "/anim-perf");
    QtDialogs dialogs;
    QtLauncher launcher;
    QtFileSystem files;
    QtEventPump events;
    QtClock clock;
    QtPrinter printer;
    QtEnvironment env;
    Platform platform{settings, dialogs, launcher, files, events, clock, printer, env};
    auto state = std::make_unique<SharedState>();
    fillStance(state->forces, 5000, 50);
    frmAnimForces w(*state, platform);
    w.show();
    w.StopRequested = true; // no playback from activation
    QApplication::processEvents();

    // Static view, custom view, 5000 records.
    w.PitchDeg = 20; w.RollDeg = 10; w.YawDeg = 30;
    w.optView[3]->setChecked(true);
    w.Animating = false;
    QElapsedTimer t;
    for (int rep = 0; rep < 3; ++rep) {
        t.start();
        w.cmdView_Click();
        printf("static custom view 5000: %lld ms (%zu primitives)\n", (long long)t.elapsed(), w.picVectors->primitives().size());
    }
    // One pass at delay 0 in history mode, side view.
    w.optView[1]->setChecked(true);
    w.ViewIndex = 1; w.ModeIndex = 2; w.Animating = true; w.StopRequested = false;
    for (int rep = 0; rep < 2; ++rep) {
        t.start();
        w.ViewVectors(0);
        printf("pass delay 0 5000 history: %lld ms\n", (long long)t.elapsed());
    }
    // Ten seconds of animation at delay 100.
    w.Delay = 100;
    QTimer::singleShot(10000, &w, [&] { w.cmdStop_Click(); w.close(); });
    const double cpu0 = cpuSeconds();
    t.start();
    w.cmdAnimate_Click();
    const double wall = t.elapsed() / 1000.0;
    printf("delay 100: %.2f s wall, %.3f s cpu = %.1f %%, record %d\n", wall, cpuSeconds() - cpu0, 100 * (cpuSeconds() - cpu0) / wall, w.CurrentRecord);
}
