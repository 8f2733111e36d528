#include "tst_csv_support.h"

#include "database/PdbDatabase.h"
#include "exchange/CsvExport.h"
#include "grid/TableEditor.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

// Export of a loaded database: layout, cells, bitmaps, counts, messages and
// the file dialog of the command.
class TestCsvExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exportedFieldCount_data();
    void exportedFieldCount();
    void recordCells_data();
    void recordCells();
    void matchesGoldenFile();
    void exportAndImportMoveTheProgressBar();
    void recordMissingSchemaField();
    void databaseWithoutRecordsWritesHeadersOnly();
    void recordLinesFollowTheTable_data();
    void recordLinesFollowTheTable();
    void unsavedEditsAreNotExported();
    void picturesWrittenBesideTheFile();
    void secondPictureFieldKeepsItsOwnBitmap();
    void missingPictureNamesNoStaleFile();
    void pdbInAFolderNameStays();
    void bitmapsThatCannotBeWrittenAreReported_data();
    void bitmapsThatCannotBeWrittenAreReported();
    void errorMessages_data();
    void errorMessages();
    void commandAsksForTheFile_data();
    void commandAsksForTheFile();
};

namespace {

const QList<CsvTestField> kThreeFields = {
    {QStringLiteral("Item"), QStringLiteral("Item name")},
    {QStringLiteral("Count"), QStringLiteral("How many")},
    {QStringLiteral("Paid"), QStringLiteral("Paid?"), FieldYesNo},
};

// Writes the "Stock" schema and database of kThreeFields and loads it.
bool loadStock(CsvTestDatabase &db, const QList<QVariantList> &records = {
                                        {QStringLiteral("Pen"), QStringLiteral("3"), true}})
{
    db.writeSchema(QStringLiteral("Stock"), kThreeFields);
    db.writeDatabase(QStringLiteral("Stock"), kThreeFields, records);
    return db.load(QStringLiteral("Stock"));
}

QStringList csvLines(const QString &path)
{
    QString text = QString::fromUtf8(readFile(path));
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

} // namespace

void TestCsvExport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

void TestCsvExport::exportedFieldCount_data()
{
    QTest::addColumn<int>("omitRoles");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("seven keys export three fields")
        << 0
        << QStringList{QStringLiteral("\"Item name\",\"How many\",\"Paid?\""),
                       QStringLiteral("\"Item\",\"Count\",\"Paid\""),
                       QStringLiteral("\"Pen\",3,True")};
    QTest::newRow("six keys export two fields")
        << 1
        << QStringList{QStringLiteral("\"Item name\",\"How many\""),
                       QStringLiteral("\"Item\",\"Count\""), QStringLiteral("\"Pen\",3")};
}

void TestCsvExport::exportedFieldCount()
{
    QFETCH(int, omitRoles);
    QFETCH(QStringList, expected);
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Stock"), kThreeFields, omitRoles);
    db.writeDatabase(QStringLiteral("Stock"), kThreeFields,
                     {{QStringLiteral("Pen"), QStringLiteral("3"), true}});
    QVERIFY(db.load(QStringLiteral("Stock")));
    const CsvOutcome outcome = db.controller().exportCsv(db.out(QStringLiteral("s.csv")));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(csvLines(db.out(QStringLiteral("s.csv"))), expected);
}

void TestCsvExport::recordCells_data()
{
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QVariant>("flag");
    QTest::addColumn<QVariant>("date");
    QTest::addColumn<QVariant>("time");
    QTest::addColumn<QString>("line");
    const QVariant noon = wall(1904, 1, 1, 12, 0, 5);
    const QVariant day = wall(1960, 5, 4);
    QTest::newRow("text holding 42 is bare")
        << QVariant(QStringLiteral("42")) << QVariant(true) << day << noon
        << QStringLiteral("42,True,\"5/4/1960\",\"12:00:05 PM\"");
    QTest::newRow("text holding 42a is quoted")
        << QVariant(QStringLiteral("42a")) << QVariant(false) << day << noon
        << QStringLiteral("\"42a\",False,\"5/4/1960\",\"12:00:05 PM\"");
    QTest::newRow("CR LF becomes bar and LF")
        << QVariant(QStringLiteral("one\r\ntwo")) << QVariant(true) << day << noon
        << QStringLiteral("\"one|\ntwo\",True,\"5/4/1960\",\"12:00:05 PM\"");
    QTest::newRow("quotes doubled")
        << QVariant(QStringLiteral("a \"b\"")) << QVariant(true) << day << noon
        << QStringLiteral("\"a \"\"b\"\"\",True,\"5/4/1960\",\"12:00:05 PM\"");
    QTest::newRow("no text is nothing, other missing values two quotes")
        << QVariant() << QVariant() << QVariant() << QVariant()
        << QStringLiteral(",\"\",\"\",\"\"");
    QTest::newRow("empty text is two quotes")
        << QVariant(QString(u""_qs)) << QVariant() << QVariant() << QVariant()
        << QStringLiteral("\"\",\"\",\"\",\"\"");
    QTest::newRow("date with its time in 2039")
        << QVariant(QStringLiteral("x")) << QVariant(true) << QVariant(wall(2039, 1, 2, 3, 4, 5))
        << noon << QStringLiteral("\"x\",True,\"1/2/2039 3:04:05 AM\",\"12:00:05 PM\"");
}

void TestCsvExport::recordCells()
{
    QFETCH(QVariant, text);
    QFETCH(QVariant, flag);
    QFETCH(QVariant, date);
    QFETCH(QVariant, time);
    QFETCH(QString, line);
    const QList<CsvTestField> fields = {
        {QStringLiteral("Note"), QStringLiteral("Note")},
        {QStringLiteral("Done"), QStringLiteral("Done"), FieldYesNo},
        {QStringLiteral("When"), QStringLiteral("When"), FieldDate},
        {QStringLiteral("At"), QStringLiteral("At"), FieldTime},
    };
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Log"), fields);
    db.writeDatabase(QStringLiteral("Log"), fields, {{text, flag, date, time}});
    QVERIFY(db.load(QStringLiteral("Log")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("l.csv"))).ok);
    const QStringList lines = csvLines(db.out(QStringLiteral("l.csv")));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(2), line);
}

void TestCsvExport::matchesGoldenFile()
{
    // Every cell kind in one file, compared byte for byte (US settings).
    const QList<CsvTestField> fields = {
        {QStringLiteral("Name"), QStringLiteral("Full name")},
        {QStringLiteral("Qty"), QStringLiteral("Quantity")},
        {QStringLiteral("Ok"), QStringLiteral("Checked"), FieldYesNo},
        {QStringLiteral("Day"), QStringLiteral("Day"), FieldDate},
        {QStringLiteral("Start"), QStringLiteral("Start time"), FieldTime},
        {QStringLiteral("Stamp"), QStringLiteral("Stamp"), FieldDateTime},
    };
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Gold"), fields);
    db.writeDatabase(QStringLiteral("Gold"), fields,
                     {{QStringLiteral("Ann \"Nan\" Lee\r\nline two"), QStringLiteral("12.5"), true,
                       wall(1931, 2, 3), wall(1904, 1, 1, 7, 8, 9), wall(2039, 12, 31, 23, 59, 59)},
                      {QStringLiteral("Caf\u00e9, bar"), QStringLiteral("1,000"), false,
                       wall(2001, 10, 11, 12, 13, 14), wall(1904, 1, 1), QVariant()}});
    QVERIFY(db.load(QStringLiteral("Gold")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("gold.csv"))).ok);
    const QByteArray golden = readFile(QStringLiteral(LEDGERLY_TEST_DATA "/csv/golden-en_US.csv"));
    QVERIFY(!golden.isEmpty());
    QCOMPARE(readFile(db.out(QStringLiteral("gold.csv"))), golden);
}

void TestCsvExport::exportAndImportMoveTheProgressBar()
{
    const QList<CsvTestField> fields = {{QStringLiteral("Note"), QStringLiteral("Note")}};
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Log"), fields);
    QList<QVariantList> records;
    for (int i = 0; i < 300; ++i)
        records.append({QStringLiteral("line %1").arg(i)});
    db.writeDatabase(QStringLiteral("Log"), fields, records);
    QVERIFY(db.load(QStringLiteral("Log")));
    const auto moves = [&db](const std::function<bool()> &command) {
        QSignalSpy spy(&db.controller(), &MainController::progressChanged);
        if (!command())
            return QList<int>();
        QList<int> values;
        for (const QList<QVariant> &signal : spy)
            values << signal.at(0).toInt();
        return values;
    };
    const QString path = db.out(QStringLiteral("p.csv"));

    // Up to the end as records are written, then back to rest.
    const QList<int> exported = moves([&] { return db.controller().exportCsv(path).ok; });
    QVERIFY2(exported.size() > 10, qPrintable(QString::number(exported.size())));
    QVERIFY(std::is_sorted(exported.cbegin(), exported.cend() - 1));
    QCOMPARE(exported.at(exported.size() - 2), 100);
    QCOMPARE(exported.last(), 0);
    // The import's steps: the file read block by block into records, the
    // table filled.
    QCOMPARE(moves([&] { return db.controller().importCsv(path).ok; }), QList<int>({90, 100, 0}));
}

void TestCsvExport::recordMissingSchemaField()
{
    // The schema names a field the stored file lacks: the loader adds it to
    // the table, but the file read afresh has none, so the cell stays empty.
    QList<CsvTestField> schema = kThreeFields;
    schema.insert(1, {QStringLiteral("Shelf"), QStringLiteral("Shelf")});
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Stock"), schema);
    db.writeDatabase(QStringLiteral("Stock"), kThreeFields,
                     {{QStringLiteral("Pen"), QStringLiteral("3"), false}});
    QVERIFY(db.load(QStringLiteral("Stock")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("s.csv"))).ok);
    const QStringList lines = csvLines(db.out(QStringLiteral("s.csv")));
    QCOMPARE(lines.value(1), QStringLiteral("\"Item\",\"Shelf\",\"Count\",\"Paid\""));
    QCOMPARE(lines.value(2), QStringLiteral("\"Pen\",,3,False"));
}

void TestCsvExport::databaseWithoutRecordsWritesHeadersOnly()
{
    CsvTestDatabase db;
    QVERIFY(loadStock(db, {}));
    const CsvOutcome outcome = db.controller().exportCsv(db.out(QStringLiteral("e.csv")));
    QVERIFY(outcome.ok);
    QCOMPARE(readFile(db.out(QStringLiteral("e.csv"))),
             QByteArray("\"Item name\",\"How many\",\"Paid?\"\r\n\"Item\",\"Count\",\"Paid\"\r\n"));
    QCOMPARE(outcome.message, QDir::toNativeSeparators(db.out(QStringLiteral("e.csv"))) +
                                  QStringLiteral(" created.\r0 record(s) exported"));
}

void TestCsvExport::recordLinesFollowTheTable_data()
{
    QTest::addColumn<int>("rowChange");
    QTest::addColumn<int>("lines");
    QTest::newRow("every record shown") << 0 << 4;
    QTest::newRow("two rows removed from the table") << -2 << 2;
    QTest::newRow("rows added in the table are not records") << 3 << 4;
}

void TestCsvExport::recordLinesFollowTheTable()
{
    QFETCH(int, rowChange);
    QFETCH(int, lines);
    CsvTestDatabase db;
    QList<QVariantList> records;
    for (int i = 0; i < 4; ++i)
        records.append({QStringLiteral("item %1").arg(i), QString::number(i), false});
    QVERIFY(loadStock(db, records));
    GridModel &grid = db.controller().grid();
    if (rowChange < 0)
        grid.removeRows(0, -rowChange);
    for (int i = 0; i < rowChange; ++i)
        grid.addRow();

    const CsvOutcome outcome = db.controller().exportCsv(db.out(QStringLiteral("s.csv")));
    QVERIFY(outcome.ok);
    QCOMPARE(outcome.recordLines, lines);
    QCOMPARE(csvLines(db.out(QStringLiteral("s.csv"))).size(), lines + 2);
    // The message counts the stored records whatever was written.
    QVERIFY2(outcome.message.endsWith(QStringLiteral(" created.\r4 record(s) exported")),
             qPrintable(outcome.message));
}

void TestCsvExport::unsavedEditsAreNotExported()
{
    CsvTestDatabase db;
    QVERIFY(loadStock(db));
    GridModel &grid = db.controller().grid();
    grid.setData(grid.index(0, 1), QStringLiteral("Pencil"));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("s.csv"))).ok);
    QCOMPARE(csvLines(db.out(QStringLiteral("s.csv"))).value(2), QStringLiteral("\"Pen\",3,True"));
}

void TestCsvExport::picturesWrittenBesideTheFile()
{
    const QList<CsvTestField> fields = {
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("Photo"), QStringLiteral("Photo"), FieldPicture},
    };
    const QByteArray red = bitmap(Qt::red);
    const QByteArray blue = bitmap(Qt::blue, 5, 4);
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Things"), fields);
    db.writeDatabase(QStringLiteral("Things"), fields,
                     {{QStringLiteral("a"), red}, {QStringLiteral("b"), blue}});
    QVERIFY(db.load(QStringLiteral("Things")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("export.csv"))).ok);

    const QString first = db.out(QStringLiteral("export.csv1.bmp"));
    const QString second = db.out(QStringLiteral("export.csv2.bmp"));
    QCOMPARE(readFile(first), red);
    QCOMPARE(readFile(second), blue);
    const QStringList lines = csvLines(db.out(QStringLiteral("export.csv")));
    QCOMPARE(lines.value(2), QStringLiteral("\"a\",\"%1\"").arg(QDir::toNativeSeparators(first)));
    QCOMPARE(lines.value(3), QStringLiteral("\"b\",\"%1\"").arg(QDir::toNativeSeparators(second)));
}

void TestCsvExport::secondPictureFieldKeepsItsOwnBitmap()
{
    const QList<CsvTestField> fields = {
        {QStringLiteral("Front"), QStringLiteral("Front"), FieldPicture},
        {QStringLiteral("Back"), QStringLiteral("Back"), FieldPicture},
    };
    const QByteArray front = bitmap(Qt::green);
    const QByteArray back = bitmap(Qt::yellow, 2, 2);
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Cards"), fields);
    db.writeDatabase(QStringLiteral("Cards"), fields, {{front, back}});
    QVERIFY(db.load(QStringLiteral("Cards")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("c.csv"))).ok);
    QCOMPARE(readFile(db.out(QStringLiteral("c.csv1.bmp"))), front);
    QCOMPARE(readFile(db.out(QStringLiteral("c.csv1_2.bmp"))), back);
}

void TestCsvExport::missingPictureNamesNoStaleFile()
{
    const QList<CsvTestField> fields = {
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("Photo"), QStringLiteral("Photo"), FieldPicture},
    };
    CsvTestDatabase db;
    // A bitmap an earlier export left under the same name.
    QVERIFY(writeFile(db.out(QStringLiteral("p.csv1.bmp")), bitmap(Qt::black)));
    db.writeSchema(QStringLiteral("Things"), fields);
    db.writeDatabase(QStringLiteral("Things"), fields, {{QStringLiteral("a"), QVariant()}});
    QVERIFY(db.load(QStringLiteral("Things")));
    QVERIFY(db.controller().exportCsv(db.out(QStringLiteral("p.csv"))).ok);
    QCOMPARE(csvLines(db.out(QStringLiteral("p.csv"))).value(2), QStringLiteral("\"a\",\"\""));
}

void TestCsvExport::bitmapsThatCannotBeWrittenAreReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("csvWritten");
    QTest::newRow("name too long for its bitmaps")
        << QString(248, u'n') + u".csv"_qs << u"is too long"_qs << false;
    QTest::newRow("bitmap name taken by a folder")
        << u"p.csv"_qs << u"1 of 1 bitmap(s) could not be written"_qs << true;
}

void TestCsvExport::bitmapsThatCannotBeWrittenAreReported()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(bool, csvWritten);
    const QList<CsvTestField> fields = {
        {QStringLiteral("Name"), QStringLiteral("Name")},
        {QStringLiteral("Photo"), QStringLiteral("Photo"), FieldPicture},
    };
    CsvTestDatabase db;
    db.writeSchema(QStringLiteral("Things"), fields);
    db.writeDatabase(QStringLiteral("Things"), fields, {{QStringLiteral("a"), bitmap(Qt::red)}});
    QVERIFY(db.load(QStringLiteral("Things")));
    QVERIFY(QDir().mkpath(db.out(QStringLiteral("p.csv1.bmp"))));
    const CsvOutcome outcome = db.controller().exportCsv(db.out(name));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
    QCOMPARE(QFile::exists(db.out(name)), csvWritten);
}

void TestCsvExport::pdbInAFolderNameStays()
{
    CsvTestDatabase db;
    QVERIFY(loadStock(db));
    QVERIFY(QDir().mkpath(db.out(QStringLiteral("x.pdb.out"))));
    QVERIFY(QDir().mkpath(db.out(QStringLiteral("x.csv.out"))));
    const CsvOutcome outcome =
        db.controller().exportCsv(db.out(QStringLiteral("x.pdb.out/list.csv")));
    QVERIFY(outcome.ok);
    // The CSV goes where the bitmaps go: into the folder chosen.
    QCOMPARE(outcome.csvPath, db.out(QStringLiteral("x.pdb.out/list.csv")));
    QVERIFY(QFile::exists(db.out(QStringLiteral("x.pdb.out/list.csv"))));
    QVERIFY(!QFile::exists(db.out(QStringLiteral("x.csv.out/list.csv"))));
}

void TestCsvExport::errorMessages_data()
{
    QTest::addColumn<QByteArray>("database"); // replaces the file; "gone" removes it
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    QTest::newRow("damaged database")
        << QByteArray("no database at all") << QStringLiteral("s.csv")
        << QStringLiteral("Error opening database.  Ensure this a LedgerlyDatabase.");
    QTest::newRow("database gone is no damage")
        << QByteArray("gone") << QStringLiteral("s.csv")
        << QStringLiteral("Error opening database.  The file \"%1\" does not exist (error 1).");
    QTest::newRow("CSV file cannot be created")
        << QByteArray() << QStringLiteral("no such folder/s.csv")
        << QStringLiteral("Error creating CSV file.  Check diskspace or read-only status.");
}

void TestCsvExport::errorMessages()
{
    QFETCH(QByteArray, database);
    QFETCH(QString, target);
    QFETCH(QString, message);
    CsvTestDatabase db;
    QVERIFY(loadStock(db));
    const QString path = db.databasePath(QStringLiteral("Stock"));
    if (database == "gone")
        QVERIFY(QFile::remove(path));
    else if (!database.isEmpty())
        QVERIFY(writeFile(path, database));
    db.controller().ExportCsv(db.out(target));
    QCOMPARE(db.prompter.messages.size(), 1);
    QCOMPARE(db.prompter.messages.at(0).text, message.arg(QDir::toNativeSeparators(path)));
    QCOMPARE(db.prompter.messages.at(0).icon, Prompter::Icon::Information);
    QVERIFY(!QFile::exists(db.out(target)));
}

void TestCsvExport::commandAsksForTheFile_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("saveAnswer");   // to "Save them before exporting?"; 0 not asked
    QTest::addColumn<QString>("answer");   // the file chosen; empty: cancelled
    QTest::addColumn<QString>("exported"); // the first name in the file; empty: no file
    QTest::addColumn<QString>("stored");
    QTest::newRow("cancelled does nothing") << false << 0 << QString() << QString() << "Pen";
    QTest::newRow("chosen file is exported") << false << 0 << "chosen.csv"
                                             << "Pen"
                                             << "Pen";
    QTest::newRow("unsaved edits: Yes saves them, then exports")
        << true << int(Prompter::Yes) << "chosen.csv"
        << "Ink"
        << "Ink";
    QTest::newRow("unsaved edits: No exports the file as stored")
        << true << int(Prompter::No) << "chosen.csv"
        << "Pen"
        << "Pen";
    QTest::newRow("unsaved edits: Cancel does nothing")
        << true << int(Prompter::Cancel) << QString() << QString() << "Pen";
}

void TestCsvExport::commandAsksForTheFile()
{
    QFETCH(bool, edited);
    QFETCH(int, saveAnswer);
    QFETCH(QString, answer);
    QFETCH(QString, exported);
    CsvTestDatabase db;
    QVERIFY(loadStock(db));
    if (edited)
        db.controller().document().editor().editCell(0, 1, QStringLiteral("Ink"));
    if (saveAnswer)
        db.prompter.answers.enqueue(saveAnswer);
    if (saveAnswer != Prompter::Cancel)
        db.prompter.fileAnswers.enqueue(answer.isEmpty() ? QString() : db.out(answer));
    db.controller().ExportCSV_Click();

    if (saveAnswer) {
        QCOMPARE(db.prompter.messages.first().text,
                 QStringLiteral("The table has unsaved changes. Save them before exporting?"));
        QCOMPARE(db.prompter.messages.first().buttons, Prompter::Buttons::YesNoCancel);
    }
    QCOMPARE(db.prompter.fileRequests.size(), saveAnswer == Prompter::Cancel ? 0 : 1);
    QCOMPARE(QFile::exists(db.out(u"chosen.csv"_s)), !exported.isEmpty());
    if (!exported.isEmpty())
        QCOMPARE(csvLines(db.out(u"chosen.csv"_s)).value(2).section(u',', 0, 0),
                 u"\""_s + exported + u"\""_s);
    QTEST(PdbDatabase::fromBytes(readFile(db.databasePath(u"Stock"_s)))
              ->Table()
              .Record(0)
              .value(0)
              .toString(),
          "stored");
    if (db.prompter.fileRequests.isEmpty())
        return;
    // The dialog starts in the documents folder with the database's name,
    // then where the last CSV file was chosen.
    const Prompter::FileRequest &request = db.prompter.fileRequests.at(0);
    QVERIFY(request.save);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(request.initialFolder, documents);
    QCOMPARE(request.fileName, QDir(documents).filePath(u"Stock.csv"_s));
    QVERIFY(request.filter.startsWith(QStringLiteral("CSV/TXT - Comma Delimited Files (")));
    QVERIFY(request.filter.contains(QStringLiteral("*.csv")));
    if (answer.isEmpty())
        return;
    db.prompter.fileAnswers.enqueue(QString());
    db.controller().ImportCSV_Click();
    QCOMPARE(db.prompter.fileRequests.last().initialFolder, db.outFolder());
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
