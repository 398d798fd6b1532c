// The force graphs' costs a user notices: opening the window on a full table, moving
// the cursor one record (alone, and with the stopped animation drawing that record),
// a pass at delay 1 with the graphs following it or without them, and a pass written
// as 370 numbered PNG frames. All on the offscreen platform.

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/ChartView.h"
#include "animation/graphs/FilmWriter.h"
#include "animation/graphs/frmGraphs.h"
#include "core/SharedState.h"
#include "platform/PipedProgram.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>

namespace
{

QtPlatform& services()
{
    static QtPlatform platform;
    return platform;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

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
        t.Fz[i] = 712.4 * std::sin(phase) + 0.25 * 712.4 * std::sin(3 * phase) + 1;
        t.Ax[i] = 5 + 3 * std::cos(phase);
        t.Ay[i] = -12 + 24.0 * i / records;
        t.Mz[i] = float(3 * std::sin(2 * phase));
        t.Extra[i] = 1.5 * std::sin(phase);
        t.RecordNo[i] = static_cast<int16_t>(i);
    }
}

std::unique_ptr<frmAnimForces> stoppedAnimation(SharedState& s)
{
    auto w = std::make_unique<frmAnimForces>(s, services().platform());
    w->StopRequested = true; // no playback at activation
    w->Animating = false;
    w->show();
    QCoreApplication::processEvents();
    return w;
}

void BM_OpenGraphs5000(benchmark::State& state)
{
    static SharedState s;
    fillTable(s.forces, 5000);
    s.ForceFile = "BENCH01.RF";
    for (auto _ : state) {
        frmGraphs g(s, services().platform());
        g.show();
        QCoreApplication::processEvents(); // the first paint of the charts
        state.PauseTiming();
        g.close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGraphs5000)->Unit(benchmark::kMillisecond);

// One Right key on the charts and the repaint it causes; with `linked`, the stopped
// animation also draws the pass up to that record, half way through 5000 records.
void cursorStep(benchmark::State& state, bool linked, Qt::Key direction = Qt::Key_Right)
{
    static SharedState s;
    fillTable(s.forces, 5000);
    std::unique_ptr<frmAnimForces> anim;
    if (linked)
        anim = stoppedAnimation(s);
    frmGraphs g(s, services().platform());
    g.linkAnimation(anim.get());
    g.show();
    QCoreApplication::processEvents();
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QKeyEvent right(QEvent::KeyPress, direction, Qt::NoModifier);
    QApplication::sendEvent(g.chart, &home);
    for (int k = 0; k < 5; ++k)
        QApplication::sendEvent(g.chart, &pageDown);
    QCoreApplication::processEvents();
    // A move back drawing from a far kept picture is the slow one; counted in processor
    // time, as the machine's other work would swamp a wall clock's longest move.
    double slowest = 0;
    for (auto _ : state) {
        const double start = threadCpuMs();
        QApplication::sendEvent(g.chart, &right);
        QCoreApplication::processEvents();
        slowest = std::max(slowest, threadCpuMs() - start);
        if (g.chart->cursorRecord() >= 4999 || g.chart->cursorRecord() <= 1) {
            state.PauseTiming();
            for (int k = 0; k < 5; ++k)
                QApplication::sendEvent(g.chart, &home);
            for (int k = 0; k < 5; ++k)
                QApplication::sendEvent(g.chart, &pageDown);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.counters["slowest_cpu_ms"] = slowest;
}
void BM_CursorOneRecord(benchmark::State& state)
{
    cursorStep(state, false);
}
BENCHMARK(BM_CursorOneRecord)->Unit(benchmark::kMillisecond);
void BM_CursorOneRecordWithAnimation(benchmark::State& state)
{
    cursorStep(state, true);
}
BENCHMARK(BM_CursorOneRecordWithAnimation)->Unit(benchmark::kMillisecond);
// Back one record: the animation goes on from a picture it kept on the way.
void BM_CursorOneRecordBackWithAnimation(benchmark::State& state)
{
    cursorStep(state, true, Qt::Key_Left);
}
BENCHMARK(BM_CursorOneRecordBackWithAnimation)->Unit(benchmark::kMillisecond);
// A tenth of the table back at a time (Page Up), from the middle down to the first record.
void BM_CursorPageBackWithAnimation(benchmark::State& state)
{
    cursorStep(state, true, Qt::Key_PageUp);
}
BENCHMARK(BM_CursorPageBackWithAnimation)->Unit(benchmark::kMillisecond);

// A pass over the walking sample's 370 records at delay 1, the graphs' cursor
// following it (state.range(0) 1) or no graph window (0).
void BM_PassAtDelay1(benchmark::State& state)
{
    static SharedState s;
    fillTable(s.forces, 370);
    auto anim = stoppedAnimation(s);
    std::unique_ptr<frmGraphs> g;
    if (state.range(0)) {
        g = std::make_unique<frmGraphs>(s, services().platform());
        g->linkAnimation(anim.get());
        g->show();
        QCoreApplication::processEvents();
    }
    anim->StopRequested = false;
    anim->Animating = true;
    for (auto _ : state)
        anim->ViewVectors(1);
    if (g)
        state.counters["cursor_at"] = g->chart->cursorRecord();
}
BENCHMARK(BM_PassAtDelay1)->Arg(0)->Arg(1)->Iterations(6)->Unit(benchmark::kMillisecond);

void BM_Write370PngFrames(benchmark::State& state)
{
    static SharedState s;
    fillTable(s.forces, 370);
    auto anim = stoppedAnimation(s);
    const graphs::PassDrawing drawing = graphs::passDrawingOf(*anim);
    const QSize size = anim->picVectors->size();
    for (auto _ : state) {
        QTemporaryDir dir;
        FilmWriter writer{QString()};
        const FilmResult r =
            writePassFilm(s.forces, drawing, size, writer, dir.filePath("BENCH01.mp4"), {});
        if (!r.written)
            state.SkipWithError(r.error.toStdString().c_str());
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}
BENCHMARK(BM_Write370PngFrames)->Iterations(2)->Unit(benchmark::kSecond);

// The same pass as an MP4 through ffmpeg, where it is installed.
void BM_Write370FramesFilm(benchmark::State& state)
{
    const QString ffmpeg = findProgram("ffmpeg");
    if (ffmpeg.isEmpty()) {
        state.SkipWithError("ffmpeg is not installed");
        return;
    }
    static SharedState s;
    fillTable(s.forces, 370);
    auto anim = stoppedAnimation(s);
    const graphs::PassDrawing drawing = graphs::passDrawingOf(*anim);
    const QSize size = anim->picVectors->size();
    for (auto _ : state) {
        QTemporaryDir dir;
        FilmWriter writer(ffmpeg);
        const FilmResult r =
            writePassFilm(s.forces, drawing, size, writer, dir.filePath("BENCH01.mp4"), {});
        if (!r.written)
            state.SkipWithError(r.error.toStdString().c_str());
    }
}
BENCHMARK(BM_Write370FramesFilm)->Iterations(2)->Unit(benchmark::kSecond);

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
