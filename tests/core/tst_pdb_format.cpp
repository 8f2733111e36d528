#include "TestValues.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/PdbTime.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

QByteArray readFixture(const QString &name)
{
    QFile f(QStringLiteral(LEDGERLY_TEST_DATA "/pdb/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture missing");
    return f.readAll();
}

// Fields, values and record IDs of two databases must agree.
void compareDatabases(const PdbDatabase &a, const PdbDatabase &b)
{
    QCOMPARE(b.Fields().Count(), a.Fields().Count());
    for (int f = 0; f < a.Fields().Count(); ++f) {
        QCOMPARE(b.Fields().Item(f).Name, a.Fields().Item(f).Name);
        QCOMPARE(b.Fields().Item(f).Type, a.Fields().Item(f).Type);
    }
    QCOMPARE(b.Table().RecordCount(), a.Table().RecordCount());
    for (int r = 0; r < a.Table().RecordCount(); ++r) {
        QCOMPARE(b.Table().Record(r).uniqueId(), a.Table().Record(r).uniqueId());
        for (int f = 0; f < a.Fields().Count(); ++f)
            QCOMPARE(b.Table().Record(r).value(f), a.Table().Record(r).value(f));
    }
}

} // namespace

class TestPdbFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- reading a file written independently of our writer
    void readsEveryTypeFromFixture();
    void fixtureSurvivesRewrite();
    void rewriteMatchesFixtureBytes();

    // --- one value of each kind through write and read
    void valueRoundTrip_data();
    void valueRoundTrip();
    void shortRecordReadsNullForMissingFields();
    void fieldAddedAfterRecordsReadsNull();
    void largestRecordCountRoundTrips();

    // --- header facts across rewrites
    void newDatabaseHeader();
    void rewriteKeepsHeaderAndIds();
    void headerNameFromStem_data();
    void headerNameFromStem();
    void duplicateAndMissingIdsGetFreshOnes();
    void exhaustedSeedReusesFreeIds();

    // --- the wall-clock time convention
    void timeConversion_data();
    void timeConversion();
    void timeOutOfRange_data();
    void timeOutOfRange();
    void zonedTimeKeepsItsReading();

    // --- object model details
    void recordFieldsByName();
};

void TestPdbFormat::readsEveryTypeFromFixture()
{
    const auto db = PdbDatabase::fromBytes(readFixture(QStringLiteral("every-type.pdb")));
    QCOMPARE(db->header().name, QByteArray("EveryType"));
    QCOMPARE(db->header().creationTime, 100u);
    QCOMPARE(db->header().modificationTime, 200u);
    QCOMPARE(db->header().backupTime, 300u);
    QCOMPARE(db->header().modificationNumber, 7u);
    QCOMPARE(db->header().uniqueIdSeed, 13u);
    const QStringList names = {u"Name"_qs,  u"Paid"_qs,  u"Date"_qs, u"Time"_qs,
                               u"Photo"_qs, u"Stamp"_qs, u"Blob"_qs};
    const QList<int> types = {0, 1, 2, 3, 5, 6, 9};
    QCOMPARE(db->Fields().Count(), 7);
    for (int f = 0; f < 7; ++f) {
        QCOMPARE(db->Fields().Item(f).Name, names.at(f));
        QCOMPARE(db->Fields().Item(f).Type, types.at(f));
    }
    QCOMPARE(db->Table().RecordCount(), 3);
    const PdbRecord &r1 = db->Table().Record(0);
    QCOMPARE(r1.uniqueId(), 5u);
    QCOMPARE(r1.value(0), QVariant(QStringLiteral("Café €5")));
    QCOMPARE(r1.value(1), QVariant(true));
    QCOMPARE(r1.value(2), QVariant(wall(1969, 7, 20)));
    QCOMPARE(r1.value(3), QVariant(PdbTime::timeOfDay(QTime(13, 45, 10))));
    QByteArray bmp("BM");
    for (int i = 0; i < 40; ++i)
        bmp.append(char(i));
    QCOMPARE(r1.value(4), QVariant(bmp));
    QCOMPARE(r1.value(5), QVariant(wall(2039, 12, 31, 23, 59, 59)));
    QCOMPARE(r1.value(6), QVariant(QByteArray("\x01\x02\x03")));
    for (int f = 0; f < 7; ++f)
        QVERIFY2(!db->Table().Record(1).value(f).isValid(), qPrintable(names.at(f)));
    const PdbRecord &r3 = db->Table().Record(2);
    QCOMPARE(r3.uniqueId(), 12u);
    QCOMPARE(r3.value(0), QVariant(QString(u""_qs)));
    QVERIFY(r3.value(0).isValid());
    QCOMPARE(r3.value(1), QVariant(false));
    QVERIFY(!r3.value(2).isValid());
}

void TestPdbFormat::fixtureSurvivesRewrite()
{
    const auto db = PdbDatabase::fromBytes(readFixture(QStringLiteral("every-type.pdb")));
    const auto again = PdbDatabase::fromBytes(db->toBytes(QStringLiteral("EveryType")));
    compareDatabases(*db, *again);
    QCOMPARE(again->header().creationTime, 100u);
    QCOMPARE(again->header().backupTime, 300u);
    QCOMPARE(again->header().modificationNumber, 8u);
    QCOMPARE(again->header().uniqueIdSeed, 13u);
}

void TestPdbFormat::rewriteMatchesFixtureBytes()
{
    // Our writer lays out the same database byte for byte like the
    // independently written fixture; only the modification time and number move.
    const QByteArray original = readFixture(QStringLiteral("every-type.pdb"));
    const QByteArray rewritten =
        PdbDatabase::fromBytes(original)->toBytes(QStringLiteral("EveryType"));
    QCOMPARE(rewritten.left(40), original.left(40));
    QCOMPARE(rewritten.mid(44, 4), original.mid(44, 4));
    QCOMPARE(rewritten.mid(48, 4), QByteArray("\x00\x00\x00\x08", 4));
    QCOMPARE(rewritten.left(original.size()).mid(52), original.mid(52));
    // The fixture's last record stops after two fields; we write the other
    // five as explicit "no value" lengths.
    QCOMPARE(rewritten.mid(original.size()), QByteArray(10, '\xff'));
}

void TestPdbFormat::valueRoundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");

    const QString accents = QStringLiteral("é€ œ ‰ “quoted” ÿ");
    QTest::newRow("plain text") << 0 << QVariant(u"Fuel"_qs) << QVariant(u"Fuel"_qs);
    QTest::newRow("text with é€ and other 1252 marks")
        << 0 << QVariant(accents) << QVariant(accents);
    QTest::newRow("empty text stays empty, not null") << 0 << QVariant(u""_qs) << QVariant(u""_qs);
    QTest::newRow("null text") << 0 << QVariant() << QVariant();
    QTest::newRow("number into text") << 0 << QVariant(42) << QVariant(u"42"_qs);
    QTest::newRow("yes") << 1 << QVariant(true) << QVariant(true);
    QTest::newRow("no") << 1 << QVariant(false) << QVariant(false);
    QTest::newRow("yes as -1") << 1 << QVariant(-1) << QVariant(true);
    QTest::newRow("no as 0") << 1 << QVariant(0) << QVariant(false);
    QTest::newRow("yes as text True") << 1 << QVariant(u"True"_qs) << QVariant(true);
    QTest::newRow("null yes/no") << 1 << QVariant() << QVariant();
    QTest::newRow("date before 1970")
        << 2 << QVariant(wall(1955, 3, 1)) << QVariant(wall(1955, 3, 1));
    QTest::newRow("date in 2039") << 2 << QVariant(wall(2039, 6, 30))
                                  << QVariant(wall(2039, 6, 30));
    QTest::newRow("date given as QDate")
        << 2 << QVariant(QDate(2024, 2, 29)) << QVariant(wall(2024, 2, 29));
    QTest::newRow("first second of the epoch")
        << 2 << QVariant(wall(1904, 1, 1)) << QVariant(wall(1904, 1, 1));
    QTest::newRow("last second of the range")
        << 6 << QVariant(wall(2040, 2, 6, 6, 28, 15)) << QVariant(wall(2040, 2, 6, 6, 28, 15));
    QTest::newRow("time of day") << 3 << QVariant(PdbTime::timeOfDay(QTime(7, 30, 5)))
                                 << QVariant(PdbTime::timeOfDay(QTime(7, 30, 5)));
    QTest::newRow("time given as QTime")
        << 3 << QVariant(QTime(23, 59, 59)) << QVariant(PdbTime::timeOfDay(QTime(23, 59, 59)));
    QTest::newRow("date and time kind 6")
        << 6 << QVariant(wall(2001, 9, 8, 17, 46, 40)) << QVariant(wall(2001, 9, 8, 17, 46, 40));
    QTest::newRow("null date") << 2 << QVariant() << QVariant();
    const QByteArray bmp = QByteArray("BM") + QByteArray(300, '\x7f');
    QTest::newRow("picture bytes") << 5 << QVariant(bmp) << QVariant(bmp);
    QTest::newRow("empty picture") << 5 << QVariant(QByteArray("")) << QVariant(QByteArray(""));
    QTest::newRow("null picture") << 5 << QVariant() << QVariant();
    QTest::newRow("opaque type 9 bytes")
        << 9 << QVariant(QByteArray("\x00\xff\x10", 3)) << QVariant(QByteArray("\x00\xff\x10", 3));
    QTest::newRow("opaque value of the largest size")
        << 200 << QVariant(QByteArray(65534, 'x')) << QVariant(QByteArray(65534, 'x'));
}

void TestPdbFormat::valueRoundTrip()
{
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("Before"), FieldText);
    db.Table().AddField(QStringLiteral("Value"), type);
    PdbRecord &rec = db.Table().AddRecord();
    rec.setValue(0, QStringLiteral("x"));
    rec.setValue(1, value);
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("RoundTrip")));
    QCOMPARE(back->Table().RecordCount(), 1);
    QCOMPARE(back->Fields().Item(1).Type, type);
    QCOMPARE(back->Table().Record(0).value(1), expected);
    QCOMPARE(back->Table().Record(0).value(1).isValid(), expected.isValid());
    QCOMPARE(back->Table().Record(0).value(0), QVariant(u"x"_qs));
}

void TestPdbFormat::shortRecordReadsNullForMissingFields()
{
    const auto db = PdbDatabase::fromBytes(readFixture(QStringLiteral("every-type.pdb")));
    const PdbRecord &third = db->Table().Record(2);
    for (int f = 2; f < 7; ++f)
        QVERIFY(!third.value(f).isValid());
}

void TestPdbFormat::fieldAddedAfterRecordsReadsNull()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.Table().AddRecord().setValue(0, QStringLiteral("one"));
    db.Table().AddField(QStringLiteral("Paid"), FieldYesNo);
    QVERIFY(!db.Table().Record(0).value(1).isValid());
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("X")));
    QCOMPARE(back->Fields().Count(), 2);
    QVERIFY(!back->Table().Record(0).value(1).isValid());
    QCOMPARE(back->Table().Record(0).value(0), QVariant(u"one"_qs));
}

void TestPdbFormat::largestRecordCountRoundTrips()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("N"), FieldYesNo);
    db.Table().reserveRecords(65535);
    for (int i = 0; i < 65535; ++i)
        db.Table().AddRecord().setValue(0, i % 3 == 0);
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("Big")));
    QCOMPARE(back->Table().RecordCount(), 65535);
    QCOMPARE(back->Table().Record(65532).value(0), QVariant(true));
    QCOMPARE(back->Table().Record(65534).value(0), QVariant(false));
    QCOMPARE(back->Table().Record(65534).uniqueId(), 65535u);

    db.Table().AddRecord();
    try {
        db.toBytes(QStringLiteral("Big"));
        QFAIL("65536 records were written");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrInvalidValue));
    }
}

void TestPdbFormat::newDatabaseHeader()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.Table().AddRecord();
    db.Table().AddRecord();
    quint32 before = 0;
    QVERIFY(PdbTime::toSeconds(PdbTime::now(), &before));
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("Fresh")));
    QCOMPARE(back->header().name, QByteArray("Fresh"));
    QVERIFY(back->header().creationTime >= before && back->header().creationTime <= before + 5);
    QCOMPARE(back->header().modificationTime, back->header().creationTime);
    QCOMPARE(back->header().backupTime, 0u);
    QCOMPARE(back->header().modificationNumber, 1u);
    QCOMPARE(back->Table().Record(0).uniqueId(), 1u);
    QCOMPARE(back->Table().Record(1).uniqueId(), 2u);
    QCOMPARE(back->header().uniqueIdSeed, 3u);
}

void TestPdbFormat::rewriteKeepsHeaderAndIds()
{
    auto db = PdbDatabase::fromBytes(readFixture(QStringLiteral("every-type.pdb")));
    db->Table().AddRecord().setValue(0, QStringLiteral("new"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Renamed.pdb"));
    db->SaveAs(path);
    db->SaveAs(path); // the object remembers the first write
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const auto back = PdbDatabase::fromBytes(f.readAll());
    QCOMPARE(back->header().name, QByteArray("Renamed"));
    QCOMPARE(back->header().creationTime, 100u);
    QCOMPARE(back->header().backupTime, 300u);
    QCOMPARE(back->header().modificationNumber, 9u);
    quint32 now = 0;
    PdbTime::toSeconds(PdbTime::now(), &now);
    QVERIFY(back->header().modificationTime + 5 >= now && back->header().modificationTime <= now);
    QList<quint32> ids;
    for (int r = 0; r < back->Table().RecordCount(); ++r)
        ids.append(back->Table().Record(r).uniqueId());
    QCOMPARE(ids, (QList<quint32>{5, 9, 12, 13}));
    QCOMPARE(back->header().uniqueIdSeed, 14u);
    QCOMPARE(db->Table().Record(3).uniqueId(), 13u);
}

void TestPdbFormat::headerNameFromStem_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("short") << u"Expenses"_qs << QByteArray("Expenses");
    QTest::newRow("cut to 31 bytes") << QString(40, u'a') << QByteArray(31, 'a');
    QTest::newRow("1252 letters kept") << u"Café"_qs << QByteArray("Caf\xe9");
    QTest::newRow("foreign letters replaced") << u"日記"_qs << QByteArray("??");
}

void TestPdbFormat::headerNameFromStem()
{
    QFETCH(QString, stem);
    QFETCH(QByteArray, stored);
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    QCOMPARE(PdbDatabase::fromBytes(db.toBytes(stem))->header().name, stored);
}

void TestPdbFormat::duplicateAndMissingIdsGetFreshOnes()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.header().uniqueIdSeed = 3;
    for (quint32 id : {7u, 7u, 0u, 2u})
        db.Table().AddRecord().setUniqueId(id);
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("Ids")));
    QList<quint32> ids;
    for (int r = 0; r < 4; ++r)
        ids.append(back->Table().Record(r).uniqueId());
    QCOMPARE(ids, (QList<quint32>{7, 8, 9, 2}));
    QCOMPARE(back->header().uniqueIdSeed, 10u);
}

void TestPdbFormat::exhaustedSeedReusesFreeIds()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.Table().AddRecord().setUniqueId(0xFFFFFF);
    db.Table().AddRecord().setUniqueId(1);
    db.Table().AddRecord();
    const auto back = PdbDatabase::fromBytes(db.toBytes(QStringLiteral("Ids")));
    QCOMPARE(back->Table().Record(0).uniqueId(), 0xFFFFFFu);
    QCOMPARE(back->Table().Record(2).uniqueId(), 2u);
}

void TestPdbFormat::timeConversion_data()
{
    QTest::addColumn<quint32>("seconds");
    QTest::addColumn<QDateTime>("reading");
    QTest::newRow("epoch") << 0u << wall(1904, 1, 1);
    QTest::newRow("one day and a second") << 86401u << wall(1904, 1, 2, 0, 0, 1);
    QTest::newRow("unix epoch") << 2082844800u << wall(1970, 1, 1);
    QTest::newRow("last second") << 0xFFFFFFFFu << wall(2040, 2, 6, 6, 28, 15);
}

void TestPdbFormat::timeConversion()
{
    QFETCH(quint32, seconds);
    QFETCH(QDateTime, reading);
    QCOMPARE(PdbTime::fromSeconds(seconds), reading);
    quint32 back = 1;
    QVERIFY(PdbTime::toSeconds(reading, &back));
    QCOMPARE(back, seconds);
}

void TestPdbFormat::timeOutOfRange_data()
{
    QTest::addColumn<QDateTime>("reading");
    QTest::newRow("a second before the epoch") << wall(1903, 12, 31, 23, 59, 59);
    QTest::newRow("a second after the last") << wall(2040, 2, 6, 6, 28, 16);
    QTest::newRow("invalid") << QDateTime();
}

void TestPdbFormat::timeOutOfRange()
{
    QFETCH(QDateTime, reading);
    quint32 seconds = 0;
    QVERIFY(!PdbTime::toSeconds(reading, &seconds));
}

void TestPdbFormat::zonedTimeKeepsItsReading()
{
    // A local time in a daylight-saving zone is stored as it reads on the clock.
    const QDateTime local(QDate(2024, 7, 1), QTime(12, 0), Qt::LocalTime);
    quint32 a = 0;
    quint32 b = 0;
    QVERIFY(PdbTime::toSeconds(local, &a));
    QVERIFY(PdbTime::toSeconds(wall(2024, 7, 1, 12), &b));
    QCOMPARE(a, b);
}

void TestPdbFormat::recordFieldsByName()
{
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("Amount"), FieldText);
    PdbRecord &rec = db.Table().AddRecord();
    QVERIFY(rec.setValue(QStringLiteral("AMOUNT"), QStringLiteral("12")));
    QCOMPARE(rec.value(QStringLiteral("amount")), QVariant(u"12"_qs));
    QVERIFY(!rec.setValue(QStringLiteral("Missing"), QStringLiteral("x")));
    QVERIFY(!rec.value(QStringLiteral("Missing")).isValid());
    QVERIFY(db.Fields().Exists(QStringLiteral("aMoUnT")));
    QCOMPARE(db.Fields().indexOf(QStringLiteral("nope")), -1);
}

QTEST_GUILESS_MAIN(TestPdbFormat)
#include "tst_pdb_format.moc"
