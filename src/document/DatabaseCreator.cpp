#include "DatabaseCreator.h"

#include "ColumnSetup.h"
#include "DatabaseLoader.h"
#include "catalogue/SchemaSection.h"
#include "database/PdbDatabase.h"
#include "grid/GridModel.h"

namespace Ledgerly::DatabaseCreator {

void buildTable(GridModel &grid, PdbDatabase &database, const SchemaSection &schema)
{
    DatabaseLoader::prepare(grid, database, schema);

    for (const GridColumn &column : ColumnSetup::columnsFor(database.Table().FieldDefs(), schema))
        grid.addColumn(column);

    // Empty text rather than no value, so the new record holds empty fields.
    GridRow row;
    row.cells.fill(QVariant(QString()), grid.columnCount());
    row.cells[0] = QVariant();
    grid.addRow(row);
}

} // namespace Ledgerly::DatabaseCreator
