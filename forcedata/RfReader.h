#pragma once

#include "core/ForceTable.h"
#include "platform/FileErrors.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// ---------------------------------------------------------------------------
// Bytes for the reader, handed out in chunks.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // The next chunk of bytes; an empty view at the end of the input. The view
    // stays valid until the next call.
    virtual std::string_view nextChunk() = 0;
};

// Bytes already in memory; the caller keeps them alive during the read.
class MemoryByteSource final : public ByteSource
{
public:
    explicit MemoryByteSource(std::string_view bytes) : m_bytes(bytes) {}
    std::string_view nextChunk() override;

private:
    std::string_view m_bytes;
    bool m_given = false;
};

// A file read in blocks, so a file of any size costs one block of memory.
class FileByteSource final : public ByteSource
{
public:
    static constexpr std::size_t BlockSize = 64 * 1024;

    FileByteSource();
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // Opens `path` for reading (closing any file open before): 0, or the error
    // number (53, 76, 70, and 75 for anything but a regular file).
    int16_t open(const std::string& path);
    bool isOpen() const { return m_fd >= 0; }
    void close();
    // After a failed read of an open file the input simply ends; this tells so.
    bool readFailed() const { return m_readFailed; }

    std::string_view nextChunk() override;

private:
    int m_fd = -1;
    bool m_readFailed = false;
    std::unique_ptr<char[]> m_block;
};

// ---------------------------------------------------------------------------
// Cards: lines of up to 80 significant characters. CR LF, LF and a lone CR all
// end a line.
class CardReader
{
public:
    explicit CardReader(ByteSource& source) : m_source(source) {}

    // Reads the next card: its first 0..80 characters into `card` and their count
    // into `status` (80 for a longer line, whose rest is skipped). A last line
    // without a line end is a card like any other. Returns false, with an empty
    // card and status 0, only when the input ended before the card began.
    bool readCard(std::string& card, int16_t& status);

    // The same without copying where it can: `card` views the input or an
    // internal buffer and stays valid until the next call.
    bool nextCard(std::string_view& card, int16_t& status);

private:
    bool refill();
    void skipLineFeedAfterReturn();
    std::string_view keep(std::string_view card);

    ByteSource& m_source;
    std::string_view m_chunk;
    std::size_t m_pos = 0;
    bool m_ended = false;
    std::array<char, ForceTable::CardWidth> m_kept{};
};

// ---------------------------------------------------------------------------
// The force-file read.
struct RfReadCallbacks {
    // After every stored record, with the count so far (1, 2, ...).
    std::function<void(int16_t recordCount)> onRecord;
    // Each warning text the user must see, in order.
    std::function<void(const std::string& warning)> onWarning;
};

enum class RfReadResult {
    Empty,   // no title card: RecordCount -1, "Data file was empty."
    NoData,  // header without records: RecordCount 0
    Records, // RecordCount >= 1
};

// The warnings of a read.
inline constexpr std::string_view RfWarningEmpty = "Data file was empty.";
inline constexpr std::string_view RfWarningNoData =
    "Data file contains no data or was in wrong format.";
// The two-line text given when a file holds more records than the table.
std::string rfWarningTooManyRecords();

// Reads a force file into `table`: title, sampling rate (as the shortest text of
// the number read, "0" when none), body weight, last header card and records
// 1..n, at most RecordCapacity of them. Never asks for a sampling rate and never
// fails: any input ends in one of the three results.
RfReadResult readRf(ByteSource& source, ForceTable& table, const RfReadCallbacks& callbacks = {});
