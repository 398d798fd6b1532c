// libFuzzer target: any bytes through the C3D reader, the plates' survey and the
// conversion of every plate. Each ends in a table or a FormatError/NoPlateError/
// RangeError; records stay within the force file's bounds, hold finite forces of
// at most 1e7 N, and the rate is one the force file can state.

#include "forcedata/c3d/C3dConvert.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace
{

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const c3d::MemoryBytes bytes(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        c3d::Trial trial = c3d::openTrial(bytes);
        const std::vector<c3d::PlateInfo> plates = c3d::surveyPlates(bytes, trial);
        check(plates.size() == trial.plates.plates.size());
        for (const c3d::PlateInfo& info : plates) {
            if (!info.problem.empty())
                continue;
            check(std::isfinite(info.peakFz) && info.peakFz >= 0);
            c3d::ConvertOptions options;
            options.plate = info.number;
            options.title = "fuzz";
            try {
                const c3d::Conversion out = c3d::convertPlate(bytes, trial, options);
                check(out.records.size() <= c3d::MaxRecords);
                check(out.records.size() == out.recordNumbers.size());
                check(out.rate >= 0.001 && out.rate <= 1e6);
                for (const c3d::ForceRecord& r : out.records)
                    check(std::isfinite(r.fx) && std::isfinite(r.fz) && std::isfinite(r.ax) &&
                          std::isfinite(r.mz) && std::isfinite(r.az) &&
                          std::abs(r.fx) <= c3d::MaxForce && std::abs(r.fy) <= c3d::MaxForce &&
                          std::abs(r.fz) <= c3d::MaxForce);
                const std::string text = c3d::forceFileText(out);
                check(text.size() >= out.records.size() * 81);
            } catch (const c3d::FormatError&) {
            } catch (const c3d::RangeError&) {
            }
        }
    } catch (const c3d::FormatError&) {
    } catch (const c3d::NoPlateError&) {
    }
    return 0;
}
