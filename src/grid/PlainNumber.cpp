#include "PlainNumber.h"

#include <cmath>

namespace Ledgerly {

PlainNumber::PlainNumber(const QLocale &locale)
    : m_locale(locale)
    , m_c(QLocale::c())
    , m_pointDecimal(locale.decimalPoint() == QLatin1String("."))
{
    m_locale.setNumberOptions(QLocale::RejectGroupSeparator);
    m_c.setNumberOptions(QLocale::RejectGroupSeparator);
}

bool PlainNumber::read(QStringView text, double *out) const
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    double number = m_c.toDouble(text, &ok);
    if (!ok && !m_pointDecimal)
        number = m_locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *out = number;
    return true;
}

} // namespace Ledgerly
