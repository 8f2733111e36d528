#include "RoundtripFixture.h"

#include "database/FieldType.h"
#include "database/PdbTime.h"
#include "grid/GridValue.h"
#include "grid/TableEditor.h"

#include <QSignalSpy>

using namespace Ledgerly;

namespace {

// Every kind of field: the schema shows all but Extra, which has no column.
const QList<SchemaField> allKinds = {
    {QStringLiteral("Name"), FieldText, QStringLiteral("Name"), QStringLiteral("False")},
    {QStringLiteral("Done"), FieldYesNo, QStringLiteral("Done"), QStringLiteral("False")},
    {QStringLiteral("Day"), FieldDate, QStringLiteral("Day"), QStringLiteral("False")},
    {QStringLiteral("At"), FieldTime, QStringLiteral("At"), QStringLiteral("False")},
    {QStringLiteral("Photo"), FieldPicture, QStringLiteral("Photo"), QStringLiteral("False")},
    {QStringLiteral("Stamp"), FieldDateTime, QStringLiteral("Stamp"), QStringLiteral("False")},
    {QStringLiteral("Blob"), 9, QStringLiteral("Blob"), QStringLiteral("False")},
};
const SchemaField extraField{QStringLiteral("Extra"), FieldText, {}, {}};

QList<QVariantList> allKindsRecords()
{
    // Picture bytes that are no bitmap at all: kept exactly, never re-encoded.
    const QByteArray oddPicture("\x42\x4d\x00\xff odd bytes", 14);
    return {
        {QStringLiteral("Ann"), true, wall(2024, 1, 2), wall(1904, 1, 1, 9, 30),
         bitmap(Qt::red, 4, 3), wall(2023, 5, 6, 7, 8, 9), QByteArray("\x01\x02\x03", 3),
         QStringLiteral("hidden one")},
        {QStringLiteral("Bob"), false, wall(1999, 12, 31), wall(1904, 1, 1, 23, 59, 59), oddPicture,
         wall(2001, 2, 3), QByteArray("\xfe", 1), QStringLiteral("hidden two")},
    };
}

void writeAllKinds(RoundtripFixture &fx)
{
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Kinds"), allKinds));
    fx.writeDatabase(QStringLiteral("Kinds"), QList<SchemaField>(allKinds) << extraField,
                     allKindsRecords());
}

} // namespace

class TestSaveDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadSaveRoundTripKeepsEveryValue();
    void fullRewriteKeepsUnwrittenFieldsPerRow();
    void missingValuesSavedAsLoaded();
    void unchangedAndEditedRowsSaveAlike();
    void yesNoCellRule_data();
    void yesNoCellRule();
    void emptyDateAndTimeFilledInTableAndFile();
    void dateTimeCellIsWritten_data();
    void dateTimeCellIsWritten();
    void emptyPictureSavedAsBlankBitmap_data();
    void emptyPictureSavedAsBlankBitmap();
    void fieldsDifferingInCaseKeepTheirOwnValues();
    void nonRecordRowsNeverWritten();
    void emptyTableSavesNoRecords();
    void failedSaveIsReportedAndFileIntact();
    void progressAndStatus();
    void saveAsWritesNewFileKeepsOld();
    void saveAsCancelledKeepsEdits();
    void clearAsksAndEmptiesTableOnly_data();
    void clearAsksAndEmptiesTableOnly();
    void askSaveChanges_data();
    void askSaveChanges();
    void noDatabaseOpenDoesNothing();
};

void TestSaveDatabase::loadSaveRoundTripKeepsEveryValue()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString path = fx.pdbPath(QStringLiteral("Kinds"));
    const QString before = fx.dump(path);
    fx.open(QStringLiteral("Kinds"));
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 0);
    QCOMPARE(fx.dump(path), before);
    // A second save, after the rows point at the new records, changes nothing either.
    fx.controller->SaveDatabase();
    QCOMPARE(fx.dump(path), before);
}

void TestSaveDatabase::fullRewriteKeepsUnwrittenFieldsPerRow()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString path = fx.pdbPath(QStringLiteral("Kinds"));
    fx.open(QStringLiteral("Kinds"));
    GridModel &grid = fx.grid();
    // Drop the first row and add a new one: the remaining row keeps its own
    // unknown and column-less values and its type-6 value from the table; the
    // new row gets none.
    QVERIFY(grid.removeRows(0, 1));
    const int added = grid.addRow();
    grid.setCell(added, 1, QStringLiteral("Cyd"));
    fx.controller->SaveDatabase();
    fx.controller->SaveDatabase();

    const auto db = fx.read(path);
    QCOMPARE(db->Table().RecordCount(), 2);
    const PdbRecord &kept = db->Table().Record(0);
    QCOMPARE(kept.value(0), QVariant(QStringLiteral("Bob")));
    QCOMPARE(kept.value(5), QVariant(wall(2001, 2, 3)));
    QCOMPARE(kept.value(6), QVariant(QByteArray("\xfe", 1)));
    QCOMPARE(kept.value(7), QVariant(QStringLiteral("hidden two")));
    QCOMPARE(kept.value(4), allKindsRecords().at(1).at(4));
    const PdbRecord &fresh = db->Table().Record(1);
    QCOMPARE(fresh.value(0), QVariant(QStringLiteral("Cyd")));
    QVERIFY(!fresh.value(5).isValid());
    QVERIFY(!fresh.value(6).isValid());
    QVERIFY(!fresh.value(7).isValid());
}

void TestSaveDatabase::missingValuesSavedAsLoaded()
{
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Name"), FieldText, QStringLiteral("Name"), QStringLiteral("False")},
        {QStringLiteral("Done"), FieldYesNo, QStringLiteral("Done"), QStringLiteral("False")},
        {QStringLiteral("Stamp"), FieldDateTime, QStringLiteral("Stamp"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("M"), fields));
    fx.writeDatabase(QStringLiteral("M"), fields, {{QVariant(), QVariant(), QVariant()}});
    fx.open(QStringLiteral("M"));
    fx.controller->SaveDatabase();
    const auto db = fx.read(fx.pdbPath(QStringLiteral("M")));
    // The load shows a missing value as empty text: text keeps having none,
    // yes/no saves as False; an empty type-6 cell has no value made up for it.
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(0).value(0)), QStringLiteral("null"));
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(0).value(1)), QStringLiteral("no"));
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(0).value(2)), QStringLiteral("null"));
}

void TestSaveDatabase::yesNoCellRule_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<QString>("stored");

    QTest::newRow("True in any case") << QVariant(QStringLiteral("tRUe")) << false << "yes";
    QTest::newRow("False text") << QVariant(QStringLiteral("FALSE")) << false << "no";
    QTest::newRow("empty text is False") << QVariant(QString()) << false << "no";
    QTest::newRow("ticked box") << QVariant(true) << false << "yes";
    QTest::newRow("blanks around False") << QVariant(QStringLiteral(" false ")) << false << "no";
    QTest::newRow("blank text keeps the stored value")
        << QVariant(QStringLiteral("  ")) << false << "yes";
    QTest::newRow("0 keeps the stored value") << QVariant(QStringLiteral("0")) << false << "yes";
    QTest::newRow("Yes keeps the stored value")
        << QVariant(QStringLiteral("Yes")) << false << "yes";
    QTest::newRow("Yes in a new row writes nothing")
        << QVariant(QStringLiteral("Yes")) << true << "null";
}

void TestSaveDatabase::yesNoCellRule()
{
    QFETCH(QVariant, cell);
    QFETCH(bool, newRow);
    QFETCH(QString, stored);
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Done"), FieldYesNo, QStringLiteral("Done"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Y"), fields));
    fx.writeDatabase(QStringLiteral("Y"), fields, {{true}});
    fx.open(QStringLiteral("Y"));
    int row = 0;
    if (newRow) {
        fx.grid().removeAllRows();
        row = fx.grid().addRow();
    }
    fx.grid().setCell(row, 1, cell);
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 0);
    const auto db = fx.read(fx.pdbPath(QStringLiteral("Y")));
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(0).value(0)), stored);
}

void TestSaveDatabase::unchangedAndEditedRowsSaveAlike()
{
    // Rows left as loaded write from their records; edited rows from their
    // cells. Both must give the same record for the same values, missing
    // ones included.
    RoundtripFixture fx;
    const QVariantList full = allKindsRecords().at(0);
    // Missing values alone, and between stored ones.
    const QVariantList missing(full.size());
    QVariantList mixed = full;
    mixed[0] = mixed[3] = QVariant();
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Kinds"), allKinds));
    fx.writeDatabase(QStringLiteral("Kinds"), QList<SchemaField>(allKinds) << extraField,
                     {full, full, missing, missing, mixed, mixed});
    fx.open(QStringLiteral("Kinds"));
    GridModel &grid = fx.grid();
    for (int row : {1, 3, 5})
        grid.setCell(row, 1, grid.cell(row, 1));
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 0);

    const auto db = fx.read(fx.pdbPath(QStringLiteral("Kinds")));
    for (int f = 0; f < full.size(); ++f) {
        const QString field = QString::number(f);
        QCOMPARE(field + RoundtripFixture::describe(db->Table().Record(1).value(f)),
                 field + RoundtripFixture::describe(db->Table().Record(0).value(f)));
        QCOMPARE(field + RoundtripFixture::describe(db->Table().Record(3).value(f)),
                 field + RoundtripFixture::describe(db->Table().Record(2).value(f)));
        QCOMPARE(field + RoundtripFixture::describe(db->Table().Record(5).value(f)),
                 field + RoundtripFixture::describe(db->Table().Record(4).value(f)));
    }
    // No text stays none, edited row or not.
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(4).value(0)), QStringLiteral("null"));
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(2).value(0)), QStringLiteral("null"));
}

void TestSaveDatabase::emptyDateAndTimeFilledInTableAndFile()
{
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Day"), FieldDate, QStringLiteral("Day"), QStringLiteral("False")},
        {QStringLiteral("At"), FieldTime, QStringLiteral("At"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("T"), fields));
    fx.writeDatabase(QStringLiteral("T"), fields, {{QVariant(), QVariant()}});
    fx.open(QStringLiteral("T"));
    const QDateTime before = PdbTime::now().addSecs(-1);
    fx.controller->SaveDatabase();
    const QDateTime after = PdbTime::now().addSecs(1);

    const QDateTime day = fx.grid().cell(0, 1).toDateTime();
    const QDateTime at = fx.grid().cell(0, 2).toDateTime();
    QVERIFY(day.date() >= before.date() && day.date() <= after.date());
    QCOMPARE(day.time(), QTime(0, 0));
    QCOMPARE(at.date(), QDate(1904, 1, 1));
    QVERIFY2(at.time() >= before.time().addSecs(-1) || after.date() != before.date(),
             qPrintable(at.toString(Qt::ISODate)));
    QVERIFY(at.time() <= after.time() || after.date() != before.date());

    const auto db = fx.read(fx.pdbPath(QStringLiteral("T")));
    QCOMPARE(db->Table().Record(0).value(0).toDateTime(), day);
    QCOMPARE(db->Table().Record(0).value(1).toDateTime(), at);
}

void TestSaveDatabase::dateTimeCellIsWritten_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<QString>("stored");
    const QVariant later = wall(2030, 11, 12, 13, 14, 15);
    QTest::newRow("edited value") << later << false << "time:2030-11-12T13:14:15Z";
    QTest::newRow("new row") << later << true << "time:2030-11-12T13:14:15Z";
    QTest::newRow("ISO text") << QVariant(QStringLiteral("2030-11-12T13:14:15")) << true
                              << "time:2030-11-12T13:14:15Z";
    QTest::newRow("cleared cell") << QVariant(QString()) << false << "null";
    QTest::newRow("empty cell of a new row") << QVariant() << true << "null";
    QTest::newRow("text that is no date keeps the stored value")
        << QVariant(QStringLiteral("soon")) << false << "time:2023-05-06T07:08:09Z";
}

// A type-6 value comes from the table like any date, so rows made by an
// import keep theirs.
void TestSaveDatabase::dateTimeCellIsWritten()
{
    QFETCH(QVariant, cell);
    QFETCH(bool, newRow);
    QFETCH(QString, stored);
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Stamp"), FieldDateTime, QStringLiteral("Stamp"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("S"), fields));
    fx.writeDatabase(QStringLiteral("S"), fields, {{wall(2023, 5, 6, 7, 8, 9)}});
    fx.open(QStringLiteral("S"));
    int row = 0;
    if (newRow) {
        fx.grid().removeAllRows();
        row = fx.grid().addRow();
    }
    fx.grid().setCell(row, 1, cell);
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 0);
    const auto db = fx.read(fx.pdbPath(QStringLiteral("S")));
    QCOMPARE(db->Table().RecordCount(), 1);
    QCOMPARE(RoundtripFixture::describe(db->Table().Record(0).value(0)), stored);
}

void TestSaveDatabase::emptyPictureSavedAsBlankBitmap_data()
{
    QTest::addColumn<bool>("blankExists");
    QTest::newRow("blank bitmap in the program folder") << true;
    QTest::newRow("blank bitmap missing writes no value") << false;
}

void TestSaveDatabase::emptyPictureSavedAsBlankBitmap()
{
    QFETCH(bool, blankExists);
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Name"), FieldText, QStringLiteral("Name"), QStringLiteral("False")},
        {QStringLiteral("Photo"), FieldPicture, QStringLiteral("Photo"), QStringLiteral("False")}};
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("P"), fields));
    fx.writeDatabase(QStringLiteral("P"), fields, {{QStringLiteral("a"), QVariant()}});
    const QByteArray blank = bitmap(Qt::white, 2, 2);
    if (blankExists)
        QVERIFY(writeFile(fx.programFolder() + QStringLiteral("/BlankBmp.bmp"), blank));
    fx.open(QStringLiteral("P"));
    fx.grid().setCell(0, 1, QStringLiteral("b"));
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 0);
    const auto db = fx.read(fx.pdbPath(QStringLiteral("P")));
    QCOMPARE(db->Table().Record(0).value(0), QVariant(QStringLiteral("b")));
    if (blankExists)
        QCOMPARE(db->Table().Record(0).value(1), QVariant(blank));
    else
        QVERIFY(!db->Table().Record(0).value(1).isValid());
}

void TestSaveDatabase::nonRecordRowsNeverWritten()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    fx.open(QStringLiteral("Kinds"));
    GridRow group;
    group.rowType = 3;
    group.cells = {QVariant(), QStringLiteral("Group total")};
    fx.grid().addRow(group);
    fx.controller->SaveDatabase();
    const auto db = fx.read(fx.pdbPath(QStringLiteral("Kinds")));
    QCOMPARE(db->Table().RecordCount(), 2);
    QCOMPARE(db->Table().Record(1).value(0), QVariant(QStringLiteral("Bob")));
}

void TestSaveDatabase::emptyTableSavesNoRecords()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    fx.open(QStringLiteral("Kinds"));
    fx.grid().removeAllRows();
    fx.controller->SaveDatabase();
    const auto db = fx.read(fx.pdbPath(QStringLiteral("Kinds")));
    QCOMPARE(db->Table().RecordCount(), 0);
    QCOMPARE(db->Fields().Count(), allKinds.size() + 1);
}

void TestSaveDatabase::failedSaveIsReportedAndFileIntact()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString path = fx.pdbPath(QStringLiteral("Kinds"));
    const QByteArray before = readFile(path);
    fx.open(QStringLiteral("Kinds"));
    // A character the handheld's code page cannot hold makes the write fail.
    QVERIFY(fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("check \u2713")));
    fx.controller->SaveDatabase();
    QCOMPARE(fx.prompter.messages.size(), 1);
    const QString text = fx.prompter.messages.first().text;
    QVERIFY2(text.contains(path), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("could not be saved")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("2713")), qPrintable(text));
    QVERIFY(fx.controller->DatabaseEdited());
    QCOMPARE(readFile(path), before);
    // The close prompt still offers the save, and a second failure is reported too.
    fx.prompter.answers.enqueue(Prompter::Yes);
    QCOMPARE(fx.controller->AskSaveChanges(), int(Prompter::Yes));
    QCOMPARE(fx.prompter.messages.size(), 3);
    QVERIFY(fx.prompter.messages.last().text.contains(QStringLiteral("could not be saved")));
    QVERIFY(fx.controller->DatabaseEdited());
    QCOMPARE(readFile(path), before);
}

void TestSaveDatabase::progressAndStatus()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    fx.settings->setValue(QStringLiteral("Testledger"), QStringLiteral("HotSync"),
                          QStringLiteral("User"), QStringLiteral("Stored User"));
    fx.open(QStringLiteral("Kinds"));
    QSignalSpy status(fx.controller.get(), &MainController::statusTextChanged);
    QSignalSpy progress(fx.controller.get(), &MainController::progressChanged);
    fx.controller->SaveDatabase();
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.at(0).first().toString(), QStringLiteral("SavingDatabase :"));
    QCOMPARE(status.at(1).first().toString(), QStringLiteral("Palm User Name : Stored User"));
    QCOMPARE(fx.controller->PalmUser(), QStringLiteral("Stored User"));
    QVERIFY(progress.size() >= 3);
    QVERIFY(progress.size() <= 102);
    QCOMPARE(progress.at(progress.size() - 2).first().toInt(), 99);
    QCOMPARE(progress.last().first().toInt(), 0);
    for (const QList<QVariant> &p : progress)
        QVERIFY(p.first().toInt() >= 0 && p.first().toInt() <= 99);
}

void TestSaveDatabase::fieldsDifferingInCaseKeepTheirOwnValues()
{
    // Columns are written to the field at their own position; a look-up by
    // name would find "Note" for both and write the second value twice.
    RoundtripFixture fx;
    const QList<SchemaField> fields = {
        {QStringLiteral("Note"), FieldText, QStringLiteral("Note"), QStringLiteral("False")},
        {QStringLiteral("NOTE"), FieldText, QStringLiteral("NOTE"), QStringLiteral("False")},
        {QStringLiteral("when"), FieldDate, QStringLiteral("When"), QStringLiteral("False")},
        {QStringLiteral("WHEN"), FieldText, QStringLiteral("WHEN"), QStringLiteral("False")},
    };
    const QDateTime day = GridValue::wallClock(QDate(2024, 5, 6), QTime(0, 0));
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("Case"), fields));
    fx.writeDatabase(
        QStringLiteral("Case"), fields,
        {{QStringLiteral("first"), QStringLiteral("second"), day, QStringLiteral("text")}});
    fx.open(QStringLiteral("Case"));
    QVERIFY(fx.controller->SaveDatabase());
    const auto db = fx.read(fx.pdbPath(QStringLiteral("Case")));
    const PdbRecord &record = db->Table().Record(0);
    QCOMPARE(record.value(0), QVariant(QStringLiteral("first")));
    QCOMPARE(record.value(1), QVariant(QStringLiteral("second")));
    QCOMPARE(record.value(2).toDateTime().date(), day.date());
    QCOMPARE(record.value(3), QVariant(QStringLiteral("text")));
}

void TestSaveDatabase::saveAsWritesNewFileKeepsOld()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString oldPath = fx.pdbPath(QStringLiteral("Kinds"));
    const QByteArray oldBytes = readFile(oldPath);
    const QString newPath = fx.userFolder() + QStringLiteral("/Copy.pdb");
    fx.open(QStringLiteral("Kinds"));
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("Renamed"));
    fx.prompter.fileAnswers.enqueue(newPath);
    QSignalSpy caption(fx.controller.get(), &MainController::captionChanged);
    fx.controller->SaveDatabaseAs();

    QCOMPARE(fx.prompter.fileRequests.size(), 1);
    const Prompter::FileRequest &request = fx.prompter.fileRequests.first();
    QVERIFY(request.save);
    QVERIFY(request.confirmOverwrite);
    QCOMPARE(request.defaultSuffix, QStringLiteral("pdb"));
    QCOMPARE(request.filter, QStringLiteral("PDB - Palm Database files (*.pdb *.PDB)"));
    QCOMPARE(request.initialFolder, fx.programFolder());
    QCOMPARE(request.fileName, fx.programFolder() + QStringLiteral("/*.PDB"));

    QCOMPARE(readFile(oldPath), oldBytes);
    QCOMPARE(fx.read(newPath)->Table().Record(0).value(0), QVariant(QStringLiteral("Renamed")));
    QCOMPARE(fx.controller->CurrentPath(), newPath);
    QVERIFY(!fx.controller->DatabaseEdited());
    QCOMPARE(caption.size(), 1);
    // A later save writes the new file.
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("Again"));
    fx.controller->SaveDatabase();
    QCOMPARE(readFile(oldPath), oldBytes);
    QCOMPARE(fx.read(newPath)->Table().Record(0).value(0), QVariant(QStringLiteral("Again")));
}

void TestSaveDatabase::saveAsCancelledKeepsEdits()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString path = fx.pdbPath(QStringLiteral("Kinds"));
    const QByteArray bytes = readFile(path);
    fx.open(QStringLiteral("Kinds"));
    fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("Unsaved"));
    fx.prompter.fileAnswers.enqueue(QString());
    fx.controller->SaveDatabaseAs();
    // The edit is still unsaved: closing must still offer to save it.
    QVERIFY(fx.controller->DatabaseEdited());
    QCOMPARE(fx.controller->CurrentPath(), path);
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(QDir(fx.userFolder()).entryList(QDir::Files).size(), 1);
}

void TestSaveDatabase::clearAsksAndEmptiesTableOnly_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("yes empties the table") << int(Prompter::Yes) << 0;
    QTest::newRow("no leaves it") << int(Prompter::No) << 2;
}

void TestSaveDatabase::clearAsksAndEmptiesTableOnly()
{
    QFETCH(int, answer);
    QFETCH(int, rowsAfter);
    RoundtripFixture fx;
    writeAllKinds(fx);
    const QString path = fx.pdbPath(QStringLiteral("Kinds"));
    const QByteArray bytes = readFile(path);
    fx.open(QStringLiteral("Kinds"));
    fx.prompter.answers.enqueue(answer);
    fx.controller->Clear_Click();
    QCOMPARE(fx.prompter.messages.size(), 1);
    const ScriptedPrompter::Message &m = fx.prompter.messages.first();
    QCOMPARE(m.text, QStringLiteral("You are about to clear ALL of the Data From This Testledger "
                                    "Database \r\r \r\rAre you sure this is what you want to do? "
                                    "\r\r \r"));
    // Enter must not empty the table: No is the default button.
    QCOMPARE(m.buttons, Prompter::Buttons::YesNoDefaultNo);
    QCOMPARE(m.icon, Prompter::Icon::Exclamation);
    QCOMPARE(m.title, QString());
    QCOMPARE(fx.grid().rowCount(), rowsAfter);
    // A cleared table is an unsaved change (closing offers to save it), and
    // one step to undo.
    QCOMPARE(fx.controller->DatabaseEdited(), answer == Prompter::Yes);
    QCOMPARE(readFile(path), bytes);
    if (answer == Prompter::Yes) {
        fx.controller->document().editor().undo();
        QVERIFY(fx.grid().rowCount() > 0);
    }
}

void TestSaveDatabase::askSaveChanges_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("saved");
    QTest::newRow("nothing edited: No without asking") << false << -1 << 0 << false;
    QTest::newRow("yes saves") << true << int(Prompter::Yes) << 1 << true;
    QTest::newRow("no does not save") << true << int(Prompter::No) << 1 << false;
    QTest::newRow("cancel does not save") << true << int(Prompter::Cancel) << 1 << false;
}

void TestSaveDatabase::askSaveChanges()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(bool, saved);
    RoundtripFixture fx;
    writeAllKinds(fx);
    fx.open(QStringLiteral("Kinds"));
    if (edited)
        fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("Changed"));
    if (answer >= 0)
        fx.prompter.answers.enqueue(answer);
    const int result = fx.controller->AskSaveChanges();
    QCOMPARE(result, answer >= 0 ? answer : int(Prompter::No));
    QCOMPARE(fx.prompter.messages.size(), asked);
    if (asked) {
        QCOMPARE(fx.prompter.messages.first().text,
                 QStringLiteral("Database edited.  Do you want to save?"));
        QCOMPARE(fx.prompter.messages.first().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(fx.prompter.messages.first().icon, Prompter::Icon::Question);
    }
    const auto db = fx.read(fx.pdbPath(QStringLiteral("Kinds")));
    QCOMPARE(db->Table().Record(0).value(0) == QVariant(QStringLiteral("Changed")), saved);
}

void TestSaveDatabase::noDatabaseOpenDoesNothing()
{
    RoundtripFixture fx;
    writeAllKinds(fx);
    QSignalSpy status(fx.controller.get(), &MainController::statusTextChanged);
    fx.controller->SaveDatabase();
    fx.controller->SaveDatabaseAs();
    fx.controller->Clear_Click();
    QCOMPARE(fx.prompter.messages.size(), 0);
    QCOMPARE(fx.prompter.fileRequests.size(), 0);
    QCOMPARE(status.size(), 0);
    QCOMPARE(QDir(fx.userFolder()).entryList(QDir::Files).size(), 1);
}

QTEST_GUILESS_MAIN(TestSaveDatabase)
#include "tst_save_database.moc"
