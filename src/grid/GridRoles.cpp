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

} // namespace Ledgerly::GridRoles
