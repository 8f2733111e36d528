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
    enum class Status { Ok, NotExportLayout, TooManyRecords, UnreadableCell };

    // The most records a database file can hold.

    // fields are the database's definitions, field i shown in table column
    // i + 1 as the table is built (their types decide how a cell is read);
    // csvFolder resolves relative bitmap paths.
    CsvImporter(const GridModel &grid, const PdbFieldList &fields,
                const CsvRegionalFormat &format = CsvRegionalFormat(), QString csvFolder = {});

    Status read(QStringView text);
    const QList<GridRow> &rows() const { return m_rows; }
    int matchedColumns() const { return m_matched; }
    // After UnreadableCell: the line, field and text of the cell, for a person.
    QString problem() const { return m_problem; }
    // Fields of the database the file has no column for; the import would
    // leave them empty in every record.
    QStringList missingFields() const;

    // A picture cell names a bitmap file; its exact bytes become the value.
    // A file missing at its path is looked for by its name in csvFolder (an
    // export moved with its bitmaps). Anything that is not a readable bitmap
    // file gives a null value.
    static QVariant readBitmap(const QString &path, const QString &csvFolder = {});

private:
    // False when the cell holds text its field cannot take.
    bool cellValue(const CsvReader::Cell &cell, int fieldType, QVariant *out) const;
    void mapColumns(const CsvReader::Record &names);

    const GridModel &m_grid;
    const PdbFieldList &m_fields;
    CsvRegionalFormat m_format;
    QString m_folder;
    QList<int> m_columnOf; // file column -> table column (-1: ignored)
    QList<int> m_typeOf;   // file column -> field type code
    QList<GridRow> m_rows;
    int m_matched = 0;
    QStringList m_names; // file column -> field name as in the file
    QString m_problem;
};

} // namespace Ledgerly
