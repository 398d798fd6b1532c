// libFuzzer target: any bytes through the force-file reader and the number
// texts. The read must end in one of its outcomes with a table in bounds, and
// read the same however the bytes are split into chunks.

#include "core/NumberText.h"
#include "forcedata/RfReader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace
{

void check(bool condition)
{
    if (!condition)
        std::abort();
}

class SplitSource : public ByteSource
{
public:
    SplitSource(std::string_view bytes, std::size_t piece) : m_bytes(bytes), m_piece(piece) {}
    std::string_view nextChunk() override
    {
        const std::string_view chunk = m_bytes.substr(0, m_piece);
        m_bytes.remove_prefix(chunk.size());
        return chunk;
    }

private:
    std::string_view m_bytes;
    std::size_t m_piece;
};

ForceTable& tableA()
{
    static auto table = std::make_unique<ForceTable>();
    return *table;
}

ForceTable& tableB()
{
    static auto table = std::make_unique<ForceTable>();
    return *table;
}

void checkTable(const ForceTable& t, RfReadResult result, int progress, int warnings)
{
    check(t.RecordCount >= -1 && t.RecordCount <= ForceTable::RecordCapacity);
    check(progress == std::max<int>(t.RecordCount, 0));
    check(t.TrialTitle.size() == ForceTable::TitleWidth);
    check(t.LastHeaderCard.empty() || t.LastHeaderCard.size() == ForceTable::CardWidth);
    check(t.CardStatus >= 0 && t.CardStatus <= 80);
    switch (result) {
    case RfReadResult::Empty:
        check(t.RecordCount == -1 && warnings == 1);
        break;
    case RfReadResult::NoData:
        check(t.RecordCount == 0 && warnings == 1);
        break;
    case RfReadResult::Records:
        check(t.RecordCount >= 1 && warnings <= 1);
        break;
    }
    for (int i = 1; i <= t.RecordCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        check(!std::isnan(t.Fx[k]) && !std::isnan(t.Mz[k]) && !std::isnan(t.Extra[k]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    int progress = 0;
    int warnings = 0;
    RfReadCallbacks callbacks;
    callbacks.onRecord = [&](int16_t n) { check(n == ++progress); };
    callbacks.onWarning = [&](const std::string&) { ++warnings; };
    MemoryByteSource whole(bytes);
    const RfReadResult a = readRf(whole, tableA(), callbacks);
    checkTable(tableA(), a, progress, warnings);

    SplitSource split(bytes, 1 + (size > 0 ? data[0] % 97 : 0));
    const RfReadResult b = readRf(split, tableB());
    const ForceTable& x = tableA();
    const ForceTable& y = tableB();
    check(a == b && x.RecordCount == y.RecordCount && x.TrialTitle == y.TrialTitle &&
          x.SamplingRate == y.SamplingRate && x.LastHeaderCard == y.LastHeaderCard);
    for (int i = 1; i <= x.RecordCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        check(x.Fx[k] == y.Fx[k] && x.Fy[k] == y.Fy[k] && x.Fz[k] == y.Fz[k] &&
              x.Ax[k] == y.Ax[k] && x.Ay[k] == y.Ay[k] && x.Mz[k] == y.Mz[k] &&
              x.Extra[k] == y.Extra[k] && x.RecordNo[k] == y.RecordNo[k]);
    }

    // The bytes as number text: converting, printing and reading back agree.
    const double value = lenientNumber(bytes.substr(0, 4096));
    check(!std::isnan(value));
    if (std::isfinite(value))
        check(lenientNumber(shortestNumberText(value)) == value);
    for (std::string_view pattern : {"####0.0000", "####0.00", " ###0.00", " ###0.0", "     ####"})
        check(!formatNumber(value, pattern).empty() || pattern == "     ####");
    check(formatField(value).size() >= 10);
    return 0;
}
