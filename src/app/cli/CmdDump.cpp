#include "CliCommand.h"

#include "common/Windows1252.h"
#include "database/FieldType.h"
#include "database/RecordServer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace Ledgerly::Cli {

namespace {

// One JSON value in compact form. QJsonDocument only serialises containers,
// so the value is wrapped in an array and the brackets are dropped.
QString json(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
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

void appendTwo(QString &out, int n)
{
    out += QChar(u'0' + n / 10);
    out += QChar(u'0' + n % 10);
}

// Text as the JSON serialiser writes it: quotes, backslashes and control
// characters escaped, everything else as it is. False (and nothing added)
// for text with surrogates, which the serialiser handles.
bool appendJsonString(QString &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    out += QLatin1Char('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != u'"' && u != u'\\') {
            if (c.isSurrogate()) {
                out.truncate(start);
                return false;
            }
            out += c;
            continue;
        }
        out += QLatin1Char('\\');
        switch (u) {
        case u'"':
        case u'\\':
            out += c;
            break;
        case u'\b':
            out += QLatin1Char('b');
            break;
        case u'\f':
            out += QLatin1Char('f');
            break;
        case u'\n':
            out += QLatin1Char('n');
            break;
        case u'\r':
            out += QLatin1Char('r');
            break;
        case u'\t':
            out += QLatin1Char('t');
            break;
        default:
            out += QLatin1String("u00");
            out += QLatin1Char(hex[u >> 4]);
            out += QLatin1Char(hex[u & 0xf]);
        }
    }
    out += QLatin1Char('"');
    return true;
}

// The common values written straight into the line, byte for byte what the
// JSON serialiser writes for them; anything else goes through it. A
// database holds tens of thousands of records: the serialiser's per-value
// containers and the date formatter's locale work were most of the time.
void appendValue(QString &out, const QVariant &value, int type)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        out += QLatin1String("null");
        return;
    case QMetaType::Bool:
        out += value.toBool() ? QLatin1String("true") : QLatin1String("false");
        return;
    case QMetaType::QString:
        if (appendJsonString(out, *static_cast<const QString *>(value.constData())))
            return;
        break;
    case QMetaType::QDateTime: {
        const QDateTime t = value.toDateTime();
        const QDate d = t.date();
        const QTime time = t.time();
        if (!d.isValid() || !time.isValid() || d.year() < 1 || d.year() > 9999)
            break;
        out += QLatin1Char('"');
        out += QString::number(d.year()).rightJustified(4, u'0');
        out += QLatin1Char('-');
        appendTwo(out, d.month());
        out += QLatin1Char('-');
        appendTwo(out, d.day());
        out += QLatin1Char('T');
        appendTwo(out, time.hour());
        out += QLatin1Char(':');
        appendTwo(out, time.minute());
        out += QLatin1Char(':');
        appendTwo(out, time.second());
        out += QLatin1Char('"');
        return;
    }
    default:
        break;
    }
    out += json(dumpValue(value, type));
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
    QString line;
    for (int r = 0; r < table.RecordCount(); ++r) {
        line = QLatin1String(r ? ",\n    [" : "\n    [");
        const QList<QVariant> values = table.Record(r).values();
        for (int f = 0; f < fields.Count(); ++f) {
            if (f)
                line += QLatin1Char(',');
            appendValue(line, values.value(f), fields.Item(f).Type);
        }
        line += QLatin1Char(']');
        out << line;
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
