// The two waits a user notices in the main window's panels and the listing:
// opening the raw listing of a full table (5000 records) and entering a directory
// of 20,000 files. Both run on the offscreen platform, painting included.

#include "core/SharedState.h"
#include "forcedata/RawListing.h"
#include "forcedata/frmRF.h"
#include "main/FileLists.h"
#include "main/frmOrvane.h"
#include "platform/DirectoryReader.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{

QtPlatform& services()
{
    static QtPlatform platform;
    return platform;
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
        t.Fz[i] = 712.4 * std::sin(phase);
        t.Ax[i] = 5 + 3 * std::cos(phase);
        t.Ay[i] = 5 + 22.0 * i / records;
        t.Mz[i] = static_cast<float>(1.5 * std::sin(2 * phase));
        t.Extra[i] = 0;
        t.RecordNo[i] = static_cast<int16_t>(i);
    }
}

void BM_OpenListing(benchmark::State& state)
{
    static SharedState s;
    fillTable(s.forces, static_cast<int>(state.range(0)));
    s.ForceFile = "BENCH01.RF";
    for (auto _ : state) {
        showRawListing(s, services().platform());
        QCoreApplication::processEvents(); // the first paint
    }
    hideRawListing();
}
BENCHMARK(BM_OpenListing)->Arg(5000)->Unit(benchmark::kMillisecond);

// A directory of 20,000 files: an even mix of the four panels' types and other
// files (range 0), or 20,000 force files in one list (range 1).
void makeDirectory(const QTemporaryDir& tmp, bool allForces)
{
    const char* mix[] = {".dg", ".cfb", ".rf", ".out", ".dat"};
    for (int i = 0; i < 20000; ++i) {
        QFile file(tmp.filePath(
            QString("trial%1%2").arg(i, 5, 10, QChar('0')).arg(allForces ? ".rf" : mix[i % 5])));
        file.open(QIODevice::WriteOnly);
    }
}

void BM_EnterDirectory(benchmark::State& state)
{
    QTemporaryDir tmp;
    makeDirectory(tmp, state.range(0) == 1);
    static SharedState s;
    frmOrvane window(s, services().platform());
    window.show();
    const QString start = QDir::currentPath();
    for (auto _ : state) {
        window.enterDataDirectory(tmp.path());
        QCoreApplication::processEvents();
    }
    state.counters["forces"] = window.filForces->count();
    QDir::setCurrent(start);
}
BENCHMARK(BM_EnterDirectory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The parts of entering: reading the names, then sorting and matching them.
void BM_ReadDirectory(benchmark::State& state)
{
    QTemporaryDir tmp;
    makeDirectory(tmp, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(readDirectory(tmp.path()));
}
BENCHMARK(BM_ReadDirectory)->Unit(benchmark::kMillisecond);

void BM_SortAndMatch(benchmark::State& state)
{
    QTemporaryDir tmp;
    makeDirectory(tmp, false);
    const QStringList names = readDirectory(tmp.path()).files;
    for (auto _ : state) {
        QStringList sorted = names;
        sortNames(sorted);
        benchmark::DoNotOptimize(filesMatching(sorted, "*.dg;*.1t;*.2t;*.3t;*.4t;*.5t;*.6t;*.7t;"
                                                       "*.8t;*.9t;*.3d;*.cda;*.dig;*.ssg"));
        benchmark::DoNotOptimize(filesMatching(sorted, "*.rf*;*.rrf;*.rr2;*.orf"));
    }
}
BENCHMARK(BM_SortAndMatch)->Unit(benchmark::kMillisecond);

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
