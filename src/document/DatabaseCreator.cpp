#include "DatabaseCreator.h"

#include "DatabaseLoader.h"
#include "catalogue/SchemaSection.h"
#include "grid/GridModel.h"

namespace Ledgerly::DatabaseCreator {

void buildTable(GridModel &grid, PdbDatabase &database, const SchemaSection &schema)
{
    DatabaseLoader::prepare(grid, database, schema);

    const int count = schema.fieldCount();
    for (int i = 1; i <= count; ++i) {
        GridColumn column;
        column.key = schema.key(i);
        column.caption = schema.valueAt(i);
        column.dataType = DataText;
        column.displayType = DisplayText;
        grid.addColumn(column);
    }

    // Empty text rather than no value, so the new record holds empty fields.
    GridRow row;
    row.cells.fill(QVariant(QString()), grid.columnCount());
    row.cells[0] = QVariant();
    grid.addRow(row);
}

} // namespace Ledgerly::DatabaseCreator
