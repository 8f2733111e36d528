#pragma once

#include "ColumnKind.h"
#include "GridValue.h"
#include "PlainNumber.h"

#include <QCollator>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <QVariant>

#include <optional>

namespace Ledgerly {

// What a filter box's text asks of a column's values:
//   word      the value contains it (case ignored)
//   =text     the value is it (case ignored); "=" alone: the value is empty
//   !text     the value does not contain it; "!" alone: the value is not empty
//   >x >=x <x <=x and a..b (either end may be left out)
//             ordered by the column's kind: dates and times read in the
//             regional or ISO form; in a text column numbers when the
//             operand is a number (cells that are none never match), else
//             text in collation order
//   /regex/   the value matches the regular expression (case ignored)
// Yes/no columns read "yes", "true", "1" and their opposites as the value;
// picture columns take only "=" (no picture) and "!" (a picture).
// Text that asks for something the kind cannot answer is invalid, with the
// reason; an invalid expression is never applied.
class FilterExpression
{
public:
    FilterExpression() = default;
    static FilterExpression parse(const QString &text, ColumnKind kind,
                                  const QLocale &locale = QLocale());

    bool isEmpty() const { return m_op == Op::All; }
    bool isValid() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    bool usesRegex() const { return m_op == Op::Regex; }

    // A cell's value (EditRole) of the column the expression was made for.
    bool matches(const QVariant &value) const;

    // Whether the expression reads nothing but the text a cell shows
    // (contains, does not contain, equals, a regular expression), so that
    // matchesText() answers for it.
    bool readsShownText() const;
    bool matchesText(QStringView shown) const;
    // The text a "contains" or "does not contain" looks for, and which of
    // the two it is: a search one pass over a column can answer.
    bool isPlainSearch(QString *text, bool *excludes) const;

private:
    enum class Op { All, Contains, Equals, Excludes, IsEmpty, NotEmpty, Range, Regex, Truth };
    // One end of a range; inclusive or not.
    struct Bound
    {
        bool set = false;
        bool inclusive = true;
        double number = 0;
        QDateTime moment;
        std::optional<QCollatorSortKey> text;
    };
    enum class Scale { Number, Moment, Text };

    bool parseRange(const QString &low, bool lowInclusive, const QString &high, bool highInclusive);
    bool readBound(const QString &text, bool inclusive, Scale scale, Bound *out);
    bool inRange(const QVariant &value) const;
    int compareTo(const Bound &bound, const QVariant &value, bool *comparable) const;

    Op m_op = Op::All;
    ColumnKind m_kind = ColumnKind::Text;
    QString m_operand;
    bool m_truth = false;
    Scale m_scale = Scale::Text;
    Bound m_low;
    Bound m_high;
    QRegularExpression m_regex;
    QLocale m_locale;
    PlainNumber m_numbers;
    QCollator m_collator;
    mutable GridValue::ShownText m_shown;
    QString m_error;
};

} // namespace Ledgerly
