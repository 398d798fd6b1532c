#pragma once

// Force plates of a C3D file: which analog channels each plate uses, where it lies,
// and the loads on it turned into a force record: the ground reaction force on the
// subject, the centre of pressure relative to the plate's centre and the free
// moment, in the laboratory's axes with Z up.

#include "forcedata/c3d/C3dReader.h"

#include <array>
#include <string>
#include <vector>

namespace c3d
{

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>; // rows

struct Plate {
    int number = 0; // 1-based
    int type = 0;
    // Why the plate cannot be converted; empty when it can.
    std::string problem;
    std::vector<int> channels; // analog channels, 0-based, in the type's order
    // Per channel: the factor to newtons, N·m or metres.
    std::vector<double> unitFactor;
    // Per channel: the baseline subtracted before anything else.
    std::vector<double> zero;
    // The file's axis that is vertical at this plate (0 X, 1 Y, 2 Z), from its own
    // corners; and the plate's axes in the turned laboratory's axes (columns: x, y, z).
    int verticalAxis = 2;
    Mat3 toLab{};
    // Types 2 and 4: the surface centre from the sensors' origin; type 3: the
    // sensors' offsets a, b and the surface's height az0. Metres, plate axes.
    Vec3 origin{};
    std::array<double, 36> calibration{}; // type 4, row by row
    Vec3 centre{};                        // mean of the corners, turned axes, metres
    std::array<Vec3, 4> corners{};        // turned axes, metres
    double width = 0, depth = 0;          // metres, along the plate's x and y
    // +1 when the channels give the load on the plate, -1 when they give the
    // reaction on the subject: systems write either.
    int sense = 1;
    // Which sense was chosen and why, for the user.
    std::string senseNote;
    // Remarks worth a line to the user (units read otherwise than the file says).
    std::vector<std::string> notes;
};

struct PlateSet {
    std::vector<Plate> plates;
    // The subject's weight in newtons from the mass the file gives, else 0.
    double bodyWeight = 0;
};

// Loads on a plate in its own axes: newtons, and N·m about the surface's centre.
struct Loads {
    Vec3 force{};
    Vec3 moment{};
};

// One output record: N, cm, N·m.
struct ForceRecord {
    double fx = 0, fy = 0, fz = 0;
    double ax = 0, ay = 0, az = 0;
    double mz = 0;
};

// The plates of FORCE_PLATFORM (none when the group is missing or USED is 0).
PlateSet findPlates(const File& file);

// Measures each channel's baseline from the frames FORCE_PLATFORM:ZERO names.
void measureZero(const Bytes& bytes, const File& file, Plate& plate);

// The loads from the plate's channel values (in the order of `plate.channels`).
Loads plateLoads(const Plate& plate, const double* values);

// The vertical component, in the turned axes, of the load as the channels give it.
double vertical(const Plate& plate, const Loads& loads);
// The sense of a plate whose vertical loads reached `lowest` and `highest`: a
// subject only ever pushes down on a plate, so the larger excursion is the push.
int senseOf(double lowest, double highest);

// The least vertical load that shows which way a plate's channels point.
inline constexpr double MinSenseLoad = 20;
// The largest force Orvane believes; more is a wrong scale.
inline constexpr double MaxForce = 1e7;

// Sets each plate's sense from the extremes of its vertical load over the whole
// recording (`lowest[i]`, `highest[i]` for `plates[i]`). A plate that carries no
// load follows the loaded plates of the same file, which one system wrote alike.
void decideSenses(const std::vector<Plate*>& plates, const std::vector<double>& lowest,
                  const std::vector<double>& highest);

// "forces and moments (6 channels)" and the like.
std::string typeInWords(int type);

// The record of those loads; below `threshold` newtons of vertical force the
// centre of pressure and the moment are 0.
ForceRecord forceRecord(const Plate& plate, const Loads& loads, double threshold);

} // namespace c3d
