#pragma once

#include "CsvReader.h"
#include "CsvRegionalFormat.h"
#include "grid/GridModel.h"

namespace Ledgerly {

class PdbFieldList;

// Turns CSV text in the export's layout into table rows: line 1 (captions) is
// skipped, line 2 names the field of each file column, and every later line
// becomes one record row with each cell in the column keyed by that field's
// name. Columns the file lacks stay empty; file columns the table lacks are
// ignored. Blank lines are skipped.
class CsvImporter
{
public:
    enum class Status { Ok, NotExportLayout, TooManyRecords };

    // The most records a database file can hold.
    static constexpr int kMaxRecords = 65535;

    // fields are the database's definitions (their types decide how a cell is
    // read); csvFolder resolves relative bitmap paths.
    CsvImporter(const GridModel &grid, const PdbFieldList &fields,
                const CsvRegionalFormat &format = CsvRegionalFormat(), QString csvFolder = {});

    Status read(QStringView text);
    const QList<GridRow> &rows() const { return m_rows; }
    int matchedColumns() const { return m_matched; }

    // A picture cell names a bitmap file; its exact bytes become the value.
    // Anything that is not a readable bitmap file gives no picture.
    static QVariant readBitmap(const QString &path, const QString &csvFolder = {});

private:
    QVariant cellValue(const CsvReader::Cell &cell, int fieldType) const;
    void mapColumns(const CsvReader::Record &names);

    const GridModel &m_grid;
    const PdbFieldList &m_fields;
    CsvRegionalFormat m_format;
    QString m_folder;
    QList<int> m_columnOf; // file column -> table column (-1: ignored)
    QList<int> m_typeOf;   // file column -> field type code
    QList<GridRow> m_rows;
    int m_matched = 0;
};

} // namespace Ledgerly
