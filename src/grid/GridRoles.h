#pragma once

#include <Qt>

namespace Ledgerly {

// The roles every view, delegate, proxy and page renderer reads the table
// through. Nothing above the table model may cast to the concrete model: a
// proxy (grouping, sorting) sits between them and answers the same roles.
namespace GridRoles {

// Horizontal headerData roles: a column's metadata.
enum HeaderRole : int {
    KeyRole = Qt::UserRole + 1, // the field name the column is keyed by
    HiddenRole,                 // bool
    WidthRole,                  // double, twips
    DataTypeRole,               // ColumnDataType code (8, 11, 7, 3, 65)
    DisplayTypeRole,            // ColumnDisplayType code
    PictureCodeRole,            // 4 for picture columns
};

// Item data roles beyond Qt's own (DisplayRole text, EditRole typed value,
// CheckStateRole, DecorationRole QImage).
enum ItemRole : int {
    RowKindRole = Qt::UserRole + 32, // RowKind of the row the index is in
    GroupLevelRole,                  // group rows: 0 for the outermost groups
    GroupTextRole,                   // group rows: the header or footer text
    SourceRowRole,                   // record rows: the row in the table model
    GroupCollapsedRole,              // group header rows: bool, settable
};

enum class RowKind : int {
    Record = 0,
    GroupHeader = 1,
    GroupFooter = 2,
    NewRecord = 3, // the always-present row that appends a record when typed into
};

} // namespace GridRoles

} // namespace Ledgerly
