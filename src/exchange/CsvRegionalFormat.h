#pragma once

#include "CsvDateTimePattern.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <bitset>

namespace Ledgerly {

// How numbers, yes/no values, dates and times become CSV text in the user's
// regional settings, and how the import reads them back. Dates always carry a
// four-digit year and times their seconds, whatever the short formats say, so
// that every value written reads back unchanged.
class CsvRegionalFormat
{
public:
    explicit CsvRegionalFormat(const QLocale &locale = QLocale());

    const QLocale &locale() const { return m_locale; }
    QString dateFormat() const { return m_dateFormat; }
    QString timeFormat() const { return m_timeFormat; }
    // False when the formats need QLocale for every cell (slower, same text).
    bool compiledPatterns() const { return m_datePattern.usable() && m_timePattern.usable(); }

    // The short date, followed by the time when it is not midnight.
    QString dateTimeText(const QDateTime &value) const;
    QString timeText(const QTime &time) const;
    // The same texts written into memory the caller holds, with room for
    // maxDateTimeLength() characters; only when compiledPatterns().
    qsizetype maxDateTimeLength() const;
    char16_t *writeDateTime(char16_t *out, const QDateTime &value) const
    {
        return writeDateTime(out, value.date(), value.time());
    }
    char16_t *writeDateTime(char16_t *out, const QDate &date, const QTime &time) const;
    char16_t *writeTime(char16_t *out, const QTime &time) const;
    // The same for a stored time (seconds since 1904), the time alone for a
    // time field.
    char16_t *writeStored(char16_t *out, quint32 seconds, bool timeOnly) const;
    static QString boolText(bool value);

    // True when text reads as a finite number in the regional settings
    // (group separators and exponents allowed, as a spreadsheet would).
    bool isNumberText(QStringView text) const;
    // The same answer for text in Windows-1252 bytes, as a record stores it;
    // most text is refused without decoding it.
    bool isNumberText1252(QByteArrayView text) const;

    // Null results mean the text does not read as such a value.
    static QVariant parseBool(QStringView text);
    QDateTime parseDateTime(QStringView text) const;
    QTime parseTime(QStringView text) const;

    // Derivations from the locale's own formats, public for tests.
    static QString fourDigitYear(const QString &dateFormat);
    static QString timeWithSeconds(const QString &timeFormat);

private:
    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
    CsvDateTimePattern m_datePattern;
    CsvDateTimePattern m_timePattern;
    std::bitset<128> m_numberAscii;
    bool m_plainDecimal = false; // ASCII digits, "." as decimal point, not as group
    bool m_spaceGroups = false;  // a blank of any kind groups digits (read as one)
};

} // namespace Ledgerly
