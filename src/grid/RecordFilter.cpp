#include "RecordFilter.h"

#include <QAbstractItemModel>
#include <QDeadlineTimer>

namespace Ledgerly {

void RecordFilter::setText(int column, const QString &text, ColumnKind kind)
{
    if (text.trimmed().isEmpty()) {
        m_boxes.remove(column);
        return;
    }
    Box &box = m_boxes[column];
    if (box.text == text && box.slow.isEmpty())
        return;
    box.text = text;
    box.slow.clear();
    box.expression = FilterExpression::parse(text, column == AnyColumn ? ColumnKind::Text : kind);
}

QString RecordFilter::text(int column) const
{
    return m_boxes.value(column).text;
}

QString RecordFilter::error(int column) const
{
    const auto found = m_boxes.constFind(column);
    if (found == m_boxes.constEnd())
        return {};
    return found->expression.isValid() ? found->slow : found->expression.error();
}

bool RecordFilter::applies(const Box &box) const
{
    return box.expression.isValid() && !box.expression.isEmpty() && box.slow.isEmpty();
}

bool RecordFilter::isActive() const
{
    return std::any_of(m_boxes.cbegin(), m_boxes.cend(),
                       [this](const Box &box) { return applies(box); });
}

void RecordFilter::clear()
{
    m_boxes.clear();
}

QList<int> RecordFilter::apply(const QAbstractItemModel &table, const QList<int> &rows,
                               const QList<int> &anyColumns)
{
    QList<int> kept = rows;
    for (auto it = m_boxes.begin(); it != m_boxes.end(); ++it) {
        Box &box = it.value();
        box.slow.clear();
        if (!applies(box))
            continue;
        const int column = it.key();
        if (column != AnyColumn && (column < 1 || column >= table.columnCount()))
            continue;
        const bool bounded = box.expression.usesRegex();
        const QDeadlineTimer deadline(regexBudgetMs);
        QList<int> passed;
        passed.reserve(kept.size());
        qsizetype done = 0;
        for (int row : std::as_const(kept)) {
            // Checked every few hundred records: the clock costs more than a cell.
            if (bounded && (++done & 0xff) == 0 && deadline.hasExpired())
                break;
            bool accepted = false;
            if (column == AnyColumn) {
                for (int c : anyColumns)
                    if (box.expression.matches(table.index(row, c).data(Qt::EditRole))) {
                        accepted = true;
                        break;
                    }
            } else {
                accepted = box.expression.matches(table.index(row, column).data(Qt::EditRole));
            }
            if (accepted)
                passed.append(row);
        }
        if (bounded && deadline.hasExpired() && done < kept.size()) {
            box.slow = QStringLiteral("The regular expression took too long on these records "
                                      "(it gave up after %1 of %2); the box is not applied")
                           .arg(done)
                           .arg(kept.size());
            continue;
        }
        kept = std::move(passed);
    }
    return kept;
}

} // namespace Ledgerly
