#include "DatabaseLoader.h"

#include "FieldColumns.h"
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
    grid.column(0).widthTwips = InitialRecordNumberWidth;

    PdbTable &table = database.Table();
    if (table.RecordCount() == 0) {
        table.AddRecord();
        fieldPass(database, schema);
    }
    fieldPass(database, schema);
}

namespace {

GridColumn columnFor(const PdbDatabase &database, const SchemaSection &schema, int i)
{
    GridColumn column;
    const PdbFieldList &defs = database.Table().FieldDefs();
    if (i > defs.Count())
        return column; // the schema names more fields than there are: an empty column
    const PdbField &field = defs.Item(i - 1);
    const int dataType = FieldColumns::dataTypeFor(field.Type);
    if (dataType < 0)
        return column; // an unknown kind keeps the defaults and no key
    column.key = field.Name;
    if (field.Type == FieldPicture) {
        // The caption is the value at the schema's position i, not by name.
        column.caption = schema.valueAt(i);
        column.dataType = DataPicture;
        column.displayType = DisplayPicture;
        column.pictureCode = 4;
        return column;
    }
    column.caption = schema.caption(field.Name);
    // Dates stay text columns until the column setup that follows every load.
    column.dataType = dataType == DataBoolean ? DataBoolean : DataText;
    column.displayType = DisplayText;
    return column;
}

} // namespace

void fillTable(GridModel &grid, const std::shared_ptr<PdbDatabase> &database,
               const SchemaSection &schema)
{
    prepare(grid, *database, schema);

    const int count = schema.fieldCount();
    for (int i = 1; i <= count; ++i)
        grid.addColumn(columnFor(*database, schema, i));

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
