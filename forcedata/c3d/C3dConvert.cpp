#include "forcedata/c3d/C3dConvert.h"
#include "platform/FileErrors.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace c3d
{

namespace
{

constexpr const char* CardEnd = "\r\n";

std::string leftField(const std::string& text, std::size_t width)
{
    std::string field = text.substr(0, width);
    field.resize(width, ' ');
    return field;
}

std::string rightField(const std::string& text, std::size_t width)
{
    if (text.size() >= width)
        return text.substr(text.size() - width);
    return std::string(width - text.size(), ' ') + text;
}

// A number in `width` columns with a blank before it, with as many of `decimals`
// as fit; a value too large for fixed notation goes in exponent notation.
void appendNumber(std::string& out, double value, int decimals, std::size_t width = 10)
{
    char text[64];
    for (int d = decimals; d >= 0; --d) {
        const auto [end, error] =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, d);
        std::size_t length =
            error == std::errc() ? static_cast<std::size_t>(end - text) : sizeof text;
        const char* begin = text;
        // No "-0.00": a value that rounds to zero is written without its sign.
        if (length < sizeof text && text[0] == '-' &&
            std::all_of(text + 1, text + length, [](char c) { return c == '0' || c == '.'; })) {
            ++begin;
            --length;
        }
        if (length < width) {
            out.append(width - length, ' ');
            out.append(begin, length);
            return;
        }
    }
    std::snprintf(text, sizeof text, "%.2E", value);
    const std::string exponent = text;
    out += rightField(exponent, width);
}

std::string numberField(double value, int decimals, std::size_t width = 10)
{
    std::string out;
    appendNumber(out, value, decimals, width);
    return out;
}

Loads average(const Loads& sum, int64_t count)
{
    Loads mean = sum;
    for (int k = 0; k < 3; ++k) {
        mean.force[k] /= static_cast<double>(count);
        mean.moment[k] /= static_cast<double>(count);
    }
    return mean;
}

std::string formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

Trial openTrial(const Bytes& bytes)
{
    Trial trial;
    trial.file = readFile(bytes);
    trial.plates = findPlates(trial.file);
    return trial;
}

std::vector<PlateInfo> surveyPlates(const Bytes& bytes, Trial& trial,
                                    const std::function<void(double)>& progress)
{
    std::vector<PlateInfo> infos;
    std::vector<int> channels;
    std::vector<Plate*> readable;
    const double rate = trial.file.analogRate;
    for (Plate& plate : trial.plates.plates) {
        PlateInfo info;
        info.number = plate.number;
        info.type = plate.type;
        info.samples = trial.file.sampleCount();
        info.rate = rate;
        info.problem = plate.problem;
        if (plate.problem.empty()) {
            info.centre = plate.centre;
            info.width = plate.width;
            info.depth = plate.depth;
            info.corners = plate.corners;
            measureZero(bytes, trial.file, plate);
            readable.push_back(&plate);
            channels.insert(channels.end(), plate.channels.begin(), plate.channels.end());
        }
        infos.push_back(info);
    }
    trial.surveyed = true;
    if (readable.empty())
        return infos;
    const int64_t total = trial.file.sampleCount();
    const std::size_t n = readable.size();
    std::vector<double> lowest(n, 0.0), highest(n, 0.0), force(n, 0.0);
    std::vector<int64_t> lowAt(n, 0), highAt(n, 0), forceAt(n, 0);
    readAnalog(bytes, trial.file, channels, 0, total - 1, [&](int64_t index, const double* values) {
        const double* v = values;
        for (std::size_t i = 0; i < n; ++i) {
            const Loads loads = plateLoads(*readable[i], v);
            const double z = vertical(*readable[i], loads);
            if (z < lowest[i])
                lowest[i] = z, lowAt[i] = index;
            if (z > highest[i])
                highest[i] = z, highAt[i] = index;
            for (double f : loads.force)
                if (!(std::abs(f) <= force[i]))
                    force[i] = std::abs(f), forceAt[i] = index;
            v += readable[i]->channels.size();
        }
        if (progress && index % 4096 == 0)
            progress(static_cast<double>(index) / static_cast<double>(total));
    });
    decideSenses(readable, lowest, highest);
    for (std::size_t i = 0; i < n; ++i) {
        Plate& plate = *readable[i];
        PlateInfo& info = infos[static_cast<std::size_t>(plate.number - 1)];
        info.senseNote = plate.senseNote;
        const bool down = plate.sense > 0;
        info.peakFz = std::max(0.0, down ? -lowest[i] : highest[i]);
        const int64_t at = down ? lowAt[i] : highAt[i];
        info.peakSample = at + 1;
        info.peakTime = rate > 0 ? static_cast<double>(at) / rate : 0;
        // A force no plate bears, or none at all, is a wrong scale: nothing of it
        // is believable.
        if (!(force[i] <= MaxForce)) {
            plate.problem = "plate " + std::to_string(plate.number) + " reads a force of " +
                            formatted("%g", force[i]) + " N at sample " +
                            std::to_string(forceAt[i] + 1) +
                            ", beyond 1e+07 N: its scale (ANALOG:SCALE, GEN_SCALE) is wrong";
            info.problem = plate.problem;
            info.peakFz = 0;
            info.peakSample = 0;
        }
    }
    return infos;
}

std::vector<int> loadedPlates(const std::vector<PlateInfo>& infos, double threshold)
{
    std::vector<int> loaded;
    for (const PlateInfo& info : infos)
        if (info.problem.empty() && info.peakFz >= threshold && info.peakFz > 0)
            loaded.push_back(info.number);
    return loaded;
}

std::string plateLine(const PlateInfo& info)
{
    char text[160];
    std::snprintf(text, sizeof text, "%3d  type %d  %8lld samples  %8s Hz  peak Fz %9.1f N",
                  info.number, info.type, static_cast<long long>(info.samples),
                  formatted("%g", info.rate).c_str(), info.peakFz);
    std::string line = text;
    if (!info.problem.empty())
        line += "  (cannot be read: " + info.problem + ")";
    return line;
}

Conversion convertPlate(const Bytes& bytes, Trial& trial, const ConvertOptions& options,
                        const std::function<void(double)>& progress)
{
    const std::vector<Plate>& plates = trial.plates.plates;
    if (plates.empty())
        throw NoPlateError("the file has no force plates");
    if (options.plate < 1 || options.plate > static_cast<int>(plates.size()))
        throw NoPlateError("there is no plate " + std::to_string(options.plate) +
                           "; the file has " + std::to_string(plates.size()));
    if (!trial.surveyed)
        surveyPlates(bytes, trial);
    const Plate& plate = plates[static_cast<std::size_t>(options.plate - 1)];
    if (!plate.problem.empty())
        throw FormatError(plate.problem);
    const int64_t total = trial.file.sampleCount();
    if (total < 1)
        throw FormatError("the file holds no analog samples");
    if (!(trial.file.analogRate > 0) || !std::isfinite(trial.file.analogRate))
        throw FormatError("the file gives no analog sampling rate (ANALOG:RATE, POINT:RATE)");
    const int64_t from = options.from > 0 ? options.from : 1;
    const int64_t to = options.to > 0 ? options.to : total;
    if (from > to || to > total)
        throw RangeError("samples " + std::to_string(from) + " to " + std::to_string(to) +
                         " are not within the file's 1 to " + std::to_string(total));

    Conversion out;
    out.samples = to - from + 1;
    out.samplesPerRecord = (out.samples + MaxRecords - 1) / MaxRecords;
    out.rate = trial.file.analogRate / static_cast<double>(out.samplesPerRecord);
    // The force file gives its rate with four decimals; a slower one would read as 0.
    if (!(out.rate >= 0.001))
        throw RangeError(std::to_string(out.samples) + " samples at " +
                         formatted("%g", trial.file.analogRate) +
                         " Hz average to a rate too slow to write; choose fewer (--from, --to)");
    out.bodyWeight = trial.plates.bodyWeight;
    out.title = options.title;
    out.records.reserve(
        static_cast<std::size_t>((out.samples + out.samplesPerRecord - 1) / out.samplesPerRecord));
    out.notes = plate.notes;
    out.senseNote = plate.senseNote;

    // Records average the loads, not the centres of pressure: a mean of positions
    // would weigh a light touch like full stance.
    std::vector<Loads> loads;
    loads.reserve(out.records.capacity());
    Loads sum;
    int64_t inGroup = 0;
    const int64_t k = out.samplesPerRecord;
    auto flush = [&] {
        if (inGroup == 0)
            return;
        loads.push_back(average(sum, inGroup));
        sum = {};
        inGroup = 0;
    };
    readAnalog(bytes, trial.file, plate.channels, from - 1, to - 1,
               [&](int64_t index, const double* values) {
                   if (inGroup == 0)
                       out.recordNumbers.push_back(index / k + 1);
                   const Loads sample = plateLoads(plate, values);
                   for (int c = 0; c < 3; ++c) {
                       sum.force[c] += sample.force[c];
                       sum.moment[c] += sample.moment[c];
                   }
                   if (++inGroup == k)
                       flush();
                   if (progress && index % 4096 == 0)
                       progress(static_cast<double>(index - from + 1) /
                                static_cast<double>(out.samples));
               });
    flush();
    for (const Loads& l : loads)
        out.records.push_back(forceRecord(plate, l, options.threshold));
    return out;
}

std::string decimationNote(const Conversion& c)
{
    if (c.samplesPerRecord <= 1)
        return {};
    return recordsSentence(c.samples, c.rate * static_cast<double>(c.samplesPerRecord));
}

std::string recordsSentence(int64_t samples, double rate)
{
    const int64_t k = std::max<int64_t>(1, (samples + MaxRecords - 1) / MaxRecords);
    const int64_t records = (samples + k - 1) / k;
    const std::string from =
        std::to_string(samples) + " samples at " + formatted("%g", rate) + " Hz";
    if (k == 1)
        return from + " are written as " + std::to_string(records) + " records";
    return from + " become " + std::to_string(records) + " records at " +
           formatted("%g", rate / static_cast<double>(k)) + " Hz, each the mean of " +
           std::to_string(k);
}

std::string forceFileText(const Conversion& c)
{
    std::string text;
    text.reserve(c.records.size() * 81 + 400);
    // Column 1 of every header card is taken, so the reader sees a header card.
    std::string title = c.title.empty() ? std::string("C3D plate") : c.title;
    if (title[0] == ' ')
        title[0] = '_';
    text += leftField(title, 40) + rightField("Sampling rate (Hz):", 20) + numberField(c.rate, 4) +
            CardEnd;
    text += leftField("Imported from C3D", 40) + rightField("Body weight (N):", 20) +
            numberField(c.bodyWeight, 1) + CardEnd;
    std::string names;
    for (const char* name : {"Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Az", "Record"})
        names += leftField(name, 10);
    while (names.back() == ' ')
        names.pop_back();
    text += names + CardEnd;
    text += CardEnd;
    char number[32];
    for (std::size_t i = 0; i < c.records.size(); ++i) {
        const ForceRecord& r = c.records[i];
        appendNumber(text, r.fx, 2);
        appendNumber(text, r.fy, 2);
        appendNumber(text, r.fz, 2);
        appendNumber(text, r.ax, 3);
        appendNumber(text, r.ay, 3);
        appendNumber(text, r.mz, 4);
        appendNumber(text, r.az, 3);
        std::snprintf(number, sizeof number, "%9lld",
                      static_cast<long long>(std::min<int64_t>(c.recordNumbers[i], 999999999)));
        text += number;
        text += CardEnd;
    }
    return text;
}

std::string baseName(const std::string& path)
{
    std::string name = path.substr(
        path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string outputName(const std::string& c3dPath, int plate, bool numbered)
{
    std::string name = baseName(c3dPath);
    for (char& ch : name)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (plate != 1 || numbered)
        name += "_P" + std::to_string(plate);
    return name + ".RF";
}

int writeNewFile(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? FileError::FileAlreadyExists : fileErrorFromErrno(errno, path);
    std::size_t done = 0;
    int error = FileError::None;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = fileErrorFromErrno(n < 0 ? errno : EIO, path);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && error == FileError::None)
        error = fileErrorFromErrno(errno, path);
    if (error != FileError::None)
        ::unlink(path.c_str());
    return error;
}

} // namespace c3d
