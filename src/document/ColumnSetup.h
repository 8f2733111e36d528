#pragma once

#include "grid/GridColumn.h"

namespace Ledgerly {

class GridModel;
class PdbDatabase;
class SchemaSection;

// Gives the table's field columns the schema's view of the open database:
// captions, data and display types from the field type codes, and visibility
// from each field's role value. Both end with the record-number column 800
// twips wide. Neither shows a message; a field or column that does not exist
// is simply skipped.
namespace ColumnSetup {

// Every field column gets caption and types and is shown.
void UnHideColumns(GridModel &grid, const PdbDatabase *database, const SchemaSection &schema);
// Captions and types of the non-picture columns again, then the role values
// hide what the schema hides.
void HideColumns(GridModel &grid, const PdbDatabase *database, const SchemaSection &schema);

constexpr double RecordNumberWidth = RecordNumberColumnWidth;

} // namespace ColumnSetup

} // namespace Ledgerly
