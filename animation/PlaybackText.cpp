#include "animation/PlaybackText.h"

#include "core/ForceTable.h"
#include "core/Library.h"

#include <algorithm>

namespace anim
{

double sampleTime(double index, double rateHz)
{
    if (rateHz == 0)
        return 0;
    return (index - 1) / rateHz;
}

int pauseRecord(int currentRecord, int recordCount)
{
    int k = std::max(currentRecord, 1);
    k = std::min(k, recordCount);
    return std::clamp(k, 0, int(ForceTable::RecordCapacity));
}

namespace
{
// The four lines of a record shared by both boxes; `time` is the time the first line shows.
QString recordLines(const ForceTable& t, int i, double time, const QString& LF)
{
    const std::size_t k = std::size_t(i);
    return "Frame is " + QString::number(i) + "  Record is " + QString::number(t.RecordNo[k]) +
           "  Time is " + FormatField(time) + " s" + LF + "Fx =" + FormatField(t.Fx[k]) + "  " +
           "Fy =" + FormatField(t.Fy[k]) + "  " + "Fz =" + FormatField(t.Fz[k]) + LF +
           "Ax =" + FormatField(t.Ax[k]) + "  " + "Ay =" + FormatField(t.Ay[k]) + "  " +
           "Az =" + FormatField(t.Extra[k]) + LF + "Mz =" + FormatField(double(t.Mz[k])) + LF;
}
} // namespace

QString stepDialogText(const ForceTable& table, int index, double rateHz, const QString& LF)
{
    const int i = std::clamp(index, 0, int(ForceTable::RecordCapacity));
    return recordLines(table, i, sampleTime(i, rateHz), LF) +
           "Press yes to continue, no to animate or cancel to exit.";
}

QString pauseDialogText(const ForceTable& table, int currentRecord, double rateHz,
                        const QString& LF)
{
    const int k = pauseRecord(currentRecord, table.RecordCount);
    return recordLines(table, k, sampleTime(currentRecord, rateHz), LF) +
           "Press OK to continue or cancel to exit.";
}

} // namespace anim
