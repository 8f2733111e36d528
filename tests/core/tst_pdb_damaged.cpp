#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/PdbRecordStream.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace Ledgerly;

namespace {

void putU16(QByteArray &b, int at, int v)
{
    b[at] = char(v >> 8);
    b[at + 1] = char(v);
}

void putU32(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v >> 24);
    b[at + 1] = char(v >> 16);
    b[at + 2] = char(v >> 8);
    b[at + 3] = char(v);
}

// A sound file laid out by hand so that every place below is known:
// header 0..77, record list 78..93, gap 94..95, field block 96..120
// (Name text, Paid yes/no, When date), record 1 at 121..134, record 2 at 135..148.
constexpr int fieldBlock = 96;
constexpr int firstRecord = 121;
constexpr int secondRecord = 135;

QByteArray soundFile()
{
    QByteArray b(78, '\0');
    b.replace(0, 4, "Test");
    putU16(b, 34, 1);
    putU32(b, 52, fieldBlock);
    b.replace(60, 4, "DATA");
    b.replace(64, 4, "SkDB");
    putU32(b, 68, 3);
    putU16(b, 76, 2);
    QByteArray list(16, '\0');
    putU32(list, 0, firstRecord);
    list[7] = 1;
    putU32(list, 8, secondRecord);
    list[15] = 2;
    b.append(list).append(2, '\0');
    b.append(QByteArray("\x00\x01\x00\x03", 4));
    b.append(QByteArray("\x00\x00\x04Name\x00\x01\x04Paid\x00\x02\x04When", 21));
    for (const char *name : {"Ann", "Bob"}) {
        b.append(QByteArray("\x00\x03", 2)).append(name);
        b.append(QByteArray("\x00\x01\x01", 3));
        b.append(QByteArray("\x00\x04\xb0\x00\x00\x00", 6));
    }
    return b;
}

using Mutation = std::function<void(QByteArray &)>;

// The file read whole, and as the stream the dump and the export read a
// block at a time: both must agree on every file, giving the same error or
// the same fields and records. Throws what the whole-file reader throws.
std::unique_ptr<PdbDatabase> readBoth(const QByteArray &bytes)
{
    std::unique_ptr<PdbDatabase> whole;
    QString wholeError;
    int wholeNumber = 0;
    try {
        whole = PdbDatabase::fromBytes(bytes);
    } catch (const PdbError &e) {
        wholeNumber = e.number();
        wholeError = e.message();
    }
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    PdbRecordStream stream(device, bytes.size());
    QString streamError;
    QStringList streamed;
    try {
        stream.readHead();
        for (int f = 0; f < stream.fields().Count(); ++f)
            streamed.append(stream.fields().Item(f).Name +
                            QString::number(stream.fields().Item(f).Type));
        PdbRecordStream::Record record;
        while (stream.next(&record))
            streamed.append(QString::fromLatin1(record.bytes.toByteArray().toHex()) +
                            QStringLiteral("/%1/%2").arg(record.storedFields).arg(record.uniqueId));
    } catch (const PdbError &e) {
        streamError = e.message();
    }
    QStringList read;
    if (whole) {
        const PdbFieldList &fields = whole->Fields();
        for (int f = 0; f < fields.Count(); ++f)
            read.append(fields.Item(f).Name + QString::number(fields.Item(f).Type));
        for (int r = 0; r < whole->Table().RecordCount(); ++r) {
            const PdbRecord &record = whole->Table().Record(r);
            read.append(
                QString::fromLatin1(record.storedBytes().toByteArray().toHex()) +
                QStringLiteral("/%1/%2").arg(record.storedFieldCount()).arg(record.uniqueId()));
        }
    }
    if (streamError != wholeError || (whole && streamed != read))
        QTest::qFail(qPrintable(QStringLiteral("the stream reads otherwise: \"%1\" / \"%2\"")
                                    .arg(streamError, wholeError)),
                     __FILE__, __LINE__);
    if (!whole)
        throw PdbError(wholeNumber, wholeError);
    return whole;
}

} // namespace

Q_DECLARE_METATYPE(Mutation)

class TestPdbDamaged : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void soundFileReads();
    void damagedFile_data();
    void damagedFile();
    void everyTruncationIsSafe();
    void randomCorruptionIsSafe();
    void hugeCountsCostNoMemory();
    void fuzzSeedsBehave();
    void shortRecordsClaimLittleRoom();
};

void TestPdbDamaged::soundFileReads()
{
    const auto db = readBoth(soundFile());
    QCOMPARE(soundFile().size(), 149);
    QCOMPARE(db->Table().RecordCount(), 2);
    QCOMPARE(db->Table().Record(1).value(0), QVariant(u"Bob"_qs));
    QCOMPARE(db->Table().Record(1).uniqueId(), 2u);
    QCOMPARE(db->Fields().Item(2).Name, u"When"_qs);
}

void TestPdbDamaged::damagedFile_data()
{
    QTest::addColumn<Mutation>("mutate");
    QTest::addColumn<QString>("why");

    QTest::newRow("empty file") << Mutation([](QByteArray &b) { b.clear(); })
                                << u"shorter than a database header"_qs;
    QTest::newRow("shorter than the header")
        << Mutation([](QByteArray &b) { b.truncate(77); }) << u"shorter than a database header"_qs;
    QTest::newRow("type differs") << Mutation([](QByteArray &b) { b.replace(60, 4, "TEXt"); })
                                  << u"not a database of this kind"_qs;
    QTest::newRow("creator differs") << Mutation([](QByteArray &b) { b.replace(64, 4, "memo"); })
                                     << u"not a database of this kind"_qs;
    QTest::newRow("field block missing")
        << Mutation([](QByteArray &b) { putU32(b, 52, 0); }) << u"field block is missing"_qs;
    QTest::newRow("field block empty: first record starts there")
        << Mutation([](QByteArray &b) { putU32(b, 78, fieldBlock); }) << u"field block is empty"_qs;
    // No fields is valid, but then the records' bytes belong to nothing.
    QTest::newRow("field block defines no fields, records hold values")
        << Mutation([](QByteArray &b) { putU16(b, fieldBlock + 2, 0); })
        << u"remain after the last field"_qs;
    QTest::newRow("record list outside the file")
        << Mutation([](QByteArray &b) { putU16(b, 76, 500); }) << u"record list"_qs;
    QTest::newRow("field block outside the file")
        << Mutation([](QByteArray &b) { putU32(b, 52, 5000); }) << u"field block lies outside"_qs;
    QTest::newRow("field block over the record list")
        << Mutation([](QByteArray &b) { putU32(b, 52, 80); }) << u"field block lies outside"_qs;
    QTest::newRow("record outside the file")
        << Mutation([](QByteArray &b) { putU32(b, 86, 9000); }) << u"record 2 lies outside"_qs;
    QTest::newRow("record offsets not ascending")
        << Mutation([](QByteArray &b) { putU32(b, 86, firstRecord - 1); }) << u"not ascending"_qs;
    QTest::newRow("record inside the field block")
        << Mutation([](QByteArray &b) { putU32(b, 78, fieldBlock - 1); })
        << u"record 1 starts before the field block ends"_qs;
    QTest::newRow("field name runs past the field block")
        << Mutation([](QByteArray &b) { b[fieldBlock + 4 + 2] = char(200); })
        << u"runs past the field block"_qs;
    QTest::newRow("field name of length 0")
        << Mutation([](QByteArray &b) { b[fieldBlock + 4 + 2] = 0; }) << u"empty name"_qs;
    QTest::newRow("more fields than the block holds")
        << Mutation([](QByteArray &b) { putU16(b, fieldBlock + 2, 4); })
        << u"field definition 4 runs past"_qs;
    QTest::newRow("value length runs past the record")
        << Mutation([](QByteArray &b) { putU16(b, firstRecord, 40); })
        << u"record 1: the value of field 1 runs past"_qs;
    QTest::newRow("value length runs past the end of the file")
        << Mutation([](QByteArray &b) { putU16(b, secondRecord + 5, 300); })
        << u"record 2: the value of field 2 runs past"_qs;
    QTest::newRow("half a length at a record's end")
        << Mutation([](QByteArray &b) { b.truncate(secondRecord + 5 + 1); })
        << u"record 2: the length of field 2 runs past"_qs;
    QTest::newRow("yes/no of two bytes") << Mutation([](QByteArray &b) {
        putU16(b, firstRecord + 5, 2);
        putU16(b, firstRecord + 5 + 2 + 2, 3); // the date shrinks so the record still fits
    }) << u"yes/no value of field 2 has 2 bytes"_qs;
    QTest::newRow("time of three bytes") << Mutation([](QByteArray &b) {
        putU16(b, secondRecord + 8, 3);
        b.remove(b.size() - 1, 1);
    }) << u"time value of field 3 has 3 bytes"_qs;
    QTest::newRow("bytes after the last field")
        << Mutation([](QByteArray &b) { b.append("xyz"); })
        << u"record 2: 3 byte(s) remain after the last field"_qs;
}

void TestPdbDamaged::damagedFile()
{
    QFETCH(Mutation, mutate);
    QFETCH(QString, why);
    QByteArray bytes = soundFile();
    mutate(bytes);
    try {
        readBoth(bytes);
        QFAIL("a damaged file was read");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrDamaged));
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
    }
}

void TestPdbDamaged::everyTruncationIsSafe()
{
    // Cutting into the last record gives a record that ends early (still
    // sound) or a broken value; any earlier cut breaks the layout.
    const QByteArray sound = soundFile();
    int read = 0;
    for (int size = 0; size < sound.size(); ++size) {
        try {
            readBoth(sound.left(size));
            ++read;
            QVERIFY2(size >= secondRecord, qPrintable(QString::number(size)));
        } catch (const PdbError &e) {
            QCOMPARE(e.number(), int(ErrDamaged));
        }
    }
    QVERIFY(read > 0);
}

void TestPdbDamaged::randomCorruptionIsSafe()
{
    QRandomGenerator random(20261208);
    const QByteArray sound = soundFile();
    int damaged = 0;
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes = sound;
        const int flips = 1 + int(random.bounded(4));
        for (int i = 0; i < flips; ++i)
            bytes[int(random.bounded(bytes.size()))] = char(random.bounded(256));
        try {
            const auto db = readBoth(bytes);
            QVERIFY(db->Fields().Count() > 0);
        } catch (const PdbError &e) {
            QCOMPARE(e.number(), int(ErrDamaged));
            ++damaged;
        }
    }
    QVERIFY(damaged > 0);
}

void TestPdbDamaged::hugeCountsCostNoMemory()
{
    // Counts at their maximum in a file far too small for them are refused
    // before anything is reserved for them.
    QByteArray bytes = soundFile();
    putU16(bytes, 76, 0xFFFF);
    QVERIFY_THROWS_EXCEPTION(PdbError, PdbDatabase::fromBytes(bytes));
    bytes = soundFile();
    putU16(bytes, fieldBlock + 2, 0x7FFF);
    try {
        PdbDatabase::fromBytes(bytes);
        QFAIL("read 32767 fields from 25 bytes");
    } catch (const PdbError &e) {
        QVERIFY2(e.message().contains(u"too short for 32767 fields"_qs), qPrintable(e.message()));
    }
    bytes = soundFile();
    putU16(bytes, fieldBlock + 2, 0xFFFF);
    QVERIFY_THROWS_EXCEPTION(PdbError, PdbDatabase::fromBytes(bytes));
}

void TestPdbDamaged::fuzzSeedsBehave()
{
    // The fuzzer's seeds: the sound ones read and survive a rewrite, the
    // broken one is refused.
    const QDir seeds(QStringLiteral(LEDGERLY_TEST_DATA "/../../fuzz/corpus/pdb"));
    const QStringList files = seeds.entryList(QDir::Files);
    QVERIFY(files.size() >= 4);
    for (const QString &name : files) {
        QFile file(seeds.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (name.startsWith(u"wrong-"_qs)) {
            QVERIFY_THROWS_EXCEPTION(PdbError, PdbDatabase::fromBytes(bytes));
            continue;
        }
        const auto db = PdbDatabase::fromBytes(bytes);
        const auto again = PdbDatabase::fromBytes(db->toBytes(name));
        QCOMPARE(again->Table().RecordCount(), db->Table().RecordCount());
        QCOMPARE(again->Fields().Count(), db->Fields().Count());
        for (int r = 0; r < db->Table().RecordCount(); ++r)
            for (int f = 0; f < db->Fields().Count(); ++f)
                QCOMPARE(again->Table().Record(r).value(f), db->Table().Record(r).value(f));
    }
}

void TestPdbDamaged::shortRecordsClaimLittleRoom()
{
    // 3000 field definitions and 3000 records of one null value each: room
    // for every field in every record would be 3000 x 3000 values.
    constexpr int count = 3000;
    const int list = 78 + count * 8 + 2;
    const int block = 4 + count * 4;
    QByteArray b(78, '\0');
    b.replace(60, 8, "DATASkDB");
    putU32(b, 52, quint32(list));
    putU16(b, 76, count);
    for (int i = 0; i < count; ++i) {
        b.append(QByteArray(8, '\0'));
        putU32(b, 78 + i * 8, quint32(list + block + i * 2));
    }
    b.append(2, '\0');
    b.append(QByteArray("\x00\x01", 2)).append(2, '\0');
    putU16(b, list + 2, count);
    for (int i = 0; i < count; ++i)
        b.append(QByteArray("\x00\x00\x01", 3)).append(char('A' + i % 26));
    for (int i = 0; i < count; ++i)
        b.append(QByteArray("\xff\xff", 2));
    const auto db = PdbDatabase::fromBytes(b);
    QCOMPARE(db->Fields().Count(), count);
    QCOMPARE(db->Table().RecordCount(), count);
    for (int r = 0; r < count; r += 499) {
        QVERIFY(!db->Table().Record(r).value(0).isValid());
        QVERIFY(db->Table().Record(r).values().capacity() <= 1);
    }
}

QTEST_GUILESS_MAIN(TestPdbDamaged)
#include "tst_pdb_damaged.moc"
