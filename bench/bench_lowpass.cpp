// The zero-lag low-pass filter over a full trial: 5000 records of the four filtered
// channels. `bench_lowpass --filter HZ FILE` writes Fx, Fy, Fz and Mz of a force file
// filtered at HZ, one record a line with 17 digits, for lowpass_vs_scipy.sh.

#include "forcedata/LowPass.h"
#include "forcedata/RfReader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace
{

std::unique_ptr<ForceTable> stance5000()
{
    auto t = std::make_unique<ForceTable>();
    t->SamplingRate = "1000";
    t->RecordCount = ForceTable::RecordCapacity;
    const double pi = std::acos(-1.0);
    for (int i = 1; i <= t->RecordCount; ++i) {
        const double s = double(i) / t->RecordCount;
        const double noise = 3.0 * std::sin(1234.5 * i); // broad-band, deterministic
        t->Fx[std::size_t(i)] = -60 * std::sin(2 * pi * s) + noise;
        t->Fy[std::size_t(i)] = 8 * std::sin(pi * s) + noise;
        t->Fz[std::size_t(i)] = 712.4 * (0.9 * std::sin(pi * s) + 0.3 * std::sin(3 * pi * s)) + noise;
        t->Mz[std::size_t(i)] = float(1.5 * std::sin(2 * pi * s) + noise);
    }
    return t;
}

// The filter as the graph window and rfstats --lowpass run it: a copy of the table,
// four channels filtered in place.
void BM_LowPassForces5000(benchmark::State& state)
{
    const auto raw = stance5000();
    auto table = std::make_unique<ForceTable>();
    for (auto _ : state) {
        *table = *raw;
        benchmark::DoNotOptimize(forcedata::lowPassForces(*table, 30));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LowPassForces5000)->Unit(benchmark::kMicrosecond);

// The copy alone, to read the filter's own share off the figure above.
void BM_CopyTable5000(benchmark::State& state)
{
    const auto raw = stance5000();
    auto table = std::make_unique<ForceTable>();
    for (auto _ : state) {
        *table = *raw;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyTable5000)->Unit(benchmark::kMicrosecond);

int writeFiltered(double fc, const char* path)
{
    FileByteSource source;
    if (source.open(path) != 0 || !source.isOpen()) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 2;
    }
    auto table = std::make_unique<ForceTable>();
    readRf(source, *table);
    if (const auto problem = forcedata::lowPassProblem(*table, fc)) {
        std::fprintf(stderr, "%s: %s\n", path, problem->c_str());
        return 2;
    }
    forcedata::lowPassForces(*table, fc);
    for (int i = 1; i <= table->RecordCount; ++i) {
        const auto k = std::size_t(i);
        std::printf("%.17g,%.17g,%.17g,%.17g\n", table->Fx[k], table->Fy[k], table->Fz[k],
                    double(table->Mz[k]));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--filter") == 0)
        return writeFiltered(std::strtod(argv[2], nullptr), argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
