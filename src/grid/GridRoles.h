#pragma once

#include "ColumnKind.h"

#include <QString>
#include <Qt>

class QAbstractItemModel;

namespace Ledgerly {

// The roles every view, delegate, proxy and page renderer reads the table
// through. Nothing above the table model may cast to the concrete model: a
// proxy (grouping, sorting) sits between them and answers the same roles.
namespace GridRoles {

// Horizontal headerData roles: a column's metadata.
enum HeaderRole : int {
    KeyRole = Qt::UserRole + 1, // the field name the column is keyed by
    HiddenRole,                 // bool: the schema hides it (and not every column is shown)
    KindRole,                   // int(ColumnKind), fixed when the database loads
    FieldRoleRole,              // int(FieldRole), the schema's role of the field
    DataTypeRole,               // ColumnDataType code; a proxy may present text as numbers
    HoldsNumbersRole,           // bool: a text column whose values all read as numbers
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

// A column's kind and schema role as a model reports them; a column that
// reports none (the record-number column) is of kind Other.
ColumnKind kindOf(const QAbstractItemModel &model, int column);
FieldRole fieldRoleOf(const QAbstractItemModel &model, int column);
// The field column a name stands for: its key, else its caption (case
// ignored); -1 when none.
int columnNamed(const QAbstractItemModel &model, const QString &name);

} // namespace GridRoles

} // namespace Ledgerly
