#include "GroupBuilder.h"

#include "GridColumn.h"
#include "GridValue.h"
#include "GroupTotals.h"

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
// of the column's kind (last, ordered as text).
struct Key
{
    int rank = 0;
    double number = 0;
    QString text;
    QString shown;
    QString hash;
};

Kind kindOf(const QAbstractItemModel &table, int column)
{
    const int dataType = table.headerData(column, Qt::Horizontal, GridRoles::DataTypeRole).toInt();
    const int display =
        table.headerData(column, Qt::Horizontal, GridRoles::DisplayTypeRole).toInt();
    if (dataType == DataBoolean || display == DisplayCheckBox)
        return Kind::YesNo;
    if (dataType == DataDate || display == DisplayDate)
        return Kind::Date;
    if (dataType == DataInteger)
        return Kind::Number;
    return Kind::Text;
}

Key textKey(const QString &text, int rank)
{
    Key key;
    if (text.isEmpty())
        return key;
    key.rank = rank;
    key.text = text;
    key.shown = text;
    key.hash = QLatin1Char('t') + text;
    return key;
}

Key keyOf(const QVariant &value, Kind kind, const QLocale &locale)
{
    const bool empty = !value.isValid() || value.isNull() ||
                       (value.typeId() == QMetaType::QString && value.toString().isEmpty());
    if (empty)
        return {};
    Key key;
    key.rank = 1;
    switch (kind) {
    case Kind::YesNo:
        key.number = GridValue::isTrue(value) ? 1 : 0;
        key.shown = key.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
        key.hash = key.shown;
        return key;
    case Kind::Date: {
        const QDateTime when = value.toDateTime();
        if (value.typeId() != QMetaType::QDateTime || !when.isValid())
            return textKey(GridValue::displayText(value), 2);
        key.number = double(when.toMSecsSinceEpoch());
        key.shown = GridValue::displayText(value);
        key.hash = QLatin1Char('d') + QString::number(when.toMSecsSinceEpoch());
        return key;
    }
    case Kind::Number:
        if (!GroupTotals::readNumber(value, locale, &key.number))
            return textKey(GridValue::displayText(value), 2);
        key.shown = GridValue::displayText(value);
        key.hash = QLatin1Char('n') + QString::number(key.number, 'g', 17);
        return key;
    case Kind::Text:
        break;
    }
    return textKey(GridValue::displayText(value), 1);
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
    const GroupLevel &spec = m_layout.at(level);
    const Kind kind = kindOf(m_table, spec.column);

    struct Bucket
    {
        Key key;
        QList<int> rows;
    };
    QList<Bucket> buckets;
    QHash<QString, int> bucketOf;
    for (int row : rows) {
        Key key = keyOf(m_table.index(row, spec.column).data(Qt::EditRole), kind, m_locale);
        auto found = bucketOf.constFind(key.hash);
        if (found == bucketOf.constEnd()) {
            found = bucketOf.insert(key.hash, int(buckets.size()));
            buckets.append({std::move(key), {}});
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
        info.headerText = bucket.key.shown;
        info.level = level;
        result.groups.append(info);
        result.entries.append({GridRoles::RowKind::GroupHeader, level, group});
        run(bucket.rows, level + 1, info.path);
        result.groups[group].footerText = footerText(bucket.rows, spec);
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

    QList<int> rows(table.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    Builder builder(table, usable, locale);
    builder.result.entries.reserve(rows.size());
    builder.run(rows, 0, QString());
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
