#include "RoundtripFixture.h"

#include "database/FieldType.h"

#include <QSignalSpy>

using namespace Ledgerly;

namespace {

const QList<SchemaField> schemaFields = {
    {QStringLiteral("Item"), FieldText, QStringLiteral("Item name"), QStringLiteral("False")},
    {QStringLiteral("Qty"), FieldText, QStringLiteral("Quantity"), QStringLiteral("Calc")},
    {QStringLiteral("Secret"), FieldText, QStringLiteral("Secret"), QStringLiteral("True")},
};

// Selects the section's keys the way the loader has them when it finds the
// file missing, without opening anything.
void prepareSection(RoundtripFixture &fx, const QString &stem)
{
    fx.controller->chooseSection(fx.controller->catalogue().indexOf(stem));
}

} // namespace

class TestCreateDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void createsTextFieldsAndOneEmptyRecord_data();
    void createsTextFieldsAndOneEmptyRecord();
    void createdDatabaseIsLoadedAndShown();
    void createdFileRoundTripsUnchanged();
    void unwritableFolderReportsOnceWithoutLooping();
    void danglingLinkIsNeverFollowed_data();
    void danglingLinkIsNeverFollowed();
};

void TestCreateDatabase::createsTextFieldsAndOneEmptyRecord_data()
{
    QTest::addColumn<int>("fieldCount");
    QTest::newRow("one field") << 1;
    QTest::newRow("three fields") << 3;
}

void TestCreateDatabase::createsTextFieldsAndOneEmptyRecord()
{
    QFETCH(int, fieldCount);
    RoundtripFixture fx;
    fx.writeSchema(
        RoundtripFixture::section(QStringLiteral("New"), schemaFields.mid(0, fieldCount)));
    prepareSection(fx, QStringLiteral("New"));
    const QString path = fx.pdbPath(QStringLiteral("New"));
    QSignalSpy quit(fx.controller.get(), &MainController::quitRequested);
    fx.controller->CreateDatabase(path);

    QCOMPARE(fx.prompter.messages.size(), 0);
    QCOMPARE(quit.count(), 0);
    const auto db = fx.read(path);
    QCOMPARE(db->Fields().Count(), fieldCount);
    for (int i = 0; i < fieldCount; ++i) {
        QCOMPARE(db->Fields().Item(i).Name, schemaFields.at(i).name);
        QCOMPARE(db->Fields().Item(i).Type, int(FieldText));
    }
    QCOMPARE(db->Table().RecordCount(), 1);
    for (int i = 0; i < fieldCount; ++i)
        QCOMPARE(db->Table().Record(0).value(i), QVariant(QString()));
}

void TestCreateDatabase::createdDatabaseIsLoadedAndShown()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("New"), schemaFields));
    prepareSection(fx, QStringLiteral("New"));
    const QString path = fx.pdbPath(QStringLiteral("New"));
    QSignalSpy caption(fx.controller.get(), &MainController::captionChanged);
    fx.controller->CreateDatabase(path);

    QVERIFY(fx.controller->loadCompleted());
    QCOMPARE(fx.controller->CurrentPath(), path);
    QVERIFY(!fx.controller->DatabaseEdited());
    QCOMPARE(fx.grid().rowCount(), 1);
    QCOMPARE(fx.grid().columnCount(), 4);
    QCOMPARE(fx.grid().column(1).key, QStringLiteral("Item"));
    QCOMPARE(fx.grid().column(1).caption, QStringLiteral("Item name"));
    QVERIFY(!fx.grid().isColumnHidden(2));
    QVERIFY(fx.grid().isColumnHidden(3));
    QCOMPARE(caption.last().first().toString(), QStringLiteral("Testledger : ") + path);
}

void TestCreateDatabase::createdFileRoundTripsUnchanged()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("New"), schemaFields));
    fx.open(QStringLiteral("New")); // missing: created through the loader
    const QString path = fx.pdbPath(QStringLiteral("New"));
    const QString created = fx.dump(path);
    fx.controller->SaveDatabase();
    QCOMPARE(fx.dump(path), created);
    QCOMPARE(fx.prompter.messages.size(), 1); // only the "Does not exist" notice
}

void TestCreateDatabase::unwritableFolderReportsOnceWithoutLooping()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("New"), schemaFields));
    prepareSection(fx, QStringLiteral("New"));
    // The target folder does not exist, so the save cannot write the file and
    // the reload finds it missing again: that must not create it again.
    const QString path = fx.userFolder() + QStringLiteral("/no such folder/New.pdb");
    QSignalSpy quit(fx.controller.get(), &MainController::quitRequested);
    fx.controller->CreateDatabase(path);
    QCOMPARE(fx.prompter.messages.size(), 1);
    QVERIFY(fx.prompter.messages.first().text.contains(QStringLiteral("could not be saved")));
    QVERIFY(fx.prompter.messages.first().text.contains(path));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(quit.count(), 0);
    QVERIFY(!fx.controller->loadCompleted());
    // Nothing can be saved afterwards either.
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 1);
}

void TestCreateDatabase::danglingLinkIsNeverFollowed_data()
{
    QTest::addColumn<QString>("target"); // relative to the temporary folder
    QTest::newRow("target in another folder") << QStringLiteral("elsewhere/Taken.pdb");
    QTest::newRow("target beside the link") << QStringLiteral("home/Taken.pdb");
}

// Choosing a database whose name is a link to nothing: it is not "missing",
// so nothing is created, neither at the link nor where it points.
void TestCreateDatabase::danglingLinkIsNeverFollowed()
{
    QFETCH(QString, target);
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("New"), schemaFields));
    const QString root = QFileInfo(QFileInfo(fx.userFolder()).absolutePath()).absolutePath();
    const QString targetPath = root + QLatin1Char('/') + target;
    QVERIFY(QDir().mkpath(QFileInfo(targetPath).absolutePath()));
    const QString link = fx.pdbPath(QStringLiteral("New"));
    QVERIFY(QFile::link(targetPath, link));
    fx.open(QStringLiteral("New"));
    QCOMPARE(fx.prompter.messages.size(), 1);
    const QString text = fx.prompter.messages.first().text;
    QVERIFY2(text.contains(QStringLiteral("could not be loaded")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("symbolic link")), qPrintable(text));
    QVERIFY(!QFileInfo::exists(targetPath));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(!fx.controller->SaveDatabase());
    QVERIFY(!QFileInfo::exists(targetPath));
}

QTEST_GUILESS_MAIN(TestCreateDatabase)
#include "tst_create_database.moc"
