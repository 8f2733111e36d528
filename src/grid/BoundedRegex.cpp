#include "BoundedRegex.h"

namespace Ledgerly::BoundedRegex {

namespace {
// Enough for any ordinary pattern on a long cell; a catastrophic one stops
// here after well under a millisecond.
const QString limit = QStringLiteral("(*LIMIT_MATCH=100000)");
} // namespace

bool compile(const QString &pattern, QRegularExpression::PatternOptions options,
             QRegularExpression *out, QString *error)
{
    QRegularExpression expression(limit + pattern, options);
    if (!expression.isValid()) {
        const qsizetype offset = qMax<qsizetype>(0, expression.patternErrorOffset() - limit.size());
        *error = QStringLiteral("Not a valid regular expression: %1 (at character %2)")
                     .arg(expression.errorString())
                     .arg(offset + 1);
        return false;
    }
    expression.optimize();
    *out = expression;
    return true;
}

} // namespace Ledgerly::BoundedRegex
