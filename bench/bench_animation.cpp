// The animation's costs a user notices: a static view of a full table (5000 records)
// in the rotated custom view, one pass at delay 0, and the processor time taken while
// a trial animates at the longest delay. All on the offscreen platform.

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "core/SharedState.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>

namespace
{

QtPlatform& services()
{
    static QtPlatform platform;
    return platform;
}

// A pump that lets nothing run: what the drawing itself costs.
class NoEvents : public EventPump
{
public:
    void yield() override {}
    void yieldFor(int) override {}
    void setBusy(bool) override {}
};

void fillTable(ForceTable& t, int records)
{
    t.RecordCount = static_cast<int16_t>(records);
    t.SamplingRate = "1000";
    t.BodyWeight = 712.4f;
    t.TrialTitle = "BENCH01 walking, right foot on plate 1  ";
    for (int i = 1; i <= records; ++i) {
        const double phase = 3.14159265 * i / records;
        t.Fx[i] = -60 * std::sin(2 * phase);
        t.Fy[i] = 8 * std::sin(phase);
        t.Fz[i] = 712.4 * std::sin(phase) + 1;
        t.Ax[i] = 5 + 3 * std::cos(phase);
        t.Ay[i] = -12 + 24.0 * i / records;
        t.Extra[i] = 1.5 * std::sin(phase);
        t.RecordNo[i] = static_cast<int16_t>(i);
    }
}

std::unique_ptr<frmAnimForces> window(SharedState& s, Platform& p)
{
    fillTable(s.forces, 5000);
    auto w = std::make_unique<frmAnimForces>(s, p);
    w->StopRequested = true; // no playback at activation
    w->show();
    QCoreApplication::processEvents();
    return w;
}

void staticCustomView(benchmark::State& state, Platform& platform)
{
    static SharedState s;
    auto w = window(s, platform);
    w->PitchDeg = 20;
    w->RollDeg = 10;
    w->YawDeg = 30;
    w->optView[3]->setChecked(true);
    w->Animating = false;
    for (auto _ : state) {
        w->cmdView_Click();
        QCoreApplication::processEvents(); // the last paint
    }
    state.counters["lines"] = double(w->picVectors->primitives().size());
}

void BM_StaticCustomView(benchmark::State& state)
{
    staticCustomView(state, services().platform());
}
BENCHMARK(BM_StaticCustomView)->Unit(benchmark::kMillisecond);

void BM_StaticCustomViewDrawingOnly(benchmark::State& state)
{
    static NoEvents none;
    Platform& q = services().platform();
    static Platform p{q.settings, q.dialogs, q.launcher, q.files, none, q.clock, q.printer, q.env};
    staticCustomView(state, p);
}
BENCHMARK(BM_StaticCustomViewDrawingOnly)->Unit(benchmark::kMillisecond);

void BM_PassAtDelay0(benchmark::State& state)
{
    static SharedState s;
    auto w = window(s, services().platform());
    w->ModeIndex = 2; // history: three lines a record
    w->StopRequested = false;
    for (auto _ : state)
        w->ViewVectors(0);
}
BENCHMARK(BM_PassAtDelay0)->Unit(benchmark::kMillisecond);

double processorSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Ten seconds of playback at delay 100; reports the share of one core used.
void BM_AnimateAtDelay100(benchmark::State& state)
{
    static SharedState s;
    auto w = window(s, services().platform());
    w->Delay = 100;
    double share = 0;
    for (auto _ : state) {
        // A stop lets the pass run to its last record; a changed setting while
        // animating ends it at the next one.
        QTimer::singleShot(10000, w.get(), [&w] {
            w->StopRequested = true;
            w->SettingsChanged = true;
        });
        const double cpu = processorSeconds();
        QElapsedTimer wall;
        wall.start();
        w->cmdAnimate_Click();
        share = (processorSeconds() - cpu) / (double(wall.elapsed()) / 1000);
    }
    state.counters["core_percent"] = 100 * share;
}
BENCHMARK(BM_AnimateAtDelay100)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
