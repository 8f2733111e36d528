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
    void decode_data();
    void decode();
    void blankLines();
};

namespace {

// Renders records as "cell|cell" lines, quoted cells in brackets, so that a
// whole parse compares as one string list.
QStringList render(const QString &text)
{
    QStringList lines;
    CsvReader reader(text);
    CsvReader::Record record;
    while (reader.readRecord(record)) {
        QStringList cells;
        for (const CsvReader::Cell &cell : record)
            cells.append(cell.quoted ? QLatin1Char('[') + cell.text + QLatin1Char(']') : cell.text);
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
    QTest::newRow("CR inside quotes still ends the record")
        << QStringLiteral("\"open\rnext\"")
        << QStringList{QStringLiteral("[open]"), QStringLiteral("next\"")};
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
    QTest::newRow("unterminated quote runs to the end")
        << QStringLiteral("\"abc") << QStringList{QStringLiteral("[abc]")};
    QTest::newRow("lone quote") << QStringLiteral("\"") << QStringList{QStringLiteral("[]")};
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

void TestCsvReader::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("\"a\"") << QStringLiteral("\"a\"");
    QTest::newRow("byte-order mark dropped")
        << QByteArray("\xef\xbb\xbf\"a\"") << QStringLiteral("\"a\"");
#ifndef Q_OS_WIN
    QTest::newRow("UTF-8 text") << QByteArray("\"Caf\xc3\xa9\"") << QStringLiteral("\"Caf\u00e9\"");
#endif
}

void TestCsvReader::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(CsvReader::decode(bytes), expected);
}

void TestCsvReader::blankLines()
{
    const QString text = QStringLiteral("a\r\n\r\n\"\"\r\n,\r\n");
    CsvReader reader(text);
    CsvReader::Record record;
    QList<bool> blank;
    while (reader.readRecord(record))
        blank.append(CsvReader::isBlank(record));
    QCOMPARE(blank, (QList<bool>{false, true, false, false}));
}

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csvreader.moc"
