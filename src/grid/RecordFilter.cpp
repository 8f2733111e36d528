#include "RecordFilter.h"

#include "BoundedRegex.h"
#include "CellTexts.h"
#include "GridModel.h"

#include <QAbstractItemModel>
#include <QDeadlineTimer>

#include <optional>

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
    // The table's own cells are read as text where the table keeps it.
    const auto *grid = qobject_cast<const GridModel *>(&table);
    std::optional<CellTexts> texts;
    if (grid)
        texts.emplace(*grid);
    QList<int> kept = rows;
    for (auto it = m_boxes.begin(); it != m_boxes.end(); ++it) {
        Box &box = it.value();
        box.slow.clear();
        if (!applies(box))
            continue;
        const int column = it.key();
        if (column != AnyColumn && (column < 1 || column >= table.columnCount()))
            continue;
        const FilterExpression &expression = box.expression;
        const bool byText = texts && expression.readsShownText();
        QString searched;
        bool excludes = false;
        const bool plain = byText && expression.isPlainSearch(&searched, &excludes);
        auto accepts = [&](int row, int c) {
            if (plain)
                return texts->contains(row, c, searched, Qt::CaseInsensitive) != excludes;
            if (byText)
                return expression.matchesText(texts->text(row, c));
            return expression.matches(table.index(row, c).data(Qt::EditRole));
        };
        const QList<int> columns = column == AnyColumn ? anyColumns : QList<int>{column};
        // A plain search answers every stored record at once from the kept
        // text: a record passes when one of the columns accepts it, and with
        // "does not contain" a column accepts unless it holds the text, so
        // the records that hold it in every column are the ones that fail.
        QBitArray holding;
        const bool byRecord =
            plain && texts->storedRecordsContaining(columns, searched, Qt::CaseInsensitive,
                                                    excludes, &holding);
        const bool bounded = expression.usesRegex();
        const QDeadlineTimer deadline(BoundedRegex::passBudgetMs);
        QList<int> passed;
        passed.reserve(kept.size());
        qsizetype done = 0;
        for (int row : std::as_const(kept)) {
            // A regular expression costs more than the clock, so the clock
            // is read often enough to stop close to the limit.
            if (bounded && (++done & 0xf) == 0 && deadline.hasExpired())
                break;
            bool accepted = false;
            const int record = byRecord ? grid->storedRecord(row) : -1;
            if (record >= 0 && record < holding.size()) {
                accepted = holding.testBit(record) != excludes;
            } else {
                for (int c : columns)
                    if (accepts(row, c)) {
                        accepted = true;
                        break;
                    }
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
