#pragma once

// Force files of one half-sine stance each, written as the plates write them, for the
// compare window's tests and benchmark.

#include "suite/Cards.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <string>

struct Stance {
    double rate = 500;       // Hz; 0 writes a file without a rate
    double bodyWeight = 700; // N
    int records = 400;
    int first = 51; // the half sine runs from record `first` to `last`,
    int last = 351; // 0 at both ends and `peak` halfway
    double peak = 800;
};

inline std::string stanceText(const std::string& title, const Stance& s)
{
    std::string text = suite::titleCard(title, s.rate) +
                       suite::subjectCard("Test subject", s.bodyWeight) +
                       suite::headerCard({"Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Az", "Record"}) +
                       std::string(suite::CardEnd);
    for (int i = 1; i <= s.records; ++i) {
        suite::Record r;
        if (i >= s.first && i <= s.last) {
            const double u = double(i - s.first) / double(s.last - s.first);
            r.fz = s.peak * std::sin(std::numbers::pi * u);
            r.fy = -0.2 * s.peak * std::sin(2 * std::numbers::pi * u);
            r.fx = 0.05 * s.peak * std::sin(std::numbers::pi * u);
            r.ax = 2;
            r.ay = -10 + 20 * u;
        }
        text += suite::dataCard(r, i);
    }
    return text;
}

inline bool writeStance(const std::string& path, const std::string& title, const Stance& s)
{
    std::ofstream out(path, std::ios::binary);
    out << stanceText(title, s);
    return bool(out);
}
