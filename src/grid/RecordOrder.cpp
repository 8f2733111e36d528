#include "RecordOrder.h"

#include "GridRoles.h"
#include "GridValue.h"
#include "PlainNumber.h"

#include <QAbstractItemModel>
#include <QCollator>
#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <vector>

namespace Ledgerly::RecordOrder {

namespace {

// Values of the column's kind first, then values that are not (text in a
// date column), then empty ones.
enum Rank : quint8 { OfKind = 0, Stray = 1, Empty = 2 };

struct CellKey
{
    Rank rank = Empty;
    double number = 0;
    int text = -1; // into ColumnKeys::texts
};

// One key column's values for the rows being sorted, reduced once to what
// compares them, so a comparison never reads the table or parses text.
struct ColumnKeys
{
    std::vector<CellKey> cells;
    std::vector<QCollatorSortKey> texts;
    bool numeric = false; // OfKind values compare by number, else by text
    bool descending = false;

    int compare(int a, int b) const
    {
        const CellKey &x = cells[size_t(a)];
        const CellKey &y = cells[size_t(b)];
        if (x.rank != y.rank)
            return x.rank < y.rank ? -1 : 1;
        int result = 0;
        if (x.rank == Empty)
            return 0;
        if (x.rank == OfKind && numeric)
            result = x.number < y.number ? -1 : (y.number < x.number ? 1 : 0);
        else
            result = texts[size_t(x.text)].compare(texts[size_t(y.text)]);
        return descending ? -result : result;
    }
};

bool isBlank(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().trimmed().isEmpty();
    case QMetaType::QByteArray:
        return value.toByteArray().isEmpty();
    default:
        return false;
    }
}

class KeyBuilder
{
public:
    KeyBuilder(const QAbstractItemModel &table, const QList<int> &rows, const QLocale &locale)
        : m_table(table)
        , m_rows(rows)
        , m_numbers(locale)
    {
        m_collator = QCollator(locale);
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    ColumnKeys build(const SortKey &key)
    {
        ColumnKeys keys;
        m_textIndex.clear();
        keys.descending = key.order == Qt::DescendingOrder;
        keys.cells.resize(size_t(m_rows.size()));
        const ColumnKind kind = GridRoles::kindOf(m_table, key.column);
        QList<QVariant> values;
        values.reserve(m_rows.size());
        for (int row : m_rows)
            values.append(m_table.index(row, key.column).data(Qt::EditRole));
        switch (kind) {
        case ColumnKind::YesNo:
            keys.numeric = true;
            for (qsizetype i = 0; i < values.size(); ++i)
                keys.cells[size_t(i)] = {OfKind, GridValue::isTrue(values.at(i)) ? 1.0 : 0.0};
            break;
        case ColumnKind::Picture:
            keys.numeric = true;
            for (qsizetype i = 0; i < values.size(); ++i)
                if (!isBlank(values.at(i)))
                    keys.cells[size_t(i)] = {OfKind, 0};
            break;
        case ColumnKind::Date:
        case ColumnKind::Time:
        case ColumnKind::DateTime:
            keys.numeric = true;
            for (qsizetype i = 0; i < values.size(); ++i) {
                const QVariant &value = values.at(i);
                if (isBlank(value))
                    continue;
                const QDateTime when = value.toDateTime();
                if (value.typeId() == QMetaType::QDateTime && when.isValid())
                    keys.cells[size_t(i)] = {OfKind, double(when.toMSecsSinceEpoch())};
                else
                    keys.cells[size_t(i)] = textKey(keys, value, Stray);
            }
            break;
        case ColumnKind::Text:
        case ColumnKind::Other:
            textOrNumbers(keys, values);
            break;
        }
        return keys;
    }

private:
    // Records share values (a category, a name), so each distinct text gets
    // one collation key.
    CellKey textKey(ColumnKeys &keys, const QVariant &value, Rank rank)
    {
        const QString text = m_shown(value);
        auto found = m_textIndex.constFind(text);
        if (found == m_textIndex.constEnd()) {
            keys.texts.push_back(m_collator.sortKey(text));
            found = m_textIndex.insert(text, int(keys.texts.size() - 1));
        }
        return {rank, 0, *found};
    }

    // Whether the column holds numbers is decided once for the whole sort,
    // from every value, so one stray word makes the whole column text and
    // no comparison ever mixes the two.
    void textOrNumbers(ColumnKeys &keys, const QList<QVariant> &values)
    {
        std::vector<double> numbers(size_t(values.size()), 0);
        bool allNumbers = true;
        for (qsizetype i = 0; i < values.size() && allNumbers; ++i)
            if (!isBlank(values.at(i)))
                allNumbers = m_numbers.read(m_shown(values.at(i)), &numbers[size_t(i)]);
        keys.numeric = allNumbers;
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (isBlank(values.at(i)))
                continue;
            keys.cells[size_t(i)] = allNumbers ? CellKey{OfKind, numbers[size_t(i)]}
                                               : textKey(keys, values.at(i), OfKind);
        }
    }

    const QAbstractItemModel &m_table;
    const QList<int> &m_rows;
    PlainNumber m_numbers;
    QCollator m_collator;
    GridValue::ShownText m_shown;
    QHash<QString, int> m_textIndex;
};

} // namespace

QList<int> sorted(const QAbstractItemModel &table, const SortKeys &keys, const QList<int> &rows,
                  const QLocale &locale)
{
    std::vector<ColumnKeys> columns;
    KeyBuilder builder(table, rows, locale);
    for (const SortKey &key : keys)
        if (key.column >= 1 && key.column < table.columnCount())
            columns.push_back(builder.build(key));
    if (columns.empty())
        return rows;
    std::vector<int> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&columns](int a, int b) {
        for (const ColumnKeys &column : columns) {
            const int result = column.compare(a, b);
            if (result != 0)
                return result < 0;
        }
        return false;
    });
    QList<int> result;
    result.reserve(rows.size());
    for (int i : order)
        result.append(rows.at(i));
    return result;
}

QList<int> sortedAll(const QAbstractItemModel &table, const SortKeys &keys, const QLocale &locale)
{
    QList<int> rows(table.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    return sorted(table, keys, rows, locale);
}

} // namespace Ledgerly::RecordOrder
