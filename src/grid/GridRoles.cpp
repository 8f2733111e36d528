#include "GridRoles.h"

#include <QAbstractItemModel>

namespace Ledgerly::GridRoles {

ColumnKind kindOf(const QAbstractItemModel &model, int column)
{
    const QVariant kind = model.headerData(column, Qt::Horizontal, KindRole);
    return kind.isValid() ? ColumnKind(kind.toInt()) : ColumnKind::Other;
}

FieldRole fieldRoleOf(const QAbstractItemModel &model, int column)
{
    const QVariant role = model.headerData(column, Qt::Horizontal, FieldRoleRole);
    return role.isValid() ? FieldRole(role.toInt()) : FieldRole::Shown;
}

int columnNamed(const QAbstractItemModel &model, const QString &name)
{
    for (int c = 1; c < model.columnCount(); ++c)
        if (model.headerData(c, Qt::Horizontal, KeyRole)
                .toString()
                .compare(name, Qt::CaseInsensitive) == 0)
            return c;
    // A caption is what a person sees, so it is taken when no key matches.
    for (int c = 1; c < model.columnCount(); ++c)
        if (model.headerData(c, Qt::Horizontal).toString().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

} // namespace Ledgerly::GridRoles
