#include "ColumnSetup.h"

#include "GridModel.h"
#include "catalogue/Catalogue.h"
#include "catalogue/SchemaRules.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"

namespace Ledgerly::ColumnSetup {

namespace {

// The caption is whatever the value look-up shows once the field's own key
// is selected: a key the section lacks gives an empty caption.
QString captionOf(Catalogue &catalogue, const QString &fieldName)
{
    catalogue.selectEntry(fieldName);
    return catalogue.Value;
}

QString roleOf(Catalogue &catalogue, const QString &fieldName)
{
    return catalogue.readValue(fieldName + QStringLiteral("Hide"));
}

void finish(GridModel &grid)
{
    grid.column(0).widthTwips = RecordNumberWidth;
    grid.notifyColumnsChanged();
}

} // namespace

void UnHideColumns(GridModel &grid, const PdbDatabase *database, Catalogue &catalogue)
{
    if (database) {
        const PdbFieldList &fields = database->Fields();
        const int count = fields.Count();
        // A field without a column ends the pass: nothing after it can be addressed.
        for (int i = 1; i <= count && i < grid.columnCount(); ++i) {
            const PdbField &field = fields.Item(i - 1);
            GridColumn &column = grid.column(i);
            switch (field.Type) {
            case FieldPicture:
                column.caption = captionOf(catalogue, field.Name);
                column.dataType = DataPicture;
                column.displayType = DisplayPicture;
                column.pictureCode = 4;
                column.hidden = false;
                break;
            case FieldText:
                column.dataType = DataText;
                column.caption = captionOf(catalogue, field.Name);
                column.displayType = DisplayText;
                column.hidden = false;
                break;
            case FieldYesNo:
                column.dataType = DataBoolean;
                column.caption = captionOf(catalogue, field.Name);
                column.displayType = DisplayText;
                column.hidden = false;
                break;
            case FieldDate:
            case FieldTime:
            case FieldDateTime:
                column.caption = captionOf(catalogue, field.Name);
                column.dataType = DataDate;
                column.displayType = DisplayText;
                column.hidden = false;
                break;
            default:
                break;
            }
            const QString role = roleOf(catalogue, field.Name);
            if (roleIsCalc(role) || roleIsGroup(role))
                column.hidden = false;
        }
    }
    finish(grid);
}

void HideColumns(GridModel &grid, const PdbDatabase *database, Catalogue &catalogue)
{
    if (database) {
        const PdbFieldList &fields = database->Fields();
        // The schema, not the database, says how many fields to visit.
        const int count = schemaFieldCount(catalogue.Entrieslist.count());
        for (int i = 1; i <= count; ++i) {
            if (i > fields.Count() || i >= grid.columnCount())
                continue;
            const PdbField &field = fields.Item(i - 1);
            GridColumn &column = grid.column(i);
            catalogue.selectEntry(field.Name);
            const int keyPosition = catalogue.Entrieslist.currentIndex();
            switch (field.Type) {
            case FieldText:
                column.caption = catalogue.Value;
                column.displayType = DisplayText;
                column.hidden = false;
                break;
            case FieldYesNo:
                column.dataType = DataBoolean;
                column.caption = catalogue.Value;
                column.displayType = DisplayCheckBox;
                column.hidden = false;
                break;
            case FieldDate:
            case FieldTime:
            case FieldDateTime:
                column.caption = catalogue.Value;
                column.dataType = DataDate;
                column.displayType = DisplayDate;
                column.hidden = false;
                break;
            default:
                break; // pictures keep what UnHideColumns gave them
            }
            const QString role = roleOf(catalogue, field.Name);
            if (roleHidesColumn(role))
                column.hidden = true;
            if (roleIsCalc(role) || roleIsGroup(role))
                column.hidden = false;
            const int keyed = grid.columnByKey(field.Name);
            if (keyed >= 0 && keyPosition >= 0)
                grid.column(keyed).position = keyPosition;
        }
    }
    finish(grid);
}

} // namespace Ledgerly::ColumnSetup
