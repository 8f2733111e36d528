#include "CliCommand.h"

#include "common/Windows1252.h"
#include "database/FieldType.h"
#include "database/RecordServer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Ledgerly::Cli {

namespace {

// One JSON value in compact form. QJsonDocument only serialises containers,
// so the value is wrapped in an array and the brackets are dropped.
QString json(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

QString compact(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QJsonValue dumpValue(const QVariant &value, int type)
{
    if (!value.isValid())
        return QJsonValue(QJsonValue::Null);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QDateTime: {
        const QDateTime t = value.toDateTime();
        return t.date().toString(Qt::ISODate) + QLatin1Char('T') +
               t.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (type == FieldPicture)
            return QJsonObject{
                {QStringLiteral("bytes"), bytes.size()},
                {QStringLiteral("sha256"),
                 QString::fromLatin1(
                     QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}};
        return QJsonObject{{QStringLiteral("hex"), QString::fromLatin1(bytes.toHex())}};
    }
    default:
        return value.toString();
    }
}

int runDump(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("dump takes exactly one file")};
    RecordServer server(ctx.hotSyncHome);
    const auto db = server.OpenDatabase(ctx.arguments.first());
    const PdbFieldList &fields = db->Fields();

    // The top level is written by hand to keep its keys in reading order.
    QTextStream &out = ctx.out;
    out << "{\n  \"name\": " << json(Windows1252::decode(db->header().name)) << ",\n"
        << "  \"type\": \"DATA\",\n  \"creator\": \"SkDB\",\n  \"fields\": [";
    for (int f = 0; f < fields.Count(); ++f) {
        const QJsonObject field{{QStringLiteral("name"), fields.Item(f).Name},
                                {QStringLiteral("type"), fields.Item(f).Type}};
        out << (f ? ",\n    " : "\n    ") << json(field);
    }
    out << (fields.Count() ? "\n  ],\n" : "],\n") << "  \"records\": [";
    const PdbTable &table = db->Table();
    for (int r = 0; r < table.RecordCount(); ++r) {
        QJsonArray values;
        for (int f = 0; f < fields.Count(); ++f)
            values.append(dumpValue(table.Record(r).value(f), fields.Item(f).Type));
        out << (r ? ",\n    " : "\n    ") << compact(values);
    }
    out << (table.RecordCount() ? "\n  ]\n}\n" : "]\n}\n");
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("dump"),
    QStringLiteral("dump FILE.pdb"),
    QStringLiteral(
        "Prints a database as one JSON object with name, type, creator, fields\n"
        "([{\"name\", \"type\"}]) and records (one array of values per record): text\n"
        "as strings, yes/no as true/false, dates and times as \"YYYY-MM-DDTHH:MM:SS\",\n"
        "pictures as {\"bytes\", \"sha256\"}, other kinds as {\"hex\"}, no value as null."),
    {},
    {},
    runDump});

} // namespace

} // namespace Ledgerly::Cli
