#include "FilterExpression.h"

#include "BoundedRegex.h"
#include "GridValue.h"
#include "PlainNumber.h"
#include "common/DateTimeText.h"
#include "common/YesNoText.h"

namespace Ledgerly {

namespace {

bool isBlank(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    if (value.typeId() == QMetaType::QString)
        return value.toString().trimmed().isEmpty();
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().isEmpty();
    return false;
}

YesNoText::Answer readTruth(const QString &text)
{
    return YesNoText::read(text, YesNoText::TrueFalse | YesNoText::YesNo | YesNoText::Binary);
}

// A date alone (at midnight) stands for its whole day in a date-and-time
// column, so "<=2026-03-01" keeps that day's afternoon.
int compareMoments(ColumnKind kind, const QDateTime &value, const QDateTime &bound)
{
    auto sign = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
    switch (kind) {
    case ColumnKind::Date:
        return sign(value.date(), bound.date());
    case ColumnKind::Time:
        return sign(value.time(), bound.time());
    default:
        if (bound.time() == QTime(0, 0))
            return sign(value.date(), bound.date());
        return sign(value, bound);
    }
}

} // namespace

FilterExpression FilterExpression::parse(const QString &text, ColumnKind kind,
                                         const QLocale &locale)
{
    FilterExpression e;
    e.m_kind = kind;
    e.m_locale = locale;
    e.m_numbers = PlainNumber(locale);
    e.m_collator = QCollator(locale);
    e.m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QString t = text.trimmed();
    if (t.isEmpty())
        return e;

    if (kind == ColumnKind::Picture) {
        if (t == QLatin1String("="))
            e.m_op = Op::IsEmpty;
        else if (t == QLatin1String("!"))
            e.m_op = Op::NotEmpty;
        else
            e.m_error = QStringLiteral(
                "A picture field is filtered only by = (no picture) or ! (a picture)");
        return e;
    }
    if (t.size() >= 2 && t.startsWith(QLatin1Char('/')) && t.endsWith(QLatin1Char('/'))) {
        e.m_op = Op::Regex;
        const QString pattern = t.mid(1, t.size() - 2);
        if (pattern.isEmpty())
            e.m_error = QStringLiteral("The regular expression between the slashes is empty");
        else
            BoundedRegex::compile(pattern, QRegularExpression::CaseInsensitiveOption, &e.m_regex,
                                  &e.m_error);
        return e;
    }
    for (const auto &[prefix, low, inclusive] :
         {std::tuple{u">=", true, true}, std::tuple{u"<=", false, true},
          std::tuple{u">", true, false}, std::tuple{u"<", false, false}}) {
        const QString op = QString::fromUtf16(prefix);
        if (!t.startsWith(op))
            continue;
        const QString operand = t.mid(op.size()).trimmed();
        if (operand.isEmpty())
            e.m_error = QStringLiteral("Nothing to compare with after %1").arg(op);
        else if (low)
            e.parseRange(operand, inclusive, {}, true);
        else
            e.parseRange({}, true, operand, inclusive);
        return e;
    }
    const bool equals = t.startsWith(QLatin1Char('='));
    const bool excludes = t.startsWith(QLatin1Char('!'));
    if (equals || excludes) {
        const QString operand = t.mid(1).trimmed();
        if (operand.isEmpty()) {
            e.m_op = equals ? Op::IsEmpty : Op::NotEmpty;
            return e;
        }
        if (kind == ColumnKind::YesNo && readTruth(operand) != YesNoText::Answer::Unreadable) {
            e.m_op = Op::Truth;
            e.m_truth = (readTruth(operand) == YesNoText::Answer::Yes) == equals;
            return e;
        }
        if (equals && holdsDateTime(kind)) {
            e.parseRange(operand, true, operand, true);
            return e;
        }
        e.m_op = equals ? Op::Equals : Op::Excludes;
        e.m_operand = operand;
        return e;
    }
    const qsizetype dots = t.indexOf(QLatin1String(".."));
    if (dots >= 0) {
        const QString low = t.left(dots).trimmed();
        const QString high = t.mid(dots + 2).trimmed();
        if (low.isEmpty() && high.isEmpty())
            e.m_error = QStringLiteral("A range needs a value before or after ..");
        else
            e.parseRange(low, true, high, true);
        return e;
    }
    if (kind == ColumnKind::YesNo && readTruth(t) != YesNoText::Answer::Unreadable) {
        e.m_op = Op::Truth;
        e.m_truth = readTruth(t) == YesNoText::Answer::Yes;
        return e;
    }
    e.m_op = Op::Contains;
    e.m_operand = t;
    return e;
}

bool FilterExpression::parseRange(const QString &low, bool lowInclusive, const QString &high,
                                  bool highInclusive)
{
    m_op = Op::Range;
    if (m_kind == ColumnKind::YesNo) {
        m_error = QStringLiteral("A yes/no field has no order: use =yes or =no");
        return false;
    }
    if (holdsDateTime(m_kind)) {
        m_scale = Scale::Moment;
    } else {
        // Numbers only when every end given is one: "a..m" orders text.
        double ignored = 0;
        const bool lowNumber = low.isEmpty() || m_numbers.read(low, &ignored);
        const bool highNumber = high.isEmpty() || m_numbers.read(high, &ignored);
        m_scale = lowNumber && highNumber ? Scale::Number : Scale::Text;
    }
    return (low.isEmpty() || readBound(low, lowInclusive, m_scale, &m_low)) &&
           (high.isEmpty() || readBound(high, highInclusive, m_scale, &m_high));
}

bool FilterExpression::readBound(const QString &text, bool inclusive, Scale scale, Bound *out)
{
    out->set = true;
    out->inclusive = inclusive;
    switch (scale) {
    case Scale::Number:
        m_numbers.read(text, &out->number);
        return true;
    case Scale::Moment:
        if (DateTimeText::read(text, &out->moment, m_locale))
            return true;
        m_error = QStringLiteral("\"%1\" is not a date or time (regional or ISO form)").arg(text);
        return false;
    case Scale::Text:
        out->text = m_collator.sortKey(text);
        return true;
    }
    return false;
}

int FilterExpression::compareTo(const Bound &bound, const QVariant &value, bool *comparable) const
{
    *comparable = true;
    switch (m_scale) {
    case Scale::Number: {
        double number = 0;
        if (!m_numbers.read(m_shown(value), &number)) {
            *comparable = false;
            return 0;
        }
        return number < bound.number ? -1 : (bound.number < number ? 1 : 0);
    }
    case Scale::Moment:
        if (value.typeId() != QMetaType::QDateTime || !value.toDateTime().isValid()) {
            *comparable = false;
            return 0;
        }
        return compareMoments(m_kind, value.toDateTime(), bound.moment);
    case Scale::Text:
        return m_collator.sortKey(m_shown(value)).compare(*bound.text);
    }
    return 0;
}

bool FilterExpression::inRange(const QVariant &value) const
{
    if (isBlank(value))
        return false;
    bool comparable = true;
    if (m_low.set) {
        const int c = compareTo(m_low, value, &comparable);
        if (!comparable || c < 0 || (c == 0 && !m_low.inclusive))
            return false;
    }
    if (m_high.set) {
        const int c = compareTo(m_high, value, &comparable);
        if (!comparable || c > 0 || (c == 0 && !m_high.inclusive))
            return false;
    }
    return true;
}

bool FilterExpression::matches(const QVariant &value) const
{
    if (!isValid())
        return true;
    switch (m_op) {
    case Op::All:
        return true;
    case Op::IsEmpty:
        return isBlank(value);
    case Op::NotEmpty:
        return !isBlank(value);
    case Op::Truth:
        return GridValue::isTrue(value) == m_truth;
    case Op::Range:
        return inRange(value);
    case Op::Contains:
    case Op::Excludes:
    case Op::Equals:
    case Op::Regex:
        return matchesText(m_shown(value));
    }
    return true;
}

bool FilterExpression::readsShownText() const
{
    return isValid() && (m_op == Op::Contains || m_op == Op::Excludes || m_op == Op::Equals ||
                         m_op == Op::Regex);
}

bool FilterExpression::matchesText(QStringView shown) const
{
    switch (m_op) {
    case Op::Contains:
        return shown.contains(m_operand, Qt::CaseInsensitive);
    case Op::Excludes:
        return !shown.contains(m_operand, Qt::CaseInsensitive);
    case Op::Equals:
        return shown.trimmed().compare(m_operand, Qt::CaseInsensitive) == 0;
    case Op::Regex:
        return m_regex.match(shown).hasMatch();
    default:
        return true;
    }
}

bool FilterExpression::isPlainSearch(QString *text, bool *excludes) const
{
    if (!isValid() || (m_op != Op::Contains && m_op != Op::Excludes))
        return false;
    *text = m_operand;
    *excludes = m_op == Op::Excludes;
    return true;
}

} // namespace Ledgerly
