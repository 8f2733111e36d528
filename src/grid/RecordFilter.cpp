#include "RecordFilter.h"

#include "BoundedRegex.h"
#include "GridModel.h"

#include <QAbstractItemModel>
#include <QDeadlineTimer>
#include <QElapsedTimer>

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
    Pass pass(*this, table, rows, anyColumns, BoundedRegex::passBudgetMs);
    pass.run(QDeadlineTimer::Forever);
    return pass.rows();
}

struct RecordFilter::Pass::Current
{
    int key = 0;
    const FilterExpression *expression = nullptr;
    QList<int> columns;
    bool byText = false;
    bool plain = false;
    bool excludes = false;
    QString searched;
    // A plain search answers every stored record at once from the kept
    // text: a record passes when one of the columns accepts it, and with
    // "does not contain" a column accepts unless it holds the text, so the
    // records that hold it in every column are the ones that fail.
    bool byRecord = false;
    QBitArray holding;
    bool bounded = false; // a regular expression, whose time is counted
    qint64 regexNs = 0;
    QList<int> passed;
    qsizetype at = 0;
};

RecordFilter::Pass::Pass(RecordFilter &filter, const QAbstractItemModel &table, QList<int> rows,
                         QList<int> anyColumns, int regexBudgetMs)
    : m_filter(filter)
    , m_table(table)
    , m_grid(qobject_cast<const GridModel *>(&table))
    , m_anyColumns(std::move(anyColumns))
    , m_regexBudgetMs(regexBudgetMs)
    , m_boxKeys(filter.m_boxes.keys())
    , m_kept(std::move(rows))
{
    for (Box &box : m_filter.m_boxes)
        box.slow.clear();
}

RecordFilter::Pass::~Pass() = default;

bool RecordFilter::Pass::startNextBox()
{
    while (m_nextBox < m_boxKeys.size()) {
        const int key = m_boxKeys.at(m_nextBox++);
        const Box &box = m_filter.m_boxes[key];
        if (!m_filter.applies(box))
            continue;
        if (key != AnyColumn && (key < 1 || key >= m_table.columnCount()))
            continue;
        auto current = std::make_unique<Current>();
        current->key = key;
        current->expression = &box.expression;
        current->columns = key == AnyColumn ? m_anyColumns : QList<int>{key};
        // The table's own cells are read as text where the table keeps it.
        if (m_grid) {
            if (!m_texts)
                m_texts.emplace(*m_grid);
            current->byText = box.expression.readsShownText();
            current->plain = current->byText &&
                             box.expression.isPlainSearch(&current->searched, &current->excludes);
            current->byRecord =
                current->plain && m_texts->storedRecordsContaining(
                                      current->columns, current->searched, Qt::CaseInsensitive,
                                      current->excludes, &current->holding);
        }
        current->bounded = box.expression.usesRegex();
        current->passed.reserve(m_kept.size());
        m_current = std::move(current);
        return true;
    }
    return false;
}

bool RecordFilter::Pass::run(QDeadlineTimer deadline)
{
    while (m_current || startNextBox()) {
        Current &box = *m_current;
        auto accepts = [&](int row, int c) {
            if (box.plain)
                return m_texts->contains(row, c, box.searched, Qt::CaseInsensitive) != box.excludes;
            if (box.byText)
                return box.expression->matchesText(m_texts->text(row, c));
            return box.expression->matches(m_table.index(row, c).data(Qt::EditRole));
        };
        QElapsedTimer spent;
        spent.start();
        // A regular expression costs more than the clock, so the clock is
        // read often enough to stop close to the limit; other boxes are
        // cheap enough to read it every few hundred rows.
        const qsizetype every = box.bounded ? 0xf : 0xff;
        while (box.at < m_kept.size()) {
            const int row = m_kept.at(box.at++);
            bool accepted = false;
            const int record = box.byRecord ? m_grid->storedRecord(row) : -1;
            if (record >= 0 && record < box.holding.size()) {
                accepted = box.holding.testBit(record) != box.excludes;
            } else {
                for (int c : std::as_const(box.columns))
                    if (accepts(row, c)) {
                        accepted = true;
                        break;
                    }
            }
            if (accepted)
                box.passed.append(row);
            // At least one row each time, so a pass always gets on.
            if ((box.at & every) == 0 && box.at < m_kept.size()) {
                if (box.bounded &&
                    box.regexNs + spent.nsecsElapsed() > m_regexBudgetMs * 1000000LL) {
                    finishBox(true);
                    break;
                }
                if (deadline.hasExpired()) {
                    box.regexNs += spent.nsecsElapsed();
                    return false;
                }
            }
        }
        if (m_current)
            finishBox(false);
    }
    return true;
}

void RecordFilter::Pass::finishBox(bool gaveUp)
{
    Current &box = *m_current;
    if (gaveUp) {
        m_filter.m_boxes[box.key].slow =
            QStringLiteral("The regular expression took too long on these records "
                           "(it gave up after %1 of %2); the box is not applied")
                .arg(box.at)
                .arg(m_kept.size());
    } else {
        m_kept = std::move(box.passed);
    }
    m_current.reset();
}

} // namespace Ledgerly
