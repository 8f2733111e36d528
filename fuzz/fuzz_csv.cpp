// libFuzzer target for the CSV import: any bytes must split into records and
// become stored records without crashing or reading outside the input; a
// parse must never produce more cell bytes than it was given, and the same
// bytes handed over in pieces must give the same records.
#include "database/FieldType.h"
#include "database/PdbFieldList.h"
#include "document/FieldColumns.h"
#include "exchange/CsvImporter.h"
#include "exchange/CsvReader.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

using namespace Ledgerly;

namespace {

// Fields of every kind that reads cells without touching the disk (picture
// cells name files, which a fuzzer should not go looking for).
PdbFieldList makeFields()
{
    PdbFieldList fields;
    const struct
    {
        const char *name;
        int type;
    } kinds[] = {{"Note", FieldText}, {"Done", FieldYesNo},     {"When", FieldDate},
                 {"At", FieldTime},   {"Stamp", FieldDateTime}, {"Blob", 9}};
    for (const auto &k : kinds)
        fields.append(PdbField{QString::fromLatin1(k.name), k.type});
    return fields;
}

// Every record's cells, joined, for comparing two parses.
QByteArray parse(QByteArrayView text, qsizetype piece)
{
    QByteArray out;
    QByteArray buffer;
    qsizetype fed = 0;
    CsvReader reader(QByteArrayView(), piece <= 0 || text.isEmpty()); // nothing more to come
    if (piece <= 0) {
        buffer = text.toByteArray();
        fed = text.size();
        reader.setText(buffer, true);
    }
    CsvReader::Record record;
    for (;;) {
        const CsvReader::Result result = reader.readRecord(record);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::NeedMore) {
            if (fed >= text.size())
                std::abort(); // a complete text never needs more
            buffer.remove(0, reader.position());
            const qsizetype n = qMin(piece, text.size() - fed);
            buffer.append(text.sliced(fed, n));
            fed += n;
            reader.setText(buffer, fed >= text.size());
            continue;
        }
        if (record.isEmpty())
            std::abort();
        for (const CsvReader::Cell &cell : record) {
            out += cell.bytes.toByteArray();
            out += cell.quoted ? '\1' : '\2';
            out += cell.closed ? '\3' : '\4';
        }
        out += QByteArray::number(reader.recordLine()) + '\n';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const PdbFieldList fields = makeFields();
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    CsvReader reader(bytes);
    CsvReader::Record record;
    qsizetype cellBytes = 0;
    qsizetype records = 0;
    while (reader.readRecord(record) == CsvReader::Result::Record) {
        for (const CsvReader::Cell &cell : record) {
            cellBytes += cell.bytes.size();
            if (cell.offset < 0 || cell.offset > bytes.size())
                std::abort();
        }
        if (++records > bytes.size())
            std::abort(); // every record consumes at least one byte
    }
    if (cellBytes > bytes.size())
        std::abort();
    if (parse(bytes, 0) != parse(bytes, 7))
        std::abort();

    CsvImporter importer(fields, CsvRegionalFormat(QLocale::c()));
    if (importer.read(bytes) == CsvImporter::Status::Ok) {
        for (const PdbRecord &r : importer.takeRecords())
            if (r.storedFieldCount() != fields.Count() || r.values().size() != fields.Count())
                std::abort();
    }
    return 0;
}
