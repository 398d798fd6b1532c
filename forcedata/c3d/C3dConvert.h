#pragma once

// A C3D file's force plates as Orvane force files: the plates' survey, the
// conversion of one plate over a range of samples, the force file's text and its
// name. Shared by c3d2rf and the import window. Plain C++, no Qt.

#include "forcedata/c3d/C3dPlates.h"
#include "forcedata/c3d/C3dReader.h"

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace c3d
{

// No plate of that number, or no plate at all.
class NoPlateError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A range of samples outside the file.
class RangeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The most records a force file holds.
inline constexpr int64_t MaxRecords = 5000;
inline constexpr double DefaultThreshold = 10;

struct Trial {
    File file;
    PlateSet plates;
    // The plates' baselines and senses have been measured over the whole recording.
    bool surveyed = false;
};

// Header, parameters and plates; throws FormatError.
Trial openTrial(const Bytes& bytes);

struct PlateInfo {
    int number = 0;
    int type = 0;
    int64_t samples = 0;
    double rate = 0;
    double peakFz = 0;             // N, the largest vertical force on the subject
    int64_t peakSample = 0;        // 1-based; 0 when the plate cannot be read
    double peakTime = 0;           // s from the first sample
    Vec3 centre{};                 // m, turned axes
    double width = 0, depth = 0;   // m
    std::array<Vec3, 4> corners{}; // m, turned axes
    std::string senseNote;
    std::string problem;
};

// Every plate with its peak vertical force, in one pass over the whole recording,
// which also settles each plate's baseline and sense for every later conversion.
// `progress` gets the fraction done now and then.
std::vector<PlateInfo> surveyPlates(const Bytes& bytes, Trial& trial,
                                    const std::function<void(double)>& progress = {});

// "  1  type 3   3969 samples   600 Hz  peak Fz    812.3 N"
std::string plateLine(const PlateInfo& info);

struct ConvertOptions {
    int plate = 1;
    double threshold = DefaultThreshold;
    int64_t from = 0;  // first sample, 1-based; 0 for the first
    int64_t to = 0;    // last sample; 0 for the last
    std::string title; // the force file's title, cut to 40 columns
};

struct Conversion {
    std::vector<ForceRecord> records;
    // The sample's number in the file; for averaged records the number of the group
    // of k its first sample falls in, so that a record's number over the record rate
    // is still its time in the file.
    std::vector<int64_t> recordNumbers;
    int64_t samples = 0; // samples in the range
    int64_t samplesPerRecord = 1;
    double rate = 0; // Hz of the records
    double bodyWeight = 0;
    std::string title;
    std::vector<std::string> notes;
    std::string senseNote; // which way the plate's signs were taken, and why
};

// Converts one plate; the trial is surveyed first when it has not been, so that a
// sample gives the same numbers whatever range holds it. Throws NoPlateError,
// RangeError or FormatError.
Conversion convertPlate(const Bytes& bytes, Trial& trial, const ConvertOptions& options,
                        const std::function<void(double)>& progress = {});

// The line telling how samples were averaged, or "" when they were not.
std::string decimationNote(const Conversion& conversion);
// What `samples` samples at `rate` Hz become: "6750 samples at 1000 Hz become 3375
// records at 500 Hz, each the mean of 2", or "... are written as 10 records".
std::string recordsSentence(int64_t samples, double rate);

// The plates with a vertical force of at least `threshold` newtons somewhere.
std::vector<int> loadedPlates(const std::vector<PlateInfo>& infos,
                              double threshold = DefaultThreshold);

// The force file: title, subject and column cards, the separator and one card per
// record, CR LF line ends.
std::string forceFileText(const Conversion& conversion);

// "WALK.RF" for plate 1 of "dir/walk.c3d", "WALK_P2.RF" for plate 2; with
// `numbered`, "WALK_P1.RF" for plate 1 too (one file per plate).
std::string outputName(const std::string& c3dPath, int plate, bool numbered = false);
// The file's name without directory and extension.
std::string baseName(const std::string& path);

// Writes `text` to a new file; never replaces one. 0, 58 when it exists, or the
// platform's error number. A failed write leaves no file behind.
int writeNewFile(const std::string& path, const std::string& text);

} // namespace c3d
