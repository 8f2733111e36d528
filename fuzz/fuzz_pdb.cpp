// Feeds arbitrary bytes to the database reader. Whatever it accepts must
// survive a write and a second read unchanged, and the stored bytes a text
// field gives for searching must be the text it reads as.
#include "common/Windows1252.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"

#include <cstdint>
#include <cstdlib>

using namespace Ledgerly;

namespace {

bool sameContent(const PdbDatabase &a, const PdbDatabase &b)
{
    if (a.Fields().Count() != b.Fields().Count() ||
        a.Table().RecordCount() != b.Table().RecordCount())
        return false;
    for (int f = 0; f < a.Fields().Count(); ++f)
        if (a.Fields().Item(f).Name != b.Fields().Item(f).Name ||
            a.Fields().Item(f).Type != b.Fields().Item(f).Type)
            return false;
    for (int r = 0; r < a.Table().RecordCount(); ++r)
        for (int f = 0; f < a.Fields().Count(); ++f)
            if (a.Table().Record(r).value(f) != b.Table().Record(r).value(f))
                return false;
    return true;
}

bool storedTextReadsAsValue(const PdbDatabase &db)
{
    for (int r = 0; r < db.Table().RecordCount(); ++r) {
        const PdbRecord &record = db.Table().Record(r);
        for (int f = 0; f < db.Fields().Count(); ++f) {
            QByteArrayView bytes;
            if (record.storedText(f, &bytes) &&
                Windows1252::decode(bytes.toByteArray()) != record.value(f).toString())
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    std::unique_ptr<PdbDatabase> db;
    try {
        db = PdbDatabase::fromBytes(bytes);
    } catch (const PdbError &) {
        return 0;
    }
    if (!storedTextReadsAsValue(*db))
        abort();
    try {
        const auto again = PdbDatabase::fromBytes(db->toBytes(QStringLiteral("Fuzz")));
        if (!sameContent(*db, *again))
            abort();
    } catch (const PdbError &) {
        abort(); // everything the reader accepts must be writable and readable again
    }
    return 0;
}
