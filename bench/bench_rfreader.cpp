// The force-file read against the bare cost of splitting the same bytes into
// lines. `bench_rfreader --write-sample FILE` writes the benchmark's file for the
// whole-process comparison in rfdump_vs_pandas.sh.

#include "forcedata/RfReader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace
{

// A stance phase of 5000 samples with CR LF line ends, every field in use.
std::string sampleFile(int records)
{
    char line[128];
    std::string file;
    auto card = [&](const char* left, const char* value) {
        std::snprintf(line, sizeof line, "%-60s%10s\r\n", left, value);
        file += line;
    };
    card("BENCH01 walking, right foot on plate 1", "1000");
    card("Subject 07", "712.4");
    card("Fx        Fy        Fz        Ax        Ay        Mz", "Ay");
    file += "\r\n";
    const double pi = std::acos(-1.0);
    for (int i = 1; i <= records; ++i) {
        const double t = static_cast<double>(i) / records;
        const double fz = 712.4 * (0.9 * std::sin(pi * t) + 0.3 * std::sin(3 * pi * t));
        std::snprintf(line, sizeof line, "%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%9d\r\n",
                      -60 * std::sin(2 * pi * t), 8 * std::sin(pi * t), fz,
                      5 + 3 * std::cos(pi * t), 5 + 22 * t, 1.5 * std::sin(2 * pi * t), 0.0, i);
        file += line;
    }
    return file;
}

const std::string& file5000()
{
    static const std::string file = sampleFile(5000);
    return file;
}

void BM_ReadRf(benchmark::State& state)
{
    const std::string& bytes = file5000();
    auto table = std::make_unique<ForceTable>();
    int records = 0;
    RfReadCallbacks callbacks;
    callbacks.onRecord = [&](int16_t n) { records = n; };
    for (auto _ : state) {
        MemoryByteSource source(bytes);
        benchmark::DoNotOptimize(readRf(source, *table, callbacks));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["records"] = records;
}
BENCHMARK(BM_ReadRf)->Unit(benchmark::kMicrosecond);

// The baseline: every line as a view, CR LF, LF and CR alike, nothing converted.
void BM_SplitLines(benchmark::State& state)
{
    const std::string& bytes = file5000();
    std::vector<std::string_view> lines;
    lines.reserve(6000);
    for (auto _ : state) {
        lines.clear();
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        const char* start = p;
        while (p < end) {
            if (*p == '\r' || *p == '\n') {
                lines.emplace_back(start, static_cast<std::size_t>(p - start));
                if (*p == '\r' && p + 1 < end && p[1] == '\n')
                    ++p;
                start = p + 1;
            }
            ++p;
        }
        if (start < end)
            lines.emplace_back(start, static_cast<std::size_t>(end - start));
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMicrosecond);

// The fastest split at hand (LF only, memchr), for scale.
void BM_SplitLinesMemchr(benchmark::State& state)
{
    const std::string& bytes = file5000();
    std::vector<std::string_view> lines;
    lines.reserve(6000);
    for (auto _ : state) {
        lines.clear();
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while (p < end) {
            const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            const char* lineEnd = found ? static_cast<const char*>(found) : end;
            lines.emplace_back(p, static_cast<std::size_t>(lineEnd - p));
            p = lineEnd + 1;
        }
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SplitLinesMemchr)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--write-sample") {
        std::ofstream out(argv[2], std::ios::binary);
        out << file5000();
        return out ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
