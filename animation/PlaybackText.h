#pragma once

// The numbers a pass shows: record times and the texts of the step and pause boxes.

#include <QString>

struct ForceTable;

namespace anim
{

// Seconds from the first sample to sample `index` at `rateHz`; 0 when the rate is 0
// (no rate was given), rather than an infinity.
double sampleTime(double index, double rateHz);

// The record the pause box describes: the running record, within 1..recordCount,
// and never outside the table when there are no records.
int pauseRecord(int currentRecord, int recordCount);

QString stepDialogText(const ForceTable& table, int index, double rateHz, const QString& LF);
QString pauseDialogText(const ForceTable& table, int currentRecord, double rateHz,
                        const QString& LF);

} // namespace anim
