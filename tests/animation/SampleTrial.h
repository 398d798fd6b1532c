#pragma once

// A synthetic walking stance on one plate: heel strike to toe off, with the double
// hump of the vertical force and the centre of pressure moving heel to toe.

#include "core/ForceTable.h"

#include <cmath>
#include <numbers>

inline void fillStance(ForceTable& t, int records = 120, int zeroAtEachEnd = 4)
{
    t.RecordCount = int16_t(records);
    t.SamplingRate = "200";
    t.BodyWeight = 700;
    t.TrialTitle = "Walking trial, right foot on plate 1     ";
    for (int i = 1; i <= records; ++i) {
        const auto k = std::size_t(i);
        t.RecordNo[k] = int16_t(i + 10);
        const int first = zeroAtEachEnd + 1;
        const int last = records - zeroAtEachEnd;
        if (i < first || i > last) {
            t.Fx[k] = t.Fy[k] = t.Fz[k] = t.Ax[k] = t.Ay[k] = t.Extra[k] = 0;
            t.Mz[k] = 0;
            continue;
        }
        const double s = double(i - first) / double(last - first); // 0..1 of stance
        const double pi = std::numbers::pi;
        t.Fz[k] = 700 * (0.9 * std::sin(pi * s) + 0.25 * std::sin(3 * pi * s)) + 20;
        t.Fy[k] = -150 * std::sin(2 * pi * s);
        t.Fx[k] = 40 * std::sin(pi * s);
        t.Ay[k] = -12 + 24 * s;
        t.Ax[k] = 2 + 2 * std::sin(pi * s);
        t.Extra[k] = 1.5 * std::sin(pi * s);
        t.Mz[k] = float(3 * std::sin(2 * pi * s));
    }
}
