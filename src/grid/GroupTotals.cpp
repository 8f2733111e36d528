#include "GroupTotals.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Ledgerly {

GroupTotals::GroupTotals(const QLocale &locale)
    : m_locale(locale)
{
    m_locale.setNumberOptions(m_locale.numberOptions() | QLocale::OmitGroupSeparator);
    m_pointDecimal = m_locale.decimalPoint() == QLatin1String(".");
}

void GroupTotals::addValue(const QVariant &value)
{
    double number = 0;
    if (!readNumber(value, m_locale, m_pointDecimal, &number))
        return;
    if (m_numbers == 0) {
        m_minimum = number;
        m_maximum = number;
    } else {
        m_minimum = std::min(m_minimum, number);
        m_maximum = std::max(m_maximum, number);
    }
    m_total += number;
    ++m_numbers;
}

double GroupTotals::average() const
{
    return m_numbers > 0 ? m_total / m_numbers : std::nan("");
}

QString GroupTotals::recordsText() const
{
    return QStringLiteral("Records : ") + QString::number(m_records);
}

QString GroupTotals::footerText(const QString &caption) const
{
    // Without a single number there is nothing to total: the figures stay
    // empty instead of showing 0 or "nan".
    const bool any = m_numbers > 0;
    auto figure = [&](double value) { return any ? numberText(value, m_locale) : QString(); };
    return QStringLiteral("Calculated Values for ") + caption + QStringLiteral(" Records: ") +
           numberText(roundHalfEven(m_records, 2), m_locale) + QStringLiteral("     Total: ") +
           figure(m_total) + QStringLiteral("     Average:  ") +
           figure(roundHalfEven(average(), 2)) + QStringLiteral("     Minimum: ") +
           figure(m_minimum) + QStringLiteral("  Maximum : ") + figure(m_maximum);
}

bool GroupTotals::readNumber(const QVariant &value, const QLocale &locale, double *out)
{
    return readNumber(value, locale, locale.decimalPoint() == QLatin1String("."), out);
}

bool GroupTotals::readNumber(const QVariant &value, const QLocale &locale, bool pointDecimal,
                             double *out)
{
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        number = value.toDouble(&ok);
        break;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        // Where the decimal separator is a point, plain digits read the same
        // in every such locale and much faster; the rest (thousands
        // separators) goes to the locale.
        if (pointDecimal)
            number = text.toDouble(&ok);
        if (!ok)
            number = locale.toDouble(text, &ok);
        break;
    }
    default:
        return false; // yes/no, dates and pictures are no amounts
    }
    if (!ok || !std::isfinite(number))
        return false;
    *out = number;
    return true;
}

QString GroupTotals::numberText(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        value = 0; // no "-0"
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    // Fifteen significant digits are all a double holds for sure: the shortest
    // form that reads back exactly shows a sum's binary noise (852.31 as
    // 852.3100000000001). General notation stays fixed below 1e15, so a
    // total of a million still reads "1000000".
    return plain.toString(value, 'g', significantDigits);
}

double GroupTotals::roundHalfEven(double value, int places)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, places);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    const double lower = std::floor(scaled);
    const double fraction = scaled - lower;
    // Scaling a decimal half such as 2.675 lands a hair off .5; within a few
    // units in the last place it is taken for the half it was written as.
    const double tolerance =
        8 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(scaled));
    double rounded;
    if (std::fabs(fraction - 0.5) <= tolerance)
        rounded = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

} // namespace Ledgerly
