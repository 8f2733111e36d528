// Times a load, column setup and save of a large database through the main
// controller, the way choosing a database in the window does it. Prints the
// times; never decides pass or fail.

#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "common/Prompter.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Ledgerly;

namespace {

class SilentPrompter : public Prompter
{
public:
    int message(const QString &text, Buttons, Icon, const QString &) override
    {
        QTextStream(stderr) << "message: " << text << "\n";
        return Ok;
    }
    QString fileName(const FileRequest &) override { return {}; }
    void chooseUser(UserChoice &) override {}
};

constexpr int Fields = 20;

int fieldType(int f)
{
    static const int types[] = {FieldText, FieldText, FieldYesNo, FieldDate, FieldTime};
    return types[f % 5];
}

QVariant sampleValue(int r, int f)
{
    switch (fieldType(f)) {
    case FieldYesNo:
        return r % 3 == 0;
    case FieldDate:
        return QDateTime(QDate(2000, 1, 1).addDays(r % 9000), QTime(0, 0), Qt::UTC);
    case FieldTime:
        return QDateTime(QDate(1904, 1, 1), QTime(0, 0).addSecs((r * 7) % 86400), Qt::UTC);
    default:
        return QStringLiteral("Record %1 field %2").arg(r).arg(f);
    }
}

// Times one load and save of a database of the given size; prints the times.
void measure(int records)
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/program");
    QDir().mkpath(program);

    RecordServer server(dir.path() + QStringLiteral("/home"));
    server.addUser(QStringLiteral("Bench"));
    const QString folder = server.GetUserFolder(QStringLiteral("Bench"));

    QString schema = QStringLiteral("[Big]\nDatabasename=Big\n");
    for (int f = 0; f < Fields; ++f)
        schema += QStringLiteral("F%1=Field %1\n").arg(f);
    for (int f = 0; f < Fields; ++f)
        schema += QStringLiteral("F%1Hide=%2\n")
                      .arg(f)
                      .arg(f % 4 == 3 ? QStringLiteral("Calc") : QStringLiteral("False"));
    QFile ini(program + QStringLiteral("/QuayDB.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return;
    ini.write(schema.toLatin1());
    ini.close();

    PdbDatabase db;
    for (int f = 0; f < Fields; ++f)
        db.Table().AddField(QStringLiteral("F%1").arg(f), fieldType(f));
    db.Table().reserveRecords(records);
    for (int r = 0; r < records; ++r) {
        PdbRecord &record = db.Table().AddRecord();
        for (int f = 0; f < Fields; ++f)
            record.setValue(f, sampleValue(r, f));
    }
    const QString path = folder + QStringLiteral("/Big.pdb");
    db.SaveAs(path);

    QSettingsStore settings(dir.path() + QStringLiteral("/settings"));
    SilentPrompter prompter;
    FileRegistry registry(dir.path() + QStringLiteral("/registry.json"));
    ProcessLauncher launcher;
    MainController controller({server, settings, prompter, registry, launcher});
    controller.state().ProgramFolder = program;
    controller.state().AppName = QStringLiteral("Bench");
    controller.users().useUser(QStringLiteral("Bench"));
    controller.BuildCatalogue();

    // The record component's own share: one parse and one write of the file.
    QElapsedTimer timer;
    timer.start();
    auto parsed = server.OpenDatabase(path);
    const qint64 parseMs = timer.elapsed();
    timer.restart();
    parsed->SaveAs(dir.path() + QStringLiteral("/copy.pdb"));
    const qint64 writeMs = timer.elapsed();
    // The same without the file: what is left is the disk's (the write is
    // flushed to it before the old file is replaced).
    timer.restart();
    const qsizetype encodedSize = parsed->toBytes(QStringLiteral("copy")).size();
    const qint64 encodeMs = timer.elapsed();
    parsed.reset();

    timer.restart();
    controller.openSection(0); // load + UnHideColumns + HideColumns
    const qint64 loadMs = timer.elapsed();
    timer.restart();
    controller.SaveDatabase();
    const qint64 saveMs = timer.elapsed();

    out << "bench_roundtrip: " << records << " records x " << Fields << " fields, file "
        << QFileInfo(path).size() / 1024 << " KiB\n"
        << "  rows in table:          " << controller.grid().rowCount() << "\n"
        << "  load + column setup:    " << loadMs << " ms\n"
        << "  save:                   " << saveMs << " ms\n"
        << "  total:                  " << loadMs + saveMs << " ms\n"
        << "  of which file parse:    " << parseMs << " ms\n"
        << "  of which file write:    " << writeMs << " ms (encoding " << encodeMs << " ms, "
        << encodedSize / 1024 << " KiB)\n";
    out.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Twice the records should cost at most twice the time.
    measure(32767);
    measure(65535);
    return 0;
}
