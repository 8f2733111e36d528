#pragma once

#include "ColumnKind.h"

#include <QString>

namespace Ledgerly {

// The data type codes a column reports (DataTypeRole): what its values are
// to a reader of numbers. They follow from the kind; grouping reports a
// totalled text column as a number column while the table is grouped.
enum ColumnDataType : int {
    DataInteger = 3,
    DataDate = 7,
    DataText = 8,
    DataBoolean = 11,
    DataPicture = 65,
};

constexpr int dataTypeFor(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::YesNo:
        return DataBoolean;
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::DateTime:
        return DataDate;
    case ColumnKind::Picture:
        return DataPicture;
    case ColumnKind::Text:
    case ColumnKind::Other:
        break;
    }
    return DataText;
}

// The record-number column's width wherever the table is shown; the other
// columns' widths are the view's own business.
inline constexpr double RecordNumberColumnTwips = 800;

// One field column of the table (column i, from 1, shows field i of the
// open database and is keyed by its name). Everything here is fixed when the
// database loads; captions and roles change only when the schema does.
struct GridColumn
{
    QString key;
    QString caption;
    ColumnKind kind = ColumnKind::Text;
    FieldRole role = FieldRole::Shown;
};

} // namespace Ledgerly
