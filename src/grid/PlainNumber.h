#pragma once

#include <QLocale>
#include <QString>

namespace Ledgerly {

// A number as a person types it into a text field: an optional sign, digits
// and the regional decimal separator or a point, without thousands
// separators. Grouping is refused on purpose: "1.234" would read as 1234 in
// a German locale and 1.234 in C, and an order or a filter must never depend
// on such a guess.
class PlainNumber
{
public:
    explicit PlainNumber(const QLocale &locale = QLocale());

    bool read(QStringView text, double *out) const;

private:
    QLocale m_locale;
    bool m_pointDecimal;
};

} // namespace Ledgerly
