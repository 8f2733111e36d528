#include "ColumnSetup.h"

#include "FieldColumns.h"
#include "catalogue/SchemaRules.h"
#include "catalogue/SchemaSection.h"
#include "database/PdbFieldList.h"
#include "grid/GridModel.h"

namespace Ledgerly::ColumnSetup {

QList<GridColumn> columnsFor(const PdbFieldList &fields, const SchemaSection &schema)
{
    QList<GridColumn> columns;
    const int count = schema.fieldCount();
    columns.reserve(count);
    for (int i = 0; i < count; ++i) {
        GridColumn column;
        if (i >= fields.Count()) {
            column.kind = ColumnKind::Other; // nothing to show or write
            columns.append(column);
            continue;
        }
        const PdbField &field = fields.Item(i);
        column.kind = FieldColumns::kindFor(field.Type);
        if (column.kind != ColumnKind::Other) {
            column.key = field.Name;
            column.caption = schema.caption(field.Name);
        }
        column.role = fieldRole(schema.role(field.Name));
        columns.append(column);
    }
    return columns;
}

void applySchema(GridModel &grid, const PdbFieldList &fields, const SchemaSection &schema)
{
    const QList<GridColumn> columns = columnsFor(fields, schema);
    for (int c = 1; c < grid.columnCount() && c <= columns.size(); ++c)
        grid.setColumnSchema(c, columns.at(c - 1).caption, columns.at(c - 1).role);
}

void UnHideColumns(GridModel &grid)
{
    grid.setAllColumnsShown(true);
}

void HideColumns(GridModel &grid)
{
    grid.setAllColumnsShown(false);
}

} // namespace Ledgerly::ColumnSetup
