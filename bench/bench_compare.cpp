// The compare window's costs a user notices: opening it on a folder whose remembered
// choice checks 50 (or 200) trials of 5,000 records, and checking or unchecking one
// trial with everything redrawn, on the normalised axis and in seconds. Offscreen.

#include "StanceFiles.h"
#include "animation/compare/CompareChart.h"
#include "animation/compare/frmCompare.h"
#include "core/SharedState.h"
#include "platform/Platform.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace
{

QtPlatform& services()
{
    static QtPlatform platform;
    return platform;
}

QString fileName(int i)
{
    return QString::asprintf("WALK%03d.RF", i);
}

// A folder of `count` trials of 5,000 records at 1 kHz, each with one stance of about
// 0.7 s, made once per count.
const QString& folderOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    static std::map<int, QString> paths;
    if (!folders.count(count)) {
        auto dir = std::make_unique<QTemporaryDir>();
        for (int i = 1; i <= count; ++i) {
            Stance s;
            s.rate = 1000;
            s.records = 5000;
            s.first = 1000 + 3 * i;
            s.last = s.first + 650 + (i % 7) * 20;
            s.peak = 750 + (i % 11) * 15;
            s.bodyWeight = 640 + (i % 5) * 20;
            writeStance(QDir(dir->path()).filePath(fileName(i)).toStdString(), "Bench walk", s);
        }
        paths[count] = dir->path();
        folders[count] = std::move(dir);
    }
    return paths[count];
}

std::unique_ptr<frmCompare> openOn(SharedState& s, int count)
{
    s.DataDir = folderOf(count);
    auto w = std::make_unique<frmCompare>(s, services().platform());
    w->openDirectory(s.DataDir);
    return w;
}

// The window as it is opened with every trial checked from the remembered choice: read,
// curves, table and the first paint.
void BM_OpenWithCheckedTrials(benchmark::State& state)
{
    const int count = int(state.range(0));
    SharedState s;
    {
        // Remember all of them as checked, half in A and half in B.
        auto w = openOn(s, count);
        for (int i = 1; i <= count; ++i) {
            w->setChecked(fileName(i), true);
            w->setGroup(fileName(i), i % 2 ? compare::Group::A : compare::Group::B);
        }
        w->close();
    }
    for (auto _ : state) {
        auto w = openOn(s, count);
        w->show();
        w->repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w->tblNumbers->rowCount());
    }
}
BENCHMARK(BM_OpenWithCheckedTrials)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

// One trial unchecked or checked again, the chart and the table painted anew.
void BM_ToggleOneTrial(benchmark::State& state)
{
    const int count = int(state.range(0));
    const bool seconds = state.range(1) != 0;
    SharedState s;
    auto w = openOn(s, count);
    for (int i = 1; i <= count; ++i) {
        w->setChecked(fileName(i), true);
        w->setGroup(fileName(i), i % 2 ? compare::Group::A : compare::Group::B);
    }
    if (seconds)
        w->optSeconds->setChecked(true);
    w->show();
    QCoreApplication::processEvents();
    bool on = false;
    for (auto _ : state) {
        w->setChecked(fileName(count / 2), on);
        on = !on;
        w->chart->repaint();
        w->tblNumbers->viewport()->repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ToggleOneTrial)
    ->Args({50, 0})
    ->Args({50, 1})
    ->Args({200, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The remembered choices go to a settings folder of the benchmark's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
