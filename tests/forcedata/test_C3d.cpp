// The C3D reader and the plates' force records, on files built with known loads.

#include "C3dTestFiles.h"
#include "forcedata/RfReader.h"
#include "forcedata/c3d/C3dConvert.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace c3dtest;

namespace
{

struct Storage {
    Processor processor = Processor::Intel;
    bool floats = false;
    bool unsignedAnalog = false;
};

// A file with one plate of `type` carrying `load` in every sample.
FileShape plateFile(int type, const PlateSetup& setup, const Load& load, Storage storage = {},
                    std::vector<double> origin = {})
{
    FileShape s;
    s.processor = storage.processor;
    s.floatStorage = storage.floats;
    s.unsignedAnalog = storage.unsignedAnalog;
    std::vector<double> values;
    switch (type) {
    case 1:
        values = type1Channels(setup, load);
        s.scale = {0.05, 0.05, 0.05, 0.01, 0.01, 4};
        break;
    case 3:
        values = type3Channels(setup, load, 210, 260, 41);
        s.scale.assign(8, 0.02);
        if (origin.empty())
            origin = {210, 260, -41};
        break;
    default:
        values = type2Channels(setup, load, 40);
        s.scale = {0.05, 0.05, 0.05, 4, 4, 4};
        if (origin.empty())
            origin = {0, 0, 40};
        break;
    }
    if (type == 4) {
        // The amplifier mixes channel 2 into channel 1: out0 = c0 + 0.5 c1.
        values[0] -= 0.5 * values[1];
        std::vector<double> cal(36, 0.0);
        for (int i = 0; i < 6; ++i)
            cal[static_cast<std::size_t>(i * 7)] = 1;
        cal[6] = 0.5; // row 0, column 1: the first index runs fastest
        s.params.push_back(number("FORCE_PLATFORM", "CAL_MATRIX", cal, {6, 6, 1}));
    }
    if (origin.empty())
        origin = {0, 0, 0};
    s.channels = static_cast<int>(values.size());
    if (storage.unsignedAnalog)
        s.offset.assign(values.size(), 32768);
    s.value = [values](int c, int) { return values[static_cast<std::size_t>(c)]; };
    std::vector<double> channel;
    for (int c = 1; c <= s.channels; ++c)
        channel.push_back(c);
    s.params.push_back(number("FORCE_PLATFORM", "USED", {1}, {}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "TYPE", {double(type)}, {1}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "CHANNEL", channel, {s.channels, 1}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "CORNERS", corners(setup), {3, 4, 1}));
    s.params.push_back(number("FORCE_PLATFORM", "ORIGIN", origin, {3, 1}));
    s.params.push_back(text("POINT", "UNITS", {"mm"}, 2));
    return s;
}

c3d::Conversion convert(const std::string& bytes, c3d::ConvertOptions options = {})
{
    c3d::MemoryBytes source(bytes);
    c3d::Trial trial = c3d::openTrial(source);
    return c3d::convertPlate(source, trial, options);
}

void expectLoad(const c3d::ForceRecord& r, const Load& l, double tolerance, const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_NEAR(r.fx, l.grf[0], tolerance);
    EXPECT_NEAR(r.fy, l.grf[1], tolerance);
    EXPECT_NEAR(r.fz, l.grf[2], tolerance);
    EXPECT_NEAR(r.ax, l.ax, tolerance);
    EXPECT_NEAR(r.ay, l.ay, tolerance);
    EXPECT_NEAR(r.az, 0, tolerance);
    EXPECT_NEAR(r.mz, l.mz, tolerance);
}

} // namespace

TEST(C3dReader, EveryProcessorAndStorageGivesTheLoadPutIn)
{
    const struct {
        const char* name;
        Storage storage;
    } cases[] = {
        {"Intel integer", {Processor::Intel, false, false}},
        {"Intel float", {Processor::Intel, true, false}},
        {"Intel unsigned", {Processor::Intel, false, true}},
        {"DEC integer", {Processor::Dec, false, false}},
        {"DEC float", {Processor::Dec, true, false}},
        {"DEC unsigned", {Processor::Dec, false, true}},
        {"MIPS integer", {Processor::Mips, false, false}},
        {"MIPS float", {Processor::Mips, true, false}},
        {"MIPS unsigned", {Processor::Mips, false, true}},
    };
    for (const auto& c : cases) {
        const Load load;
        const c3d::Conversion out = convert(build(plateFile(2, {}, load, c.storage)));
        ASSERT_EQ(out.records.size(), 10u) << c.name;
        expectLoad(out.records[9], load, 0.05, c.name);
        EXPECT_DOUBLE_EQ(out.rate, 1000) << c.name;
    }
}

TEST(C3dReader, DecFloatsDecodeExactly)
{
    for (double v : {1.0, -2.5, 0.0, 1e-30, 3.0e30, 1234.5678}) {
        std::string bytes;
        putFloat(bytes, v, Processor::Dec);
        EXPECT_FLOAT_EQ(
            c3d::decodeFloat(reinterpret_cast<const unsigned char*>(bytes.data()), Processor::Dec),
            static_cast<float>(v));
    }
}

TEST(C3dPlates, EachTypeAndOrientationGivesTheLoadPutIn)
{
    PlateSetup standard;                                                  // plate z down, Z up lab
    PlateSetup turned{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 2, {}, 200, 300}; // turned 90 degrees
    PlateSetup upsideDown{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 2, {}, 200, 300}; // plate z up
    PlateSetup yUp = standard; // the file's vertical is Y
    yUp.fileVertical = 1;
    PlateSetup xUp = turned;
    xUp.fileVertical = 0;
    const struct {
        const char* name;
        PlateSetup setup;
    } orientations[] = {{"standard", standard},
                        {"turned 90", turned},
                        {"upside down", upsideDown},
                        {"Y up", yUp},
                        {"X up", xUp}};
    for (int type = 1; type <= 4; ++type)
        for (const auto& o : orientations) {
            Load load;
            load.grf = {-40, 25, 650};
            load.ax = -12;
            load.ay = 9;
            load.mz = -3.5;
            const c3d::Conversion out = convert(build(plateFile(type, o.setup, load)));
            ASSERT_FALSE(out.records.empty());
            expectLoad(out.records[0], load, 0.05, "type " + std::to_string(type) + ", " + o.name);
        }
}

TEST(C3dPlates, OriginWrittenEitherWayRoundReadsTheSame)
{
    const Load load;
    for (int type : {2, 3}) {
        const std::vector<double> flipped =
            type == 2 ? std::vector<double>{0, 0, -40} : std::vector<double>{210, 260, 41};
        const c3d::Conversion out = convert(build(plateFile(type, {}, load, {}, flipped)));
        expectLoad(out.records[0], load, 0.05, "type " + std::to_string(type));
    }
}

TEST(C3dPlates, BelowTheThresholdTheCentreAndMomentAreZero)
{
    const struct {
        double fz, threshold;
        bool centre;
    } cases[] = {{8, 10, false}, {8, 5, true}, {12, 10, true}, {10, 10, true}, {0, 0, false}};
    for (const auto& c : cases) {
        Load load;
        load.grf = {1, 1, c.fz};
        load.mz = 0.5;
        c3d::ConvertOptions options;
        options.threshold = c.threshold;
        // A scale a float holds exactly, so that 10 N reads as 10 N and meets 10.
        FileShape s = plateFile(2, {}, load, {Processor::Intel, true});
        s.scale[2] = 0.0625;
        const c3d::Conversion out = convert(build(s), options);
        const c3d::ForceRecord& r = out.records[0];
        SCOPED_TRACE(c.fz);
        EXPECT_NEAR(r.fz, c.fz, 1e-3);
        if (c.centre) {
            EXPECT_NEAR(r.ax, load.ax, 1e-2);
            EXPECT_NEAR(r.mz, load.mz, 1e-2);
        } else {
            EXPECT_EQ(r.ax, 0);
            EXPECT_EQ(r.ay, 0);
            EXPECT_EQ(r.mz, 0);
        }
    }
}

TEST(C3dConvert, LongTrialsAreAveragedAndRangesChosen)
{
    // Fz rises by 1 N a sample; 4 analog samples per frame.
    FileShape s = plateFile(2, {}, Load{}, {Processor::Intel, true});
    s.samplesPerFrame = 4;
    s.frames = 3000; // 12000 samples
    const auto base = s.value;
    s.value = [base](int c, int i) { return c == 2 ? 100.0 + i : base(c, i); };
    const std::string bytes = build(s);
    const struct {
        int64_t from, to;
        std::size_t records;
        int64_t k;
        double rate;
        int64_t firstNumber, lastNumber;
        double lastFz;
    } cases[] = {
        {0, 0, 4000, 3, 4000.0 / 3, 1, 4000, 12098}, {101, 200, 100, 1, 4000, 101, 200, 299},
        {1, 5000, 5000, 1, 4000, 1, 5000, 5099},     {1, 5001, 2501, 2, 2000, 1, 2501, 5100},
        {8, 5008, 2501, 2, 2000, 4, 2504, 5107},
    };
    for (const auto& c : cases) {
        c3d::ConvertOptions options;
        options.from = c.from;
        options.to = c.to;
        const c3d::Conversion out = convert(bytes, options);
        SCOPED_TRACE(c.from);
        ASSERT_EQ(out.records.size(), c.records);
        EXPECT_EQ(out.samplesPerRecord, c.k);
        EXPECT_NEAR(out.rate, c.rate, 1e-9);
        EXPECT_EQ(out.recordNumbers.front(), c.firstNumber);
        EXPECT_EQ(out.recordNumbers.back(), c.lastNumber);
        EXPECT_NEAR(out.records.back().fz, c.lastFz, 1e-2);
        EXPECT_EQ(c3d::decimationNote(out).empty(), c.k == 1);
    }
    for (auto [from, to] : {std::pair<int64_t, int64_t>{200, 100}, {1, 12001}, {12001, 0}}) {
        c3d::ConvertOptions options;
        options.from = from;
        options.to = to;
        EXPECT_THROW(convert(bytes, options), c3d::RangeError) << from << " " << to;
    }
}

TEST(C3dPlates, UnitsZeroAndBodyWeight)
{
    const Load load;
    // Moments in N m, corners in mm under a POINT:UNITS of m, a baseline on every
    // channel measured over the unloaded frames 1-2, and the subject's mass.
    FileShape s = plateFile(2, {}, load, {Processor::Intel, true});
    const std::vector<double> ch = type2Channels({}, load, 40);
    // Frames 1 and 2 differ, their mean being the offset: a window shifted by a
    // frame takes in the load and no baseline.
    s.value = [ch](int c, int i) {
        const double v =
            c >= 3 ? ch[static_cast<std::size_t>(c)] / 1000 : ch[static_cast<std::size_t>(c)];
        return i == 0 ? 4 * (c + 1) : i == 1 ? 6 * (c + 1) : v + 5 * (c + 1);
    };
    for (Param& p : s.params)
        if (p.name == "UNITS")
            p = text("POINT", "UNITS", {"m"}, 1);
    s.params.push_back(text("ANALOG", "UNITS", {"N", "N", "N", "N.m", "N.m", "N.m"}, 3));
    s.params.push_back(number("FORCE_PLATFORM", "ZERO", {1, 2}, {2}, 2));
    s.params.push_back(number("PROCESSING", "Bodymass", {70}));
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[5], load, 0.05, "N.m, m, zero");
    EXPECT_NEAR(out.bodyWeight, 70 * 9.81, 1e-3);
    ASSERT_EQ(out.notes.size(), 1u);
}

TEST(C3dPlates, ZeroFramesUnderAStandingSubjectAreNoBaseline)
{
    FileShape s = plateFile(2, {}, Load{}, {Processor::Intel, true});
    s.params.push_back(number("FORCE_PLATFORM", "ZERO", {1, 3}, {2}, 2));
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[5], Load{}, 0.05, "standing from the start");
    ASSERT_EQ(out.notes.size(), 1u);
    EXPECT_NE(out.notes[0].find("no baseline"), std::string::npos) << out.notes[0];
}

TEST(C3dPlates, LoadsGivenAsTheReactionReadTheSame)
{
    // Some systems write the force on the subject rather than on the plate.
    Load reaction;
    reaction.grf = {-reaction.grf[0], -reaction.grf[1], -reaction.grf[2]};
    reaction.mz = -reaction.mz;
    FileShape s = plateFile(2, {}, reaction);
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[0], Load{}, 0.05, "reaction");
}

TEST(C3dConvert, TheForceFileReadsBackToTheSameNumbers)
{
    FileShape s = plateFile(3, {}, Load{}, {Processor::Mips, true});
    s.frames = 3;
    c3d::ConvertOptions options;
    options.title = "walk plate 1";
    const c3d::Conversion out = convert(build(s), options);
    const std::string text = c3d::forceFileText(out);
    EXPECT_EQ(text.substr(60, 10), " 1000.0000");
    EXPECT_NE(text.find("\r\n"), std::string::npos);

    auto table = std::make_unique<ForceTable>();
    MemoryByteSource source(text);
    ASSERT_EQ(readRf(source, *table), RfReadResult::Records);
    EXPECT_EQ(table->RecordCount, 3);
    EXPECT_EQ(table->TrialTitle.substr(0, 12), "walk plate 1");
    EXPECT_DOUBLE_EQ(table->samplingRateHz(), 1000);
    EXPECT_EQ(table->extraColumnName(), "Az");
    for (int i = 1; i <= 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const c3d::ForceRecord& r = out.records[k - 1];
        EXPECT_NEAR(table->Fx[k], r.fx, 0.005);
        EXPECT_NEAR(table->Fz[k], r.fz, 0.005);
        EXPECT_NEAR(table->Ax[k], r.ax, 0.0005);
        EXPECT_NEAR(table->Ay[k], r.ay, 0.0005);
        EXPECT_NEAR(table->Mz[k], r.mz, 0.00005);
        EXPECT_EQ(table->RecordNo[k], i);
    }
    EXPECT_EQ(c3d::outputName("/data/Walk 3.c3d", 1), "WALK 3.RF");
    EXPECT_EQ(c3d::outputName("walk.C3D", 2), "WALK_P2.RF");
}

TEST(C3dReader, DamagedFilesGiveAnErrorOrAPlausibleTable)
{
    const FileShape good = plateFile(2, {}, Load{}, {Processor::Intel, false});
    const std::string bytes = build(good);
    auto withParam = [&good](Param p) {
        FileShape s = good;
        bool replaced = false;
        for (Param& q : s.params)
            if (q.group == p.group && q.name == p.name)
                q = p, replaced = true;
        if (!replaced)
            s.params.push_back(p);
        return build(s);
    };
    auto patched = [&bytes](std::size_t at, std::string with) {
        std::string b = bytes;
        b.replace(at, with.size(), with);
        return b;
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* error; // a word of the message, or nullptr for a table
    } cases[] = {
        {"empty", "", "header"},
        {"header only", bytes.substr(0, 512), "parameter"},
        {"truncated data", bytes.substr(0, bytes.size() - 412), "data section"},
        {"header frame count 65535", patched(8, "\xff\xff"), "data section"},
        {"parameters past the end", patched(0, "\x7f"), "past the end"},
        {"unknown processor", patched(515, "\x50"), "processor"},
        {"absent channel",
         withParam(number("FORCE_PLATFORM", "CHANNEL", {1, 2, 3, 4, 5, 99}, {6, 1}, 2)),
         "channel 99"},
        {"channel far out",
         withParam(number("FORCE_PLATFORM", "CHANNEL", {1, 2, 3, 4, 5, 1e30}, {6, 1})),
         "channel 1e+30"},
        {"negative channel",
         withParam(number("FORCE_PLATFORM", "CHANNEL", {1, 2, -3, 4, 5, 6}, {6, 1}, 2)), "channel"},
        {"zero scale", withParam(number("ANALOG", "SCALE", {0.05, 0.05, 0, 4, 4, 4})), "scale"},
        {"NaN scale", withParam(number("ANALOG", "SCALE", {0.05, 0.05, std::nan(""), 4, 4, 4})),
         "scale"},
        {"short scale list", withParam(number("ANALOG", "SCALE", {0.05, 0.05, 0.05})), nullptr},
        {"zero general scale", withParam(number("ANALOG", "GEN_SCALE", {0})), "scale"},
        {"no corners", withParam(number("FORCE_PLATFORM", "CORNERS", {1, 2, 3})), "CORNERS"},
        {"flat corners",
         withParam(number("FORCE_PLATFORM", "CORNERS", std::vector<double>(12, 5), {3, 4, 1})),
         "span"},
        {"unknown type", withParam(number("FORCE_PLATFORM", "TYPE", {7}, {1}, 2)), "type 7"},
        {"type not a number", withParam(number("FORCE_PLATFORM", "TYPE", {std::nan("")}, {1})),
         "type 0"},
        {"type too large", withParam(number("FORCE_PLATFORM", "TYPE", {1e30}, {1})), "type 0"},
        {"analog count not a number", withParam(number("ANALOG", "USED", {std::nan("")})),
         "channel"},
        {"cal matrix 5 x 6",
         [&] {
             FileShape s = plateFile(4, {}, Load{});
             for (Param& q : s.params)
                 if (q.name == "CAL_MATRIX")
                     q = number("FORCE_PLATFORM", "CAL_MATRIX", std::vector<double>(30, 1.0),
                                {5, 6, 1});
             return build(s);
         }(),
         "CAL_MATRIX"},
        {"huge POINT:FRAMES",
         [&] {
             std::string b = withParam(number("POINT", "FRAMES", {1e9}));
             return b.replace(8, 2, "\xff\xff");
         }(),
         "of 1000000000"},
        {"POINT:FRAMES beside a good header", withParam(number("POINT", "FRAMES", {1e9})), nullptr},
        {"more plates than described", withParam(number("FORCE_PLATFORM", "USED", {200}, {}, 2)),
         nullptr},
        {"negative analog count", withParam(number("ANALOG", "USED", {-5}, {}, 2)), "analog"},
        // An empty parameter, however long its first dimensions, takes no bytes.
        {"a zero dimension",
         withParam(Param{"ANALYSIS", "DESCRIPTIONS", -1, {255, 255, 0}, {}, ""}), nullptr},
        {"header's point count unlike POINT:USED", patched(2, "\x17"), nullptr},
        {"header's analog count unlike the rates", patched(4, "\x0c"), nullptr},
        {"POINT:SCALE not a number", withParam(number("POINT", "SCALE", {std::nan("")})),
         "POINT:SCALE"},
        {"POINT:SCALE 0", withParam(number("POINT", "SCALE", {0})), "POINT:SCALE"},
        {"POINT:SCALE infinite",
         withParam(number("POINT", "SCALE", {std::numeric_limits<double>::infinity()})),
         "POINT:SCALE"},
        {"data among the parameters", patched(16, "\x02"), "inside"},
        {"data in the header", withParam(number("POINT", "DATA_START", {1}, {}, 2)), "inside"},
        {"analog rate 0.5 Hz", withParam(number("ANALOG", "RATE", {0.5})), "1 Hz to 1 MHz"},
        {"analog rate 2 MHz", withParam(number("ANALOG", "RATE", {2e6})), "1 Hz to 1 MHz"},
        {"a scale beyond 1e7 N", withParam(number("ANALOG", "GEN_SCALE", {1e5})), "1e+07"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c3d::MemoryBytes source(c.bytes);
        std::string message;
        try {
            c3d::Trial trial = c3d::openTrial(source);
            const c3d::Conversion out = c3d::convertPlate(source, trial, {});
            EXPECT_EQ(out.records.size(), 10u);
            EXPECT_NEAR(out.records[0].fz, 700, 0.1);
        } catch (const std::exception& e) {
            message = e.what();
        }
        if (c.error)
            EXPECT_NE(message.find(c.error), std::string::npos) << message;
        else
            EXPECT_EQ(message, "");
    }
}

TEST(C3dReader, EveryCutOfAFileEndsInAnErrorOrATable)
{
    // Cuts and flipped bytes anywhere: never a crash, never a hang.
    const std::string bytes = build(plateFile(3, {}, Load{}, {Processor::Dec, true}));
    int tables = 0, errors = 0;
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        for (int flip : {-1, 0x80, 0xff}) {
            std::string b = bytes.substr(0, flip < 0 ? cut : bytes.size());
            if (flip >= 0)
                b[cut] = static_cast<char>(b[cut] ^ flip);
            c3d::MemoryBytes source(b);
            // A damaged file is said as such, with a reason; anything else escapes
            // and fails the test.
            try {
                c3d::Trial trial = c3d::openTrial(source);
                c3d::surveyPlates(source, trial);
                const c3d::Conversion out = c3d::convertPlate(source, trial, {});
                EXPECT_LE(out.records.size(), 5000u);
                EXPECT_TRUE(out.rate >= 1 && out.rate <= 1e6) << out.rate;
                for (const c3d::ForceRecord& r : out.records)
                    ASSERT_TRUE(std::abs(r.fz) <= 1e7 && std::abs(r.ax) < 1e9) << cut;
                ++tables;
            } catch (const c3d::FormatError& e) {
                EXPECT_STRNE(e.what(), "");
                ++errors;
            } catch (const c3d::NoPlateError& e) {
                EXPECT_STRNE(e.what(), "");
                ++errors;
            }
        }
    }
    EXPECT_GT(tables, 0);
    EXPECT_GT(errors, 0);
}

namespace
{

// ../shared/c3d beside the clone, else the machine's copy; empty when neither is there.
std::string sharedC3d()
{
    for (const std::string& dir :
         {std::string(ORVANE_SOURCE_DIR "/../shared/c3d"), std::string("/work/shared/c3d")})
        if (std::ifstream(dir + "/reference/BTS.ref.txt"))
            return dir;
    return {};
}

struct RefSample {
    V3 force, cop, free, moment;
};

// plate -> sample -> what the independent reader computed.
std::map<int, std::map<int64_t, RefSample>> readReference(const std::string& path)
{
    std::map<int, std::map<int64_t, RefSample>> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<double> v;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            v.push_back(std::strtod(field.c_str(), nullptr));
        if (v.size() != 14)
            continue;
        out[static_cast<int>(v[0])][static_cast<int64_t>(v[1])] = {
            {v[2], v[3], v[4]}, {v[5], v[6], v[7]}, {v[8], v[9], v[10]}, {v[11], v[12], v[13]}};
    }
    return out;
}

} // namespace

TEST(C3dReference, EveryPlateOfOtherLaboratoriesAgreesWithAnIndependentReader)
{
    const std::string dir = sharedC3d();
    if (dir.empty())
        GTEST_SKIP() << "no ../shared/c3d beside the sources: the files of other laboratories "
                        "are not here";
    // What is known of each file, read off the reference, not from Orvane:
    // - up: the vertical of the file's frame. BTS and Kistler give every corner the
    //   same Y; FP_Type3 gives every corner z of about -5 mm while x and y span
    //   0.9 m by 0.6 m, so Z is up there.
    // - sign per plate: -1 where the reference's vertical force under a standing
    //   subject is negative (it is the load on the plate: Kistler), +1 where it is
    //   positive (the file holds the reaction: BTS, FP_Type3, whose unloaded plate 2
    //   is the same system's).
    // - ranges: pieces of at most 5000 samples, so that nothing is averaged; Kistler
    //   only up to 3969, where the reference stops (of 39690 samples).
    // - zero: FORCE_PLATFORM:ZERO's samples, whose mean Orvane takes off (Kistler
    //   frames 1-10, ten samples each); the reference keeps it.
    // The reference's lengths are mm and its moments N mm in all three (Kistler's
    // "m" is not believed); Orvane writes cm and N m.
    const struct {
        const char* name;
        char up;
        std::vector<int> signs;
        std::vector<std::pair<int64_t, int64_t>> ranges;
        int64_t zeroSamples;
        std::vector<int64_t> loaded; // samples over 50 N, where CoP and moment count
    } files[] = {
        {"BTS", 'Y', {1, 1, 1, 1, 1, 1}, {{1, 3375}, {3376, 6750}}, 0, {553, 0, 0, 588, 580, 0}},
        {"Kistler", 'Y', {-1, -1}, {{1, 100}, {101, 3969}}, 100, {2354, 2279}},
        {"FP_Type3", 'Z', {1, 1}, {{1, 3}, {4, 8}}, 0, {8, 0}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        auto turn = [&f](const V3& v) -> V3 { return f.up == 'Y' ? V3{v[0], -v[2], v[1]} : v; };
        const auto reference = readReference(dir + "/reference/" + f.name + ".ref.txt");
        ASSERT_EQ(reference.size(), f.signs.size());
        c3d::FileBytes bytes;
        ASSERT_EQ(bytes.open(dir + "/" + f.name + ".c3d"), 0);
        c3d::Trial trial = c3d::openTrial(bytes);
        ASSERT_EQ(trial.plates.plates.size(), f.signs.size());
        for (const auto& [plate, samples] : reference) {
            SCOPED_TRACE("plate " + std::to_string(plate));
            V3 zero{}, zeroMoment{};
            for (int64_t s = 1; s <= f.zeroSamples; ++s)
                for (int k = 0; k < 3; ++k) {
                    zero[k] += samples.at(s).force[k] / static_cast<double>(f.zeroSamples);
                    zeroMoment[k] += samples.at(s).moment[k] / static_cast<double>(f.zeroSamples);
                }
            // The baseline's moments (and its forces, at most 100 mm below the surface)
            // move the centre of pressure by at most this over Fz, in N mm.
            const double baseline = std::hypot(zeroMoment[0], zeroMoment[1], zeroMoment[2]) +
                                    100 * std::hypot(zero[0], zero[1], zero[2]);
            const double sign = f.signs[static_cast<std::size_t>(plate - 1)];
            int64_t compared = 0, loaded = 0;
            for (const auto& [from, to] : f.ranges) {
                c3d::ConvertOptions options;
                options.plate = plate;
                options.from = from;
                options.to = to;
                const c3d::Conversion out = c3d::convertPlate(bytes, trial, options);
                ASSERT_EQ(out.samplesPerRecord, 1);
                ASSERT_EQ(out.records.size(), static_cast<std::size_t>(to - from + 1));
                for (std::size_t i = 0; i < out.records.size(); ++i) {
                    const int64_t s = from + static_cast<int64_t>(i);
                    const RefSample& ref = samples.at(s);
                    const c3d::ForceRecord& r = out.records[i];
                    ASSERT_EQ(out.recordNumbers[i], s);
                    V3 load;
                    for (int k = 0; k < 3; ++k)
                        load[k] = ref.force[k] - zero[k];
                    const V3 force = turn(load);
                    const double got[3] = {r.fx, r.fy, r.fz};
                    for (int k = 0; k < 3; ++k)
                        ASSERT_NEAR(got[k], sign * force[k], 0.5 + 0.005 * std::abs(force[k]))
                            << "sample " << s << ", force " << k;
                    ++compared;
                    // Where the reference's own vertical force passes 50 N.
                    if (!(std::abs(turn(ref.force)[2]) > 50))
                        continue;
                    ++loaded;
                    const V3 cop = turn(ref.cop);
                    const double copTolerance = 1 + baseline / std::abs(force[2]);
                    ASSERT_NEAR(r.ax * 10, cop[0], copTolerance) << "sample " << s;
                    ASSERT_NEAR(r.ay * 10, cop[1], copTolerance) << "sample " << s;
                    ASSERT_NEAR(r.az * 10, cop[2], copTolerance) << "sample " << s;
                    ASSERT_NEAR(r.mz, sign * turn(ref.free)[2] / 1000, 0.05 + baseline / 1000)
                        << "sample " << s;
                }
            }
            EXPECT_EQ(compared, static_cast<int64_t>(samples.size()));
            EXPECT_EQ(loaded, f.loaded[static_cast<std::size_t>(plate - 1)]);
        }
    }
}

TEST(C3dReader, POINT_FRAMESCountsPastTheHeadersSixteenBits)
{
    // 40000 frames: the header's last frame says 65535 ("see the parameters") and
    // POINT:FRAMES, a signed word, holds 40000 as -25536.
    FileShape s = plateFile(2, {}, Load{});
    s.frames = 40000;
    s.params.push_back(number("POINT", "FRAMES", {40000}, {}, 2));
    std::string bytes = build(s);
    bytes.replace(8, 2, "\xff\xff");
    c3d::MemoryBytes source(bytes);
    const c3d::File file = c3d::readFile(source);
    EXPECT_EQ(file.frameCount, 40000);
}

TEST(C3dPlates, CornersThatAreNoPlateAreRefusedAndDecideNothingForAnother)
{
    // Plate 1 lies in a laboratory whose vertical is Y; plates 2 and 3 carry corners
    // whose normals point along X, outvoting plate 1 if they had a vote.
    PlateSetup yUp;
    yUp.fileVertical = 1;
    const Load load;
    const std::vector<double> one = type2Channels(yUp, load, 40);
    const double nan = std::nan("");
    const struct {
        const char* name;
        std::vector<double> junk; // four corners, x y z each, mm
        const char* reason;
    } cases[] = {
        {"sides 3.5e10 apart",
         {0, 0, 0, 0, -3.5e10, 0, 0, -3.5e10, -400, 0, 0, -400},
         "2 cm to 5 m"},
        {"a side of 1 cm", {0, 0, 0, 0, -10, 0, 0, -10, -400, 0, 0, -400}, "2 cm to 5 m"},
        {"a side of 6 m", {0, 0, 0, 0, -6000, 0, 0, -6000, -400, 0, 0, -400}, "2 cm to 5 m"},
        {"sides not square", {0, 0, 0, 0, -400, 0, 0, -700, -400, 0, 300, -400}, "right angles"},
        {"not a number", {0, 0, 0, 0, -400, nan, 0, -400, -400, 0, 0, -400}, "not numbers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileShape s;
        s.channels = 18;
        for (int ch = 0; ch < 18; ++ch)
            s.scale.push_back(ch % 6 < 3 ? 0.05 : 4);
        s.value = [one](int ch, int) { return one[static_cast<std::size_t>(ch % 6)]; };
        std::vector<double> channel, cornerList = corners(yUp);
        for (int ch = 1; ch <= 18; ++ch)
            channel.push_back(ch);
        for (int p = 0; p < 2; ++p)
            cornerList.insert(cornerList.end(), c.junk.begin(), c.junk.end());
        s.params = {number("FORCE_PLATFORM", "USED", {3}, {}, 2),
                    number("FORCE_PLATFORM", "TYPE", {2, 2, 2}, {3}, 2),
                    number("FORCE_PLATFORM", "CHANNEL", channel, {6, 3}, 2),
                    number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 3}),
                    number("FORCE_PLATFORM", "ORIGIN", {0, 0, 40, 0, 0, 40, 0, 0, 40}, {3, 3}),
                    text("POINT", "UNITS", {"mm"}, 2)};
        const std::string bytes = build(s);
        c3d::MemoryBytes source(bytes);
        c3d::Trial trial = c3d::openTrial(source);
        for (int p : {1, 2}) {
            const std::string& problem = trial.plates.plates[static_cast<std::size_t>(p)].problem;
            EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
        }
        const c3d::Conversion out = c3d::convertPlate(source, trial, {});
        expectLoad(out.records[0], load, 0.05, "plate 1");
        for (int p : {2, 3}) {
            c3d::ConvertOptions options;
            options.plate = p;
            EXPECT_THROW(c3d::convertPlate(source, trial, options), c3d::FormatError);
        }
    }
}

TEST(C3dConvert, ASampleReadsTheSameWhateverRangeHoldsIt)
{
    // Samples 1-3 hold a small pull, as an unloaded plate's drift may; then the
    // subject stands. The whole recording shows which way the channels point.
    Load pull;
    pull.grf = {0.5, 0, -4};
    const std::vector<double> drift = type2Channels({}, pull, 40);
    FileShape s = plateFile(2, {}, Load{}, {Processor::Intel, true});
    const auto standing = s.value;
    s.value = [drift, standing](int c, int i) {
        return i < 3 ? drift[static_cast<std::size_t>(c)] : standing(c, i);
    };
    const std::string bytes = build(s);
    const struct {
        int64_t from, to;
    } ranges[] = {{1, 3}, {2, 2}, {1, 10}, {3, 4}, {4, 10}};
    for (const auto& r : ranges) {
        SCOPED_TRACE(std::to_string(r.from) + "-" + std::to_string(r.to));
        c3d::ConvertOptions options;
        options.from = r.from;
        options.to = r.to;
        const c3d::Conversion out = convert(bytes, options);
        for (std::size_t i = 0; i < out.records.size(); ++i) {
            const bool pulled = r.from + static_cast<int64_t>(i) <= 3;
            EXPECT_NEAR(out.records[i].fz, pulled ? -4 : 700, 0.05) << i;
            EXPECT_NEAR(out.records[i].fx, pulled ? 0.5 : 30, 0.05) << i;
        }
        EXPECT_NE(out.senseNote.find("load on the plate"), std::string::npos) << out.senseNote;
    }
}

TEST(C3dPlates, TheCornersUnitIsTheFilesOrTheOneTheirSizeShows)
{
    // A type 1 plate gives its centre of pressure and free moment in the corners'
    // unit. The corners are written in `unit`; `note` when the unit is not believed.
    const struct {
        const char* unit;
        double perMm; // the corners' numbers per mm
        bool note;
    } cases[] = {{"mm", 1, false}, {"cm", 0.1, false}, {"m", 0.001, false},
                 {"m", 1, true},   {"", 1, true},      {"", 0.001, true}};
    Load load;
    load.ax = 7;
    load.ay = -4;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.perMm));
        FileShape s = plateFile(1, {}, load, {Processor::Intel, true});
        const std::vector<double> ch = type1Channels({}, load);
        const double per = c.perMm;
        s.value = [ch, per](int k, int) {
            return ch[static_cast<std::size_t>(k)] * (k >= 3 ? per : 1);
        };
        std::vector<double> cornerList = corners({});
        for (double& v : cornerList)
            v *= c.perMm;
        for (Param& p : s.params) {
            if (p.name == "CORNERS")
                p = number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 1});
            if (p.name == "UNITS")
                p = text("POINT", "UNITS", {c.unit[0] ? c.unit : " "}, 2);
        }
        const std::string bytes = build(s);
        c3d::MemoryBytes source(bytes);
        c3d::Trial trial = c3d::openTrial(source);
        const c3d::Plate& plate = trial.plates.plates[0];
        ASSERT_EQ(plate.problem, "");
        EXPECT_NEAR(plate.centre[0], 0.3, 1e-6);
        EXPECT_NEAR(plate.centre[1], 0.2, 1e-6);
        EXPECT_NEAR(plate.width, 0.4, 1e-6);
        EXPECT_NEAR(plate.depth, 0.6, 1e-6);
        EXPECT_EQ(plate.notes.size(), c.note ? 1u : 0u);
        const c3d::Conversion out = c3d::convertPlate(source, trial, {});
        expectLoad(out.records[0], load, 0.05, c.unit);
    }
}

TEST(C3dConvert, ANewFileNeverReplacesOne)
{
    const std::string dir = ::testing::TempDir() + "c3d_write_" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/KEEP.RF") << "keep me";
    const struct {
        std::string path;
        int result;
        const char* after; // the file's content afterwards, nullptr for none
    } cases[] = {
        {dir + "/KEEP.RF", 58, "keep me"},
        {dir + "/NEW.RF", 0, "records"},
        {dir + "/missing/NEW.RF", 76, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c3d::writeNewFile(c.path, "records"), c.result);
        std::ifstream in(c.path);
        if (!c.after) {
            EXPECT_FALSE(in.good());
            continue;
        }
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(content, c.after);
    }
    std::filesystem::remove_all(dir);
}
