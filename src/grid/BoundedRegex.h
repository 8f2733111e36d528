#pragma once

#include <QRegularExpression>
#include <QString>

namespace Ledgerly {

// Regular expressions a person types run on cells of any length. Each match
// is given a bounded number of steps, so a pattern that backtracks badly
// gives up on a cell within a fraction of a millisecond instead of for
// seconds; such a cell counts as not matching.
namespace BoundedRegex {

// How long one pass of a regular expression over the table (a filter box,
// a Find Next) may take before it gives up, so the window never waits
// longer than a tenth of a second for it.
inline constexpr int passBudgetMs = 80;

// false with the reason (and where in the pattern) when it is no valid
// expression.
bool compile(const QString &pattern, QRegularExpression::PatternOptions options,
             QRegularExpression *out, QString *error);

} // namespace BoundedRegex

} // namespace Ledgerly
