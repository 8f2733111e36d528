#include "CsvRegionalFormat.h"

#include <cmath>

namespace Ledgerly {

namespace {

// Calls f(i) for every format character outside quoted literal text.
template<typename F> void forEachPatternChar(const QString &format, F f)
{
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            f(i);
    }
}

} // namespace

CsvRegionalFormat::CsvRegionalFormat(const QLocale &locale)
    : m_locale(locale)
    , m_dateFormat(fourDigitYear(locale.dateFormat(QLocale::ShortFormat)))
    , m_timeFormat(timeWithSeconds(locale.timeFormat(QLocale::LongFormat)))
{}

QString CsvRegionalFormat::fourDigitYear(const QString &dateFormat)
{
    // A two-digit year would read back in the wrong century, so every year
    // pattern becomes "yyyy".
    QString out;
    qsizetype i = 0;
    bool quoted = false;
    while (i < dateFormat.size()) {
        const QChar c = dateFormat.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('y')) {
            while (i < dateFormat.size() && dateFormat.at(i) == QLatin1Char('y'))
                ++i;
            out += QStringLiteral("yyyy");
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QString CsvRegionalFormat::timeWithSeconds(const QString &timeFormat)
{
    // Drop the time zone (a stored time has none) and make sure seconds are
    // there, since a time without them could not read back exactly.
    QString out;
    bool hasSeconds = false;
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        if (!quoted && c == QLatin1Char('s'))
            hasSeconds = true;
        out += c;
    }
    out = out.trimmed();
    if (!hasSeconds) {
        qsizetype minutesEnd = -1;
        forEachPatternChar(out, [&](qsizetype i) {
            if (out.at(i) == QLatin1Char('m'))
                minutesEnd = i + 1;
        });
        if (minutesEnd < 0)
            return QStringLiteral("HH:mm:ss");
        out.insert(minutesEnd, QStringLiteral(":ss"));
    }
    return out;
}

QString CsvRegionalFormat::dateTimeText(const QDateTime &value) const
{
    QString text = m_locale.toString(value.date(), m_dateFormat);
    const QTime time = value.time();
    if (time.isValid() && time != QTime(0, 0))
        text += QLatin1Char(' ') + timeText(time);
    return text;
}

QString CsvRegionalFormat::timeText(const QTime &time) const
{
    return m_locale.toString(time, m_timeFormat);
}

QString CsvRegionalFormat::boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool CsvRegionalFormat::isNumberText(const QString &text) const
{
    bool ok = false;
    const double number = m_locale.toDouble(text, &ok);
    return ok && std::isfinite(number);
}

QVariant CsvRegionalFormat::parseBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1") ||
        t == QLatin1String("-1"))
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        return false;
    return {};
}

QDateTime CsvRegionalFormat::parseDateTime(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QDateTime both = m_locale.toDateTime(t, m_dateFormat + QLatin1Char(' ') + m_timeFormat);
    if (both.isValid())
        return QDateTime(both.date(), both.time(), Qt::UTC);
    const QDate date = m_locale.toDate(t, m_dateFormat);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    // Files edited elsewhere may hold ISO dates.
    const QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
    if (iso.isValid())
        return QDateTime(iso.date(), iso.time(), Qt::UTC);
    const QDate isoDate = QDate::fromString(t, Qt::ISODate);
    if (isoDate.isValid())
        return QDateTime(isoDate, QTime(0, 0), Qt::UTC);
    return {};
}

QTime CsvRegionalFormat::parseTime(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    for (const QString &format : {m_timeFormat, m_locale.timeFormat(QLocale::ShortFormat),
                                  QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}) {
        const QTime time = m_locale.toTime(t, format);
        if (time.isValid())
            return time;
    }
    // A date and time in one cell: the time of day is what a time field keeps.
    const QDateTime both = parseDateTime(t);
    return both.isValid() ? both.time() : QTime();
}

} // namespace Ledgerly
