#include "CsvWriter.h"

#include <QStringEncoder>

#include <cmath>

namespace Ledgerly {

namespace {

// A bare cell must not carry anything that would split it or end the line,
// such as a decimal comma or a comma grouping.
bool safeBare(const QString &text)
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

void CsvWriter::separate()
{
    if (m_lineStarted)
        m_text += QLatin1Char(',');
    m_lineStarted = true;
}

void CsvWriter::addBare(const QString &text)
{
    if (!safeBare(text)) {
        addQuoted(text);
        return;
    }
    separate();
    m_text += text;
}

void CsvWriter::addQuoted(const QString &text)
{
    separate();
    m_text += QLatin1Char('"');
    // Runs without a CR or a quote are copied whole.
    const QStringView view(text);
    qsizetype run = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        const char16_t c = view[i].unicode();
        if (c != u'\r' && c != u'"')
            continue;
        m_text += view.mid(run, i - run);
        // A CR would end the record: it becomes "|". Quotes are doubled, so
        // that spreadsheets and our own import read the value back unchanged.
        m_text += c == u'\r' ? QStringView(u"|") : QStringView(u"\"\"");
        run = i + 1;
    }
    m_text += view.mid(run);
    m_text += QLatin1Char('"');
}

void CsvWriter::addEmpty()
{
    separate();
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
            addQuoted(timeOnly ? m_format.timeText(dt.time()) : m_format.dateTimeText(dt));
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
        const QString text = value.toString();
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
    m_text += QLatin1String("\r\n");
    m_lineStarted = false;
}

QByteArray CsvWriter::encoded() const
{
    QStringEncoder encoder(QStringEncoder::System);
    return encoder.encode(m_text);
}

QString CsvWriter::cellText(const QVariant &value, const CsvRegionalFormat &format, bool timeOnly)
{
    CsvWriter writer(format);
    writer.addValue(value, timeOnly);
    return writer.text();
}

} // namespace Ledgerly
