#include "BenchData.h"

#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbTime.h"

#include <QDateTime>
#include <QStringList>
#include <QtEndian>

namespace Ledgerly::Bench {

namespace {

struct FieldDef
{
    const char *name;
    int type;
};

constexpr FieldDef Fields[BenchFieldCount] = {
    {"Name", FieldText},     {"Company", FieldText},   {"Street", FieldText},
    {"City", FieldText},     {"Phone", FieldText},     {"Email", FieldText},
    {"Note", FieldText},     {"Category", FieldText},  {"Amount", FieldText},
    {"Quantity", FieldText}, {"Paid", FieldYesNo},     {"Active", FieldYesNo},
    {"Due", FieldDate},      {"Created", FieldDate},   {"Start", FieldTime},
    {"Finish", FieldTime},   {"Stamp", FieldDateTime}, {"Modified", FieldDateTime},
    {"Photo", FieldPicture}, {"Code", FieldText},
};

// A fixed generator, so every run and every machine sees the same bytes.
class Lcg
{
public:
    explicit Lcg(quint32 seed)
        : m_state(seed)
    {}
    quint32 next(quint32 bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

private:
    quint32 m_state;
};

const QStringList &words()
{
    static const QStringList list = {
        QStringLiteral("north"),   QStringLiteral("harbour"),  QStringLiteral("café"),
        QStringLiteral("invoice"), QStringLiteral("delivery"), QStringLiteral("Müller"),
        QStringLiteral("green"),   QStringLiteral("quay"),     QStringLiteral("\"special\""),
        QStringLiteral("order,"),  QStringLiteral("Straße"),   QStringLiteral("paid"),
        QStringLiteral("spare"),   QStringLiteral("parts"),    QStringLiteral("naïve"),
        QStringLiteral("return"),
    };
    return list;
}

QString text(Lcg &rng, int minWords, int maxWords)
{
    const int count = minWords + int(rng.next(quint32(maxWords - minWords + 1)));
    QString out;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += rng.next(40) == 0 ? QStringLiteral("\n") : QStringLiteral(" ");
        out += words().at(int(rng.next(quint32(words().size()))));
    }
    return out;
}

// A small 24-bit bitmap file, its pixels drawn from the record number.
QByteArray picture(int record)
{
    const int side = 8;
    const int row = side * 3; // already a multiple of four
    const int pixels = row * side;
    QByteArray bmp(54 + pixels, '\0');
    char *p = bmp.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(side, p + 18);
    qToLittleEndian<qint32>(side, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    qToLittleEndian<quint32>(quint32(pixels), p + 34);
    for (int i = 0; i < pixels; ++i)
        p[54 + i] = char((record * 31 + i * 7) & 0xff);
    return bmp;
}

QVariant value(Lcg &rng, int record, int field)
{
    const QDateTime epoch(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    switch (field) {
    case 0:
        return text(rng, 2, 3);
    case 1:
    case 3:
        return text(rng, 1, 3);
    case 2:
        return QStringLiteral("%1 %2").arg(1 + rng.next(400)).arg(text(rng, 1, 2));
    case 4:
        return QStringLiteral("+49 %1 %2").arg(100 + rng.next(900)).arg(rng.next(10000000));
    case 5:
        return QStringLiteral("user%1@example.org").arg(record);
    case 6:
        return rng.next(4) == 0 ? QVariant() : QVariant(text(rng, 3, 14));
    case 7:
        return words().at(int(rng.next(6)));
    case 8:
        return QStringLiteral("%1.%2").arg(rng.next(5000)).arg(rng.next(100), 2, 10, QChar(u'0'));
    case 9:
        return QString::number(rng.next(250));
    case 10:
    case 11:
        return rng.next(2) == 0;
    case 12:
    case 13:
        return epoch.addDays(rng.next(3650));
    case 14:
    case 15:
        return PdbTime::timeOfDay(QTime(0, 0).addSecs(int(rng.next(1440)) * 60));
    case 16:
    case 17:
        return epoch.addSecs(qint64(rng.next(3650 * 1440)) * 60);
    case 18:
        return record % 1000 == 0 ? QVariant(picture(record)) : QVariant();
    default:
        return QStringLiteral("C-%1").arg(record, 6, 10, QChar(u'0'));
    }
}

} // namespace

QStringList benchFieldNames(bool withPictures)
{
    QStringList names;
    for (const FieldDef &f : Fields)
        if (withPictures || f.type != FieldPicture)
            names.append(QString::fromLatin1(f.name));
    return names;
}

std::unique_ptr<PdbDatabase> makeBenchDatabase(int records, bool withPictures)
{
    auto db = std::make_unique<PdbDatabase>();
    for (const FieldDef &f : Fields)
        if (withPictures || f.type != FieldPicture)
            db->Table().AddField(QString::fromLatin1(f.name), f.type);
    db->Table().reserveRecords(records);
    Lcg rng(20261208u);
    for (int r = 0; r < records; ++r) {
        PdbRecord &record = db->Table().AddRecord();
        int column = 0;
        for (int f = 0; f < BenchFieldCount; ++f) {
            // Every value is drawn, so both variants hold the same other cells.
            const QVariant v = value(rng, r, f);
            if (withPictures || Fields[f].type != FieldPicture)
                record.setValue(column++, v);
        }
    }
    return db;
}

QString benchSchemaSection(const QString &section, bool withPictures)
{
    const QStringList names = benchFieldNames(withPictures);
    QString out = QStringLiteral("[%1]\nDatabasename=%1\n").arg(section);
    for (const QString &name : names)
        out += QStringLiteral("%1=%1\n").arg(name);
    for (const QString &name : names)
        out += QStringLiteral("%1Hide=False\n").arg(name);
    return out + u'\n';
}

QString fillerSchemaSection(int number)
{
    QString out = QStringLiteral("[Ledger%1]\nDatabasename=Ledger number %1\n")
                      .arg(number, 4, 10, QChar(u'0'));
    // Databasename, 60 captions and 59 role keys: 120 keys.
    for (int f = 0; f < 60; ++f)
        out += QStringLiteral("Column%1=Caption of column %1\n").arg(f);
    for (int f = 0; f < 59; ++f)
        out += QStringLiteral("Column%1Hide=False\n").arg(f);
    return out + u'\n';
}

namespace {

QString textFieldName(int f)
{
    return f % 2 == 0 ? QStringLiteral("Words%1").arg(f / 2 + 1)
                      : QStringLiteral("Figure%1").arg(f / 2 + 1);
}

} // namespace

QString textSchemaSection(const QString &section)
{
    QString out = QStringLiteral("[%1]\nDatabasename=%1\n").arg(section);
    for (int f = 0; f < TextFieldCount; ++f)
        out += QStringLiteral("%1=%1\n").arg(textFieldName(f));
    for (int f = 0; f < TextFieldCount; ++f)
        out += QStringLiteral("%1Hide=False\n").arg(textFieldName(f));
    return out + u'\n';
}

QByteArray textBenchCsv(int records)
{
    QString names;
    for (int f = 0; f < TextFieldCount; ++f)
        names += (f ? QStringLiteral(",\"") : QStringLiteral("\"")) + textFieldName(f) +
                 QLatin1Char('"');
    QString out = names + QStringLiteral("\r\n") + names + QStringLiteral("\r\n");
    Lcg rng(20261209u);
    for (int r = 0; r < records; ++r) {
        for (int f = 0; f < TextFieldCount; ++f) {
            if (f)
                out += QLatin1Char(',');
            if (f % 2 == 0) {
                // Quoted as the export writes text, quotes doubled.
                QString value = text(rng, 1, 6);
                value.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                value.replace(QStringLiteral("\n"), QStringLiteral("|\n"));
                out += QLatin1Char('"') + value + QLatin1Char('"');
            } else if (f % 4 == 1) {
                out += QString::number(rng.next(100000));
            } else {
                out += QStringLiteral("%1.%2")
                           .arg(rng.next(100000))
                           .arg(rng.next(100), 2, 10, QChar(u'0'));
            }
        }
        out += QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

} // namespace Ledgerly::Bench
