// ledgerly-demodata: writes the demo HotSync home that `make run` opens.
// It reads each samples/demo/<Section>.csv, checks its fields against the
// section's caption keys in QuayDB.ini, and saves <Section>.pdb into the
// folder of the HotSync user "Demo User" through the record component.
#include "DemoPictures.h"
#include "DemoTable.h"

#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/PdbTime.h"
#include "database/RecordServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <stdexcept>

using namespace Ledgerly;
using namespace Ledgerly::Demo;

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

// A fixed string hash (FNV-1a), so pictures never depend on the Qt version.
quint32 stableHash(const QString &text)
{
    quint32 h = 2166136261u;
    for (const QChar c : text) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

QVariant toValue(const DemoField &field, const QString &text, quint32 seed)
{
    if (text.isEmpty())
        return {};
    switch (field.type) {
    case FieldText:
        return text;
    case FieldYesNo:
        if (text == QLatin1String("yes") || text == QLatin1String("no"))
            return text == QLatin1String("yes");
        break;
    case FieldDate: {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            return QDateTime(date, QTime(0, 0), Qt::UTC);
        break;
    }
    case FieldTime: {
        const QTime time = QTime::fromString(text, QStringLiteral("HH:mm"));
        if (time.isValid())
            return PdbTime::timeOfDay(time);
        break;
    }
    case FieldDateTime: {
        const QDateTime local = QDateTime::fromString(text, Qt::ISODate);
        if (local.isValid())
            return QDateTime(local.date(), local.time(), Qt::UTC);
        break;
    }
    case FieldPicture:
        return drawDemoPicture(text, seed);
    default:
        return QByteArray::fromHex(text.toLatin1());
    }
    fail(QStringLiteral("\"%1\" is not a value for the %2 field of type %3")
             .arg(text, field.name)
             .arg(field.type));
}

// The CSV's fields must be the section's caption keys, in order: the window
// takes captions and columns from them.
void checkAgainstSchema(const DemoTable &table, const QString &section, const QString &schema)
{
    const QStringList keys = ListIniKeys(schema, section);
    const int declared = schemaFieldCount(int(keys.size()));
    if (declared != table.fields.size())
        fail(QStringLiteral("section [%1] declares %2 fields, the demo data has %3")
                 .arg(section)
                 .arg(declared)
                 .arg(table.fields.size()));
    for (int i = 0; i < declared; ++i) {
        if (keys.at(i + 1).compare(table.fields.at(i).name, Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("field %1 of [%2] is %3 in the schema but %4 in the demo data")
                     .arg(i + 1)
                     .arg(section, keys.at(i + 1), table.fields.at(i).name));
    }
}

void writeDatabase(const QString &csvPath, const QString &schema, const QString &userFolder)
{
    const QString section = QFileInfo(csvPath).completeBaseName();
    const DemoTable table = DemoTable::read(csvPath);
    checkAgainstSchema(table, section, schema);

    PdbDatabase db;
    for (const DemoField &f : table.fields)
        db.Table().AddField(f.name, f.type);
    db.Table().reserveRecords(int(table.rows.size()));
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        PdbRecord &record = db.Table().AddRecord();
        for (qsizetype f = 0; f < table.fields.size(); ++f) {
            const quint32 seed = stableHash(section) ^ quint32(r * 7919 + f);
            try {
                record.setValue(int(f), toValue(table.fields.at(f), table.rows.at(r).at(f), seed));
            } catch (const std::runtime_error &e) {
                fail(QStringLiteral("%1:%2: %3")
                         .arg(csvPath)
                         .arg(table.lines.at(r))
                         .arg(QString::fromStdString(e.what())));
            }
        }
    }
    db.SaveAs(userFolder + u'/' + section + QStringLiteral(".pdb"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    QString demoDir;
    QString schema;
    QString home;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--demo"))
            demoDir = args.at(i + 1);
        else if (args.at(i) == QLatin1String("--schema"))
            schema = args.at(i + 1);
        else if (args.at(i) == QLatin1String("--hotsync-home"))
            home = args.at(i + 1);
    }
    if (demoDir.isEmpty() || schema.isEmpty() || home.isEmpty() || args.size() != 7) {
        err << "Usage: ledgerly-demodata --demo DIR --schema QuayDB.ini --hotsync-home DIR\n";
        return 2;
    }
    try {
        RecordServer server(home);
        const QString user = QStringLiteral("Demo User");
        server.addUser(user, {}, false, true);
        const QString folder = server.GetUserFolder(user);
        const QFileInfoList csvFiles =
            QDir(demoDir).entryInfoList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
        if (csvFiles.isEmpty())
            fail(QStringLiteral("no demo data in %1").arg(demoDir));
        for (const QFileInfo &csv : csvFiles)
            writeDatabase(csv.filePath(), schema, folder);
    } catch (const PdbError &e) {
        err << "ledgerly-demodata: error " << e.number() << ": " << e.message() << "\n";
        return 1;
    } catch (const std::exception &e) {
        err << "ledgerly-demodata: " << QString::fromStdString(e.what()) << "\n";
        return 1;
    }
    return 0;
}
