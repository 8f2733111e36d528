#include "CsvWriter.h"

#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace Ledgerly {

namespace {

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

} // namespace

CsvWriter::CsvWriter(const CsvRegionalFormat &format)
    : m_format(format)
{}

void CsvWriter::reserve(qsizetype characters)
{
    if (characters > m_text.size())
        m_text.resize(characters);
}

char16_t *CsvWriter::room(qsizetype n)
{
    if (m_text.size() - m_size < n)
        m_text.resize(qMax(m_size + n, qMax<qsizetype>(2 * m_text.size(), 256)));
    return reinterpret_cast<char16_t *>(m_text.data()) + m_size;
}

void CsvWriter::separate()
{
    if (m_lineStarted)
        put(u',');
    m_lineStarted = true;
}

void CsvWriter::addBare(QStringView text)
{
    if (!safeBare(text)) {
        addQuoted(text);
        return;
    }
    separate();
    char16_t *out = room(text.size());
    std::copy_n(text.utf16(), text.size(), out);
    m_size += text.size();
}

void CsvWriter::addQuoted(QStringView text)
{
    // A separator, two quotes, and each character at most doubled.
    char16_t *const begin = room(3 + 2 * text.size());
    char16_t *out = begin;
    if (m_lineStarted)
        *out++ = u',';
    m_lineStarted = true;
    *out++ = u'"';
    const char16_t *in = text.utf16();
    for (const char16_t *end = in + text.size(); in != end; ++in) {
        const char16_t c = *in;
        // A CR would end the record: it becomes "|". Quotes are doubled, so
        // that spreadsheets and our own import read the value back unchanged.
        if (c == u'\r') {
            *out++ = u'|';
        } else {
            if (c == u'"')
                *out++ = u'"';
            *out++ = c;
        }
    }
    *out++ = u'"';
    m_size += out - begin;
}

void CsvWriter::addEmpty()
{
    separate();
}

void CsvWriter::addDateTime(const QDateTime &value, bool timeOnly)
{
    if (!m_format.compiledPatterns()) {
        addQuoted(timeOnly ? m_format.timeText(value.time()) : m_format.dateTimeText(value));
        return;
    }
    const qsizetype start = m_size;
    const bool lineStarted = m_lineStarted;
    char16_t *const begin = room(3 + m_format.maxDateTimeLength());
    char16_t *out = begin;
    if (m_lineStarted)
        *out++ = u',';
    m_lineStarted = true;
    *out++ = u'"';
    char16_t *const text = out;
    out = timeOnly ? m_format.writeTime(out, value.time()) : m_format.writeDateTime(out, value);
    // Regional texts with a quote or a CR in them take the quoting path.
    if (std::any_of(text, out, [](char16_t c) { return c == u'"' || c == u'\r'; })) {
        const QString cell = QStringView(text, out).toString();
        m_size = start;
        m_lineStarted = lineStarted;
        addQuoted(cell);
        return;
    }
    *out++ = u'"';
    m_size += out - begin;
}

void CsvWriter::addValue(const QVariant &value, bool timeOnly)
{
    if (value.isNull()) {
        addQuoted(QString());
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
            addQuoted(QString()); // no date is no value
        else
            addDateTime(dt, timeOnly);
        return;
    }
    case QMetaType::QDate:
        addQuoted(m_format.dateTimeText(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC)));
        return;
    case QMetaType::QTime:
        addQuoted(m_format.timeText(value.toTime()));
        return;
    case QMetaType::QByteArray:
        // Bytes of a field type this program gives no meaning: readable hex
        // rather than control characters.
        addQuoted(QString::fromLatin1(value.toByteArray().toHex()));
        return;
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
    char16_t *out = room(2);
    out[0] = u'\r';
    out[1] = u'\n';
    m_size += 2;
    m_lineStarted = false;
}

QByteArray CsvWriter::encoded() const
{
    QStringEncoder encoder(QStringEncoder::System);
    return encoder.encode(QStringView(m_text).first(m_size));
}

QByteArray CsvWriter::takeEncoded()
{
    QByteArray bytes = encoded();
    m_size = 0;
    return bytes;
}

QString CsvWriter::cellText(const QVariant &value, const CsvRegionalFormat &format, bool timeOnly)
{
    CsvWriter writer(format);
    writer.addValue(value, timeOnly);
    return writer.text();
}

} // namespace Ledgerly
