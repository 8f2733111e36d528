#include "GroupBuilder.h"

#include "GridRoles.h"
#include "GridValue.h"
#include "GroupTotals.h"
#include "common/YesNoText.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <numeric>

namespace Ledgerly {

namespace {

enum class Kind { Text, Number, Date, YesNo };

// A grouping value reduced to what groups and orders it. Rank 0 is the empty
// value (first), rank 1 a value of the column's kind, rank 2 text that is not
// of the column's kind (last, ordered as text). Text is its own hash key, so
// the common case allocates nothing per record; other kinds get a prefix no
// one types, so they never meet a text.
struct Key
{
    int rank = 0;
    double number = 0;
    QString text;
    QString hash;
};

// Totalled text columns and columns of numbers hold figures, so their
// groups follow the numbers.
Kind kindOf(const QAbstractItemModel &table, int column)
{
    const ColumnKind kind = GridRoles::kindOf(table, column);
    if (kind == ColumnKind::YesNo)
        return Kind::YesNo;
    if (holdsDateTime(kind))
        return Kind::Date;
    if (kind == ColumnKind::Text &&
        (GridRoles::fieldRoleOf(table, column) == FieldRole::Calc ||
         table.headerData(column, Qt::Horizontal, GridRoles::HoldsNumbersRole).toBool()))
        return Kind::Number;
    return Kind::Text;
}

bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull() ||
           (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

Key textKey(const QVariant &value, int rank)
{
    Key key;
    key.text = GridValue::displayText(value);
    if (key.text.isEmpty())
        return key;
    key.rank = rank;
    key.hash = key.text;
    return key;
}

Key numberKey(double number, QChar tag)
{
    Key key;
    key.rank = 1;
    key.number = number;
    key.hash = QString(QChar(0x1)) + tag + QString::number(number, 'g', 17);
    return key;
}

Key keyOf(const QVariant &value, Kind kind, const QLocale &locale)
{
    if (isEmptyValue(value))
        return {};
    switch (kind) {
    case Kind::YesNo:
        return numberKey(GridValue::isTrue(value) ? 1 : 0, QLatin1Char('b'));
    case Kind::Date: {
        const QDateTime when = value.toDateTime();
        if (value.typeId() != QMetaType::QDateTime || !when.isValid())
            return textKey(value, 2);
        return numberKey(double(when.toMSecsSinceEpoch()), QLatin1Char('d'));
    }
    case Kind::Number: {
        double number = 0;
        if (!GroupTotals::readNumber(value, locale, &number))
            return textKey(value, 2);
        return numberKey(number, QLatin1Char('n'));
    }
    case Kind::Text:
        break;
    }
    return textKey(value, 1);
}

// The header text of a group, as the column shows its value.
QString shownText(const QVariant &value, Kind kind)
{
    if (isEmptyValue(value))
        return {};
    if (kind == Kind::YesNo)
        return YesNoText::text(GridValue::isTrue(value));
    return GridValue::displayText(value);
}

bool keyLess(const Key &a, const Key &b, Kind kind)
{
    if (a.rank != b.rank)
        return a.rank < b.rank;
    if (a.rank == 1 && kind != Kind::Text) {
        if (a.number != b.number)
            return a.number < b.number;
        return false;
    }
    const int folded = a.text.compare(b.text, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return a.text.compare(b.text, Qt::CaseSensitive) < 0;
}

class Builder
{
public:
    Builder(const QAbstractItemModel &table, const GroupLayout &layout, const QLocale &locale)
        : m_table(table)
        , m_layout(layout)
        , m_locale(locale)
    {}

    void run(const QList<int> &rows, int level, const QString &path);
    GroupBuilder::Result result;

private:
    QString footerText(const QList<int> &rows, const GroupLevel &level) const;

    const QAbstractItemModel &m_table;
    const GroupLayout &m_layout;
    const QLocale &m_locale;
};

void Builder::run(const QList<int> &rows, int level, const QString &path)
{
    if (level >= m_layout.size()) {
        for (int row : rows)
            result.entries.append({GridRoles::RowKind::Record, level, row});
        return;
    }
    const GroupLevel &grouping = m_layout.at(level);
    const Kind kind = kindOf(m_table, grouping.column);

    struct Bucket
    {
        Key key;
        QString shown;
        QList<int> rows;
    };
    QList<Bucket> buckets;
    QHash<QString, int> bucketOf;
    for (int row : rows) {
        const QVariant value = m_table.index(row, grouping.column).data(Qt::EditRole);
        Key key = keyOf(value, kind, m_locale);
        auto found = bucketOf.constFind(key.hash);
        if (found == bucketOf.constEnd()) {
            found = bucketOf.insert(key.hash, int(buckets.size()));
            buckets.append({std::move(key), shownText(value, kind), {}});
        }
        buckets[*found].rows.append(row);
    }
    QList<int> order(buckets.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return keyLess(buckets.at(a).key, buckets.at(b).key, kind); });

    for (int b : std::as_const(order)) {
        const Bucket &bucket = buckets.at(b);
        const int group = int(result.groups.size());
        GroupBuilder::Group info;
        info.path = path + QChar(0x1f) + bucket.key.hash;
        info.headerText = bucket.shown;
        info.level = level;
        result.groups.append(info);
        result.entries.append({GridRoles::RowKind::GroupHeader, level, group});
        run(bucket.rows, level + 1, info.path);
        result.groups[group].footerText = footerText(bucket.rows, grouping);
        result.entries.append({GridRoles::RowKind::GroupFooter, level, group});
    }
}

QString Builder::footerText(const QList<int> &rows, const GroupLevel &level) const
{
    GroupTotals totals(m_locale);
    const bool calculated = level.calcColumn > 0 && level.calcColumn < m_table.columnCount();
    for (int row : rows) {
        totals.addRecord();
        if (calculated)
            totals.addValue(m_table.index(row, level.calcColumn).data(Qt::EditRole));
    }
    return calculated ? totals.footerText(level.calcCaption) : totals.recordsText();
}

} // namespace

GroupBuilder::Result GroupBuilder::build(const QAbstractItemModel &table, const GroupLayout &layout,
                                         const QLocale &locale)
{
    // A level whose column is gone (another database was opened) groups nothing.
    GroupLayout usable;
    for (const GroupLevel &level : layout)
        if (level.column > 0 && level.column < table.columnCount())
            usable.append(level);

    Builder builder(table, usable, locale);
    builder.result.entries.reserve(table.rowCount());
    if (usable.isEmpty()) {
        QList<int> rows(table.rowCount());
        std::iota(rows.begin(), rows.end(), 0);
        builder.run(rows, 0, QString());
        return std::move(builder.result);
    }
    // Only records are grouped; a row of another kind (the row that appends a
    // record) stays below all groups, in its order.
    QList<int> records;
    QList<int> others;
    records.reserve(table.rowCount());
    for (int row = 0; row < table.rowCount(); ++row) {
        const QVariant kind = table.index(row, 0).data(GridRoles::RowKindRole);
        if (!kind.isValid() || kind.toInt() == int(GridRoles::RowKind::Record))
            records.append(row);
        else
            others.append(row);
    }
    builder.run(records, 0, QString());
    for (int row : std::as_const(others))
        builder.result.entries.append({GridRoles::RowKind::Record, 0, row});
    return std::move(builder.result);
}

bool GroupBuilder::sameRow(const Result &a, qsizetype ia, const Result &b, qsizetype ib)
{
    const Entry &x = a.entries.at(ia);
    const Entry &y = b.entries.at(ib);
    if (x.kind != y.kind)
        return false;
    if (x.kind == GridRoles::RowKind::Record)
        return x.ref == y.ref;
    return a.groups.at(x.ref).path == b.groups.at(y.ref).path;
}

} // namespace Ledgerly
