#pragma once

// C3D motion-capture files: the header, the parameter section and the analog
// samples of the data section. Plain C++, no Qt. The 3D points are only stepped
// over: Orvane takes the force plates from the analog channels.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace c3d
{

// A file that is not C3D or is damaged; the text says which part.
class FormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Random access to the file's bytes.
class Bytes
{
public:
    virtual ~Bytes() = default;
    virtual uint64_t size() const = 0;
    // Reads `length` bytes at `offset` into `into`; false past the end or on failure.
    virtual bool read(uint64_t offset, std::size_t length, void* into) const = 0;
};

class MemoryBytes final : public Bytes
{
public:
    explicit MemoryBytes(std::string_view bytes) : m_bytes(bytes) {}
    uint64_t size() const override { return m_bytes.size(); }
    bool read(uint64_t offset, std::size_t length, void* into) const override;

private:
    std::string_view m_bytes;
};

class FileBytes final : public Bytes
{
public:
    FileBytes() = default;
    ~FileBytes() override;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    // 0, or the platform's error number (53, 76, 75 for a directory, 70 ...).
    int open(const std::string& path);
    uint64_t size() const override { return m_size; }
    bool read(uint64_t offset, std::size_t length, void* into) const override;

private:
    int m_fd = -1;
    uint64_t m_size = 0;
};

enum class Processor { Intel = 84, Dec = 85, Mips = 86 };

// One parameter: numbers for the numeric types, texts for the character type
// (the first dimension is the length of each text, trailing blanks removed).
struct Parameter {
    int type = 0; // -1 character, 1 byte, 2 integer, 4 float
    std::vector<int> dimensions;
    std::vector<double> numbers;
    std::vector<std::string> texts;

    // The value at `index`, or `fallback` when the parameter is shorter.
    double number(std::size_t index, double fallback = 0) const;
    std::string text(std::size_t index) const;
};

struct File {
    Processor processor = Processor::Intel;
    // Parameters by "GROUP:NAME" in upper case.
    std::map<std::string, Parameter> parameters;

    int pointCount = 0;
    int firstFrame = 1;
    int64_t frameCount = 0;
    double pointRate = 0;
    bool floatStorage = false;
    int analogChannels = 0;
    int samplesPerFrame = 1; // analog samples per 3D frame
    double analogRate = 0;
    uint64_t dataOffset = 0;
    uint64_t frameBytes = 0;
    // Per analog channel: value = (raw - offset) * scale (the general scale included).
    std::vector<double> analogScale;
    std::vector<double> analogOffset;
    bool analogUnsigned = false;

    const Parameter* find(std::string_view group, std::string_view name) const;
    int64_t sampleCount() const { return frameCount * samplesPerFrame; }
};

// Decodes header and parameters and works out where the analog samples lie.
// Throws FormatError.
File readFile(const Bytes& bytes);

// Calls `sample(index, values)` for analog samples first..last (0-based, in file
// order) with the scaled values of the channels in `channels` (0-based), in that
// order. Reads frame by frame, so memory stays one frame whatever the file's size.
// Throws FormatError when the data section is cut short.
void readAnalog(const Bytes& bytes, const File& file, const std::vector<int>& channels,
                int64_t first, int64_t last,
                const std::function<void(int64_t, const double*)>& sample);

// Numbers as the processors store them, exposed for the tests and the fuzzer.
float decodeFloat(const unsigned char* p, Processor processor);
int16_t decodeInt16(const unsigned char* p, Processor processor);

} // namespace c3d
