#include "DatabaseLoader.h"

#include "ColumnSetup.h"
#include "StoredTableRows.h"
#include "catalogue/SchemaRules.h"
#include "catalogue/SchemaSection.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "grid/GridModel.h"

namespace Ledgerly::DatabaseLoader {

void fieldPass(PdbDatabase &database, const SchemaSection &schema, bool countTest)
{
    const int keyCount = schema.keyCount();
    if (countTest && !fieldCountDiffersFromSchema(database.Fields().Count(), keyCount))
        return;
    for (const QString &key : schema.fieldNames()) {
        if (!key.isEmpty() && !database.Fields().Exists(key))
            database.Table().AddField(key, FieldText);
    }
}

void prepare(GridModel &grid, PdbDatabase &database, const SchemaSection &schema)
{
    grid.removeAllRows();
    grid.removeAllColumns();

    PdbTable &table = database.Table();
    if (table.RecordCount() == 0) {
        table.AddRecord();
        fieldPass(database, schema);
    }
    fieldPass(database, schema);
}

void fillTable(GridModel &grid, const std::shared_ptr<PdbDatabase> &database,
               const SchemaSection &schema)
{
    prepare(grid, *database, schema);

    for (const GridColumn &column : ColumnSetup::columnsFor(database->Table().FieldDefs(), schema))
        grid.addColumn(column);

    // Rows read their values from the records until they change. Fields
    // beyond the schema's columns are not shown; their values stay in the
    // stored records, which a save keeps for every row loaded from one.
    const PdbTable &table = database->Table();
    const int shown = qMin(database->Fields().Count(), grid.columnCount() - 1);
    QList<GridRow> rows(table.RecordCount());
    for (int r = 0; r < rows.size(); ++r)
        rows[r].sourceRecord = r;
    grid.setStoredRows(std::make_shared<StoredTableRows>(database, shown));
    grid.setRows(std::move(rows));
}

} // namespace Ledgerly::DatabaseLoader
