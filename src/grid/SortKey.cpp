#include "SortKey.h"

#include "GridRoles.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace Ledgerly::SortKeyList {

namespace {

const QString descending = QStringLiteral("desc");
const QString ascending = QStringLiteral("asc");

} // namespace

SortKeys clicked(const SortKeys &keys, int column, bool extend)
{
    qsizetype at = -1;
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (keys.at(i).column == column)
            at = i;
    if (!extend) {
        if (keys.size() == 1 && at == 0)
            return keys.first().order == Qt::AscendingOrder
                       ? SortKeys{{column, Qt::DescendingOrder}}
                       : SortKeys{};
        return {{column, Qt::AscendingOrder}};
    }
    SortKeys result = keys;
    if (at < 0)
        result.append({column, Qt::AscendingOrder});
    else if (result.at(at).order == Qt::AscendingOrder)
        result[at].order = Qt::DescendingOrder;
    else
        result.remove(at);
    return result;
}

bool parse(const QAbstractItemModel &table, const QString &text, SortKey *out, QString *error)
{
    QString name = text.trimmed();
    Qt::SortOrder order = Qt::AscendingOrder;
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString direction = name.mid(colon + 1).trimmed();
        if (direction.compare(descending, Qt::CaseInsensitive) == 0)
            order = Qt::DescendingOrder;
        else if (direction.compare(ascending, Qt::CaseInsensitive) != 0) {
            *error = QStringLiteral("\"%1\": the direction is asc or desc").arg(text);
            return false;
        }
        name = name.left(colon).trimmed();
    }
    const int column = GridRoles::columnNamed(table, name);
    if (column < 0) {
        *error = QStringLiteral("there is no field \"%1\"").arg(name);
        return false;
    }
    *out = {column, order};
    return true;
}

QString write(const QAbstractItemModel &table, const SortKeys &keys)
{
    QStringList parts;
    for (const SortKey &key : keys) {
        if (key.column < 1 || key.column >= table.columnCount())
            continue;
        QString part = table.headerData(key.column, Qt::Horizontal, GridRoles::KeyRole).toString();
        if (key.order == Qt::DescendingOrder)
            part += QLatin1Char(':') + descending;
        parts.append(part);
    }
    return parts.join(QLatin1Char(';'));
}

SortKeys read(const QAbstractItemModel &table, const QString &text)
{
    SortKeys keys;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        SortKey key;
        QString ignored;
        if (parse(table, part, &key, &ignored) &&
            std::none_of(keys.cbegin(), keys.cend(),
                         [&](const SortKey &k) { return k.column == key.column; }))
            keys.append(key);
    }
    return keys;
}

} // namespace Ledgerly::SortKeyList
