#include "PrintedCell.h"

#include "common/YesNoText.h"
#include "grid/GridRoles.h"

#include <QModelIndex>
#include <QVariant>

namespace Ledgerly::PrintedCell {

QString text(const QModelIndex &index, ColumnKind kind)
{
    if (kind == ColumnKind::Picture)
        return {};
    const QVariant check = index.data(Qt::CheckStateRole);
    if (check.isValid())
        return YesNoText::text(check.toInt() == Qt::Checked);
    if (kind == ColumnKind::Text) {
        const QVariant value = index.data(Qt::EditRole);
        if (value.typeId() == QMetaType::QString)
            return value.toString();
    }
    return index.data(Qt::DisplayRole).toString();
}

bool alignedRight(const QModelIndex &index)
{
    return index.column() == 0 || (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
}

bool keptWhole(ColumnKind kind, int column, bool right)
{
    return right || column == 0 || kind == ColumnKind::YesNo || holdsDateTime(kind);
}

bool holdsPicture(const QModelIndex &index)
{
    const QVariant value = index.data(Qt::EditRole);
    return value.typeId() == QMetaType::QByteArray && !value.toByteArray().isEmpty();
}

QString groupText(const QModelIndex &index)
{
    const QString text = index.data(GridRoles::GroupTextRole).toString();
    return text.isEmpty() ? index.data(Qt::DisplayRole).toString() : text;
}

} // namespace Ledgerly::PrintedCell
