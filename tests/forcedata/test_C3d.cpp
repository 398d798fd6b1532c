// The C3D reader and the conversion to a force file, on files built with known loads and on
// other laboratories' files; the plates' own cases are in test_C3dPlates.cpp.

#include "C3dPlateFile.h"
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
