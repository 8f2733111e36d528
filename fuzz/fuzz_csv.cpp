// libFuzzer target for the CSV import: any bytes must decode, split into
// records and land in table rows without crashing or reading outside the
// text, and a parse must never produce more text than it was given.
#include "database/FieldType.h"
#include "database/PdbFieldList.h"
#include "document/FieldColumns.h"
#include "exchange/CsvImporter.h"
#include "exchange/CsvReader.h"
#include "grid/GridModel.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace Ledgerly;

namespace {

// A table with one column of every kind that reads cells without touching
// the disk (picture cells name files, which a fuzzer should not go looking
// for).
struct Table
{
    GridModel grid;
    PdbFieldList fields;

    Table()
    {
        const struct
        {
            const char *name;
            int type;
        } columns[] = {{"Note", FieldText},
                       {"Done", FieldYesNo},
                       {"When", FieldDate},
                       {"At", FieldTime},
                       {"Stamp", FieldDateTime}};
        grid.addColumn();
        for (const auto &c : columns) {
            GridColumn column;
            column.key = QString::fromLatin1(c.name);
            column.kind = FieldColumns::kindFor(c.type);
            grid.addColumn(column);
            fields.append(PdbField{column.key, c.type});
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Table table;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = CsvReader::decode(bytes);

    CsvReader reader(text);
    CsvReader::Record record;
    qsizetype characters = 0;
    qsizetype records = 0;
    while (reader.readRecord(record)) {
        if (record.isEmpty())
            std::abort();
        for (const CsvReader::Cell &cell : record)
            characters += cell.text.size();
        if (++records > text.size())
            std::abort(); // every record consumes at least one character
    }
    if (characters > text.size())
        std::abort();

    CsvImporter importer(table.grid, table.fields, CsvRegionalFormat(QLocale::c()));
    if (importer.read(text) == CsvImporter::Status::Ok) {
        for (const GridRow &row : importer.rows())
            if (row.cells.size() != table.grid.columnCount())
                std::abort();
    }
    return 0;
}
