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

QString DateTimeText::write(const QDateTime &value, const QLocale &locale)
{
    if (!value.isValid())
        return {};
    // Date and time are formatted apart so that no zone conversion can touch
    // the stored wall-clock reading.
    if (value.date() == timeOnlyDay())
        return locale.toString(value.time(), QLocale::ShortFormat);
    if (value.time() == QTime(0, 0))
        return locale.toString(value.date(), QLocale::ShortFormat);
    return locale.toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(value.time(), QLocale::ShortFormat);
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
