#pragma once

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTime>

namespace Ledgerly {

// A date or time format in Qt's pattern syntax, compiled once so that a
// hundred thousand cells are written and read without parsing the pattern
// (or consulting the local time zone) per cell. Patterns with parts it does
// not know (milliseconds, time zones, two-digit years, native digits) are
// not usable; the caller then falls back to QLocale.
class CsvDateTimePattern
{
public:
    CsvDateTimePattern() = default;
    CsvDateTimePattern(const QString &format, const QLocale &locale);

    bool usable() const { return m_usable; }

    void append(QString &out, const QDate &date, const QTime &time) const;
    // The most characters write() puts out for any date and time.
    qsizetype maxLength() const { return m_maxLength; }
    // Writes the text at out, which has room for maxLength() characters, and
    // returns the end of what was written.
    char16_t *write(char16_t *out, const QDate &date, const QTime &time) const;

    // A date and time taken apart, as the writer needs them.
    struct Parts
    {
        int year = 0, month = 0, day = 0;
        int dayOfWeek = 0; // 1 Monday .. 7 Sunday; 0 for no date
        int hour = 0, minute = 0, second = 0;
    };
    // The parts of a stored time, seconds since 1904-01-01 00:00:00, worked
    // out without QDate and QTime: an export takes apart a hundred thousand.
    static Parts partsOfStored(quint32 seconds);
    char16_t *write(char16_t *out, const Parts &parts) const;

    struct Parsed
    {
        int year = 0, month = 0, day = 0;
        int hour = 0, minute = 0, second = 0;
        int amPm = -1; // -1 none, 0 AM, 1 PM
    };
    // Reads the pattern from text at pos, moving pos past it; false when the
    // text does not match.
    bool parse(QStringView text, qsizetype &pos, Parsed &parsed) const;

private:
    enum class Kind {
        Literal,
        Day,
        DayName,
        Month,
        MonthName,
        Year,
        Hour,
        Hour12,
        Minute,
        Second,
        AmPm
    };
    struct Token
    {
        Kind kind = Kind::Literal;
        int width = 1;     // digits (1: no leading zero) or name form (3 short, 4 long)
        bool upper = true; // AM/PM case
        QString text;      // literal text
    };

    void compile(const QString &format);
    static char16_t *writeNumber(char16_t *out, int value, int width);
    static char16_t *writeText(char16_t *out, const QString &text);
    static bool readNumber(QStringView text, qsizetype &pos, int maxDigits, int &value);
    // True when text starts with name, case ignored.
    static bool startsWithName(QStringView text, QStringView name);
    // The longest of names matching text at pos (case ignored); its index or -1.
    static int matchName(QStringView text, qsizetype &pos, const QStringList &names);

    QLocale m_locale;
    QList<Token> m_tokens;
    QStringList m_monthNames[2]; // short, long; index 0 is January
    QStringList m_dayNames[2];   // short, long; index 0 is Monday
    QString m_am;
    QString m_pm;
    QStringList m_amPm;        // the two, for reading
    QString m_amPmCased[2][2]; // [pm][upper], cased once rather than per cell
    qsizetype m_maxLength = 0;
    bool m_usable = false;
};

} // namespace Ledgerly
