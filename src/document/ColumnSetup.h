#pragma once

#include "grid/GridColumn.h"

#include <QList>

namespace Ledgerly {

class GridModel;
class PdbFieldList;
class SchemaSection;

// The schema's view of the open database's columns.
namespace ColumnSetup {

// The field columns of a database under its schema section, worked out in
// one place: one column per field the schema declares, column i (from 1)
// for field i, keyed by the field's name, of the kind the field's type
// gives, captioned by the value of the field's key and with the field's
// role. A field of a type the table cannot show keeps no key or caption; a
// schema field the database lacks gives an empty column of kind Other.
QList<GridColumn> columnsFor(const PdbFieldList &fields, const SchemaSection &schema);

// New captions and roles after the schema changed; keys and kinds stay.
void applySchema(GridModel &grid, const PdbFieldList &fields, const SchemaSection &schema);

// Every column shown (the fields of a drop fill hidden columns too) /
// the schema's roles decide again.
void UnHideColumns(GridModel &grid);
void HideColumns(GridModel &grid);

} // namespace ColumnSetup

} // namespace Ledgerly
