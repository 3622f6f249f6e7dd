#include "core/QVL_Encoding.h"

#include <cstdint>
#include <cstring>

#include <QStringDecoder>

namespace {

// Windows-1252 for 0x80..0x9F; the five unassigned bytes keep their C1 code point.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t windows1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? windows1252High[byte - 0x80] : char16_t(byte);
}

// Length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when the
// bytes there are not one (overlong forms, surrogates and values beyond
// U+10FFFF included).
int sequenceLength(const unsigned char* p, qsizetype left)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    auto cont = [&](int i) { return i < left && (p[i] & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2))
            return 0;
        if (c == 0xE0 && p[1] < 0xA0)
            return 0; // overlong
        if (c == 0xED && p[1] >= 0xA0)
            return 0; // surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        if (c == 0xF0 && p[1] < 0x90)
            return 0;
        if (c == 0xF4 && p[1] >= 0x90)
            return 0;
        return 4;
    }
    return 0;
}

// Index of the first byte that does not belong to valid UTF-8, or `size`.
qsizetype firstInvalid(const unsigned char* p, qsizetype size)
{
    qsizetype i = 0;
    while (i < size) {
        // Most of our text is ASCII markup: skip it eight bytes at a time.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const int length = sequenceLength(p + i, size - i);
        if (length == 0)
            return i;
        i += length;
    }
    return size;
}

} // namespace

namespace TQVL_Encoding {

bool IsValidUtf8(const char* data, qsizetype size)
{
    return firstInvalid(reinterpret_cast<const unsigned char*>(data), size) == size;
}

QByteArray RepairUtf8(const char* data, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    QByteArray result;
    result.reserve(size + size / 8 + 16);
    qsizetype i = 0;
    while (i < size) {
        const qsizetype bad = i + firstInvalid(p + i, size - i);
        result.append(data + i, bad - i);
        if (bad >= size)
            break;
        result.append(QString(QChar(windows1252(p[bad]))).toUtf8());
        i = bad + 1;
    }
    return result;
}

QString FromUtf8(const char* data, qsizetype size)
{
    if (size < 3 || std::memcmp(data, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(data, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(data, size));
}

QString DecodeUtf8(const char* data, qsizetype size)
{
    if (IsValidUtf8(data, size))
        return FromUtf8(data, size);
    const QByteArray repaired = RepairUtf8(data, size);
    return FromUtf8(repaired.constData(), repaired.size());
}

QString DecodeWindows1252(const char* data, qsizetype size)
{
    QString result(size, Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(windows1252(static_cast<unsigned char>(data[i])));
    return result;
}

} // namespace TQVL_Encoding
