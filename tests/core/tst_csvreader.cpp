#include "exchange/CsvReader.h"

#include <QTest>

using namespace Ledgerly;

// The record parser of the import: how records and cells are split, how
// quoted cells are unquoted, and what it does with malformed text.
class TestCsvReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void records_data();
    void records();
    void recordsReadInPiecesAreTheSame_data();
    void recordsReadInPiecesAreTheSame();
    void linesOfRecordsAndBytes();
    void blankLines();
};

namespace {

// Renders records as "cell|cell" lines, quoted cells in brackets (an unclosed
// one without its closing bracket), so that a whole parse compares as one
// string list. The text is handed over `piece` bytes at a time, as the
// import reads a file a block at a time; 0 hands it over whole.
QStringList render(const QString &text, qsizetype piece = 0)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray buffer = piece > 0 ? QByteArray() : bytes;
    qsizetype fed = piece > 0 ? 0 : bytes.size();
    CsvReader reader(buffer, piece == 0);
    QStringList lines;
    CsvReader::Record record;
    for (;;) {
        const CsvReader::Result result = reader.readRecord(record);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::NeedMore) {
            buffer.remove(0, reader.position());
            const qsizetype n = qMin(piece, bytes.size() - fed);
            buffer.append(bytes.mid(fed, n));
            fed += n;
            reader.setText(buffer, fed >= bytes.size());
            continue;
        }
        QStringList cells;
        for (const CsvReader::Cell &cell : record) {
            const QString value = QString::fromUtf8(cell.bytes);
            cells.append(cell.quoted ? QLatin1Char('[') + value +
                                           (cell.closed ? QStringLiteral("]") : QString())
                                     : value);
        }
        lines.append(cells.join(QLatin1Char('|')));
    }
    return lines;
}

} // namespace

void TestCsvReader::records_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("CR LF line ends")
        << QStringLiteral("\"a\",\"b\"\r\n1,2\r\n")
        << QStringList{QStringLiteral("[a]|[b]"), QStringLiteral("1|2")};
    QTest::newRow("CR alone ends a record")
        << QStringLiteral("1\r2") << QStringList{QStringLiteral("1"), QStringLiteral("2")};
    QTest::newRow("LF alone outside quotes ends a record")
        << QStringLiteral("1,2\n3,4\n")
        << QStringList{QStringLiteral("1|2"), QStringLiteral("3|4")};
    QTest::newRow("LF in a CR LF file ends a record too")
        << QStringLiteral("a\nb,c\r\nd\r\n")
        << QStringList{QStringLiteral("a"), QStringLiteral("b|c"), QStringLiteral("d")};
    QTest::newRow("undoubled quote before an LF closes the cell")
        << QStringLiteral("\"say \"hi\"\nbye\",x\r\n")
        << QStringList{QStringLiteral("[say \"hi]"), QStringLiteral("bye\"|x")};
    QTest::newRow("LF inside quotes of an LF file is kept")
        << QStringLiteral("\"a\nb\",c\nd\n")
        << QStringList{QStringLiteral("[a\nb]|c"), QStringLiteral("d")};
    QTest::newRow("LF inside quotes is kept")
        << QStringLiteral("\"one|\ntwo\",3\r\n") << QStringList{QStringLiteral("[one|\ntwo]|3")};
    QTest::newRow("CR inside quotes ends the record, the cell unclosed")
        << QStringLiteral("\"open\rnext\"")
        << QStringList{QStringLiteral("[open"), QStringLiteral("next\"")};
    QTest::newRow("doubled quotes")
        << QStringLiteral("\"say \"\"hi\"\"\",x") << QStringList{QStringLiteral("[say \"hi\"]|x")};
    QTest::newRow("undoubled inner quotes of old files")
        << QStringLiteral("\"say \"hi\" now\",x\r\n")
        << QStringList{QStringLiteral("[say \"hi\" now]|x")};
    QTest::newRow("a doubled quote before a comma stays doubled")
        << QStringLiteral("\"a\"\",b\",2") << QStringList{QStringLiteral("[a\",b]|2")};
    QTest::newRow("quote closing a value ending in a doubled quote")
        << QStringLiteral("\"a\"\"\"\r\n") << QStringList{QStringLiteral("[a\"]")};
    QTest::newRow("empty quoted and empty bare cells")
        << QStringLiteral("\"\",,\"\"\r\n") << QStringList{QStringLiteral("[]||[]")};
    QTest::newRow("trailing comma gives an empty last cell")
        << QStringLiteral("a,") << QStringList{QStringLiteral("a|")};
    QTest::newRow("quotes inside a bare cell are kept")
        << QStringLiteral("5\"x,y") << QStringList{QStringLiteral("5\"x|y")};
    QTest::newRow("unterminated quote runs to the end, unclosed")
        << QStringLiteral("\"abc") << QStringList{QStringLiteral("[abc")};
    QTest::newRow("lone quote") << QStringLiteral("\"") << QStringList{QStringLiteral("[")};
    QTest::newRow("byte-order mark dropped")
        << QStringLiteral("\ufeff\"a\",b") << QStringList{QStringLiteral("[a]|b")};
    QTest::newRow("UTF-8 text stays as its bytes")
        << QStringLiteral("\"Caf\u00e9\",\u20ac")
        << QStringList{QStringLiteral("[Caf\u00e9]|\u20ac")};
    QTest::newRow("bar stays as it is")
        << QStringLiteral("\"a|b\"") << QStringList{QStringLiteral("[a|b]")};
    QTest::newRow("no text, no record") << QString() << QStringList{};
}

void TestCsvReader::records()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(render(text), expected);
}

void TestCsvReader::recordsReadInPiecesAreTheSame_data()
{
    records_data();
}

// A record that runs past the end of a block is read again once the next
// block has come, whatever byte the block ends on.
void TestCsvReader::recordsReadInPiecesAreTheSame()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    for (qsizetype piece = 1; piece <= text.toUtf8().size() + 1; ++piece)
        QVERIFY2(render(text, piece) == expected, qPrintable(QString::number(piece)));
}

void TestCsvReader::linesOfRecordsAndBytes()
{
    const QByteArray text = "a\r\n\"b\nc\",\"d\"\r\re\n";
    CsvReader reader(text);
    CsvReader::Record record;
    QList<int> lines;
    while (reader.readRecord(record) == CsvReader::Result::Record) {
        lines.append(reader.recordLine());
        for (const CsvReader::Cell &cell : record)
            lines.append(reader.lineAt(cell.offset));
    }
    // Records start on lines 1, 2, 4 (after a blank one) and 5; the cell
    // "d" starts on line 3, after the line feed inside "b".
    QCOMPARE(lines, (QList<int>{1, 1, 2, 2, 3, 4, 4, 5, 5}));
}

void TestCsvReader::blankLines()
{
    const QByteArray text = "a\r\n\r\n\"\"\r\n,\r\n";
    CsvReader reader(text);
    CsvReader::Record record;
    QList<bool> blank;
    while (reader.readRecord(record) == CsvReader::Result::Record)
        blank.append(CsvReader::isBlank(record));
    QCOMPARE(blank, (QList<bool>{false, true, false, false}));
}

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csvreader.moc"
