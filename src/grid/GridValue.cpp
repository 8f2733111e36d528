#include "GridValue.h"

#include <QBuffer>
#include <QImage>
#include <QLocale>

namespace Ledgerly::GridValue {

QDate timeOnlyDay()
{
    return QDate(1904, 1, 1);
}

bool isTimeOfDay(const QDateTime &value)
{
    return value.date() == timeOnlyDay();
}

QDateTime wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC);
}

QString formatDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    const QLocale locale;
    // Date and time are formatted apart so that no zone conversion can touch
    // the stored wall-clock reading.
    if (isTimeOfDay(value))
        return locale.toString(value.time(), QLocale::ShortFormat);
    if (value.time() == QTime(0, 0))
        return locale.toString(value.date(), QLocale::ShortFormat);
    return locale.toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(value.time(), QLocale::ShortFormat);
}

QString displayText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return formatDateTime(value.toDateTime());
    case QMetaType::QDate:
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return QLocale().toString(value.toTime(), QLocale::ShortFormat);
    case QMetaType::QByteArray:
    case QMetaType::UnknownType:
        return {};
    default:
        return value.toString();
    }
}

bool isTrue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString)
        return value.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return false;
}

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

bool parseDateTime(const QString &text, QDateTime *out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QLocale locale;
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

QByteArray bitmapBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return {};
    return bytes;
}

namespace {

bool booleanEdit(const QVariant &value, QVariant *out)
{
    if (value.typeId() == QMetaType::Bool) {
        *out = value.toBool();
        return true;
    }
    const QString text = value.toString();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        *out = true;
    else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        *out = false;
    else
        *out = text; // kept as typed; a save writes nothing for such text
    return true;
}

bool dateEdit(const QVariant &value, QVariant *out)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            return false;
        *out = wallClock(dt.date(), dt.time());
        return true;
    }
    case QMetaType::QDate:
        if (!value.toDate().isValid())
            return false;
        *out = wallClock(value.toDate(), QTime(0, 0));
        return true;
    case QMetaType::QTime:
        if (!value.toTime().isValid())
            return false;
        *out = wallClock(timeOnlyDay(), value.toTime());
        return true;
    default:
        break;
    }
    const QString text = value.toString();
    if (text.trimmed().isEmpty()) {
        *out = QString(); // an empty date is filled in when saved
        return true;
    }
    QDateTime parsed;
    if (!parseDateTime(text, &parsed))
        return false;
    *out = parsed;
    return true;
}

bool pictureEdit(const QVariant &value, QVariant *out)
{
    if (value.typeId() == QMetaType::QByteArray) {
        *out = value;
        return true;
    }
    if (value.typeId() == QMetaType::QImage) {
        const QByteArray bytes = bitmapBytes(value.value<QImage>());
        if (bytes.isEmpty())
            return false;
        *out = bytes;
        return true;
    }
    return false;
}

} // namespace

bool fromEdit(const GridColumn &column, const QVariant &value, QVariant *out)
{
    if (column.dataType == DataPicture || column.displayType == DisplayPicture)
        return pictureEdit(value, out);
    if (column.dataType == DataBoolean || column.displayType == DisplayCheckBox)
        return booleanEdit(value, out);
    if (column.dataType == DataDate || column.displayType == DisplayDate)
        return dateEdit(value, out);
    if (value.typeId() == QMetaType::QByteArray)
        return false;
    *out = value.toString();
    return true;
}

} // namespace Ledgerly::GridValue
