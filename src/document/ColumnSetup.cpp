#include "ColumnSetup.h"

#include "FieldColumns.h"
#include "catalogue/SchemaRules.h"
#include "catalogue/SchemaSection.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "grid/GridModel.h"

namespace Ledgerly::ColumnSetup {

namespace {

void finish(GridModel &grid)
{
    grid.column(0).widthTwips = RecordNumberWidth;
    grid.notifyColumnsChanged();
}

bool roleShowsColumn(const QString &role)
{
    return roleIsCalc(role) || roleIsGroup(role);
}

} // namespace

void UnHideColumns(GridModel &grid, const PdbDatabase *database, const SchemaSection &schema)
{
    if (database) {
        const PdbFieldList &fields = database->Fields();
        const int count = fields.Count();
        // A field without a column ends the pass: nothing after it can be addressed.
        for (int i = 1; i <= count && i < grid.columnCount(); ++i) {
            const PdbField &field = fields.Item(i - 1);
            GridColumn &column = grid.column(i);
            const int dataType = FieldColumns::dataTypeFor(field.Type);
            if (dataType >= 0) {
                column.caption = schema.caption(field.Name);
                column.dataType = dataType;
                column.displayType = dataType == DataPicture ? DisplayPicture : DisplayText;
                if (dataType == DataPicture)
                    column.pictureCode = 4;
                column.hidden = false;
            }
            if (roleShowsColumn(schema.role(field.Name)))
                column.hidden = false;
        }
    }
    finish(grid);
}

void HideColumns(GridModel &grid, const PdbDatabase *database, const SchemaSection &schema)
{
    if (database) {
        const PdbFieldList &fields = database->Fields();
        // The schema, not the database, says how many fields to visit.
        const int count = schema.fieldCount();
        for (int i = 1; i <= count; ++i) {
            if (i > fields.Count() || i >= grid.columnCount())
                continue;
            const PdbField &field = fields.Item(i - 1);
            GridColumn &column = grid.column(i);
            const int dataType = FieldColumns::dataTypeFor(field.Type);
            // Pictures keep what UnHideColumns gave them.
            if (dataType >= 0 && dataType != DataPicture) {
                column.caption = schema.caption(field.Name);
                // Text columns keep their data type: grouping may have made
                // a calculated text column a number column.
                if (dataType != DataText)
                    column.dataType = dataType;
                column.displayType = dataType == DataBoolean ? DisplayCheckBox
                                     : dataType == DataDate  ? DisplayDate
                                                             : DisplayText;
                column.hidden = false;
            }
            const QString role = schema.role(field.Name);
            if (roleHidesColumn(role))
                column.hidden = true;
            if (roleShowsColumn(role))
                column.hidden = false;
        }
    }
    finish(grid);
}

} // namespace Ledgerly::ColumnSetup
