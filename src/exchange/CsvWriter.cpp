#include "CsvWriter.h"

#include "common/ByteWords.h"
#include "common/Windows1252.h"
#include "database/FieldType.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Ledgerly {

namespace {

// The first day stored times count from, as a Julian day.
const qint64 kEpochDay = QDate(1904, 1, 1).toJulianDay();

// A bare cell must not carry anything that would split it or end the line,
// such as a decimal comma or a comma grouping.
bool safeBare(QStringView text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            return false;
    }
    return true;
}

// The system's encoding of UTF-16 text at out, which has room for 3 bytes per
// character; ASCII without a call.
char *encodeUtf16(const char16_t *in, qsizetype size, char *out)
{
    if (std::all_of(in, in + size, [](char16_t c) { return c < 0x80; })) {
        for (qsizetype i = 0; i < size; ++i)
            *out++ = char(in[i]);
        return out;
    }
    QStringEncoder encoder(QStringEncoder::System);
    const QByteArray bytes = encoder.encode(QStringView(in, size));
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    return out + bytes.size();
}

// True when none of the eight bytes at p is a quote, a CR or outside ASCII.
bool plainAscii(const unsigned char *p)
{
    const quint64 word = ByteWords::load(p);
    return !ByteWords::hasHigh(word) && !ByteWords::has(word, '"') && !ByteWords::has(word, '\r');
}

} // namespace

CsvWriter::CsvWriter(const CsvRegionalFormat &format)
    : m_format(format)
    , m_dateText(format.maxDateTimeLength())
{}

void CsvWriter::separate()
{
    if (m_lineStarted) {
        *room(1) = ',';
        ++m_size;
    }
    m_lineStarted = true;
}

void CsvWriter::addBare(QStringView text)
{
    if (!safeBare(text)) {
        addQuoted(text);
        return;
    }
    separate();
    taken(encodeUtf16(text.utf16(), text.size(), room(3 * text.size())));
}

void CsvWriter::addQuoted(QStringView text)
{
    addQuotedUtf16(text.utf16(), text.size());
}

void CsvWriter::addQuotedUtf16(const char16_t *text, qsizetype size)
{
    separate();
    // Two quotes, and each character at most doubled or encoded in three bytes.
    char *out = room(2 + 3 * size + size);
    *out++ = '"';
    const char16_t *run = text;
    const char16_t *const end = text + size;
    for (const char16_t *p = text; p != end; ++p) {
        // A CR would end the record: it becomes "|". Quotes are doubled, so
        // that spreadsheets and our own import read the value back unchanged.
        if (*p != u'\r' && *p != u'"')
            continue;
        out = encodeUtf16(run, p - run, out);
        if (*p == u'\r') {
            *out++ = '|';
        } else {
            *out++ = '"';
            *out++ = '"';
        }
        run = p + 1;
    }
    out = encodeUtf16(run, end - run, out);
    *out++ = '"';
    taken(out);
}

void CsvWriter::addEmpty()
{
    separate();
}

void CsvWriter::addStoredText(const char *data, qsizetype length)
{
    const QByteArrayView bytes(data, length);
#ifdef Q_OS_WIN
    // The ANSI code page goes through Qt's encoder.
    const QString text = Windows1252::decode(bytes.toByteArray());
    if (m_format.isNumberText(text))
        addBare(text);
    else
        addQuoted(text);
#else
    // The "numbers" of a record are text that reads as a number in the
    // regional settings: written as they are, without quotes, as a
    // spreadsheet expects. Any other text is quoted.
    const auto splits = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; };
    if (m_format.isNumberText1252(bytes) && std::none_of(bytes.begin(), bytes.end(), splits)) {
        separate();
        taken(Windows1252::toUtf8(bytes, room(3 * length)));
        return;
    }
    separate();
    char *out = room(2 + 3 * length);
    *out++ = '"';
    const auto *in = reinterpret_cast<const unsigned char *>(data);
    const auto *const end = in + length;
    while (in != end) {
        // Plain bytes in runs, eight at a time while none of them is a
        // quote, a CR or outside ASCII; a quote is doubled, a CR becomes "|".
        const auto *run = in;
        while (end - in >= 8 && plainAscii(in))
            in += 8;
        while (in != end && *in < 0x80 && *in != '"' && *in != '\r')
            ++in;
        std::memcpy(out, run, size_t(in - run));
        out += in - run;
        if (in == end)
            break;
        const unsigned char c = *in++;
        if (c == '"') {
            *out++ = '"';
            *out++ = '"';
        } else if (c == '\r') {
            *out++ = '|';
        } else {
            out = Windows1252::toUtf8(QByteArrayView(reinterpret_cast<const char *>(&c), 1), out);
        }
    }
    *out++ = '"';
    taken(out);
#endif
}

void CsvWriter::addDateTime(const QDate &date, const QTime &time, bool timeOnly)
{
    if (!m_format.compiledPatterns()) {
        addQuoted(timeOnly ? m_format.timeText(time)
                           : m_format.dateTimeText(QDateTime(date, time, Qt::UTC)));
        return;
    }
    QVarLengthArray<char16_t, 128> text(m_format.maxDateTimeLength());
    const char16_t *end = timeOnly ? m_format.writeTime(text.data(), time)
                                   : m_format.writeDateTime(text.data(), date, time);
    addQuotedUtf16(text.data(), end - text.data());
}

void CsvWriter::addStored(int type, const char *data, qsizetype length)
{
    if (!data) {
        // Text and bytes of unknown kinds can be empty and still be a value:
        // no value at all is nothing between the commas, as the import
        // reads it.
        const bool known = type == FieldYesNo || type == FieldDate || type == FieldTime ||
                           type == FieldDateTime || type == FieldPicture;
        if (known)
            addQuoted(QStringView());
        else
            addEmpty();
        return;
    }
    switch (type) {
    case FieldText:
        addStoredText(data, length);
        return;
    case FieldYesNo:
        addBare(CsvRegionalFormat::boolText(length == 1 && data[0] != 0));
        return;
    case FieldDate:
    case FieldTime:
    case FieldDateTime: {
        if (length != 4) {
            addQuoted(QStringView());
            return;
        }
        const quint32 seconds = qFromBigEndian<quint32>(data);
        const bool timeOnly = type == FieldTime;
        if (!m_format.compiledPatterns()) {
            addDateTime(QDate::fromJulianDay(kEpochDay + seconds / 86400),
                        QTime::fromMSecsSinceStartOfDay(int(seconds % 86400) * 1000), timeOnly);
            return;
        }
        char16_t *text = m_dateText.data();
        addQuotedUtf16(text, m_format.writeStored(text, seconds, timeOnly) - text);
        return;
    }
    default: {
        // Bytes of a field type this program gives no meaning: readable hex
        // rather than control characters.
        separate();
        static const char digits[] = "0123456789abcdef";
        char *out = room(2 + 2 * length);
        *out++ = '"';
        for (qsizetype i = 0; i < length; ++i) {
            *out++ = digits[uchar(data[i]) >> 4];
            *out++ = digits[uchar(data[i]) & 0xF];
        }
        *out++ = '"';
        taken(out);
        return;
    }
    }
}

void CsvWriter::addValue(const QVariant &value, bool timeOnly)
{
    if (value.isNull()) {
        addQuoted(QStringView());
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        addBare(CsvRegionalFormat::boolText(value.toBool()));
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        if (std::isfinite(value.toDouble())) {
            // No grouping: a spreadsheet reads the plain regional number.
            QLocale locale = m_format.locale();
            locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
            addBare(value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float
                        ? locale.toString(value.toDouble(), 'g', 15)
                        : locale.toString(value.toLongLong()));
            return;
        }
        break;
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            addQuoted(QStringView()); // no date is no value
        else
            addDateTime(dt.date(), dt.time(), timeOnly);
        return;
    }
    case QMetaType::QDate:
        addQuoted(m_format.dateTimeText(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC)));
        return;
    case QMetaType::QTime:
        addQuoted(m_format.timeText(value.toTime()));
        return;
    case QMetaType::QByteArray: {
        const QByteArray &bytes = *static_cast<const QByteArray *>(value.constData());
        addStored(-1, bytes.constData(), bytes.size());
        return;
    }
    case QMetaType::QString: {
        // Our record component hands text fields over as text, so the
        // "numbers" of a record are text that reads as a number in the
        // regional settings: written as it is, without quotes, as a
        // spreadsheet expects. Any other text is quoted.
        const QString &text = *static_cast<const QString *>(value.constData());
        if (m_format.isNumberText(text))
            addBare(text);
        else
            addQuoted(text);
        return;
    }
    default:
        break;
    }
    addQuoted(value.toString());
}

void CsvWriter::endLine()
{
    char *out = room(2);
    out[0] = '\r';
    out[1] = '\n';
    m_size += 2;
    m_lineStarted = false;
}

QString CsvWriter::text() const
{
    QStringDecoder decoder(QStringDecoder::System);
    return decoder.decode(bytes());
}

QString CsvWriter::cellText(const QVariant &value, const CsvRegionalFormat &format, bool timeOnly)
{
    CsvWriter writer(format);
    writer.addValue(value, timeOnly);
    return writer.text();
}

} // namespace Ledgerly
