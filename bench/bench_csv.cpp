// Times a CSV export of the largest table the program's loops handle (32,767
// records) with 20 fields of mixed kinds through the window's procedure (read
// the stored file, lay out, write), and the import of it.
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "common/Prompter.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Ledgerly;

namespace {

constexpr int kRecords = 32767;
constexpr int kFields = 20;
const int kTypes[] = {FieldText, FieldText, FieldYesNo, FieldDate, FieldTime};

QString fieldName(int f)
{
    return QStringLiteral("Field%1").arg(f);
}

void fill(PdbTable &table)
{
    for (int f = 0; f < kFields; ++f)
        table.AddField(fieldName(f), kTypes[f % 5]);
    table.reserveRecords(kRecords);
    const QDateTime day(QDate(1999, 3, 1), QTime(0, 0), Qt::UTC);
    const QDateTime time(QDate(1904, 1, 1), QTime(0, 0), Qt::UTC);
    for (int r = 0; r < kRecords; ++r) {
        PdbRecord &record = table.AddRecord();
        for (int f = 0; f < kFields; ++f) {
            switch (kTypes[f % 5]) {
            case FieldText:
                record.setValue(f, f % 10 == 0
                                       ? QString::number(r * 7)
                                       : QStringLiteral("Value %1, \"r\" %2").arg(f).arg(r));
                break;
            case FieldYesNo:
                record.setValue(f, r % 2 == 0);
                break;
            case FieldDate:
                record.setValue(f, day.addSecs(qint64(r) * 3607));
                break;
            default:
                record.setValue(f, time.addSecs(r % 86400));
                break;
            }
        }
    }
}

// Answers every message with OK and records nothing: the benchmark only times.
class SilentPrompter : public Prompter
{
public:
    int message(const QString &, Buttons, Icon, const QString &) override { return Ok; }
    QString fileName(const FileRequest &) override { return {}; }
    void chooseUser(UserChoice &choice) override { choice.Accepted = false; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QElapsedTimer timer;

    PdbDatabase database;
    fill(database.Table());
    QStringList names;
    for (int f = 0; f < kFields; ++f)
        names.append(fieldName(f));

    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    QFile schema(program + QStringLiteral("/QuayDB.ini"));
    if (!schema.open(QIODevice::WriteOnly))
        return 1;
    QByteArray ini = "[Bench]\r\nDatabasename=Bench\r\n";
    for (const QString &name : names)
        ini += name.toLatin1() + '=' + name.toLatin1() + "\r\n";
    for (const QString &name : names)
        ini += name.toLatin1() + "Hide=False\r\n";
    schema.write(ini);
    schema.close();

    RecordServer server(dir.filePath(QStringLiteral("home")));
    server.addUser(QStringLiteral("Bench"), {}, false, true);
    database.SaveAs(server.GetUserFolder(QStringLiteral("Bench")) + QStringLiteral("/Bench.pdb"));
    QSettingsStore settings(dir.filePath(QStringLiteral("settings")));
    SilentPrompter prompter;
    FileRegistry registry(dir.filePath(QStringLiteral("registry.json")));
    ProcessLauncher launcher;
    MainController controller({server, settings, prompter, registry, launcher});
    controller.state().ProgramFolder = program;
    controller.users().useUser(QStringLiteral("Bench"));
    controller.BuildCatalogue();
    controller.openSection(0);

    const QString csv = dir.filePath(QStringLiteral("bench.csv"));
    timer.start();
    const CsvOutcome exported = controller.exportCsv(csv);
    out << "ExportCsv (read the stored file, lay out, write): " << timer.elapsed() << " ms, "
        << exported.recordLines << " record lines\n";

    timer.restart();
    const CsvOutcome imported = controller.importCsv(csv);
    out << "ImportCsv (read, parse, fill the table): " << timer.elapsed() << " ms, "
        << imported.recordLines << " rows\n";
    return exported.ok && imported.ok ? 0 : 1;
}
