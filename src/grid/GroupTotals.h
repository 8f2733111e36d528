#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace Ledgerly {

// The figures of one group's footer: how many records the group holds and
// total, average, minimum and maximum of the values of its totalled column
// that read as numbers. Values that are no number are left out of the sums
// rather than counted as nought, so a stray word never lowers an average.
class GroupTotals
{
public:
    explicit GroupTotals(const QLocale &locale = QLocale());

    void addRecord() { ++m_records; }
    // Counts nothing: a record is added with addRecord(), its value here.
    void addValue(const QVariant &value);

    int records() const { return m_records; }
    int numbers() const { return m_numbers; }
    double total() const { return m_total; }
    double average() const;
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }

    // "Records : 3"
    QString recordsText() const;
    // "Calculated Values for <caption> Records: 3     Total: 60.5 ..."
    QString footerText(const QString &caption) const;

    // A value typed into the table as a number in the regional format (or
    // held as one); false for text that is not, and for nan and infinity.
    static bool readNumber(const QVariant &value, const QLocale &locale, double *out);
    // A figure as a footer shows it: the general conversion to fifteen
    // significant digits, trailing zeros dropped, with the locale's decimal
    // separator and no thousands separators; empty for nan/infinity. The
    // window, the preview and the PDF all show this text.
    static QString numberText(double value, const QLocale &locale);
    static constexpr int significantDigits = 15;
    // Rounds to the given decimal places, an exact half going to the even
    // neighbour. A value like 2.675 that has no exact binary form counts as
    // the half it was written as.
    static double roundHalfEven(double value, int places);

private:
    static bool readNumber(const QVariant &value, const QLocale &locale, bool pointDecimal,
                           double *out);

    QLocale m_locale;
    bool m_pointDecimal = false; // asked once: the system locale answers slowly
    int m_records = 0;
    int m_numbers = 0;
    double m_total = 0;
    double m_minimum = 0;
    double m_maximum = 0;
};

} // namespace Ledgerly
