#pragma once

#include <QString>

namespace Ledgerly {

// Column data type codes (the variant numbers the column set-up speaks in).
enum ColumnDataType : int {
    DataInteger = 3,
    DataDate = 7,
    DataText = 8,
    DataBoolean = 11,
    DataPicture = 65,
};

// Display type codes of a column's style.
enum ColumnDisplayType : int {
    DisplayText = 0,
    DisplayPicture = 2, // together with pictureCode 4
    DisplayDate = 7,
    DisplayCheckBox = 11,
};

// The record-number column's width after column set-up, grouped or not.
inline constexpr double RecordNumberColumnWidth = 800;

// One column of the table. Column 0 is the record-number column; column i
// (from 1) shows field i of the open database and is keyed by its name.
struct GridColumn
{
    QString key;
    QString caption;
    bool hidden = false;
    double widthTwips = 1200;
    int dataType = DataText;
    int displayType = DisplayText;
    int pictureCode = 0;
};

} // namespace Ledgerly
