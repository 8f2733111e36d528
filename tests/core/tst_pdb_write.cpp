#include "TestFiles.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

// A database with one text field "Label" and one field "Value" of the given type.
std::unique_ptr<PdbDatabase> twoFields(int type)
{
    auto db = std::make_unique<PdbDatabase>();
    db->Table().AddField(QStringLiteral("Label"), FieldText);
    db->Table().AddField(QStringLiteral("Value"), type);
    return db;
}

} // namespace

class TestPdbWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- values the format cannot hold are refused and nothing is written
    void refusedValue_data();
    void refusedValue();
    void refusedDefinition_data();
    void refusedDefinition();

    // --- SaveAs failures name the file and leave the old one alone
    void saveIntoMissingFolder();
    void saveOverFolder();
    void saveReplacesWholeFile();
    void pictureObjectStoredAsBitmap();
    void recordsReadBackWriteAsRead();

    // --- opening
    void openMissingFile();
    void openMissingFileForCreation();
    void openFolderInsteadOfFile();
    void openDamagedFileNamesPath();
    void openSavedFile();
    void databaseWithoutFieldsRoundTrips_data();
    void databaseWithoutFieldsRoundTrips();
    void unreadableAndUnwritable();
};

void TestPdbWrite::refusedValue_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("reason");

    QTest::newRow("text outside Windows-1252") << 0 << QVariant(u"日本"_qs) << u"U+65E5"_qs;
    QTest::newRow("text longer than 65534 bytes")
        << 0 << QVariant(QString(65535, u'a')) << u"65535 bytes"_qs;
    QTest::newRow("picture longer than 65534 bytes")
        << 5 << QVariant(QByteArray(70000, 'b')) << u"70000 bytes"_qs;
    QTest::newRow("date before 1904")
        << 2 << QVariant(QDateTime(QDate(1903, 12, 31), QTime(23, 59, 59), Qt::UTC))
        << u"1903-12-31 23:59:59"_qs;
    QTest::newRow("date after 2040-02-06 06:28:15")
        << 6 << QVariant(QDateTime(QDate(2040, 2, 6), QTime(6, 28, 16), Qt::UTC))
        << u"2040-02-06 06:28:16"_qs;
    QTest::newRow("text that is no date") << 2 << QVariant(u"soon"_qs) << u"soon"_qs;
    QTest::newRow("word that is no yes/no") << 1 << QVariant(u"maybe"_qs) << u"maybe"_qs;
    QTest::newRow("text into a picture") << 5 << QVariant(u"photo.bmp"_qs) << u"picture"_qs;
    QTest::newRow("bytes into text") << 0 << QVariant(QByteArray("abc")) << u"not text"_qs;
}

void TestPdbWrite::refusedValue()
{
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Old.pdb"));
    auto old = twoFields(FieldText);
    old->Table().AddRecord().setValue(0, QStringLiteral("kept"));
    old->SaveAs(path);
    const QByteArray before = readFile(path);

    auto db = twoFields(type);
    db->Table().AddRecord();
    db->Table().AddRecord();
    db->Table().AddRecord().setValue(1, value);
    try {
        db->SaveAs(path);
        QFAIL("the value was written");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrInvalidValue));
        QVERIFY2(e.message().contains(u"Record 3"_qs), qPrintable(e.message()));
        QVERIFY2(e.message().contains(u"\"Value\""_qs), qPrintable(e.message()));
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Old.pdb"_qs});
    // The refused write changed nothing in memory either.
    QCOMPARE(db->header().modificationNumber, 0u);
    QCOMPARE(db->Table().Record(0).uniqueId(), 0u);
}

void TestPdbWrite::refusedDefinition_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("noFields");
    QTest::newRow("empty field name") << QString() << 0 << false;
    QTest::newRow("field name of 256 characters") << QString(256, u'n') << 0 << false;
    QTest::newRow("field name outside Windows-1252") << u"名前"_qs << 0 << false;
    QTest::newRow("type code above 65535") << u"Big"_qs << 70000 << false;
    QTest::newRow("negative type code") << u"Neg"_qs << -1 << false;
}

void TestPdbWrite::refusedDefinition()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(bool, noFields);
    PdbDatabase db;
    if (!noFields)
        db.Table().AddField(name, type);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Def.pdb"));
    try {
        db.SaveAs(path);
        QFAIL("the definition was written");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrInvalidValue));
    }
    QVERIFY(!QFile::exists(path));
}

void TestPdbWrite::saveIntoMissingFolder()
{
    QTemporaryDir dir;
    auto db = twoFields(FieldText);
    const QString path = dir.filePath(QStringLiteral("no/such/folder/X.pdb"));
    try {
        db->SaveAs(path);
        QFAIL("saved into a missing folder");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathNotFound));
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
    }
}

void TestPdbWrite::saveOverFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Taken.pdb")));
    auto db = twoFields(FieldText);
    try {
        db->SaveAs(dir.filePath(QStringLiteral("Taken.pdb")));
        QFAIL("saved over a folder");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
    }
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Taken.pdb"))).isDir());
}

void TestPdbWrite::saveReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Shrink.pdb"));
    QVERIFY(writeFile(path, QByteArray(100000, 'z')));
    auto db = twoFields(FieldText);
    db->Table().AddRecord().setValue(0, QStringLiteral("small"));
    db->SaveAs(path);
    const QByteArray bytes = readFile(path);
    QVERIFY(bytes.size() < 1000);
    QCOMPARE(PdbDatabase::fromBytes(bytes)->Table().Record(0).value(0), QVariant(u"small"_qs));
}

void TestPdbWrite::recordsReadBackWriteAsRead()
{
    auto db = twoFields(FieldDate);
    const QDateTime day(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC);
    PdbRecord &first = db->Table().AddRecord();
    first.setValue(0, QStringLiteral("caf\u00e9 \u0081"));
    first.setValue(1, day);
    db->Table().AddRecord().setValue(0, QStringLiteral("second"));
    db->Table().AddRecord();

    // Read back, a field added and one record changed: the untouched records
    // go out as they came in, with no value for the new field.
    auto read = PdbDatabase::fromBytes(db->toBytes(QStringLiteral("Stored")));
    read->Table().AddField(QStringLiteral("Added"), FieldYesNo);
    read->Table().Record(1).setValue(2, true);
    const auto back = PdbDatabase::fromBytes(read->toBytes(QStringLiteral("Stored")));

    const PdbTable &table = back->Table();
    QCOMPARE(table.RecordCount(), 3);
    QCOMPARE(table.Record(0).values(),
             QVariantList({QStringLiteral("caf\u00e9 \u0081"), day, QVariant()}));
    QCOMPARE(table.Record(1).values(), QVariantList({QStringLiteral("second"), QVariant(), true}));
    QCOMPARE(table.Record(2).values(), QVariantList({QVariant(), QVariant(), QVariant()}));
    QVERIFY(table.Record(2).isEmpty(1));
    QVERIFY(!table.Record(0).isEmpty(1));
}

void TestPdbWrite::pictureObjectStoredAsBitmap()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    auto db = twoFields(FieldPicture);
    db->Table().AddRecord().setValue(1, image);
    const auto back = PdbDatabase::fromBytes(db->toBytes(QStringLiteral("Pic")));
    const QByteArray bmp = back->Table().Record(0).value(1).toByteArray();
    QVERIFY(bmp.startsWith("BM"));
    const QImage loaded = QImage::fromData(bmp, "BMP");
    QCOMPARE(loaded.size(), QSize(3, 2));
    QCOMPARE(loaded.pixelColor(2, 1), QColor(Qt::red));
}

void TestPdbWrite::openMissingFile()
{
    QTemporaryDir dir;
    RecordServer server(dir.filePath(QStringLiteral("home")));
    try {
        server.OpenDatabase(dir.filePath(QStringLiteral("Missing.pdb")));
        QFAIL("opened a missing file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrFileNotFound));
        QVERIFY(e.message().contains(u"Missing.pdb"_qs));
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("home"))));
}

void TestPdbWrite::openMissingFileForCreation()
{
    QTemporaryDir dir;
    RecordServer server(dir.filePath(QStringLiteral("home")));
    const QString path = dir.filePath(QStringLiteral("New.pdb"));
    auto db = server.OpenDatabase(path, RecordServer::OpenMode::CreateIfMissing);
    QCOMPARE(db->Fields().Count(), 0);
    QCOMPARE(db->Table().RecordCount(), 0);
    QVERIFY(!QFile::exists(path));
    db->Table().AddField(QStringLiteral("Item"), FieldText);
    db->Table().AddRecord().setValue(0, QStringLiteral("Lamp"));
    db->SaveAs(path);
    const auto back = server.OpenDatabase(path);
    QCOMPARE(back->header().name, QByteArray("New"));
    QCOMPARE(back->Table().Record(0).value(QStringLiteral("item")), QVariant(u"Lamp"_qs));
}

void TestPdbWrite::openFolderInsteadOfFile()
{
    QTemporaryDir dir;
    RecordServer server(dir.path());
    try {
        server.OpenDatabase(dir.path());
        QFAIL("opened a folder");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
    }
}

void TestPdbWrite::openDamagedFileNamesPath()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Junk.pdb"));
    QVERIFY(writeFile(path, "not a database at all"));
    RecordServer server(dir.path());
    for (auto mode : {RecordServer::OpenMode::MustExist, RecordServer::OpenMode::CreateIfMissing}) {
        try {
            server.OpenDatabase(path, mode);
            QFAIL("opened a damaged file");
        } catch (const PdbError &e) {
            QCOMPARE(e.number(), int(ErrDamaged));
            QVERIFY(e.message().contains(QDir::toNativeSeparators(path)));
            QVERIFY(e.message().contains(u"shorter than a database header"_qs));
        }
    }
}

void TestPdbWrite::openSavedFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.pdb"));
    auto db = twoFields(FieldDate);
    db->Table().AddRecord().setValue(1, QDate(2020, 5, 17));
    db->SaveAs(path);
    const auto back = RecordServer(dir.path()).OpenDatabase(path);
    QCOMPARE(back->Table().Record(0).value(1).toDateTime().date(), QDate(2020, 5, 17));
    QCOMPARE(back->header().modificationNumber, 1u);
}

void TestPdbWrite::unreadableAndUnwritable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Locked.pdb"));
    auto db = twoFields(FieldText);
    db->SaveAs(path);
    QFile::setPermissions(path, QFileDevice::Permissions());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        QSKIP("file permissions do not bind this user (running as root)");
    }
    try {
        RecordServer(dir.path()).OpenDatabase(path);
        QFAIL("read an unreadable file");
    } catch (const PdbError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
    }
    try {
        db->SaveAs(dir.filePath(QStringLiteral("New.pdb")));
        QFAIL("wrote into a read-only folder");
    } catch (const PdbError &e) {
        QVERIFY(e.number() == ErrPermissionDenied || e.number() == ErrPathAccess);
        QVERIFY(e.message().contains(u"New.pdb"_qs));
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestPdbWrite::databaseWithoutFieldsRoundTrips_data()
{
    QTest::addColumn<int>("records");
    QTest::newRow("no records") << 0;
    QTest::newRow("three empty records") << 3;
}

// A database may have no fields at all; it is written and read back like any
// other, not called damaged.
void TestPdbWrite::databaseWithoutFieldsRoundTrips()
{
    QFETCH(int, records);
    PdbDatabase db;
    for (int i = 0; i < records; ++i)
        db.Table().AddRecord();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bare.pdb"));
    db.SaveAs(path);
    RecordServer server(dir.path());
    const std::unique_ptr<PdbDatabase> back = server.OpenDatabase(path);
    QCOMPARE(back->Fields().Count(), 0);
    QCOMPARE(back->Table().RecordCount(), records);
    back->SaveAs(path);
    QCOMPARE(server.OpenDatabase(path)->Table().RecordCount(), records);
}

QTEST_GUILESS_MAIN(TestPdbWrite)
#include "tst_pdb_write.moc"
