#include "DateTimeText.h"

namespace Ledgerly {

namespace {

// Regional short formats often carry a two-digit year, which Qt reads as
// 19xx. Four typed digits are tried first; two digits then go to 2000-2069
// or 1970-1999, the handheld's range being 1904 to 2040.
QDateTime parseWithFormat(const QLocale &locale, const QString &text, const QString &format)
{
    if (format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"))) {
        QString wide = format;
        wide.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        const QDateTime full = locale.toDateTime(text, wide);
        if (full.isValid())
            return full;
        QDateTime shortYear = locale.toDateTime(text, format);
        if (shortYear.isValid() && shortYear.date().year() < 1970)
            shortYear = shortYear.addYears(100);
        return shortYear;
    }
    return locale.toDateTime(text, format);
}

} // namespace

QDateTime DateTimeText::wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC);
}

namespace {

// A date alone at midnight, a time alone on the time-of-day day, else both.
// Date and time are formatted apart so that no zone conversion can touch
// the stored wall-clock reading.
template<typename DateText, typename TimeText>
QString compose(const QDateTime &value, DateText dateText, TimeText timeText)
{
    if (!value.isValid())
        return {};
    if (value.date() == DateTimeText::timeOnlyDay())
        return timeText(value.time());
    if (value.time() == QTime(0, 0))
        return dateText(value.date());
    return dateText(value.date()) + QLatin1Char(' ') + timeText(value.time());
}

} // namespace

QString DateTimeText::write(const QDateTime &value, const QLocale &locale)
{
    return compose(
        value, [&](const QDate &date) { return locale.toString(date, QLocale::ShortFormat); },
        [&](const QTime &time) { return locale.toString(time, QLocale::ShortFormat); });
}

DateTimeText::Writer::Writer(const QLocale &locale)
    : m_locale(locale)
{}

QString DateTimeText::Writer::write(const QDateTime &value)
{
    return compose(
        value,
        [this](const QDate &date) {
            auto found = m_dates.constFind(date.toJulianDay());
            if (found == m_dates.constEnd())
                found = m_dates.insert(date.toJulianDay(),
                                       m_locale.toString(date, QLocale::ShortFormat));
            return *found;
        },
        [this](const QTime &time) {
            auto found = m_times.constFind(time.msecsSinceStartOfDay());
            if (found == m_times.constEnd())
                found = m_times.insert(time.msecsSinceStartOfDay(),
                                       m_locale.toString(time, QLocale::ShortFormat));
            return *found;
        });
}

bool DateTimeText::readIso(QStringView text, QDateTime *out)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return false;
    const QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
    if (iso.isValid()) {
        *out = wallClock(iso.date(), iso.time());
        return true;
    }
    const QDate isoDate = QDate::fromString(t, Qt::ISODate);
    if (isoDate.isValid()) {
        *out = wallClock(isoDate, QTime(0, 0));
        return true;
    }
    const QTime isoTime = QTime::fromString(t, Qt::ISODate);
    if (isoTime.isValid()) {
        *out = wallClock(timeOnlyDay(), isoTime);
        return true;
    }
    return false;
}

bool DateTimeText::read(QStringView text, QDateTime *out, const QLocale &locale)
{
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return false;
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QDateTime dt = parseWithFormat(locale, t, locale.dateTimeFormat(type));
        if (dt.isValid()) {
            *out = wallClock(dt.date(), dt.time());
            return true;
        }
        const QDateTime date = parseWithFormat(locale, t, locale.dateFormat(type));
        if (date.isValid()) {
            *out = wallClock(date.date(), QTime(0, 0));
            return true;
        }
        const QTime time = locale.toTime(t, type);
        if (time.isValid()) {
            *out = wallClock(timeOnlyDay(), time);
            return true;
        }
    }
    return readIso(t, out);
}

} // namespace Ledgerly
