#include "GridValue.h"

#include "common/DateTimeText.h"
#include "common/YesNoText.h"

#include <QBuffer>
#include <QImage>
#include <QLocale>

namespace Ledgerly::GridValue {

QDate timeOnlyDay()
{
    return DateTimeText::timeOnlyDay();
}

bool isTimeOfDay(const QDateTime &value)
{
    return value.date() == timeOnlyDay();
}

QDateTime wallClock(const QDate &date, const QTime &time)
{
    return DateTimeText::wallClock(date, time);
}

QString formatDateTime(const QDateTime &value)
{
    return DateTimeText::write(value);
}

QString displayText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return YesNoText::text(value.toBool());
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

QString ShownText::operator()(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return m_dates.write(value.toDateTime());
    return displayText(value);
}

bool isTrue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString)
        return YesNoText::read(value.toString(), YesNoText::TrueFalse) == YesNoText::Answer::Yes;
    return false;
}

bool parseDateTime(const QString &text, QDateTime *out)
{
    return DateTimeText::read(text, out);
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
    if (text.trimmed().isEmpty()) {
        *out = false;
        return true;
    }
    // Typed as paste and drop read it; a word that is none of these would be
    // a value the save cannot write, so it is refused rather than kept.
    const YesNoText::Answer answer =
        YesNoText::read(text, YesNoText::TrueFalse | YesNoText::YesNo | YesNoText::Binary);
    if (answer == YesNoText::Answer::Unreadable)
        return false;
    *out = answer == YesNoText::Answer::Yes;
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

bool fromEdit(ColumnKind kind, const QVariant &value, int role, QVariant *out)
{
    if (role == Qt::CheckStateRole) {
        if (kind != ColumnKind::YesNo)
            return false;
        *out = value.toInt() == Qt::Checked;
        return true;
    }
    if (role != Qt::EditRole && role != Qt::DisplayRole)
        return false;
    switch (kind) {
    case ColumnKind::Picture:
        return pictureEdit(value, out);
    case ColumnKind::YesNo:
        return booleanEdit(value, out);
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::DateTime:
        return dateEdit(value, out);
    case ColumnKind::Other:
        return false;
    case ColumnKind::Text:
        break;
    }
    if (value.typeId() == QMetaType::QByteArray)
        return false;
    *out = value.toString();
    return true;
}

} // namespace Ledgerly::GridValue
