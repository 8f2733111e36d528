#include "JsonDump.h"

#include "common/ByteWords.h"
#include "common/Windows1252.h"
#include "database/FieldType.h"
#include "database/PdbLayout.h"
#include "database/PdbRecordStream.h"
#include "exchange/CsvDateTimePattern.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

namespace Ledgerly::JsonDump {

namespace {

constexpr char kHex[] = "0123456789abcdef";
// Text handed on at a time.
constexpr qsizetype kBlock = 256 * 1024;

// The escape of a character below U+0020, as QJsonDocument writes it.
char *writeControl(char *out, unsigned char c)
{
    *out++ = '\\';
    switch (c) {
    case '\b':
        *out++ = 'b';
        break;
    case '\f':
        *out++ = 'f';
        break;
    case '\n':
        *out++ = 'n';
        break;
    case '\r':
        *out++ = 'r';
        break;
    case '\t':
        *out++ = 't';
        break;
    default:
        *out++ = 'u';
        *out++ = '0';
        *out++ = '0';
        *out++ = kHex[c >> 4];
        *out++ = kHex[c & 0xF];
    }
    return out;
}

// True when the eight bytes at p are ASCII that JSON takes as it is: no
// control character, quote or backslash.
bool plainJson(const unsigned char *p)
{
    const quint64 word = ByteWords::load(p);
    return !ByteWords::hasHigh(word) && !ByteWords::hasBelow(word, 0x20) &&
           !ByteWords::has(word, '"') && !ByteWords::has(word, '\\');
}

// Windows-1252 text as a JSON string.
char *writeStoredText(char *out, const char *data, qsizetype length)
{
    *out++ = '"';
    const auto *in = reinterpret_cast<const unsigned char *>(data);
    const auto *const end = in + length;
    while (in != end) {
        // Eight plain bytes at a time while there are.
        while (end - in >= 8 && plainJson(in)) {
            std::memcpy(out, in, 8);
            in += 8;
            out += 8;
        }
        if (in == end)
            break;
        const unsigned char c = *in++;
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            *out++ = char(c);
        } else if (c == '"' || c == '\\') {
            *out++ = '\\';
            *out++ = char(c);
        } else if (c < 0x20) {
            out = writeControl(out, c);
        } else {
            out = Windows1252::toUtf8(QByteArrayView(reinterpret_cast<const char *>(&c), 1), out);
        }
    }
    *out++ = '"';
    return out;
}

void writeTwo(char *at, int n)
{
    at[0] = char('0' + n / 10);
    at[1] = char('0' + n % 10);
}

// A stored time as "YYYY-MM-DDTHH:MM:SS".
char *writeStoredTime(char *out, quint32 seconds)
{
    const CsvDateTimePattern::Parts p = CsvDateTimePattern::partsOfStored(seconds);
    out[0] = '"';
    out[1] = char('0' + p.year / 1000);
    out[2] = char('0' + p.year / 100 % 10);
    writeTwo(out + 3, p.year % 100);
    out[5] = '-';
    writeTwo(out + 6, p.month);
    out[8] = '-';
    writeTwo(out + 9, p.day);
    out[11] = 'T';
    writeTwo(out + 12, p.hour);
    out[14] = ':';
    writeTwo(out + 15, p.minute);
    out[17] = ':';
    writeTwo(out + 18, p.second);
    out[20] = '"';
    return out + 21;
}

char *writeText(char *out, const char *text)
{
    const size_t size = std::strlen(text);
    std::memcpy(out, text, size);
    return out + size;
}

// The most bytes one stored value of `length` bytes takes as JSON.
qsizetype maxJsonLength(qsizetype length)
{
    return 128 + 6 * length;
}

// The JSON of a stored value at out, which has room for maxJsonLength().
char *writeStored(char *out, int type, const char *data, qsizetype length)
{
    if (!data)
        return writeText(out, "null");
    switch (type) {
    case FieldText:
        return writeStoredText(out, data, length);
    case FieldYesNo:
        return writeText(out, length == 1 && data[0] != 0 ? "true" : "false");
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return length != 4 ? writeText(out, "null")
                           : writeStoredTime(out, qFromBigEndian<quint32>(data));
    case FieldPicture: {
        const QByteArray hash =
            QCryptographicHash::hash(QByteArrayView(data, length), QCryptographicHash::Sha256);
        out = writeText(out, "{\"bytes\":");
        out = writeText(out, QByteArray::number(length).constData());
        out = writeText(out, ",\"sha256\":\"");
        out = writeText(out, hash.toHex().constData());
        return writeText(out, "\"}");
    }
    default:
        out = writeText(out, "{\"hex\":\"");
        for (qsizetype i = 0; i < length; ++i) {
            *out++ = kHex[uchar(data[i]) >> 4];
            *out++ = kHex[uchar(data[i]) & 0xF];
        }
        return writeText(out, "\"}");
    }
}

} // namespace

void appendString(QByteArray &out, QStringView text)
{
    out += '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x20) {
            char escape[6];
            out.append(escape, writeControl(escape, uchar(u)) - escape);
        } else if (u == u'"' || u == u'\\') {
            out += '\\';
            out += char(u);
        } else if (u < 0x80) {
            out += char(u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += QStringView(text.data() + i, 2).toUtf8();
            ++i;
        } else {
            out += QStringView(text.data() + i, 1).toUtf8();
        }
    }
    out += '"';
}

void appendStored(QByteArray &out, int type, const char *data, qsizetype length)
{
    const qsizetype start = out.size();
    out.resize(start + maxJsonLength(length));
    out.truncate(writeStored(out.data() + start, type, data, length) - out.constData());
}

bool write(PdbRecordStream &records, const std::function<bool(QByteArrayView)> &sink)
{
    const PdbFieldList &fields = records.fields();
    QByteArray text;
    text.reserve(kBlock + 64 * 1024);
    // The top level keeps its keys in reading order.
    text += "{\n  \"name\": ";
    appendString(text, Windows1252::decode(records.header().name));
    text += ",\n  \"type\": \"DATA\",\n  \"creator\": \"SkDB\",\n  \"fields\": [";
    for (int f = 0; f < fields.Count(); ++f) {
        text += f ? ",\n    {\"name\":" : "\n    {\"name\":";
        appendString(text, fields.Item(f).Name);
        text += ",\"type\":" + QByteArray::number(fields.Item(f).Type) + '}';
    }
    text += fields.Count() ? "\n  ],\n" : "],\n";
    text += "  \"records\": [";
    // The records go into the block through a pointer: most values are a
    // few bytes, and an append per value was most of the time.
    qsizetype used = text.size();
    PdbRecordStream::Record record;
    for (int r = 0; records.next(&record); ++r) {
        const qsizetype most = 8 + record.bytes.size() * 6 + fields.Count() * 130;
        if (text.size() < used + most)
            text.resize(used + most + kBlock);
        char *const begin = text.data();
        char *out = begin + used;
        out = writeText(out, r ? ",\n    [" : "\n    [");
        const char *bytes = record.bytes.data();
        qsizetype at = 0;
        for (int f = 0; f < fields.Count(); ++f) {
            if (f)
                *out++ = ',';
            if (f >= record.storedFields) {
                out = writeText(out, "null");
                continue;
            }
            const quint32 length = PdbLayout::valueLength(bytes + at);
            const bool none = length == quint32(PdbLayout::nullLength);
            out = writeStored(out, fields.Item(f).Type, none ? nullptr : bytes + at + 2,
                              none ? 0 : length);
            at = PdbLayout::nextValue(bytes, at);
        }
        *out++ = ']';
        used = out - begin;
        if (used >= kBlock) {
            if (!sink(QByteArrayView(begin, used)))
                return false;
            used = 0;
        }
    }
    text.truncate(used);
    text += records.recordCount() ? "\n  ]\n}\n" : "]\n}\n";
    return sink(text);
}

} // namespace Ledgerly::JsonDump
