#include "forcedata/RfReader.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// ---------------------------------------------------------------------------
// Byte sources

std::string_view MemoryByteSource::nextChunk()
{
    if (m_given)
        return {};
    m_given = true;
    return m_bytes;
}

FileByteSource::FileByteSource() = default;

FileByteSource::~FileByteSource()
{
    close();
}

int16_t FileByteSource::open(const std::string& path)
{
    close();
    m_readFailed = false;
    if (path.empty() || path.find('\0') != std::string::npos)
        return FileError::BadFileNameOrNumber;
    // Only a regular file ends: a named pipe, a terminal or a device such as
    // /dev/zero could keep the read waiting or running for ever.
    if (const int error = openForReadingError(path); error != FileError::None)
        return static_cast<int16_t>(error);
    // Not blocking on open, and checked again once open, in case the name was
    // given to a pipe meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return static_cast<int16_t>(fileErrorFromErrno(errno, path));
    if (const int error = regularFileError(fd); error != FileError::None) {
        ::close(fd);
        return static_cast<int16_t>(error);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_fd = fd;
    if (!m_block)
        m_block = std::make_unique<char[]>(BlockSize);
    return FileError::None;
}

void FileByteSource::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::string_view FileByteSource::nextChunk()
{
    if (m_fd < 0)
        return {};
    for (;;) {
        const ssize_t n = ::read(m_fd, m_block.get(), BlockSize);
        if (n > 0)
            return {m_block.get(), static_cast<std::size_t>(n)};
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            m_readFailed = true;
        return {};
    }
}

// ---------------------------------------------------------------------------
// Cards

bool CardReader::refill()
{
    if (m_ended)
        return false;
    m_chunk = m_source.nextChunk();
    m_pos = 0;
    m_ended = m_chunk.empty();
    return !m_ended;
}

void CardReader::skipLineFeedAfterReturn()
{
    if (m_pos == m_chunk.size() && !refill())
        return;
    if (m_chunk[m_pos] == '\n')
        ++m_pos;
}

namespace
{

// Index of the first CR or LF in p[0..n), or n.
std::size_t findLineEnd(const char* p, std::size_t n)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '\r' || p[i] == '\n')
            return i;
    }
    return n;
}

} // namespace

std::string_view CardReader::keep(std::string_view card)
{
    if (card.data() == m_kept.data())
        return card;
    std::memcpy(m_kept.data(), card.data(), card.size());
    return {m_kept.data(), card.size()};
}

bool CardReader::readCard(std::string& card, int16_t& status)
{
    std::string_view view;
    const bool read = nextCard(view, status);
    card.assign(view);
    return read;
}

bool CardReader::nextCard(std::string_view& card, int16_t& status)
{
    constexpr std::size_t Width = ForceTable::CardWidth;
    card = {};
    status = 0;
    if (m_pos == m_chunk.size() && !refill())
        return false;

    // Most cards lie whole inside the chunk and are handed out where they are.
    std::size_t count = 0;
    for (;;) {
        const char* p = m_chunk.data() + m_pos;
        const std::size_t limit = std::min(m_chunk.size() - m_pos, Width - count);
        const std::size_t i = findLineEnd(p, limit);
        if (count == 0) {
            card = {p, i};
        } else {
            std::memcpy(m_kept.data() + count, p, i);
            card = {m_kept.data(), count + i};
        }
        count += i;
        m_pos += i;
        if (i < limit) {
            ++m_pos;
            if (p[i] == '\r' && m_pos == m_chunk.size()) {
                // The line feed may start the next chunk, which replaces this one.
                card = keep(card);
                skipLineFeedAfterReturn();
            } else if (p[i] == '\r' && m_chunk[m_pos] == '\n') {
                ++m_pos;
            }
            status = static_cast<int16_t>(count);
            return true;
        }
        if (count == Width)
            break;
        // The card runs on into the next chunk.
        card = keep(card);
        if (!refill()) {
            status = static_cast<int16_t>(count);
            return true;
        }
    }

    // An over-long line: only its first 80 characters count.
    card = keep(card);
    for (;;) {
        if (m_pos == m_chunk.size() && !refill())
            break;
        const char* p = m_chunk.data() + m_pos;
        const std::size_t available = m_chunk.size() - m_pos;
        const std::size_t i = findLineEnd(p, available);
        m_pos += i;
        if (i < available) {
            ++m_pos;
            if (p[i] == '\r')
                skipLineFeedAfterReturn();
            break;
        }
    }
    status = static_cast<int16_t>(Width);
    return true;
}

// ---------------------------------------------------------------------------
// The force-file read

std::string rfWarningTooManyRecords()
{
    return "Maximum number of force records exceeded.\nMaximum is " +
           std::to_string(ForceTable::RecordCapacity);
}

namespace
{

float toSingle(double value)
{
    constexpr double Largest = std::numeric_limits<float>::max();
    if (value > Largest)
        return std::numeric_limits<float>::infinity();
    if (value < -Largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// Nearest integer, ties to even, then held within the 16-bit range.
int16_t toRecordNumber(double value)
{
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded))
        return 0;
    if (rounded >= std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    if (rounded <= std::numeric_limits<int16_t>::min())
        return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(rounded);
}

// A card's columns; those past the end of a short card are blank.
class Card
{
public:
    void set(std::string_view text) { m_text = text; }
    bool firstColumnBlank() const { return m_text.empty() || m_text[0] == ' '; }
    // Columns first..first+width-1, counted from 1, without the blanks that
    // would pad a short card (blanks do not change a number).
    std::string_view columns(std::size_t first, std::size_t width) const
    {
        if (first > m_text.size())
            return {};
        return m_text.substr(first - 1, width);
    }
    std::string padded(std::size_t width) const
    {
        std::string text(m_text.substr(0, width));
        text.resize(width, ' ');
        return text;
    }

private:
    std::string_view m_text;
};

// The common field (blanks, optional minus, digits, optional point and digits,
// blanks) converted in one tight pass; anything else takes the general path.
// Both give the same correctly rounded double.
double fieldNumber(std::string_view field)
{
    static constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5,
                                             1e6, 1e7, 1e8, 1e9, 1e10};
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p < end && *p == ' ')
        ++p;
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    for (; p < end && static_cast<unsigned char>(*p - '0') < 10; ++p, ++digits)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    if (p < end && *p == '.') {
        for (++p; p < end && static_cast<unsigned char>(*p - '0') < 10; ++p, ++digits, ++decimals)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
    while (p < end && *p == ' ')
        ++p;
    if (p != end || digits > 15 || decimals > 10)
        return lenientNumber(field);
    if (mantissa == 0)
        return 0.0;
    const double magnitude = static_cast<double>(mantissa) / PowersOfTen[decimals];
    return negative ? -magnitude : magnitude;
}

void storeRecord(const Card& card, ForceTable& table, int16_t index)
{
    const auto i = static_cast<std::size_t>(index);
    table.Fx[i] = fieldNumber(card.columns(1, 10));
    table.Fy[i] = fieldNumber(card.columns(11, 10));
    table.Fz[i] = fieldNumber(card.columns(21, 10));
    table.Ax[i] = fieldNumber(card.columns(31, 10));
    table.Ay[i] = fieldNumber(card.columns(41, 10));
    table.Mz[i] = toSingle(fieldNumber(card.columns(51, 10)));
    table.Extra[i] = fieldNumber(card.columns(61, 10));
    table.RecordNo[i] = toRecordNumber(fieldNumber(card.columns(71, 9)));
}

} // namespace

RfReadResult readRf(ByteSource& source, ForceTable& table, const RfReadCallbacks& callbacks)
{
    // The arrays' own bound, so the table can never be overrun.
    const auto capacity = static_cast<int16_t>(
        std::min<std::size_t>(table.Fx.size() - 1, std::numeric_limits<int16_t>::max()));

    CardReader reader(source);
    Card buffer;
    int16_t status = 0;
    auto nextCard = [&] {
        std::string_view card;
        const bool read = reader.nextCard(card, status);
        buffer.set(card);
        table.CardStatus = status;
        return read;
    };
    auto warn = [&](std::string_view text) {
        if (callbacks.onWarning)
            callbacks.onWarning(std::string(text));
    };

    table.RecordCount = -1;
    table.SamplingRate = std::string(1, '0'); // a fresh string keeps GCC 12 from a false -Wrestrict
    table.TrialTitle = ForceTable::untitled();

    bool record = false; // the buffer holds a data card
    nextCard();
    if (status >= 1) {
        if (buffer.firstColumnBlank()) {
            record = true;
        } else {
            table.TrialTitle = buffer.padded(ForceTable::TitleWidth);
            table.SamplingRate = shortestNumberText(lenientNumber(buffer.columns(61, 10)));
            table.RecordCount = 0;
            table.BodyWeight = 0;
            nextCard();
            if (status >= 1) {
                if (buffer.firstColumnBlank()) {
                    record = true;
                } else {
                    table.BodyWeight = toSingle(lenientNumber(buffer.columns(61, 10)));
                    // Header cards up to a card with a blank first column; the end
                    // of the file here means a header without data.
                    bool separator = false;
                    do {
                        table.LastHeaderCard = buffer.padded(ForceTable::CardWidth);
                        if (!nextCard())
                            break;
                        separator = buffer.firstColumnBlank();
                    } while (!separator);
                    if (separator) {
                        nextCard();
                        record = status >= 1;
                    }
                }
            }
        }
    }

    while (record) {
        if (table.RecordCount >= capacity) {
            warn(rfWarningTooManyRecords());
            break;
        }
        table.RecordCount = table.RecordCount < 0 ? 1 : table.RecordCount + 1;
        storeRecord(buffer, table, table.RecordCount);
        if (callbacks.onRecord)
            callbacks.onRecord(table.RecordCount);
        nextCard();
        record = status >= 1;
    }

    if (table.RecordCount < 0) {
        warn(RfWarningEmpty);
        return RfReadResult::Empty;
    }
    if (table.RecordCount == 0) {
        warn(RfWarningNoData);
        return RfReadResult::NoData;
    }
    return RfReadResult::Records;
}
