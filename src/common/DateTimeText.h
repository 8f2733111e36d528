#pragma once

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QString>

namespace Ledgerly {

// The one reader and writer of date and time text. Values are wall-clock
// readings held as UTC QDateTime values; a time of day alone sits on
// 1904-01-01, the first day the handheld can store.
class DateTimeText
{
public:
    static QDate timeOnlyDay() { return QDate(1904, 1, 1); }
    static QDateTime wallClock(const QDate &date, const QTime &time);

    // The locale's short formats: a date alone at midnight, a time alone on
    // the time-of-day day, else both.
    static QString write(const QDateTime &value, const QLocale &locale = QLocale());

    // write() for many values in a row (a search over a whole table): each
    // day's and each time's text is made once, as most records share them.
    class Writer
    {
    public:
        explicit Writer(const QLocale &locale = QLocale());
        QString write(const QDateTime &value);

    private:
        QLocale m_locale;
        QHash<qint64, QString> m_dates; // by Julian day
        QHash<int, QString> m_times;    // by milliseconds since midnight
    };

    // Reads a date and/or time in the locale's short or long format or in
    // ISO 8601 ("2026-01-02", "2026-01-02T10:30", "10:30:00"). A two-digit
    // year goes to 1970-2069. False when the text is none of those.
    static bool read(QStringView text, QDateTime *out, const QLocale &locale = QLocale());
    // ISO 8601 only: the form that never depends on the person's settings.
    static bool readIso(QStringView text, QDateTime *out);
};

} // namespace Ledgerly
