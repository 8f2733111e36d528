#include "DatabaseLoader.h"

#include "FieldType.h"
#include "PdbDatabase.h"
#include "catalogue/Catalogue.h"
#include "catalogue/SchemaRules.h"
#include "grid/GridModel.h"

namespace Ledgerly::DatabaseLoader {

void fieldPass(PdbDatabase &database, Catalogue &catalogue, bool countTest)
{
    const int keyCount = catalogue.Entrieslist.count();
    if (countTest && !fieldCountDiffersFromSchema(database.Fields().Count(), keyCount))
        return;
    const int count = schemaFieldCount(keyCount);
    for (int i = 1; i <= count && i < keyCount; ++i) {
        catalogue.selectEntry(i);
        const QString key = catalogue.Entrieslist.item(i);
        if (!key.isEmpty() && !database.Fields().Exists(key))
            database.Table().AddField(key, FieldText);
    }
}

namespace {

GridColumn columnFor(const PdbDatabase &database, Catalogue &catalogue, int i)
{
    GridColumn column;
    catalogue.selectEntry(i);
    const PdbFieldList &defs = database.Table().FieldDefs();
    if (i > defs.Count())
        return column; // the schema names more fields than there are: an empty column
    const PdbField &field = defs.Item(i - 1);
    switch (field.Type) {
    case FieldPicture:
        // The caption is the value at the schema's position i, not by name.
        column.key = field.Name;
        column.caption = catalogue.Value;
        column.dataType = DataPicture;
        column.displayType = DisplayPicture;
        column.pictureCode = 4;
        break;
    case FieldYesNo:
    case FieldText:
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        catalogue.selectEntry(field.Name);
        column.key = field.Name;
        column.caption = catalogue.Value;
        column.dataType = field.Type == FieldYesNo ? DataBoolean : DataText;
        column.displayType = DisplayText;
        break;
    default:
        break; // an unknown kind keeps the defaults and no key
    }
    return column;
}

} // namespace

void fillTable(GridModel &grid, PdbDatabase &database, Catalogue &catalogue)
{
    grid.removeAllRows();
    grid.removeAllColumns();
    grid.column(0).widthTwips = InitialRecordNumberWidth;

    PdbTable &table = database.Table();
    if (table.RecordCount() == 0) {
        table.AddRecord();
        fieldPass(database, catalogue);
    }
    fieldPass(database, catalogue);

    const int count = schemaFieldCount(catalogue.Entrieslist.count());
    for (int i = 1; i <= count; ++i)
        grid.addColumn(columnFor(database, catalogue, i));

    // Fields beyond the schema's columns are not shown; their values stay in
    // the stored records, which a save keeps for every row loaded from one.
    const int columns = grid.columnCount();
    const int fieldCount = database.Fields().Count();
    const int shown = qMin(fieldCount, columns - 1);
    QList<GridRow> rows;
    rows.reserve(table.RecordCount());
    for (int r = 0; r < table.RecordCount(); ++r) {
        const PdbRecord &record = table.Record(r);
        GridRow row;
        row.sourceRecord = r;
        row.cells.resize(columns);
        for (int f = 0; f < shown; ++f) {
            QVariant value = record.value(f);
            // A missing value shows as empty text, like an empty one.
            if (!value.isValid())
                value = QString();
            row.cells[f + 1] = std::move(value);
        }
        rows.append(std::move(row));
    }
    grid.setRows(std::move(rows));
}

} // namespace Ledgerly::DatabaseLoader
