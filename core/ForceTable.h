#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The trial's force table: one record per sample at indices 1..RecordCount.
// Index 0 is never filled; entries above RecordCount keep whatever an earlier
// read left there, so consumers read 1..RecordCount only.
struct ForceTable {
    static constexpr int16_t RecordCapacity = 5000;
    static constexpr std::size_t ArraySize = RecordCapacity + 1;

    // Title and header card widths of a force file.
    static constexpr std::size_t TitleWidth = 40;
    static constexpr std::size_t CardWidth = 80;

    std::array<double, ArraySize> Fx{};
    std::array<double, ArraySize> Fy{};
    std::array<double, ArraySize> Fz{};
    std::array<double, ArraySize> Ax{};
    std::array<double, ArraySize> Ay{};
    std::array<double, ArraySize> Extra{};
    std::array<float, ArraySize> Mz{};
    std::array<int16_t, ArraySize> RecordNo{};

    // -1: no title card read (empty file); 0: header but no data; n: records 1..n.
    int16_t RecordCount = -1;
    // A rate read from the file is kept as the shortest text that reads back to
    // it; a rate the user typed is kept as typed ("" after Cancel).
    std::string SamplingRate = "0";
    float BodyWeight = 0;
    std::string TrialTitle = untitled();
    // The last header card (80 columns); empty until a header card was read.
    std::string LastHeaderCard;
    int16_t CardStatus = 0;

    // The rate in Hz for computing with: 0 when the text is empty, not a number
    // or not finite.
    double samplingRateHz() const;

    // Name of the seventh column: "Az" when the last header card's columns
    // 61-70 read "Ay" (the column then holds the height of the centre of
    // pressure), else those columns trimmed of blanks, else "Extra". The raw
    // listing shows the "Az" case with three leading blanks of its own.
    std::string extraColumnName() const;

    // "no title" padded with blanks to the 40 columns of a title.
    static std::string untitled();
};
