#pragma once

#include "ColumnKind.h"
#include "common/DateTimeText.h"

#include <QDateTime>
#include <QVariant>

namespace Ledgerly {

// How typed cell values become text and how a person's edits become typed
// values again. Dates and times are wall-clock readings held as UTC
// QDateTime values; a time of day alone sits on 1904-01-01, the first day the
// handheld can store.
namespace GridValue {

// The day that marks a value as a time of day without a date.
QDate timeOnlyDay();
bool isTimeOfDay(const QDateTime &value);
// A wall-clock reading in the table's convention (UTC, fields unchanged).
QDateTime wallClock(const QDate &date, const QTime &time);

// Text a person sees: text as is, booleans as "True"/"False", dates and times
// in the user's short regional format (a date alone at midnight, a time alone
// on the time-of-day day), pictures and opaque bytes as nothing.
QString displayText(const QVariant &value);
QString formatDateTime(const QDateTime &value);

// displayText() for many cells in a row, as a search or a filter reads a
// whole table: dates and times are written through one cached writer.
class ShownText
{
public:
    QString operator()(const QVariant &value);

private:
    DateTimeText::Writer m_dates;
};

// A yes/no value that counts as ticked: true, or the text "True" in any case.
bool isTrue(const QVariant &value);

// Reads a date and/or time typed in the user's short or long regional format
// or in ISO 8601. false when the text is none of those.
bool parseDateTime(const QString &text, QDateTime *out);

// Converts a person's edit (EditRole or DisplayRole text, or CheckStateRole
// on a yes/no column) for a column of the kind. false refuses the edit (a
// date that cannot be read, something that is not a picture, a column whose
// kind cannot store anything).
bool fromEdit(ColumnKind kind, const QVariant &value, int role, QVariant *out);

// Encodes an image as the bitmap file bytes pictures are stored as.
QByteArray bitmapBytes(const QImage &image);

} // namespace GridValue

} // namespace Ledgerly
