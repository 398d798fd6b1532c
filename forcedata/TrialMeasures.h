#pragma once

// The numbers of a trial's contacts, one definition each, and their CSV table: the rows
// rfstats writes and the compare window saves are made here and only here.

#include "forcedata/Contacts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace forcedata
{

// Every number of one contact. Fz numbers are in the loaded direction (sign*Fz, so
// positive for either kind of plate); Fx and Fy are as recorded. Times count from
// record 1 at 0 s. Nothing (std::nullopt) where the number does not exist: every time,
// impulse and rate without a rate; peakFzBw without a body weight; contactTime and
// loadingRate for a cut contact, and loadingRate when the first peak is the start.
struct ContactMeasures {
    int number = 0; // 1 for the first contact of the trial
    Contact contact;
    int sign = 1;      // the table's loaded sign
    int peak = 0;      // record of the highest sign*Fz (the first, on a tie)
    int firstPeak = 0; // record of the first peak (see firstPeakRecord)
    std::optional<double> start;       // s, (first-1)/rate
    std::optional<double> end;         // s, (last-1)/rate
    std::optional<double> contactTime; // s, (last-first)/rate
    double peakFz = 0;                 // N
    std::optional<double> peakFzBw;    // peakFz / body weight
    std::optional<double> timeToPeak;  // s, (peak-first)/rate
    double firstPeakFz = 0;            // N
    std::optional<double> impulseFz;   // N*s, trapezium rule over first..last
    // N/s, (F(firstPeak) - F(first)) / time from first to firstPeak
    std::optional<double> loadingRate;
    // Peaks of the positive and negative parts over the contact: max(0, max Fx) and
    // min(0, min Fx), so 0 where the force never has that sign.
    double peakFxPos = 0, peakFxNeg = 0, peakFyPos = 0, peakFyNeg = 0;
    // N*s, the trapezium rule on the positive and negative parts (the negative one is
    // <= 0); an interval whose ends have opposite signs is split where the straight
    // line between them crosses zero, so pos + neg is the interval's trapezium.
    std::optional<double> impulseFxPos, impulseFxNeg, impulseFyPos, impulseFyNeg;
};

// The first peak of a contact on `loaded` = sign*Fz: the first record k after `first`
// and before the highest record that is a local maximum (not below either neighbour)
// and from which the force falls by at least a tenth of the highest value before it
// rises over F(k) again (or the contact ends); else the highest record itself.
int firstPeakRecord(const ForceTable& table, int sign, const Contact& contact);

// The measures of every contact that findContacts finds; empty when the threshold is
// refused or the trial has no contact.
std::vector<ContactMeasures> measureContacts(const ForceTable& table, double threshold);
ContactMeasures measureContact(const ForceTable& table, int sign, const Contact& contact, int number);

// --- the CSV table ------------------------------------------------------------------------
// The header line, without the line end.
std::string_view csvHeader();
inline constexpr int CsvColumns = 23;

// A number as %.6g writes it in the C locale ("1000", "0.35", "1.23457e+06"), without
// "-0"; nothing gives an empty field.
std::string csvNumber(std::optional<double> value);
// A field quoted as CSV quotes it: in double quotes, inner quotes doubled, when it holds
// a comma, a quote, a CR or a LF; else as it is.
std::string csvField(std::string_view text);

// The row of one contact (measures == nullptr: the row of a trial without a contact,
// `contact` 0 and the rest empty), ending in "\n". `file` is written as given; the
// title is the trial's title without its leading and trailing blanks.
std::string csvRow(std::string_view file, const ForceTable& table, const ContactMeasures* measures);
// The row of a file that gives no numbers: its name and the reason in `title`, every
// other field empty, ending in "\n".
std::string csvProblemRow(std::string_view file, std::string_view message);

// One file's rows: its first contact, or every contact with allContacts; a trial
// without a contact gives its one `contact` 0 row, a refused threshold a csvProblemRow
// with the reason. No header line.
std::string trialCsvRows(std::string_view file, const ForceTable& table, double threshold,
                         bool allContacts);

} // namespace forcedata
