#include "PlainNumber.h"

#include <cmath>

namespace Ledgerly {

PlainNumber::PlainNumber(const QLocale &locale)
    : m_locale(locale)
    , m_pointDecimal(locale.decimalPoint() == QLatin1String("."))
{
    m_locale.setNumberOptions(QLocale::RejectGroupSeparator);
}

bool PlainNumber::read(QStringView text, double *out) const
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    // A point and plain digits read the same everywhere, and fast; the
    // locale reads its own decimal separator (groups refused).
    double number = text.toDouble(&ok);
    if (!ok && !m_pointDecimal)
        number = m_locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *out = number;
    return true;
}

} // namespace Ledgerly
