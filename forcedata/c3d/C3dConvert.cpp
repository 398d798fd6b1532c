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
    for (Plate& plate : trial.plates.plates) {
        PlateInfo info;
        info.number = plate.number;
        info.type = plate.type;
        info.samples = trial.file.sampleCount();
        info.rate = trial.file.analogRate;
        info.problem = plate.problem;
        infos.push_back(info);
        if (!plate.problem.empty())
            continue;
        measureZero(bytes, trial.file, plate);
        readable.push_back(&plate);
        channels.insert(channels.end(), plate.channels.begin(), plate.channels.end());
    }
    if (readable.empty())
        return infos;
    const int64_t total = trial.file.sampleCount();
    std::vector<double> lowest(readable.size(), 0.0), highest(readable.size(), 0.0);
    readAnalog(bytes, trial.file, channels, 0, total - 1, [&](int64_t index, const double* values) {
        const double* v = values;
        for (std::size_t i = 0; i < readable.size(); ++i) {
            const double z = vertical(*readable[i], plateLoads(*readable[i], v));
            lowest[i] = std::min(lowest[i], z);
            highest[i] = std::max(highest[i], z);
            v += readable[i]->channels.size();
        }
        if (progress && index % 4096 == 0)
            progress(static_cast<double>(index) / static_cast<double>(total));
    });
    for (std::size_t i = 0; i < readable.size(); ++i) {
        readable[i]->sense = senseOf(lowest[i], highest[i]);
        infos[static_cast<std::size_t>(readable[i]->number - 1)].peakFz =
            std::max(0.0, readable[i]->sense > 0 ? -lowest[i] : highest[i]);
    }
    return infos;
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
    Plate plate = plates[static_cast<std::size_t>(options.plate - 1)];
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
    out.bodyWeight = trial.plates.bodyWeight;
    out.title = options.title;
    out.records.reserve(
        static_cast<std::size_t>((out.samples + out.samplesPerRecord - 1) / out.samplesPerRecord));
    measureZero(bytes, trial.file, plate);
    out.notes = plate.notes;

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
    double lowest = 0, highest = 0;
    for (const Loads& l : loads) {
        lowest = std::min(lowest, vertical(plate, l));
        highest = std::max(highest, vertical(plate, l));
    }
    plate.sense = senseOf(lowest, highest);
    for (const Loads& l : loads)
        out.records.push_back(forceRecord(plate, l, options.threshold));
    return out;
}

std::string decimationNote(const Conversion& c)
{
    if (c.samplesPerRecord <= 1)
        return {};
    return std::to_string(c.samples) + " samples are more than " + std::to_string(MaxRecords) +
           ": each record is the mean of " + std::to_string(c.samplesPerRecord) + ", at " +
           formatted("%g", c.rate) + " Hz";
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

std::string outputName(const std::string& c3dPath, int plate)
{
    std::string name = baseName(c3dPath);
    for (char& ch : name)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (plate != 1)
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
