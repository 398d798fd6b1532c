#include "core/TextBytes.h"

#include <QStringDecoder>
#include <cstring>

namespace
{

// The length and value of the UTF-8 sequence at p[0..n), or 0 when the bytes there
// are not one well-formed sequence (overlong forms and surrogates included).
int utf8Sequence(const unsigned char* p, qsizetype n, char32_t& codePoint)
{
    const unsigned char lead = p[0];
    int length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[k] & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return length;
}

// Windows-1252 for 0x80-0x9F, where it differs from Latin-1; the five bytes it leaves
// undefined keep their control characters, as Windows itself reads them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

QChar cp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(Cp1252High[byte - 0x80]);
    return QChar(byte);
}

} // namespace

QString decodeText(QByteArrayView bytes)
{
    static constexpr unsigned char Bom[] = {0xEF, 0xBB, 0xBF};
    if (bytes.size() >= 3 && std::memcmp(bytes.data(), Bom, 3) == 0)
        bytes = bytes.sliced(3);

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;

    // Mixed text: keep every well-formed UTF-8 sequence and read the other bytes as
    // Windows-1252, the code page the suite's older files were written in.
    text.clear();
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80) {
            text += QChar(p[i]);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const int length = utf8Sequence(p + i, n - i, codePoint);
        if (length == 0) {
            text += cp1252(p[i]);
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(codePoint)) {
            text += QChar(QChar::highSurrogate(codePoint));
            text += QChar(QChar::lowSurrogate(codePoint));
        } else {
            text += QChar(static_cast<char16_t>(codePoint));
        }
        i += length;
    }
    return text;
}
