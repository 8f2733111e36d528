#include "Windows1252.h"

#include "ByteWords.h"

#include <array>
#include <cstring>

namespace Ledgerly::Windows1252 {

namespace {
// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined, which
// decode to the C1 control of the same number so that they round-trip.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && high[byte - 0x80] != 0)
        return high[byte - 0x80];
    return byte;
}

int fromUnicode(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < int(high.size()); ++i) {
        if (high[i] == ch)
            return 0x80 + i;
        if (high[i] == 0 && ch == 0x80 + i)
            return ch;
    }
    return -1;
}

// Every record's text passes through here: one look-up per byte.
constexpr std::array<char16_t, 256> decodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = toUnicode(static_cast<unsigned char>(b));
    return table;
}
} // namespace

void decodeInto(QByteArrayView bytes, QString *text)
{
    static constexpr std::array<char16_t, 256> table = decodeTable();
    text->resize(bytes.size());
    char16_t *out = reinterpret_cast<char16_t *>(text->data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = table[in[i]];
}

QString decode(const QByteArray &bytes)
{
    QString text;
    decodeInto(bytes, &text);
    return text;
}

bool encodeTo(QStringView text, char *out)
{
    const char16_t *in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Every record's text passes through here on a save: ASCII without a
        // call.
        if (in[i] < 0x80) {
            out[i] = static_cast<char>(in[i]);
            continue;
        }
        const int byte = fromUnicode(in[i]);
        if (byte < 0)
            return false;
        out[i] = static_cast<char>(byte);
    }
    return true;
}

bool encode(const QString &text, QByteArray *out)
{
    out->resize(text.size());
    return encodeTo(text, out->data());
}

bool canEncode(const QString &text)
{
    QByteArray scratch;
    return encode(text, &scratch);
}

int byteFor(char32_t character)
{
    if (character < 0x80)
        return int(character);
    return character > 0xFFFF ? -1 : fromUnicode(char16_t(character));
}

char *toUtf8(QByteArrayView bytes, char *out)
{
    static constexpr std::array<char16_t, 256> table = decodeTable();
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();
    while (in != end) {
        const unsigned char b = *in++;
        if (b < 0x80) {
            *out++ = char(b);
            continue;
        }
        const char16_t u = table[b];
        if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

FromUtf8 fromUtf8(QByteArrayView text, char *out)
{
    const auto *const begin = reinterpret_cast<const unsigned char *>(text.data());
    const auto *in = begin;
    const auto *const end = in + text.size();
    const auto failAt = [&](const unsigned char *at, char32_t character) {
        FromUtf8 failed;
        failed.at = at - begin;
        failed.character = character;
        return failed;
    };
    while (in != end) {
        // ASCII passes eight bytes at a time.
        while (end - in >= 8) {
            if (ByteWords::hasHigh(ByteWords::load(in)))
                break;
            std::memcpy(out, in, 8);
            in += 8;
            out += 8;
        }
        if (in == end)
            break;
        const unsigned char b = *in;
        if (b < 0x80) {
            *out++ = char(b);
            ++in;
            continue;
        }
        // The shortest form only, no surrogates, nothing past U+10FFFF.
        int length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, c = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07, least = 0x10000;
        } else {
            return failAt(in, 0);
        }
        if (end - in < length)
            return failAt(in, 0);
        for (int i = 1; i < length; ++i) {
            if ((in[i] & 0xC0) != 0x80)
                return failAt(in, 0);
            c = (c << 6) | (in[i] & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return failAt(in, 0);
        const int byte = byteFor(c);
        if (byte < 0)
            return failAt(in, c);
        *out++ = char(byte);
        in += length;
    }
    FromUtf8 done;
    done.end = out;
    return done;
}

} // namespace Ledgerly::Windows1252
