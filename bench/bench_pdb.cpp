// Times reading and writing a database of the largest size the program's
// loops handle (32,767 records) with 20 fields of mixed kinds.
#include "database/FieldType.h"
#include "database/PdbDatabase.h"

#include <QElapsedTimer>
#include <QTextStream>

using namespace Ledgerly;

namespace {

std::unique_ptr<PdbDatabase> makeDatabase(int records)
{
    auto db = std::make_unique<PdbDatabase>();
    const int types[] = {FieldText, FieldText, FieldText, FieldYesNo, FieldDate};
    for (int f = 0; f < 20; ++f)
        db->Table().AddField(QStringLiteral("Field %1").arg(f), types[f % 5]);
    db->Table().reserveRecords(records);
    const QDateTime day(QDate(2024, 3, 1), QTime(0, 0), Qt::UTC);
    for (int r = 0; r < records; ++r) {
        PdbRecord &rec = db->Table().AddRecord();
        for (int f = 0; f < 20; ++f) {
            switch (types[f % 5]) {
            case FieldText:
                rec.setValue(f, QStringLiteral("Value %1 of record %2 – café").arg(f).arg(r));
                break;
            case FieldYesNo:
                rec.setValue(f, r % 2 == 0);
                break;
            default:
                rec.setValue(f, day.addDays(r % 4000));
                break;
            }
        }
    }
    return db;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    QElapsedTimer timer;
    timer.start();
    const auto db = makeDatabase(32767);
    out << "build 32767 x 20 in memory: " << timer.elapsed() << " ms\n";

    timer.restart();
    const QByteArray bytes = db->toBytes(QStringLiteral("Bench"));
    out << "write " << bytes.size() << " bytes: " << timer.elapsed() << " ms\n";

    timer.restart();
    const auto back = PdbDatabase::fromBytes(bytes);
    out << "read " << back->Table().RecordCount() << " records: " << timer.elapsed() << " ms\n";
    return back->Table().RecordCount() == 32767 ? 0 : 1;
}
