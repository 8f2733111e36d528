#include "DemoHome.h"
#include "RoundtripFixture.h"

#include "app/ControllerMessages.h"
#include "database/FieldType.h"
#include "database/PdbError.h"
#include "document/ColumnSetup.h"
#include "grid/TableEditor.h"

#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"

#include <QSignalSpy>

using namespace Ledgerly;

namespace {

const QList<SchemaField> ledgerFields = {
    {QStringLiteral("Payee"), FieldText, QStringLiteral("Paid to"), QStringLiteral("False")},
    {QStringLiteral("Paid"), FieldYesNo, QStringLiteral("Settled"), QStringLiteral("False")},
    {QStringLiteral("Day"), FieldDate, QStringLiteral("Date"), QStringLiteral("Group")},
};

} // namespace

class TestLoadDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void columnsFollowFieldTypes_data();
    void columnsFollowFieldTypes();
    void recordsFillRows();
    void schemaFieldCountRounds_data();
    void schemaFieldCountRounds();
    void missingSchemaFieldsAddedAsText();
    void emptyDatabaseShowsOneUneditedRow();
    void lookingAtADatabaseNeverRewritesIt();
    void chooserIdleWhileListsDiffer();
    void missingFileIsCreatedAndProgramContinues();
    void damagedFileMessageOnceNothingWrittenNoRecursion();
    void loadsMoreThan32767Records();
    void incompleteLoadIsNeverSaved();
    void unsafeSectionNamesRefused_data();
    void unsafeSectionNamesRefused();
    void demoDatabasesLoadWithSchemaColumns_data();
    void demoDatabasesLoadWithSchemaColumns();
};

void TestLoadDatabase::columnsFollowFieldTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("role");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");

    QTest::newRow("text shown") << int(FieldText) << "False" << int(ColumnKind::Text) << false
                                << "F"
                                << "Cap F";
    QTest::newRow("yes/no, hidden by True")
        << int(FieldYesNo) << "True" << int(ColumnKind::YesNo) << true << "F"
        << "Cap F";
    QTest::newRow("date, Calc shows")
        << int(FieldDate) << "Calc" << int(ColumnKind::Date) << false << "F"
        << "Cap F";
    QTest::newRow("time, Group shows")
        << int(FieldTime) << "Group" << int(ColumnKind::Time) << false << "F"
        << "Cap F";
    QTest::newRow("type 6 as date and time")
        << int(FieldDateTime) << "False" << int(ColumnKind::DateTime) << false << "F"
        << "Cap F";
    QTest::newRow("picture") << int(FieldPicture) << "False" << int(ColumnKind::Picture) << false
                             << "F"
                             << "Cap F";
    QTest::newRow("picture hidden by its own role")
        << int(FieldPicture) << "yes please" << int(ColumnKind::Picture) << true << "F"
        << "Cap F";
    QTest::newRow("unknown kind has no key")
        << 9 << "False" << int(ColumnKind::Other) << false << ""
        << "";
}

void TestLoadDatabase::columnsFollowFieldTypes()
{
    QFETCH(int, type);
    QFETCH(QString, role);
    QFETCH(int, kind);
    QFETCH(bool, hidden);
    QFETCH(QString, key);
    QFETCH(QString, caption);

    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("F"), type, QStringLiteral("Cap F"), role},
        {QStringLiteral("G"), FieldText, QStringLiteral("Cap G"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Db"), fields));
    fx.writeDatabase(QStringLiteral("Db"), fields, {});
    fx.open(QStringLiteral("Db"));

    GridModel &grid = fx.grid();
    QCOMPARE(grid.columnCount(), 3);
    const GridColumn &c = grid.column(1);
    QCOMPARE(int(GridRoles::kindOf(grid, 1)), kind);
    QCOMPARE(grid.isColumnHidden(1), hidden);
    QCOMPARE(c.key, key);
    QCOMPARE(c.caption, caption);
    QCOMPARE(grid.column(2).caption, QStringLiteral("Cap G"));
    QCOMPARE(fx.prompter.messages.size(), 0);
}

void TestLoadDatabase::recordsFillRows()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Ledger"), ledgerFields));
    fx.writeDatabase(QStringLiteral("Ledger"), ledgerFields,
                     {{QStringLiteral("Bakery"), true, wall(2024, 1, 2)},
                      {QVariant(), false, wall(2024, 2, 3)}});
    QSignalSpy caption(fx.controller.get(), &MainController::captionChanged);
    QSignalSpy loaded(fx.controller.get(), &MainController::databaseLoaded);
    fx.open(QStringLiteral("Ledger"));

    GridModel &grid = fx.grid();
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.cell(0, 1), QVariant(QStringLiteral("Bakery")));
    QCOMPARE(grid.cell(0, 2), QVariant(true));
    QCOMPARE(grid.cell(0, 3), QVariant(wall(2024, 1, 2)));
    // A missing value becomes empty text, not an empty cell.
    QCOMPARE(grid.cell(1, 1).typeId(), int(QMetaType::QString));
    QCOMPARE(grid.cell(1, 1).toString(), QString());
    QCOMPARE(grid.gridRow(1).sourceRecord, 1);
    QCOMPARE(grid.gridRow(1).rowType, 0);
    QVERIFY(!fx.controller->DatabaseEdited());
    QVERIFY(fx.controller->loadCompleted());
    QCOMPARE(fx.controller->CurrentPath(), fx.pdbPath(QStringLiteral("Ledger")));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(caption.last().first().toString(),
             QStringLiteral("Testledger : ") + fx.pdbPath(QStringLiteral("Ledger")));
    // Column keys are the database's names.
    QCOMPARE(grid.column(3).key, QStringLiteral("Day"));
}

void TestLoadDatabase::schemaFieldCountRounds_data()
{
    QTest::addColumn<int>("captionKeys");
    QTest::addColumn<int>("roleKeys");
    QTest::addColumn<int>("columns");
    QTest::newRow("six keys round to two fields") << 3 << 2 << 2;
    QTest::newRow("eight keys round to four fields") << 4 << 3 << 4;
    QTest::newRow("five keys give two fields") << 2 << 2 << 2;
    QTest::newRow("only Databasename gives none") << 0 << 0 << 0;
}

void TestLoadDatabase::schemaFieldCountRounds()
try {
    QFETCH(int, captionKeys);
    QFETCH(int, roleKeys);
    QFETCH(int, columns);
    RoundtripFixture fx;
    QString text = QStringLiteral("[Db]\nDatabasename=Db\n");
    for (int i = 0; i < captionKeys; ++i)
        text += QStringLiteral("K%1=Caption %1\n").arg(i);
    for (int i = 0; i < roleKeys; ++i)
        text += QStringLiteral("K%1Hide=False\n").arg(i);
    fx.writeSchema(text);
    fx.writeDatabase(QStringLiteral("Db"), {{QStringLiteral("K0"), FieldText, {}, {}}}, {});
    fx.open(QStringLiteral("Db"));
    QCOMPARE(fx.grid().columnCount(), columns + 1);
    for (int i = 1; i <= columns; ++i)
        QCOMPARE(fx.grid().column(i).key, QStringLiteral("K%1").arg(i - 1));
} catch (const PdbError &e) {
    QFAIL(qPrintable(e.message()));
}

void TestLoadDatabase::missingSchemaFieldsAddedAsText()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Ledger"), ledgerFields));
    fx.writeDatabase(QStringLiteral("Ledger"), {ledgerFields.first()},
                     {{QStringLiteral("Only payee")}});
    const QByteArray before = readFile(fx.pdbPath(QStringLiteral("Ledger")));
    fx.open(QStringLiteral("Ledger"));

    const PdbFieldList &fields = fx.controller->CurrentDatabase()->Fields();
    QCOMPARE(fields.Count(), 3);
    QCOMPARE(fields.Item(1).Name, QStringLiteral("Paid"));
    QCOMPARE(fields.Item(1).Type, int(FieldText));
    QCOMPARE(fields.Item(2).Type, int(FieldText));
    QCOMPARE(fx.grid().columnCount(), 4);
    QCOMPARE(fx.grid().column(2).caption, QStringLiteral("Settled"));
    QCOMPARE(fx.grid().cell(0, 1), QVariant(QStringLiteral("Only payee")));
    // The file changes only when saved.
    QCOMPARE(readFile(fx.pdbPath(QStringLiteral("Ledger"))), before);
}

void TestLoadDatabase::emptyDatabaseShowsOneUneditedRow()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Ledger"), ledgerFields));
    fx.writeDatabase(QStringLiteral("Ledger"), ledgerFields, {});
    fx.open(QStringLiteral("Ledger"));
    QCOMPARE(fx.grid().rowCount(), 1);
    QVERIFY(!fx.controller->DatabaseEdited());
    QCOMPARE(fx.controller->AskSaveChanges(), int(Prompter::No));
    QCOMPARE(fx.prompter.messages.size(), 0);
}

void TestLoadDatabase::lookingAtADatabaseNeverRewritesIt()
{
    // A has an empty date, which any save would fill in with today.
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("A"), ledgerFields) +
                   RoundtripFixture::section(QStringLiteral("B"), ledgerFields));
    fx.writeDatabase(QStringLiteral("A"), ledgerFields, {{QStringLiteral("x"), true, QVariant()}});
    fx.writeDatabase(QStringLiteral("B"), ledgerFields, {});
    const QString a = fx.pdbPath(QStringLiteral("A"));
    const QByteArray stored = readFile(a);
    fx.open(QStringLiteral("A"));
    fx.open(QStringLiteral("B"));
    QCOMPARE(readFile(a), stored);
    QCOMPARE(fx.controller->CurrentPath(), fx.pdbPath(QStringLiteral("B")));

    // An edit undone again is no edit either; a kept edit is saved on the way out.
    fx.open(QStringLiteral("A"));
    fx.controller->document().editor().editCell(0, 1, QStringLiteral("y"));
    fx.controller->document().editor().undo();
    QVERIFY(!fx.controller->DatabaseEdited());
    fx.open(QStringLiteral("B"));
    QCOMPARE(readFile(a), stored);
    fx.open(QStringLiteral("A"));
    fx.controller->document().editor().editCell(0, 1, QStringLiteral("y"));
    QVERIFY(fx.controller->DatabaseEdited());
    fx.open(QStringLiteral("B"));
    QCOMPARE(fx.read(a)->Table().Record(0).value(0), QVariant(QStringLiteral("y")));
}

void TestLoadDatabase::chooserIdleWhileListsDiffer()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("A"), ledgerFields));
    fx.writeDatabase(QStringLiteral("A"), ledgerFields, {});
    // An entry the catalogue does not have opens nothing.
    QVERIFY(!fx.controller->openSection(1));
    QVERIFY(!fx.controller->openSection(-1));
    QVERIFY(fx.controller->CurrentPath().isEmpty());
    QVERIFY(!fx.controller->CurrentDatabase());
}

void TestLoadDatabase::missingFileIsCreatedAndProgramContinues()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Ledger"), ledgerFields));
    QSignalSpy quit(fx.controller.get(), &MainController::quitRequested);
    fx.open(QStringLiteral("Ledger"));

    const QString path = fx.pdbPath(QStringLiteral("Ledger"));
    QCOMPARE(fx.prompter.messages.size(), 1);
    QCOMPARE(fx.prompter.messages.first().text,
             QStringLiteral("The Database ") + path +
                 QStringLiteral("\r\n\r\n Does not exist ! \r\n\r\n Please Install or Replace the "
                                "database\r\n\r\nThe Desktop will attempt to create the database "
                                "!\r\n\r\nSelect another Database in the List and then reselect "
                                "This database"));
    QCOMPARE(fx.prompter.messages.first().buttons, Prompter::Buttons::Ok);
    QVERIFY(QFile::exists(path));
    QCOMPARE(quit.count(), 0);
    QVERIFY(fx.controller->loadCompleted());
    QCOMPARE(fx.controller->CurrentPath(), path);
    QCOMPARE(fx.grid().rowCount(), 1);
    QCOMPARE(fx.grid().columnCount(), 4);
    QCOMPARE(fx.grid().column(1).key, QStringLiteral("Payee"));
}

void TestLoadDatabase::damagedFileMessageOnceNothingWrittenNoRecursion()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Good"), ledgerFields) +
                   RoundtripFixture::section(QStringLiteral("Bad"), ledgerFields));
    fx.writeDatabase(QStringLiteral("Good"), ledgerFields,
                     {{QStringLiteral("keep"), true, wall(2021, 5, 6)}});
    const QString bad = fx.pdbPath(QStringLiteral("Bad"));
    const QByteArray garbage("this is not a palm database at all, just some text bytes");
    QVERIFY(writeFile(bad, garbage));
    QSignalSpy quit(fx.controller.get(), &MainController::quitRequested);

    fx.open(QStringLiteral("Good"));
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("edited"));
    QVERIFY(fx.controller->DatabaseEdited());
    fx.open(QStringLiteral("Bad"));
    const QByteArray goodAfterSwitch = readFile(fx.pdbPath(QStringLiteral("Good")));

    QCOMPARE(fx.prompter.messages.size(), 1);
    QCOMPARE(fx.prompter.messages.first().text,
             QStringLiteral("Error 13: The Database ") + bad +
                 QStringLiteral("\r\n\r\n is corrupted or not a Testledger database !\r\n\r\n"
                                "Please Replace the database from a backup.\r\n"));
    QCOMPARE(fx.prompter.messages.first().buttons, Prompter::Buttons::Ok);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!fx.controller->loadCompleted());

    // Whatever the window does next while it closes, nothing is written.
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("more"));
    QCOMPARE(fx.controller->AskSaveChanges(), int(Prompter::No));
    fx.controller->SaveDatabase();
    fx.open(QStringLiteral("Good"));
    fx.open(QStringLiteral("Bad"));
    QCOMPARE(readFile(bad), garbage);
    QCOMPARE(readFile(fx.pdbPath(QStringLiteral("Good"))), goodAfterSwitch);
    QCOMPARE(fx.prompter.messages.size(), 1);
    QCOMPARE(quit.count(), 1);
    // The database left before the damaged one was saved with its edit.
    QCOMPARE(fx.read(fx.pdbPath(QStringLiteral("Good")))->Table().Record(0).value(0),
             QVariant(QStringLiteral("edited")));
}

void TestLoadDatabase::loadsMoreThan32767Records()
{
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("N"), FieldText, QStringLiteral("N"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Big"), fields));
    QList<QVariantList> records;
    const int count = 40000;
    for (int i = 0; i < count; ++i)
        records.append({QString::number(i)});
    fx.writeDatabase(QStringLiteral("Big"), fields, records);
    fx.open(QStringLiteral("Big"));
    QCOMPARE(fx.grid().rowCount(), count);
    QCOMPARE(fx.grid().cell(count - 1, 1).toString(), QString::number(count - 1));
    QVERIFY(fx.controller->loadCompleted());
    fx.controller->SaveDatabase();
    const auto saved = fx.read(fx.pdbPath(QStringLiteral("Big")));
    QCOMPARE(saved->Table().RecordCount(), count);
    QCOMPARE(saved->Table().Record(count - 1).value(0), QVariant(QString::number(count - 1)));
}

void TestLoadDatabase::incompleteLoadIsNeverSaved()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("A"), ledgerFields) +
                   RoundtripFixture::section(QStringLiteral("Folder"), ledgerFields) +
                   RoundtripFixture::section(QStringLiteral("C"), ledgerFields));
    fx.writeDatabase(QStringLiteral("A"), ledgerFields,
                     {{QStringLiteral("a"), true, wall(2021, 5, 6)}});
    fx.writeDatabase(QStringLiteral("C"), ledgerFields,
                     {{QStringLiteral("c"), true, wall(2021, 5, 6)}});
    // A folder where the file should be: the open fails part way.
    QVERIFY(QDir().mkpath(fx.pdbPath(QStringLiteral("Folder"))));
    fx.open(QStringLiteral("A"));
    const QByteArray aBytes = readFile(fx.pdbPath(QStringLiteral("A")));
    fx.open(QStringLiteral("Folder"));
    QCOMPARE(fx.prompter.messages.size(), 1); // the load failure is reported
    QVERIFY(fx.prompter.messages.first().text.contains(fx.pdbPath(QStringLiteral("Folder"))));
    QVERIFY(!fx.controller->loadCompleted());

    // The table still shows A; an edit must not be written to either file.
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("stray edit"));
    QCOMPARE(fx.controller->AskSaveChanges(), int(Prompter::No));
    fx.open(QStringLiteral("C"));
    QCOMPARE(fx.prompter.messages.size(), 1);
    QVERIFY(QFileInfo(fx.pdbPath(QStringLiteral("Folder"))).isDir());
    QCOMPARE(fx.read(fx.pdbPath(QStringLiteral("A")))->Table().Record(0).value(0),
             QVariant(QStringLiteral("a")));
    QCOMPARE(readFile(fx.pdbPath(QStringLiteral("A"))).size(), aBytes.size());
    QCOMPARE(fx.grid().cell(0, 1), QVariant(QStringLiteral("c")));
}

void TestLoadDatabase::unsafeSectionNamesRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::newRow("parent folder") << QStringLiteral("../Outside");
    QTest::newRow("sub folder") << QStringLiteral("sub/Inner");
    QTest::newRow("backslash") << QStringLiteral("sub\\Inner");
    QTest::newRow("drive colon") << QStringLiteral("C:Data");
    QTest::newRow("wildcard") << QStringLiteral("Led*");
}

void TestLoadDatabase::unsafeSectionNamesRefused()
{
    QFETCH(QString, section);
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Good"), ledgerFields) +
                   RoundtripFixture::section(section, ledgerFields));
    fx.writeDatabase(QStringLiteral("Good"), ledgerFields,
                     {{QStringLiteral("g"), true, wall(2021, 5, 6)}});
    // A hostile target outside the user's folder must not be touched.
    const QString outside = fx.userFolder() + QLatin1Char('/') + section + QStringLiteral(".pdb");
    QDir().mkpath(QFileInfo(outside).absolutePath());
    const bool planted = QFileInfo(outside).absolutePath() != fx.userFolder() &&
                         QFile(outside).open(QIODevice::WriteOnly);
    fx.open(QStringLiteral("Good"));
    fx.open(section);

    QCOMPARE(fx.prompter.messages.size(), 1);
    QVERIFY(
        fx.prompter.messages.first().text.contains(QLatin1Char('"') + section + QLatin1Char('"')));
    QVERIFY(fx.controller->CurrentPath().isEmpty());
    QVERIFY(!fx.controller->CurrentDatabase());
    QCOMPARE(fx.grid().rowCount(), 0);
    if (planted)
        QCOMPARE(QFileInfo(outside).size(), 0);
    else
        QVERIFY(!QFileInfo(outside).isFile() || QFileInfo(outside).size() == 0);
    // With nothing open, the next choice saves nothing and opens normally.
    fx.open(QStringLiteral("Good"));
    QCOMPARE(fx.grid().cell(0, 1), QVariant(QStringLiteral("g")));
}

void TestLoadDatabase::demoDatabasesLoadWithSchemaColumns_data()
{
    addDemoSectionRows();
}

void TestLoadDatabase::demoDatabasesLoadWithSchemaColumns()
{
    QFETCH(QString, section);
    const QString demo = demoHotSyncHome();
    if (section.isEmpty() || demo.isEmpty())
        QSKIP("the demo HotSync home has not been generated in this build");
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QVERIFY(copyTree(demo, home));
    RecordServer server(home);
    QSettingsStore settings(dir.path() + QStringLiteral("/settings"));
    ScriptedPrompter prompter;
    FileRegistry registry(dir.path() + QStringLiteral("/registry.json"));
    RecordingLauncher launcher;
    MainController controller({server, settings, prompter, registry, launcher});
    controller.state().ProgramFolder = QStringLiteral(LEDGERLY_BIN_DIR);
    controller.state().AppName = QStringLiteral("Demo");
    controller.users().followDefaultUser();
    controller.BuildCatalogue();
    controller.openSection(controller.catalogue().indexOf(section));

    QCOMPARE(prompter.messages.size(), 0);
    QVERIFY(controller.loadCompleted());
    const QString schema = controller.state().schemaFile();
    const int n = schemaFieldCount(ListIniKeys(schema, section).size());
    const PdbDatabase *db = controller.CurrentDatabase();
    GridModel &grid = controller.grid();
    QCOMPARE(grid.columnCount(), n + 1);
    QCOMPARE(grid.rowCount(), db->Table().RecordCount());
    for (int i = 1; i <= n; ++i) {
        const PdbField &field = db->Fields().Item(i - 1);
        const GridColumn &c = grid.column(i);
        QCOMPARE(c.key, field.Name);
        QCOMPARE(c.caption, ReadIniValue(section, field.Name, schema));
        const QString role = ReadIniValue(section, field.Name + QStringLiteral("Hide"), schema);
        QCOMPARE(grid.isColumnHidden(i), roleHidesColumn(role));
        QVERIFY(GridRoles::kindOf(grid, i) != ColumnKind::Other); // every demo field shows
    }
    if (section == QLatin1String("Expenses")) {
        QVERIFY(grid.isColumnHidden(grid.columnByKey(QStringLiteral("Note"))));
        QVERIFY(!grid.isColumnHidden(grid.columnByKey(QStringLiteral("Category"))));
        QVERIFY(!grid.isColumnHidden(grid.columnByKey(QStringLiteral("Amount"))));
    }
}

QTEST_GUILESS_MAIN(TestLoadDatabase)
#include "tst_load_database.moc"
