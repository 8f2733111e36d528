#include "FifoWatch.h"
#include "tst_csv_support.h"

#include "database/PdbLayout.h"
#include "database/PdbTime.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvImporter.h"

#include <QTest>

using namespace Ledgerly;

// Import into a loaded table: how cells land in columns and become typed
// values, what is refused, the messages, and export -> import round trips.
class TestCsvImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cellsBecomeTypedValues_data();
    void cellsBecomeTypedValues();
    void quotesInsideValuesReadBackUnchanged_data();
    void quotesInsideValuesReadBackUnchanged();
    void readsFilesWrittenWithoutDoubling();
    void rowsAreReplacedByFieldName_data();
    void rowsAreReplacedByFieldName();
    void importMarksDatabaseEdited();
    void fileNotInExportLayoutIsRefused_data();
    void fileNotInExportLayoutIsRefused();
    void moreRecordsThanADatabaseHoldsAreRefused();
    void errorMessages_data();
    void errorMessages();
    void checkNameGuardsTheChosenFile();
    void completionCountsImportedRecords();
    void unreadableCellStopsTheImport_data();
    void unreadableCellStopsTheImport();
    void mixedLineEndsEndRecords_data();
    void mixedLineEndsEndRecords();
    void fieldsMissingFromTheFileAreAskedAbout_data();
    void fieldsMissingFromTheFileAreAskedAbout();
    void namesDifferingInCaseKeepTheirOwnColumns_data();
    void namesDifferingInCaseKeepTheirOwnColumns();
    void picturesReadBack_data();
    void picturesReadBack();
    void exportThenImportGivesTheSameTable_data();
    void exportThenImportGivesTheSameTable();
    void commandCancelledDoesNothing();
    void fileThatIsNotRegularIsRefusedUnopened_data();
    void fileThatIsNotRegularIsRefusedUnopened();
    void textADatabaseCannotHoldIsReportedWhereItIs_data();
    void textADatabaseCannotHoldIsReportedWhereItIs();
    void unclosedQuoteIsReportedWhereItOpens_data();
    void unclosedQuoteIsReportedWhereItOpens();
    void exportThenImportKeepsEveryStoredValue_data();
    void exportThenImportKeepsEveryStoredValue();
    void fileOfManyBlocksReadsEveryRecord();
};

namespace {

const QList<CsvTestField> kFields = {
    {QStringLiteral("Note"), QStringLiteral("Note")},
    {QStringLiteral("Done"), QStringLiteral("Done"), FieldYesNo},
    {QStringLiteral("When"), QStringLiteral("When"), FieldDate},
    {QStringLiteral("At"), QStringLiteral("At"), FieldTime},
};

const QByteArray kHeader =
    "\"Note\",\"Done\",\"When\",\"At\"\r\n\"Note\",\"Done\",\"When\",\"At\"\r\n";

// A loaded database of kFields with two stored records.
void loadLog(CsvTestDatabase &db)
{
    db.writeSchema(QStringLiteral("Log"), kFields);
    db.writeDatabase(QStringLiteral("Log"), kFields,
                     {{QStringLiteral("first"), true, wall(2000, 1, 2), wall(1904, 1, 1, 8)},
                      {QStringLiteral("second"), false, wall(2001, 3, 4), wall(1904, 1, 1, 9)}});
    QVERIFY(db.load(QStringLiteral("Log")));
}

// A cell without a value shows as empty text, whether its row was loaded
// or imported.
QList<QVariantList> tableValues(const GridModel &grid)
{
    QList<QVariantList> rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QVariantList row;
        for (int c = 1; c < grid.columnCount(); ++c) {
            const QVariant value = grid.cell(r, c);
            row.append(value.isValid() ? value : QVariant(QString()));
        }
        rows.append(row);
    }
    return rows;
}

// Expected rows written with {} for "no value", as the table shows them.
QList<QVariantList> shown(QList<QVariantList> rows)
{
    for (QVariantList &row : rows)
        for (QVariant &value : row)
            if (!value.isValid())
                value = QString();
    return rows;
}

} // namespace

void TestCsvImport::initTestCase()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

void TestCsvImport::cellsBecomeTypedValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QVariantList>("expected");
    const QVariant at8 = PdbTime::timeOfDay(QTime(20, 15, 30));
    QTest::newRow("every kind")
        << QByteArray("\"a, \"\"b\"\"\",True,\"7/20/1969 8:17:40 PM\",\"8:15:30 PM\"")
        << QVariantList{QStringLiteral("a, \"b\""), true, wall(1969, 7, 20, 20, 17, 40), at8};
    QTest::newRow("bar before a line feed is a carriage return")
        << QByteArray("\"one|\ntwo|\n\",False,\"12/31/2039\",\"8:15:30 PM\"")
        << QVariantList{QStringLiteral("one\r\ntwo\r\n"), false, wall(2039, 12, 31), at8};
    QTest::newRow("bars elsewhere stay") << QByteArray("\"|a|b | \n|\",,,")
                                         << QVariantList{QStringLiteral("|a|b | \n|"), {}, {}, {}};
    QTest::newRow("bare number is text")
        << QByteArray("42,,,") << QVariantList{QStringLiteral("42"), {}, {}, {}};
    QTest::newRow("old undoubled quotes")
        << QByteArray("\"say \"hi\" now\",\"\",\"\",\"\"")
        << QVariantList{QStringLiteral("say \"hi\" now"), {}, {}, {}};
    QTest::newRow("yes word and ISO date")
        << QByteArray("x,yes,\"2026-01-02\",\"20:15:30\"")
        << QVariantList{QStringLiteral("x"), true, wall(2026, 1, 2), at8};
    QTest::newRow("Y and a regional date without leading zeros")
        << QByteArray("x,Y,1/2/2026,")
        << QVariantList{QStringLiteral("x"), true, wall(2026, 1, 2), {}};
    QTest::newRow("n and 0") << QByteArray("x,n,,")
                             << QVariantList{QStringLiteral("x"), false, {}, {}};
    QTest::newRow("ISO date and time")
        << QByteArray("x,0,2026-01-02T10:30:00,")
        << QVariantList{QStringLiteral("x"), false, wall(2026, 1, 2, 10, 30), {}};
    QTest::newRow("short line leaves the rest empty")
        << QByteArray("\"only\"") << QVariantList{QStringLiteral("only"), {}, {}, {}};
}

void TestCsvImport::cellsBecomeTypedValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QVariantList, expected);
    CsvTestDatabase db;
    loadLog(db);
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), kHeader + line + "\r\n"));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), shown({expected}));
}

void TestCsvImport::quotesInsideValuesReadBackUnchanged_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("quoted word") << QStringLiteral("say \"hi\" now");
    QTest::newRow("quote before a comma") << QStringLiteral("a\",b");
    QTest::newRow("ends with a quote") << QStringLiteral("12\"");
    QTest::newRow("only quotes") << QStringLiteral("\"\"\"");
    QTest::newRow("quote before a line feed") << QStringLiteral("\"x\"\r\ny");
}

void TestCsvImport::quotesInsideValuesReadBackUnchanged()
{
    QFETCH(QString, value);
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Log"), kFields);
    db.writeDatabase(QStringLiteral("Log"), kFields, {{value, true, QVariant(), QVariant()}});
    QVERIFY(db.load(QStringLiteral("Log")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("q.csv"))).ok);
    QVERIFY(db.controller().importCsv(db.out(QStringLiteral("q.csv"))).ok);
    QCOMPARE(db.controller().grid().cell(0, 1), QVariant(value));
}

void TestCsvImport::readsFilesWrittenWithoutDoubling()
{
    // A file as older exports wrote it: inner quotes as they are.
    const QString fixture = QStringLiteral(LEDGERLY_TEST_DATA "/csv/undoubled-quotes.csv");
    QVERIFY(QFile::exists(fixture));
    CsvTestDatabase db;
    loadLog(db);
    QVERIFY(db.controller().importCsv(fixture).ok);
    QCOMPARE(tableValues(db.controller().grid()),
             (QList<QVariantList>{
                 {QStringLiteral("He said \"hi\" to me"), true, wall(1969, 7, 20, 20, 17, 40),
                  PdbTime::timeOfDay(QTime(6, 30))},
                 {QStringLiteral("two\r\nlines, \"quoted\" twice"), false, wall(2000, 2, 29),
                  PdbTime::timeOfDay(QTime(23, 59, 59))},
                 {QStringLiteral("42"), true, wall(1904, 1, 1), PdbTime::timeOfDay(QTime(0, 0))}}));
}

void TestCsvImport::rowsAreReplacedByFieldName_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes to emptying Done") << int(Prompter::Yes);
    QTest::newRow("No keeps the table") << int(Prompter::No);
}

void TestCsvImport::rowsAreReplacedByFieldName()
{
    QFETCH(int, answer);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    // Columns in another order, one the table lacks, and Done missing.
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")),
                      "\"c\",\"x\",\"n\",\"w\"\r\n\"At\",\"Extra\",\" note \",\"When\"\r\n"
                      "\"1:00:00 AM\",\"ignored\",\"r1\",\"1/1/1999\"\r\n"
                      "\r\n"
                      "\"2:00:00 AM\",\"ignored\",\"r2\",\"2/2/1999\"\r\n"));
    db.prompter.answers.enqueue(answer);
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QCOMPARE(db.prompter.messages.size(), 1);
    QVERIFY2(db.prompter.messages.at(0).text.startsWith(u"1 field(s) of the database are not in "
                                                        "the file and will be emptied: Done."_qs),
             qPrintable(db.prompter.messages.at(0).text));
    const GridModel &grid = db.controller().grid();
    if (answer == Prompter::No) {
        QVERIFY(!outcome.ok);
        QCOMPARE(tableValues(grid), before);
        QVERIFY(!db.controller().DatabaseEdited());
        return;
    }
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(
        tableValues(grid),
        shown({{QStringLiteral("r1"), {}, wall(1999, 1, 1), PdbTime::timeOfDay(QTime(1, 0))},
               {QStringLiteral("r2"), {}, wall(1999, 2, 2), PdbTime::timeOfDay(QTime(2, 0))}}));
    for (int r = 0; r < grid.rowCount(); ++r) {
        QCOMPARE(grid.gridRow(r).rowType, 0);
        // The rows read the records the import built; none of their cells
        // comes from the records they replace.
        QVERIFY(grid.readsStoredRecord(r));
    }
}

void TestCsvImport::importMarksDatabaseEdited()
{
    CsvTestDatabase db;
    loadLog(db);
    QVERIFY(!db.controller().DatabaseEdited());
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")),
                      kHeader + "\"n\",True,\"1/1/2000\",\"1:00:00 AM\"\r\n"));
    QVERIFY(db.controller().importCsv(db.out(QStringLiteral("in.csv"))).ok);
    QVERIFY(db.controller().DatabaseEdited());
    // So closing asks before the imported rows are lost.
    db.prompter.answers.enqueue(Prompter::Cancel);
    QCOMPARE(db.controller().AskSaveChanges(), int(Prompter::Cancel));
    QCOMPARE(db.prompter.messages.size(), 1);
}

void TestCsvImport::fileNotInExportLayoutIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("one line only") << QByteArray("\"Note\",\"Done\"\r\n");
    QTest::newRow("no field name matches a column")
        << QByteArray("\"a\",\"b\"\r\n\"Foo\",\"Bar\"\r\n\"1\",\"2\"\r\n");
    QTest::newRow("binary bytes") << QByteArray("\0\x01\x02\xff\r\n\x80\x81", 8);
}

void TestCsvImport::fileNotInExportLayoutIsRefused()
{
    QFETCH(QByteArray, bytes);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), bytes));
    db.controller().ImportCsv(db.out(QStringLiteral("in.csv")));
    QCOMPARE(db.prompter.messages.size(), 1);
    QVERIFY2(db.prompter.messages.at(0).text.contains(QStringLiteral("cannot be imported")),
             qPrintable(db.prompter.messages.at(0).text));
    QCOMPARE(tableValues(db.controller().grid()), before);
    QVERIFY(!db.controller().DatabaseEdited());
}

void TestCsvImport::moreRecordsThanADatabaseHoldsAreRefused()
{
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QByteArray bytes = kHeader;
    for (int i = 0; i <= PdbLayout::maxRecords; ++i)
        bytes += "x\r\n";
    QVERIFY(writeFile(db.out(QStringLiteral("big.csv")), bytes));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("big.csv")));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(QStringLiteral("more than 65535 records")),
             qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), before);

    // One record fewer is accepted.
    bytes.chop(3);
    QVERIFY(writeFile(db.out(QStringLiteral("big.csv")), bytes));
    QVERIFY(db.controller().importCsv(db.out(QStringLiteral("big.csv"))).ok);
    QCOMPARE(db.controller().grid().rowCount(), PdbLayout::maxRecords);
}

void TestCsvImport::errorMessages_data()
{
    QTest::addColumn<QByteArray>("database"); // replaces the file; "gone" removes it
    QTest::addColumn<bool>("csvThere");
    QTest::addColumn<QString>("message");
    QTest::newRow("damaged database")
        << QByteArray("no database at all") << true
        << QStringLiteral("Error opening database.  Ensure this a Ledgerly Database.");
    QTest::newRow("database gone is no damage")
        << QByteArray("gone") << true
        << QStringLiteral("Error opening database.  The file \"%1\" does not exist (error 1).");
    QTest::newRow("CSV file cannot be opened")
        << QByteArray() << false
        << QStringLiteral("Error Opening CSV file.  Check diskspace or read-only status.");
}

void TestCsvImport::errorMessages()
{
    QFETCH(QByteArray, database);
    QFETCH(bool, csvThere);
    QFETCH(QString, message);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    if (csvThere)
        QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), kHeader + "\"n\",,,\r\n"));
    const QString path = db.databasePath(QStringLiteral("Log"));
    if (database == "gone")
        QVERIFY(QFile::remove(path));
    else if (!database.isEmpty())
        QVERIFY(writeFile(path, database));
    db.controller().ImportCsv(db.out(QStringLiteral("in.csv")));
    QCOMPARE(db.prompter.messages.size(), 1);
    QCOMPARE(db.prompter.messages.at(0).text, message.arg(QDir::toNativeSeparators(path)));
    QCOMPARE(db.prompter.messages.at(0).icon, Prompter::Icon::Information);
    QCOMPARE(tableValues(db.controller().grid()), before);
}

void TestCsvImport::checkNameGuardsTheChosenFile()
{
    // Choosing list.pdb checks that list.csv exists but reads list.pdb, which
    // is no CSV file: refused, the table left as it was.
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(QStringLiteral("list.csv")), kHeader + "\"n\",,,\r\n"));
    QVERIFY(
        QFile::copy(db.databasePath(QStringLiteral("Log")), db.out(QStringLiteral("list.pdb"))));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("list.pdb")));
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.message.contains(QStringLiteral("cannot be imported")));
    QCOMPARE(tableValues(db.controller().grid()), before);

    // Without list.csv the check fails first.
    QVERIFY(QFile::remove(db.out(QStringLiteral("list.csv"))));
    QCOMPARE(db.controller().importCsv(db.out(QStringLiteral("list.pdb"))).message,
             QStringLiteral("Error Opening CSV file.  Check diskspace or read-only status."));
}

void TestCsvImport::completionCountsImportedRecords()
{
    CsvTestDatabase db;
    loadLog(db);
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")),
                      kHeader + "\"a\",,,\r\n\"b\",,,\r\n\"c\",,,\r\n\"d\",,,\r\n\"e\",,,\r\n"));
    db.controller().ImportCsv(db.out(QStringLiteral("in.csv")));
    QCOMPARE(db.controller().grid().rowCount(), 5);
    QCOMPARE(db.prompter.messages.size(), 1);
    QCOMPARE(db.prompter.messages.at(0).text,
             QDir::toNativeSeparators(db.out(QStringLiteral("in.csv"))) +
                 QStringLiteral(" Imported.\r5 record(s) Imported\r10 empty date(s) and "
                                "time(s) will be set to now when the database is saved"));
}

void TestCsvImport::unreadableCellStopsTheImport_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("where");
    QTest::newRow("yes/no word") << QByteArray("x,True,,\r\ny,maybe,,\r\n")
                                 << u"Line 4, field \"Done\": \"maybe\""_qs;
    QTest::newRow("date") << QByteArray("x,,\"someday\",\r\n")
                          << u"Line 3, field \"When\": \"someday\""_qs;
    QTest::newRow("time") << QByteArray("x,,,\"later\"\r\n")
                          << u"Line 3, field \"At\": \"later\""_qs;
    QTest::newRow("impossible date") << QByteArray("x,,2/30/2026,\r\n") << u"\"2/30/2026\""_qs;
}

void TestCsvImport::unreadableCellStopsTheImport()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, where);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), kHeader + lines));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(where), qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), before);
    QVERIFY(!db.controller().DatabaseEdited());
}

void TestCsvImport::mixedLineEndsEndRecords_data()
{
    QTest::addColumn<QByteArray>("text");
    const QByteArray head1 = "\"Note\",\"Done\",\"When\",\"At\"";
    QTest::newRow("CR LF header, LF rows") << head1 + "\r\n" + head1 + "\r\n\"a\",,,\n\"b\",,,\n";
    QTest::newRow("CR only") << head1 + "\r" + head1 + "\r\"a\",,,\r\"b\",,,\r";
    QTest::newRow("LF only") << head1 + "\n" + head1 + "\n\"a\",,,\n\"b\",,,";
}

void TestCsvImport::mixedLineEndsEndRecords()
{
    QFETCH(QByteArray, text);
    CsvTestDatabase db;
    loadLog(db);
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), text));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()),
             shown({{QStringLiteral("a"), {}, {}, {}}, {QStringLiteral("b"), {}, {}, {}}}));
}

void TestCsvImport::fieldsMissingFromTheFileAreAskedAbout_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("No keeps the table") << int(Prompter::No);
    QTest::newRow("Yes imports") << int(Prompter::Yes);
}

void TestCsvImport::fieldsMissingFromTheFileAreAskedAbout()
{
    QFETCH(int, answer);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")),
                      "\"Note\",\"Done\"\r\n\"Note\",\"Done\"\r\n\"z\",True\r\n"));
    db.prompter.answers.enqueue(answer);
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QCOMPARE(db.prompter.messages.size(), 1);
    QCOMPARE(db.prompter.messages.at(0).text,
             u"2 field(s) of the database are not in the file and will be emptied: When, At. "
             "Import anyway?"_qs);
    QCOMPARE(db.prompter.messages.at(0).buttons, Prompter::Buttons::YesNo);
    QCOMPARE(outcome.ok, answer == Prompter::Yes);
    if (answer == Prompter::Yes)
        QCOMPARE(tableValues(db.controller().grid()), shown({{QStringLiteral("z"), true, {}, {}}}));
    else
        QCOMPARE(tableValues(db.controller().grid()), before);
}

void TestCsvImport::namesDifferingInCaseKeepTheirOwnColumns_data()
{
    QTest::addColumn<int>("secondType");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVariantList>("expected");
    const QByteArray captions = "\"a\",\"b\"\r\n";
    QTest::newRow("two text fields") << int(FieldText) << captions + "\"Note\",\"NOTE\"\r\nx,y\r\n"
                                     << QVariantList{QStringLiteral("x"), QStringLiteral("y")};
    QTest::newRow("file columns swapped")
        << int(FieldText) << captions + "\"NOTE\",\"Note\"\r\ny,x\r\n"
        << QVariantList{QStringLiteral("x"), QStringLiteral("y")};
    QTest::newRow("a date beside a text field")
        << int(FieldDate) << captions + "\"NOTE\",\"Note\"\r\n1/2/2026,x\r\n"
        << QVariantList{QStringLiteral("x"), wall(2026, 1, 2)};
}

// Each file column goes to the field spelt like it, and is read by that
// field's own type.
void TestCsvImport::namesDifferingInCaseKeepTheirOwnColumns()
{
    QFETCH(int, secondType);
    QFETCH(QByteArray, text);
    QFETCH(QVariantList, expected);
    const QList<CsvTestField> fields = {{QStringLiteral("Note"), QStringLiteral("a")},
                                        {QStringLiteral("NOTE"), QStringLiteral("b"), secondType}};
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Case"), fields);
    db.writeDatabase(QStringLiteral("Case"), fields, {{QStringLiteral("old"), QVariant()}});
    QVERIFY(db.load(QStringLiteral("Case")));
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")), text));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), QList<QVariantList>{expected});
}

void TestCsvImport::picturesReadBack_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<bool>("loaded");
    const QByteArray bmp = bitmap(Qt::cyan, 7, 3);
    QTest::newRow("bitmap by full path") << QStringLiteral("FULL") << bmp << true;
    QTest::newRow("bitmap beside the file by name") << QStringLiteral("pic.bmp") << bmp << true;
    QTest::newRow("bitmap moved beside the file")
        << QStringLiteral("/gone/elsewhere/pic.bmp") << bmp << true;
    QTest::newRow("file that is no bitmap")
        << QStringLiteral("FULL") << QByteArray("hello") << false;
    QTest::newRow("missing file") << QStringLiteral("none.bmp") << QByteArray() << false;
    QTest::newRow("a folder") << QStringLiteral(".") << QByteArray() << false;
}

void TestCsvImport::picturesReadBack()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, fileBytes);
    QFETCH(bool, loaded);
    const QList<CsvTestField> fields = {
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("Photo"), QStringLiteral("Photo"), FieldPicture},
    };
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Things"), fields);
    db.writeDatabase(QStringLiteral("Things"), fields, {{QStringLiteral("a"), QVariant()}});
    QVERIFY(db.load(QStringLiteral("Things")));
    const QList<QVariantList> before = tableValues(db.controller().grid());
    if (!fileBytes.isEmpty())
        QVERIFY(writeFile(db.out(QStringLiteral("pic.bmp")), fileBytes));
    const QString path = cell == QLatin1String("FULL") ? db.out(QStringLiteral("pic.bmp")) : cell;
    QVERIFY(writeFile(db.out(QStringLiteral("in.csv")),
                      "\"Name\",\"Photo\"\r\n\"Name\",\"Photo\"\r\n\"a\",\"" + path.toUtf8() +
                          "\"\r\n"));
    const CsvOutcome outcome = db.controller().importCsv(db.out(QStringLiteral("in.csv")));
    // A picture that cannot be read is reported, never quietly left blank.
    QCOMPARE(outcome.ok, loaded);
    const QVariant value = db.controller().grid().cell(0, 2);
    if (loaded) {
        QCOMPARE(value.typeId(), int(QMetaType::QByteArray));
        QCOMPARE(value.toByteArray(), fileBytes);
    } else {
        QVERIFY2(outcome.message.contains(u"field \"Photo\""_qs), qPrintable(outcome.message));
        QCOMPARE(tableValues(db.controller().grid()), before);
    }
}

void TestCsvImport::exportThenImportGivesTheSameTable_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_US") << QStringLiteral("en_US");
    QTest::newRow("de_DE with a decimal comma") << QStringLiteral("de_DE");
    QTest::newRow("ja_JP") << QStringLiteral("ja_JP");
}

void TestCsvImport::exportThenImportGivesTheSameTable()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const QList<CsvTestField> fields = {
        {QStringLiteral("Note"), QStringLiteral("Note")},
        {QStringLiteral("Amount"), QStringLiteral("Amount")},
        {QStringLiteral("Done"), QStringLiteral("Done"), FieldYesNo},
        {QStringLiteral("When"), QStringLiteral("When"), FieldDate},
        {QStringLiteral("At"), QStringLiteral("At"), FieldTime},
        {QStringLiteral("Photo"), QStringLiteral("Photo"), FieldPicture},
    };
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("All"), fields);
    db.writeDatabase(
        QStringLiteral("All"), fields,
        {{QStringLiteral("commas, \"quotes\"\nand a line feed"), QStringLiteral("3,5"), true,
          wall(1955, 6, 7, 8, 9, 10), wall(1904, 1, 1, 23, 59, 59), bitmap(Qt::magenta)},
         {QStringLiteral("1.234,5"), QStringLiteral("1,234.5"), false, wall(2039, 12, 31),
          wall(1904, 1, 1), bitmap(Qt::darkGreen, 4, 4)}});
    QVERIFY(db.load(QStringLiteral("All")));
    const QList<QVariantList> loaded = tableValues(db.controller().grid());

    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("all.csv"))).ok);
    db.controller().grid().removeAllRows();
    QVERIFY(db.controller().importCsv(db.out(QStringLiteral("all.csv"))).ok);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QCOMPARE(tableValues(db.controller().grid()), loaded);
}

void TestCsvImport::commandCancelledDoesNothing()
{
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    db.prompter.fileAnswers.enqueue(QString());
    db.controller().ImportCSV_Click();
    QCOMPARE(db.prompter.fileRequests.size(), 1);
    QVERIFY(!db.prompter.fileRequests.at(0).save);
    QVERIFY(db.prompter.messages.isEmpty());
    QCOMPARE(tableValues(db.controller().grid()), before);
    QVERIFY(!db.controller().DatabaseEdited());
}

void TestCsvImport::fileThatIsNotRegularIsRefusedUnopened_data()
{
    QTest::addColumn<QString>("chosen"); // in the out folder, or absolute
    QTest::addColumn<QString>("fifo");   // made in the out folder; empty for none
    QTest::newRow("a FIFO chosen") << u"pipe.csv"_qs << u"pipe.csv"_qs;
    QTest::newRow("a FIFO under the check name") << u"list.pdb"_qs << u"list.csv"_qs;
    QTest::newRow("a folder") << u"folder.csv"_qs << QString();
    QTest::newRow("a device") << u"/dev/zero"_qs << QString();
}

// Nothing is opened before its kind is known: a FIFO would hold the import
// (and the database's lock) until some writer came along.
void TestCsvImport::fileThatIsNotRegularIsRefusedUnopened()
{
    QFETCH(QString, chosen);
    QFETCH(QString, fifo);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    const QString path = chosen.startsWith(u'/') ? chosen : db.out(chosen);
    QVERIFY(QDir().mkpath(db.out(u"folder.csv"_qs)));
    QVERIFY(writeFile(db.out(u"list.pdb"_qs), kHeader + "\"n\",,,\r\n"));
    std::unique_ptr<FifoWatch> watch;
    if (!fifo.isEmpty()) {
        watch = std::make_unique<FifoWatch>(db.out(fifo));
        QVERIFY(watch->made());
    }
    const CsvOutcome outcome = db.controller().importCsv(path);
    QVERIFY(!watch || !watch->readerWaited());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(u"not a regular file"_qs), qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), before);
}

void TestCsvImport::textADatabaseCannotHoldIsReportedWhereItIs_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("what");
    QTest::newRow("a byte that is no UTF-8")
        << QByteArray("\"Caf\xe9\",,,\r\n") << u"Line 3, field \"Note\""_qs << u"0xE9"_qs;
    QTest::newRow("a cut UTF-8 sequence after a line break in the cell")
        << QByteArray("x,,,\r\n\"two\nlines \xc3\",,,\r\n") << u"Line 5, field \"Note\""_qs
        << u"0xC3"_qs;
    QTest::newRow("a character without a Windows-1252 code")
        << QByteArray("\"\xe6\x97\xa5\",,,\r\n") << u"Line 3, field \"Note\""_qs << u"U+65E5"_qs;
    QTest::newRow("a bare cell") << QByteArray("x\xff,,,\r\n") << u"Line 3, field \"Note\""_qs
                                 << u"0xFF"_qs;
}

// The save would refuse such text long after the import said all was well,
// naming neither the line nor the cell.
void TestCsvImport::textADatabaseCannotHoldIsReportedWhereItIs()
{
#ifdef Q_OS_WIN
    QSKIP("the ANSI code page decodes every byte");
#endif
    QFETCH(QByteArray, lines);
    QFETCH(QString, where);
    QFETCH(QString, what);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(u"in.csv"_qs), kHeader + lines));
    const CsvOutcome outcome = db.controller().importCsv(db.out(u"in.csv"_qs));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(where), qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(what), qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), before);
    QVERIFY(!db.controller().DatabaseEdited());
}

void TestCsvImport::unclosedQuoteIsReportedWhereItOpens_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open at the end of the file")
        << QByteArray("x,,,\r\n\"Receipt, True,") << u"field \"Note\" on line 4"_qs;
    QTest::newRow("open at the end of a line")
        << QByteArray("\"n\",\"True,,\r\ny,,,\r\n") << u"field \"Done\" on line 3"_qs;
    QTest::newRow("open across line feeds to the end")
        << QByteArray("x,,\"1/2/2000\n,\n") << u"field \"When\" on line 3"_qs;
}

void TestCsvImport::unclosedQuoteIsReportedWhereItOpens()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, expected);
    CsvTestDatabase db;
    loadLog(db);
    const QList<QVariantList> before = tableValues(db.controller().grid());
    QVERIFY(writeFile(db.out(u"in.csv"_qs), kHeader + lines));
    const CsvOutcome outcome = db.controller().importCsv(db.out(u"in.csv"_qs));
    QVERIFY(!outcome.ok);
    QVERIFY2(
        outcome.message.contains(u"The quote that opens "_qs + expected + u" is not closed"_qs),
        qPrintable(outcome.message));
    QCOMPARE(tableValues(db.controller().grid()), before);
}

void TestCsvImport::exportThenImportKeepsEveryStoredValue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_US") << u"en_US"_qs;
    QTest::newRow("de_DE") << u"de_DE"_qs;
    QTest::newRow("ja_JP") << u"ja_JP"_qs;
}

// Stored values, not table texts: no value and an empty one stay apart, a
// line break keeps its CR, and a field of a kind the program does not know
// gets its bytes back. Only the save's own rules change anything: empty
// dates and times become now, an empty yes/no becomes False.
void TestCsvImport::exportThenImportKeepsEveryStoredValue()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const QList<CsvTestField> fields = {{u"Note"_qs, u"Note"_qs},
                                        {u"Flag"_qs, u"Flag"_qs, FieldYesNo},
                                        {u"Day"_qs, u"Day"_qs, FieldDate},
                                        {u"At"_qs, u"At"_qs, FieldTime},
                                        {u"Stamp"_qs, u"Stamp"_qs, FieldDateTime},
                                        {u"Blob"_qs, u"Blob"_qs, 9},
                                        {u"Photo"_qs, u"Photo"_qs, FieldPicture}};
    const QList<QVariantList> records = {
        {u"one\r\ntwo|three |"_qs, true, wall(1969, 7, 20), wall(1904, 1, 1, 13, 45, 10),
         wall(2039, 12, 31, 23, 59, 59), QByteArray("\x00\xff\x10", 3), bitmap(Qt::red)},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {QString(u""_qs), false, wall(2000, 2, 29), QVariant(), QVariant(), QByteArray(""),
         QVariant()}};
    CsvTestDatabase db;
    db.writeSchema(u"All"_qs, fields);
    db.writeDatabase(u"All"_qs, fields, records);
    QVERIFY(db.load(u"All"_qs));
    QVERIFY(db.controller().exportCsv(db.out(u"all.csv"_qs)).ok);
    db.controller().ImportCsv(db.out(u"all.csv"_qs));
    // One message, no question about fields "not in the file".
    QCOMPARE(db.prompter.messages.size(), 1);
    const QString said = db.prompter.messages.at(0).text;
    QVERIFY2(said.contains(u" Imported.\r3 record(s) Imported\r3 empty date(s) and time(s) will "
                           "be set to now when the database is saved"_qs),
             qPrintable(said));
    const QDateTime start = PdbTime::now();
    QVERIFY(db.controller().SaveDatabase());
    const QDateTime end = PdbTime::now();
    QLocale::setDefault(QLocale(u"en_US"_qs));

    const auto saved = PdbDatabase::fromBytes(readFile(db.databasePath(u"All"_qs)));
    QCOMPARE(saved->Table().RecordCount(), records.size());
    for (int r = 0; r < records.size(); ++r) {
        for (int f = 0; f < fields.size(); ++f) {
            const QVariant value = saved->Table().Record(r).value(f);
            QVariant expected = records.at(r).at(f);
            const int type = fields.at(f).type;
            if (!expected.isValid() && type == FieldYesNo)
                expected = false;
            if (!expected.isValid() && (type == FieldDate || type == FieldTime)) {
                const QDateTime t = value.toDateTime();
                const bool inRun =
                    type == FieldDate
                        ? t.date() >= start.date() && t.date() <= end.date()
                        : t.time() >= start.time().addSecs(-1) && t.time() <= end.time().addSecs(1);
                QVERIFY2(inRun, qPrintable(QStringLiteral("record %1 field %2").arg(r).arg(f)));
                continue;
            }
            QVERIFY2(
                value == expected && value.isValid() == expected.isValid(),
                qPrintable(
                    QStringLiteral("record %1 field %2: %3").arg(r).arg(f).arg(value.toString())));
        }
    }
}

// The file is read a block at a time: records that run across a block's edge
// (in a quoted cell with line feeds, a doubled quote or a UTF-8 letter) must
// come out whole, and the lines named in messages must still be right.
void TestCsvImport::fileOfManyBlocksReadsEveryRecord()
{
    CsvTestDatabase db;
    loadLog(db);
    QByteArray bytes = kHeader;
    QStringList notes;
    const int records = 30000; // about 2.5 MB, several blocks
    for (int i = 0; i < records; ++i) {
        const QString note = QStringLiteral("Caf\u00e9 \"%1\"|\nline %1 of many, padded out %2")
                                 .arg(i)
                                 .arg(QString(i % 37, u'x'));
        QString cell = note;
        cell.replace(u"\""_qs, u"\"\""_qs);
        bytes += '"' + cell.toUtf8() + "\",True,\"1/2/2000\",\"1:00:00 AM\"\r\n";
        notes.append(QString(note).replace(u"|\n"_qs, u"\r\n"_qs));
    }
    QVERIFY(bytes.size() > 2 * 1024 * 1024);
    // One bad cell at the end: its line counts every line feed before it.
    QVERIFY(writeFile(db.out(u"many.csv"_qs), bytes + "x,maybe,,\r\n"));
    const CsvOutcome refused = db.controller().importCsv(db.out(u"many.csv"_qs));
    QVERIFY(!refused.ok);
    QVERIFY2(refused.message.contains(
                 QStringLiteral("Line %1, field \"Done\"").arg(2 + 2 * records + 1)),
             qPrintable(refused.message));

    QVERIFY(writeFile(db.out(u"many.csv"_qs), bytes));
    const CsvOutcome outcome = db.controller().importCsv(db.out(u"many.csv"_qs));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    const GridModel &grid = db.controller().grid();
    QCOMPARE(grid.rowCount(), records);
    for (int r = 0; r < records; ++r) {
        if (grid.cell(r, 1).toString() != notes.at(r))
            QFAIL(
                qPrintable(QStringLiteral("record %1: %2").arg(r).arg(grid.cell(r, 1).toString())));
    }
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
