#include "forcedata/c3d/C3dReader.h"
#include "platform/FileErrors.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace c3d
{

namespace
{

constexpr uint64_t BlockSize = 512;
constexpr unsigned char HeaderKey = 0x50;

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\0'))
        --end;
    std::size_t begin = 0;
    while (begin < end && text[begin] == ' ')
        ++begin;
    return std::string(text.substr(begin, end - begin));
}

// A count from a parameter, within 0..max; not a number counts 0.
double boundedNumber(double value, double max)
{
    return std::isnan(value) ? 0 : std::clamp(value, 0.0, max);
}

uint16_t decodeUInt16(const unsigned char* p, Processor processor)
{
    return processor == Processor::Mips ? static_cast<uint16_t>(p[0] << 8 | p[1])
                                        : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

// Bounds-checked reading of the parameter section held in memory.
class Cursor
{
public:
    Cursor(const std::vector<unsigned char>& bytes, Processor processor)
        : m_bytes(bytes), m_processor(processor)
    {
    }
    std::size_t pos = 0;
    bool has(std::size_t n) const { return pos <= m_bytes.size() && m_bytes.size() - pos >= n; }
    const unsigned char* at(std::size_t n, const char* what)
    {
        if (!has(n))
            throw FormatError(std::string("the parameter section ends inside ") + what);
        const unsigned char* p = m_bytes.data() + pos;
        pos += n;
        return p;
    }
    int8_t s8(const char* what) { return static_cast<int8_t>(*at(1, what)); }
    uint8_t u8(const char* what) { return *at(1, what); }
    int16_t s16(const char* what) { return decodeInt16(at(2, what), m_processor); }

private:
    const std::vector<unsigned char>& m_bytes;
    Processor m_processor;
};

struct RawParameter {
    int group = 0;
    std::string name;
    Parameter value;
};

Parameter decodeValue(Cursor& cursor, int type, std::vector<int> dimensions, Processor processor,
                      const std::string& name)
{
    const std::size_t size = type == -1 ? 1 : static_cast<std::size_t>(type);
    // A zero anywhere among the dimensions makes an empty parameter, so the length
    // is checked only once no zero can follow. Every dimension is below 256: checked
    // against the bytes left after each step, the count never grows large.
    std::size_t count = 1;
    if (std::find(dimensions.begin(), dimensions.end(), 0) != dimensions.end())
        count = 0;
    for (int d : dimensions) {
        if (count == 0)
            break;
        count *= static_cast<std::size_t>(d);
        if (!cursor.has(count * size))
            throw FormatError("parameter " + name + " is longer than the parameter section");
    }
    const unsigned char* p = cursor.at(count * size, "a parameter's values");
    Parameter param;
    param.type = type;
    param.dimensions = std::move(dimensions);
    if (type == -1) {
        const std::size_t length =
            param.dimensions.empty() ? 1 : static_cast<std::size_t>(param.dimensions[0]);
        const auto* text = reinterpret_cast<const char*>(p);
        for (std::size_t i = 0; length > 0 && i + length <= count; i += length)
            param.texts.push_back(trimmed(std::string_view(text + i, length)));
        return param;
    }
    param.numbers.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* v = p + i * size;
        switch (type) {
        case 1:
            param.numbers.push_back(static_cast<int8_t>(*v));
            break;
        case 2:
            param.numbers.push_back(decodeInt16(v, processor));
            break;
        default:
            param.numbers.push_back(decodeFloat(v, processor));
            break;
        }
    }
    return param;
}

// The parameters by "GROUP:NAME"; `used` gets the bytes their records take.
std::map<std::string, Parameter> readParameters(const std::vector<unsigned char>& section,
                                                Processor processor, std::size_t& used)
{
    std::map<int, std::string> groups;
    std::vector<RawParameter> raw;
    Cursor cursor(section, processor);
    cursor.pos = 4;
    while (cursor.has(2)) {
        const std::size_t start = cursor.pos;
        const int nameLength = std::abs(cursor.s8("a name"));
        const int id = cursor.s8("a group number");
        if (nameLength == 0 || id == 0)
            break;
        const auto* name = reinterpret_cast<const char*>(cursor.at(nameLength, "a name"));
        const std::string key = upper(trimmed(std::string_view(name, nameLength)));
        const std::size_t offsetPos = cursor.pos;
        const int16_t offset = cursor.s16("a record's length");
        if (id < 0) {
            groups[-id] = key;
        } else {
            const int type = cursor.s8("a parameter's type");
            if (type != -1 && type != 1 && type != 2 && type != 4)
                throw FormatError("parameter " + key + " has an unknown type " +
                                  std::to_string(type));
            const int count = cursor.u8("a parameter's dimensions");
            std::vector<int> dimensions;
            const unsigned char* d = cursor.at(count, "a parameter's dimensions");
            for (int i = 0; i < count; ++i)
                dimensions.push_back(d[i]);
            raw.push_back(
                {id, key, decodeValue(cursor, type, std::move(dimensions), processor, key)});
        }
        used = std::max(used, cursor.pos);
        // The length leads from its own position to the next record; 0 or less marks
        // the last one, and a record never leads backwards.
        if (offset <= 0)
            break;
        const std::size_t next = offsetPos + static_cast<std::size_t>(offset);
        if (next <= start)
            break;
        cursor.pos = next;
    }
    std::map<std::string, Parameter> parameters;
    for (RawParameter& p : raw) {
        const auto group = groups.find(p.group);
        if (group != groups.end())
            parameters.emplace(group->second + ":" + p.name, std::move(p.value));
    }
    return parameters;
}

} // namespace

bool MemoryBytes::read(uint64_t offset, std::size_t length, void* into) const
{
    if (offset > m_bytes.size() || m_bytes.size() - offset < length)
        return false;
    std::memcpy(into, m_bytes.data() + offset, length);
    return true;
}

FileBytes::~FileBytes()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileBytes::open(const std::string& path)
{
    if (m_fd >= 0)
        ::close(m_fd);
    // Not blocking: opening a pipe would otherwise wait for a writer for ever.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0)
        return fileErrorFromErrno(errno, path);
    struct stat info {
    };
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return FileError::PathFileAccessError;
    }
    m_size = static_cast<uint64_t>(info.st_size);
    return FileError::None;
}

bool FileBytes::read(uint64_t offset, std::size_t length, void* into) const
{
    if (m_fd < 0 || offset > m_size || m_size - offset < length)
        return false;
    auto* out = static_cast<char*>(into);
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, out, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<uint64_t>(got);
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

float decodeFloat(const unsigned char* p, Processor processor)
{
    uint32_t bits = 0;
    switch (processor) {
    case Processor::Intel:
        bits = uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        break;
    case Processor::Mips:
        bits = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        break;
    case Processor::Dec: {
        // VAX F-floating: two little-endian words, the first holding sign, exponent
        // (bias 128) and the high mantissa, with the binary point before the hidden 1.
        const uint32_t word =
            uint32_t(p[1]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[3]) << 8 | p[2];
        const int exponent = static_cast<int>(word >> 23 & 0xff);
        if (exponent == 0)
            return 0.0f;
        const double mantissa = 1.0 + static_cast<double>(word & 0x7fffff) / 8388608.0;
        const double value = std::ldexp(mantissa, exponent - 129);
        return static_cast<float>(word >> 31 ? -value : value);
    }
    }
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int16_t decodeInt16(const unsigned char* p, Processor processor)
{
    return static_cast<int16_t>(decodeUInt16(p, processor));
}

double Parameter::number(std::size_t index, double fallback) const
{
    return index < numbers.size() ? numbers[index] : fallback;
}

std::string Parameter::text(std::size_t index) const
{
    return index < texts.size() ? texts[index] : std::string();
}

const Parameter* File::find(std::string_view group, std::string_view name) const
{
    std::string key(group);
    key += ':';
    key += name;
    const auto it = parameters.find(key);
    return it == parameters.end() ? nullptr : &it->second;
}

File readFile(const Bytes& bytes)
{
    unsigned char header[BlockSize];
    if (!bytes.read(0, sizeof header, header))
        throw FormatError("the file is shorter than a C3D header");
    if (header[1] != HeaderKey || header[0] < 2)
        throw FormatError("the file does not start with a C3D header");

    const uint64_t parameterOffset = (uint64_t(header[0]) - 1) * BlockSize;
    unsigned char start[4];
    if (!bytes.read(parameterOffset, sizeof start, start))
        throw FormatError("the parameter section lies past the end of the file");
    File file;
    if (start[3] < 84 || start[3] > 86)
        throw FormatError("the parameter section names an unknown processor type " +
                          std::to_string(int(start[3]) - 83));
    file.processor = static_cast<Processor>(start[3]);
    const Processor proc = file.processor;

    // A block count of 0 or one reaching past the end: read what the file holds.
    uint64_t sectionBytes = uint64_t(start[2]) * BlockSize;
    const uint64_t available = bytes.size() - parameterOffset;
    if (sectionBytes == 0 || sectionBytes > available)
        sectionBytes = std::min<uint64_t>(available, 255 * BlockSize);
    std::vector<unsigned char> section(static_cast<std::size_t>(sectionBytes));
    if (!bytes.read(parameterOffset, section.size(), section.data()))
        throw FormatError("the parameter section cannot be read");
    std::size_t parameterBytes = 4;
    file.parameters = readParameters(section, proc, parameterBytes);

    // Where the header and the parameters disagree, the parameters hold: the
    // header's 16-bit words are a summary that writers do not always keep up to date.
    file.pointCount = decodeUInt16(header + 2, proc);
    if (const Parameter* p = file.find("POINT", "USED"); p && !p->numbers.empty()) {
        double used = p->numbers[0];
        if (p->type == 2 && used < 0)
            used += 65536;
        if (used >= 0 && used <= 65535)
            file.pointCount = static_cast<int>(used);
    }
    const int analogPerFrame = decodeUInt16(header + 4, proc);
    file.firstFrame = decodeUInt16(header + 6, proc);
    const int lastFrame = decodeUInt16(header + 8, proc);
    double scale = decodeFloat(header + 12, proc);
    const int dataBlock = decodeUInt16(header + 16, proc);
    file.pointRate = decodeFloat(header + 20, proc);

    if (const Parameter* p = file.find("POINT", "SCALE"); p && !p->numbers.empty())
        scale = p->numbers[0];
    if (!std::isfinite(scale) || scale == 0)
        throw FormatError("POINT:SCALE is " + std::to_string(scale) +
                          "; it must be a number other than 0");
    file.floatStorage = scale < 0;
    if (const Parameter* p = file.find("POINT", "RATE");
        p && !p->numbers.empty() && std::isfinite(p->numbers[0]) && p->numbers[0] > 0)
        file.pointRate = p->numbers[0];

    uint64_t dataStart = dataBlock;
    if (const Parameter* p = file.find("POINT", "DATA_START"); p && !p->numbers.empty()) {
        double block = p->numbers[0];
        if (p->type == 2 && block < 0)
            block += 65536;
        if (block >= 1 && block <= 65535)
            dataStart = static_cast<uint64_t>(block);
    }
    if (dataStart == 0)
        throw FormatError("the header gives no start for the data section");
    // The data follow the header and the parameters; a start among them would read
    // parameters as samples. (Some writers count more parameter blocks than they
    // fill, so the parameters' own records mark their end.)
    file.dataOffset = (dataStart - 1) * BlockSize;
    if (file.dataOffset < parameterOffset + parameterBytes)
        throw FormatError("the data section starts in block " + std::to_string(dataStart) +
                          ", inside the header or the parameter section (blocks 1 to " +
                          std::to_string((parameterOffset + parameterBytes - 1) / BlockSize + 1) +
                          ")");

    if (const Parameter* p = file.find("ANALOG", "USED"); p && !p->numbers.empty())
        file.analogChannels = static_cast<int>(boundedNumber(p->numbers[0], 65535));
    double analogRate = 0;
    if (const Parameter* p = file.find("ANALOG", "RATE");
        p && !p->numbers.empty() && std::isfinite(p->numbers[0]) && p->numbers[0] > 0)
        analogRate = p->numbers[0];
    if (file.analogChannels > 0) {
        // Samples per frame from the two rates; the header's count only when they
        // are missing or not a whole ratio.
        int perFrame = 0;
        if (analogRate > 0 && std::isfinite(file.pointRate) && file.pointRate > 0) {
            const double ratio = analogRate / file.pointRate;
            const double whole = std::round(ratio);
            if (whole >= 1 && whole <= 65535 && std::abs(ratio - whole) < 1e-3 * whole)
                perFrame = static_cast<int>(whole);
        }
        if (perFrame == 0) {
            if (analogPerFrame == 0 || analogPerFrame % file.analogChannels != 0)
                throw FormatError("the header's " + std::to_string(analogPerFrame) +
                                  " analog values per frame do not fit ANALOG:USED " +
                                  std::to_string(file.analogChannels));
            perFrame = analogPerFrame / file.analogChannels;
        }
        file.samplesPerFrame = perFrame;
    }
    const std::size_t valueSize = file.floatStorage ? 4 : 2;
    file.frameBytes = (uint64_t(file.pointCount) * 4 +
                       uint64_t(file.analogChannels) * uint64_t(file.samplesPerFrame)) *
                      valueSize;

    file.analogRate = analogRate > 0 ? analogRate : file.pointRate * file.samplesPerFrame;
    if (file.analogChannels > 0 && !(file.analogRate >= 1 && file.analogRate <= 1e6))
        throw FormatError("the analog rate (ANALOG:RATE) is " + std::to_string(file.analogRate) +
                          " Hz; Orvane reads 1 Hz to 1 MHz");

    if (const Parameter* p = file.find("ANALOG", "FORMAT"))
        file.analogUnsigned = upper(p->text(0)) == "UNSIGNED" && !file.floatStorage;
    double general = 1;
    if (const Parameter* p = file.find("ANALOG", "GEN_SCALE"); p && !p->numbers.empty())
        general = p->numbers[0];
    const Parameter* scales = file.find("ANALOG", "SCALE");
    const Parameter* offsets = file.find("ANALOG", "OFFSET");
    for (int i = 0; i < file.analogChannels; ++i) {
        const auto k = static_cast<std::size_t>(i);
        file.analogScale.push_back(general * (scales ? scales->number(k, 1) : 1));
        double offset = offsets ? offsets->number(k, 0) : 0;
        // Offsets of unsigned data are unsigned too, though stored as signed words.
        if (file.analogUnsigned && offsets && offsets->type == 2 && offset < 0)
            offset += 65536;
        file.analogOffset.push_back(offset);
    }

    const uint64_t size = bytes.size();
    const uint64_t framesHeld = file.dataOffset < size && file.frameBytes > 0
                                    ? (size - file.dataOffset) / file.frameBytes
                                    : 0;
    file.frameCount = lastFrame >= file.firstFrame ? lastFrame - file.firstFrame + 1 : 0;
    // The header's 16-bit frame numbers cannot count long trials; POINT:FRAMES can,
    // and it holds wherever the data section has room for it.
    if (const Parameter* p = file.find("POINT", "FRAMES"); p && !p->numbers.empty()) {
        double frames = p->numbers[0];
        if (p->type == 2 && frames < 0)
            frames += 65536;
        const bool headerUnusable = lastFrame == 65535 || file.frameCount == 0;
        if (std::isfinite(frames) && frames >= 1 && frames < 1e12 &&
            (headerUnusable || frames <= double(framesHeld)))
            file.frameCount = static_cast<int64_t>(frames);
    }

    if (file.frameCount > 0) {
        if (file.dataOffset >= size)
            throw FormatError("the data section starts past the end of the file");
        if (file.frameBytes > 0 && framesHeld < uint64_t(file.frameCount))
            throw FormatError("the data section ends after frame " + std::to_string(framesHeld) +
                              " of " + std::to_string(file.frameCount));
    }
    return file;
}

void readAnalog(const Bytes& bytes, const File& file, const std::vector<int>& channels,
                int64_t first, int64_t last,
                const std::function<void(int64_t, const double*)>& sample)
{
    const int spf = file.samplesPerFrame;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, file.sampleCount() - 1);
    if (first > last || file.analogChannels == 0)
        return;
    const std::size_t valueSize = file.floatStorage ? 4 : 2;
    const uint64_t analogStart = uint64_t(file.pointCount) * 4 * valueSize;
    const std::size_t analogBytes =
        static_cast<std::size_t>(file.analogChannels) * static_cast<std::size_t>(spf) * valueSize;
    for (int c : channels)
        if (c < 0 || c >= file.analogChannels)
            throw FormatError("analog channel " + std::to_string(c + 1) + " does not exist");
    std::vector<double> values(channels.size());

    // Whole frames are read a block at a time: one read per frame would cost more
    // than the decoding.
    constexpr uint64_t BlockBytes = 1 << 20;
    const int64_t firstFrame = first / spf;
    const int64_t lastFrame = last / spf;
    const int64_t perBlock = std::max<int64_t>(
        1, static_cast<int64_t>(BlockBytes / std::max<uint64_t>(file.frameBytes, 1)));
    std::vector<unsigned char> block;
    for (int64_t f0 = firstFrame; f0 <= lastFrame; f0 += perBlock) {
        const int64_t count = std::min(perBlock, lastFrame - f0 + 1);
        const uint64_t offset = file.dataOffset + uint64_t(f0) * file.frameBytes;
        const std::size_t length = static_cast<std::size_t>(uint64_t(count - 1) * file.frameBytes +
                                                            analogStart + analogBytes);
        block.resize(length);
        if (!bytes.read(offset, length, block.data()))
            throw FormatError("the data section ends in frame " + std::to_string(f0 + 1));
        for (int64_t f = f0; f < f0 + count; ++f) {
            const unsigned char* frame =
                block.data() + uint64_t(f - f0) * file.frameBytes + analogStart;
            for (int s = 0; s < spf; ++s) {
                const int64_t index = f * spf + s;
                if (index < first || index > last)
                    continue;
                for (std::size_t i = 0; i < channels.size(); ++i) {
                    const auto c = static_cast<std::size_t>(channels[i]);
                    const unsigned char* v =
                        frame + (static_cast<std::size_t>(s) *
                                     static_cast<std::size_t>(file.analogChannels) +
                                 c) *
                                    valueSize;
                    double raw;
                    if (file.floatStorage)
                        raw = decodeFloat(v, file.processor);
                    else if (file.analogUnsigned)
                        raw = decodeUInt16(v, file.processor);
                    else
                        raw = decodeInt16(v, file.processor);
                    values[i] = (raw - file.analogOffset[c]) * file.analogScale[c];
                }
                sample(index, values.data());
            }
        }
    }
}

} // namespace c3d
