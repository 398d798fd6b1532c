#pragma once

#include "core/ForceTable.h"

#include <string>

// The force table as CSV: a commented header (title, rate, body weight, record count,
// the seventh column's name) and one row per record. Every number is written in its
// shortest exact text, so a reader of the CSV gets the table's values back. Records
// first..last (1-based, clamped to the table) are written, and the header counts the
// rows written; the defaults write them all.
std::string forceTableCsv(const ForceTable& table, int first = 1,
                          int last = ForceTable::RecordCapacity);
