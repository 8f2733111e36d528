#include "DatabaseCreator.h"

#include "DatabaseLoader.h"
#include "PdbDatabase.h"
#include "catalogue/Catalogue.h"
#include "catalogue/SchemaRules.h"
#include "grid/GridModel.h"

namespace Ledgerly::DatabaseCreator {

void buildTable(GridModel &grid, PdbDatabase &database, Catalogue &catalogue)
{
    grid.removeAllRows();
    grid.removeAllColumns();
    grid.column(0).widthTwips = DatabaseLoader::InitialRecordNumberWidth;

    if (database.Table().RecordCount() == 0) {
        database.Table().AddRecord();
        DatabaseLoader::fieldPass(database, catalogue);
    }
    DatabaseLoader::fieldPass(database, catalogue);

    const int keyCount = catalogue.Entrieslist.count();
    const int count = schemaFieldCount(keyCount);
    for (int i = 1; i <= count; ++i) {
        catalogue.selectEntry(i);
        GridColumn column;
        column.key = catalogue.Entrieslist.item(i);
        column.caption = catalogue.Value;
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
