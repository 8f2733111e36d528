#include "TestValues.h"
#include "common/SafeFile.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbRecordStream.h"
#include "database/PdbTime.h"
#include "database/PdbValueEncoder.h"
#include "exchange/CsvExporter.h"
#include "exchange/CsvNaming.h"
#include "exchange/CsvRegionalFormat.h"
#include "exchange/CsvWriter.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Ledgerly;

// The cell rules of the export, the regional formats they rest on, and the
// naming of the files an export writes.
class TestCsvWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellText_data();
    void cellText();
    void numbersWithTheDelimiterStayOneCell_data();
    void numbersWithTheDelimiterStayOneCell();
    void numberTextAgreesWithLocale_data();
    void numberTextAgreesWithLocale();
    void lineLayout();
    void encodedInSystemCodePage();
    void storedValuesWriteAsTheirValues_data();
    void storedValuesWriteAsTheirValues();
    void longExportWritesEveryLine();
    void storedTimesTakeApartAsQDateDoes();
    void fourDigitYear_data();
    void fourDigitYear();
    void timeWithSeconds_data();
    void timeWithSeconds();
    void dateAndTimeReadBack_data();
    void dateAndTimeReadBack();
    void patternMatchesQLocale_data();
    void patternMatchesQLocale();
    void namePatterns_data();
    void namePatterns();
    void parseRejects_data();
    void parseRejects();
    void parseBool_data();
    void parseBool();
    void csvPathFor_data();
    void csvPathFor();
    void bitmapNames_data();
    void bitmapNames();
};

void TestCsvWriter::cellText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("timeOnly");
    QTest::addColumn<QString>("expected");

    const QString us = QStringLiteral("en_US");
    QTest::newRow("text holding 42 is bare")
        << us << QVariant(QStringLiteral("42")) << false << QStringLiteral("42");
    QTest::newRow("text holding 42a is quoted")
        << us << QVariant(QStringLiteral("42a")) << false << QStringLiteral("\"42a\"");
    QTest::newRow("decimal text is bare")
        << us << QVariant(QStringLiteral("-3.25")) << false << QStringLiteral("-3.25");
    QTest::newRow("text kept as written, leading zero")
        << us << QVariant(QStringLiteral("007")) << false << QStringLiteral("007");
    QTest::newRow("infinity is not a number")
        << us << QVariant(QStringLiteral("inf")) << false << QStringLiteral("\"inf\"");
    QTest::newRow("empty text is two quotes")
        << us << QVariant(QString()) << false << QStringLiteral("\"\"");
    QTest::newRow("null is two quotes") << us << QVariant() << false << QStringLiteral("\"\"");
    QTest::newRow("CR LF becomes bar LF")
        << us << QVariant(QStringLiteral("one\r\ntwo")) << false << QStringLiteral("\"one|\ntwo\"");
    QTest::newRow("lone CR becomes bar")
        << us << QVariant(QStringLiteral("a\rb")) << false << QStringLiteral("\"a|b\"");
    QTest::newRow("quotes are doubled") << us << QVariant(QStringLiteral("say \"hi\"")) << false
                                        << QStringLiteral("\"say \"\"hi\"\"\"");
    QTest::newRow("commas stay inside quotes")
        << us << QVariant(QStringLiteral("a, b")) << false << QStringLiteral("\"a, b\"");
    QTest::newRow("bar stays") << us << QVariant(QStringLiteral("a|b")) << false
                               << QStringLiteral("\"a|b\"");
    QTest::newRow("true is bare True") << us << QVariant(true) << false << QStringLiteral("True");
    QTest::newRow("false is bare False")
        << us << QVariant(false) << false << QStringLiteral("False");
    QTest::newRow("integer is bare") << us << QVariant(1234) << false << QStringLiteral("1234");
    QTest::newRow("midnight date alone")
        << us << QVariant(wall(1965, 3, 7)) << false << QStringLiteral("\"3/7/1965\"");
    QTest::newRow("date with time") << us << QVariant(wall(2039, 12, 31, 18, 5, 9)) << false
                                    << QStringLiteral("\"12/31/2039 6:05:09 PM\"");
    QTest::newRow("time field gives time alone")
        << us << QVariant(wall(1904, 1, 1, 7, 30, 0)) << true << QStringLiteral("\"7:30:00 AM\"");
    QTest::newRow("time field at midnight")
        << us << QVariant(wall(1904, 1, 1)) << true << QStringLiteral("\"12:00:00 AM\"");
    QTest::newRow("invalid date is no value")
        << us << QVariant(QDateTime()) << false << QStringLiteral("\"\"");
    QTest::newRow("german date order")
        << QStringLiteral("de_DE") << QVariant(wall(1969, 7, 20, 20, 17, 40)) << false
        << QStringLiteral("\"20.07.1969 20:17:40\"");
    QTest::newRow("unknown type bytes as hex")
        << us << QVariant(QByteArray("\x01\x02", 2)) << false << QStringLiteral("\"0102\"");
}

void TestCsvWriter::cellText()
{
    QFETCH(QString, locale);
    QFETCH(QVariant, value);
    QFETCH(bool, timeOnly);
    QFETCH(QString, expected);
    const CsvRegionalFormat format{QLocale(locale)};
    QCOMPARE(CsvWriter::cellText(value, format, timeOnly), expected);
}

void TestCsvWriter::numbersWithTheDelimiterStayOneCell_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal comma is quoted")
        << QStringLiteral("de_DE") << QStringLiteral("3,5") << QStringLiteral("\"3,5\"");
    QTest::newRow("comma grouping is quoted")
        << QStringLiteral("en_US") << QStringLiteral("1,234.5") << QStringLiteral("\"1,234.5\"");
    QTest::newRow("german number without comma is bare")
        << QStringLiteral("de_DE") << QStringLiteral("1.234") << QStringLiteral("1.234");
}

void TestCsvWriter::numbersWithTheDelimiterStayOneCell()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const CsvRegionalFormat format{QLocale(locale)};
    QVERIFY(format.isNumberText(text));
    QCOMPARE(CsvWriter::cellText(text, format), expected);
}

void TestCsvWriter::numberTextAgreesWithLocale_data()
{
    QTest::addColumn<QString>("locale");
    const char *locales[] = {"C", "en_US", "de_DE", "fr_FR", "de_CH", "ar_EG", "hi_IN"};
    for (const char *name : locales)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCsvWriter::numberTextAgreesWithLocale()
{
    // The quick answer must be the locale's own: any finite number it reads.
    QFETCH(QString, locale);
    const QLocale l(locale);
    const CsvRegionalFormat format{l};
    QStringList texts = {
        u"12.5"_qs,  u" 7 "_qs,       u"1e5"_qs,     u"1E5"_qs,
        u"1,000"_qs, u"+3"_qs,        u"-0.5"_qs,    u"abc"_qs,
        u"12a"_qs,   u"283 order"_qs, u"inf"_qs,     u"nan"_qs,
        u""_qs,      u"1.234,5"_qs,   u"3,5"_qs,     u"1'234"_qs,
        u"12%"_qs,   u"0x10"_qs,      u"1 000"_qs,   u"--1"_qs,
        u"1e999"_qs, u"\t5\n"_qs,     u"5 kg"_qs,    u"+49 589 1129033"_qs,
        u"215"_qs,   u"113.64"_qs,    u"007"_qs,     u"12."_qs,
        u".5"_qs,    u"1.2.3"_qs,     u" 42.5\t"_qs, u"123456789012345678901234567890123"_qs,
        u"#3"_qs};
    texts << l.toString(1234567.25, 'f', 2) << l.toString(-42) << l.toString(1.5e-7, 'g', 3);
    for (const QString &text : texts) {
        bool ok = false;
        const double value = l.toDouble(text, &ok);
        QVERIFY2(format.isNumberText(text) == (ok && std::isfinite(value)), qPrintable(text));
    }
}

void TestCsvWriter::lineLayout()
{
    const CsvRegionalFormat format{QLocale(QStringLiteral("en_US"))};
    CsvWriter writer(format);
    writer.addQuoted(QStringLiteral("Amount"));
    writer.addQuoted(QStringLiteral("Note"));
    writer.endLine();
    writer.addValue(QStringLiteral("12"));
    writer.addEmpty();
    writer.addValue(true);
    writer.endLine();
    QCOMPARE(writer.text(), QStringLiteral("\"Amount\",\"Note\"\r\n12,,True\r\n"));
}

void TestCsvWriter::encodedInSystemCodePage()
{
    const CsvRegionalFormat format{QLocale(QStringLiteral("en_US"))};
    CsvWriter writer(format);
    writer.addQuoted(QStringLiteral("Caf\u00e9 \u20ac"));
    writer.endLine();
#ifdef Q_OS_WIN
    QSKIP("the ANSI code page depends on the machine");
#else
    QCOMPARE(writer.encoded(), QByteArray("\"Caf\xc3\xa9 \xe2\x82\xac\"\r\n"));
#endif
}

void TestCsvWriter::storedValuesWriteAsTheirValues_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    const QStringList locales = {u"en_US"_qs, u"de_DE"_qs, u"fr_FR"_qs, u"ja_JP"_qs, u"C"_qs};
    const QList<QPair<int, QVariant>> values = {
        {FieldText, u"42"_qs},
        {FieldText, u" 7 "_qs},
        {FieldText, u"3,5"_qs},
        {FieldText, u"1.234,5"_qs},
        {FieldText, u"-0.5e3"_qs},
        {FieldText, u"Caf\u00e9 \"x\"\r\nb|c"_qs},
        {FieldText, u"\u20ac \u2030 \u0178 \u00a0\t"_qs},
        {FieldText, QString(u""_qs)},
        {FieldYesNo, true},
        {FieldYesNo, false},
        {FieldDate, wall(1969, 7, 20)},
        {FieldDate, wall(2039, 12, 31, 23, 59, 59)},
        {FieldDateTime, wall(1904, 1, 1, 0, 0, 1)},
        {FieldDateTime, wall(2001, 1, 1)},
        {FieldTime, wall(1904, 1, 1, 13, 45, 10)},
        {FieldTime, wall(1904, 1, 1)},
        {9, QByteArray("\x00\xff\x10", 3)},
        {9, QByteArray("")},
        {FieldYesNo, QVariant()},
        {FieldDate, QVariant()},
    };
    for (const QString &l : locales)
        for (const auto &[type, value] : values)
            QTest::addRow("%s %d %s", qPrintable(l), type, qPrintable(value.toString()))
                << l << type << value;
}

// The export writes a stored value straight from its bytes; the text must
// be the one the value itself gives.
void TestCsvWriter::storedValuesWriteAsTheirValues()
{
    QFETCH(QString, locale);
    QFETCH(int, type);
    QFETCH(QVariant, value);
    const CsvRegionalFormat format{QLocale(locale)};
    QByteArray stored;
    QString why;
    if (value.isValid())
        QVERIFY2(PdbValueEncoder::encode(value, type, &stored, &why), qPrintable(why));
    CsvWriter writer(format);
    writer.addStored(type, value.isValid() ? stored.constData() : nullptr, stored.size());
    const QVariant decoded = value.isValid()
                                 ? PdbRecord::decode(type, stored.constData(), int(stored.size()))
                                 : QVariant();
    QCOMPARE(writer.text(), CsvWriter::cellText(decoded, format, type == FieldTime));
    if (type == FieldText)
        QCOMPARE(format.isNumberText1252(stored), format.isNumberText(value.toString()));
}

void TestCsvWriter::longExportWritesEveryLine()
{
    // The lines go out a block at a time: whatever meets at a block's edge
    // (an accent, a CR, a quote), the file is every line in order.
    QTemporaryDir dir;
    PdbDatabase database;
    database.Table().AddField(QStringLiteral("Note"), FieldText);
    database.Table().AddField(QStringLiteral("When"), FieldDate);
    const CsvRegionalFormat format{QLocale(QStringLiteral("en_US"))};
    QByteArray expected = "\"Note\",\"When\"\r\n\"Note\",\"When\"\r\n";
    const int records = 20000; // well over one block
    for (int i = 0; i < records; ++i) {
        const QString note = QStringLiteral("Caf\u00e9 \"%1\"\r\n\u20ac").arg(i);
        const QDateTime when = wall(1990, 1, 1).addSecs(qint64(i) * 4001);
        PdbRecord &record = database.Table().AddRecord();
        record.setValue(0, note);
        record.setValue(1, when);
        expected += (CsvWriter::cellText(note, format) + QLatin1Char(',') +
                     CsvWriter::cellText(when, format) + QStringLiteral("\r\n"))
                        .toUtf8();
    }
    const QString pdb = dir.filePath(QStringLiteral("Long.pdb"));
    database.SaveAs(pdb);
    QFile file(pdb);
    QVERIFY(file.open(QIODevice::ReadOnly));
    PdbRecordStream stream(file, file.size());
    stream.readHead();

    const QString csv = dir.filePath(QStringLiteral("long.csv"));
    SafeFile::Writer out(csv, 4096);
    QVERIFY(out.open());
    CsvExporter exporter(out, format);
    exporter.writeHeaders({QStringLiteral("Note"), QStringLiteral("When")},
                          {QStringLiteral("Note"), QStringLiteral("When")});
    exporter.writeRecords(stream, {QStringLiteral("Note"), QStringLiteral("When")}, records,
                          QString(), QString());
    exporter.finish();
    QVERIFY(out.commit());
    QCOMPARE(exporter.linesWritten(), records);
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QVERIFY(bytes.size() > 3 * 256 * 1024); // several blocks of the exporter, many of the file
    QCOMPARE(bytes.size(), expected.size());
    QVERIFY(bytes == expected);
}

void TestCsvWriter::storedTimesTakeApartAsQDateDoes()
{
    // Every day the format holds (and a few seconds on each side of a day's
    // edge), taken apart without QDate, as QDate and QTime take it apart.
    QList<quint32> seconds = {0, 59, 86399, 86400, 0xFFFFFFFFu};
    for (quint32 day = 0; day <= 0xFFFFFFFFu / 86400; ++day)
        seconds << day * 86400 + (day * 7919) % 86400;
    for (const quint32 s : seconds) {
        const QDateTime expected = PdbTime::fromSeconds(s);
        const CsvDateTimePattern::Parts parts = CsvDateTimePattern::partsOfStored(s);
        const bool same = QDate(parts.year, parts.month, parts.day) == expected.date() &&
                          parts.dayOfWeek == expected.date().dayOfWeek() &&
                          QTime(parts.hour, parts.minute, parts.second) == expected.time();
        if (!same)
            QFAIL(qPrintable(QString::number(s)));
    }
}

void TestCsvWriter::fourDigitYear_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two-digit year widened")
        << QStringLiteral("M/d/yy") << QStringLiteral("M/d/yyyy");
    QTest::newRow("four-digit year kept")
        << QStringLiteral("dd.MM.yyyy") << QStringLiteral("dd.MM.yyyy");
    QTest::newRow("year first") << QStringLiteral("yy-MM-dd") << QStringLiteral("yyyy-MM-dd");
    QTest::newRow("quoted y untouched")
        << QStringLiteral("d 'yy' M yy") << QStringLiteral("d 'yy' M yyyy");
}

void TestCsvWriter::fourDigitYear()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(CsvRegionalFormat::fourDigitYear(format), expected);
}

void TestCsvWriter::timeWithSeconds_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone dropped") << QStringLiteral("HH:mm:ss t") << QStringLiteral("HH:mm:ss");
    QTest::newRow("zone dropped, AM/PM kept")
        << QStringLiteral("h:mm:ss AP t") << QStringLiteral("h:mm:ss AP");
    QTest::newRow("seconds added") << QStringLiteral("h:mm AP") << QStringLiteral("h:mm:ss AP");
    QTest::newRow("no minutes at all") << QStringLiteral("h AP") << QStringLiteral("HH:mm:ss");
}

void TestCsvWriter::timeWithSeconds()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(CsvRegionalFormat::timeWithSeconds(format), expected);
}

void TestCsvWriter::dateAndTimeReadBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("value");
    const QStringList locales = {QStringLiteral("en_US"), QStringLiteral("de_DE"),
                                 QStringLiteral("en_GB"), QStringLiteral("ja_JP"),
                                 QStringLiteral("C")};
    for (const QString &l : locales) {
        QTest::addRow("%s before 1970", qPrintable(l)) << l << wall(1931, 2, 3, 4, 5, 6);
        QTest::addRow("%s in 2039", qPrintable(l)) << l << wall(2039, 11, 30, 23, 59, 59);
        QTest::addRow("%s midnight", qPrintable(l)) << l << wall(2001, 1, 1);
        QTest::addRow("%s first day", qPrintable(l)) << l << wall(1904, 1, 1, 0, 0, 1);
    }
}

void TestCsvWriter::dateAndTimeReadBack()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, value);
    const CsvRegionalFormat format{QLocale(locale)};
    const QString text = format.dateTimeText(value);
    QCOMPARE(format.parseDateTime(text), value);
    QCOMPARE(format.parseTime(format.timeText(value.time())), value.time());
}

void TestCsvWriter::patternMatchesQLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("value");
    const QStringList locales = {QStringLiteral("en_US"), QStringLiteral("de_DE"),
                                 QStringLiteral("fr_FR"), QStringLiteral("en_GB"),
                                 QStringLiteral("ja_JP"), QStringLiteral("ko_KR"),
                                 QStringLiteral("C"),     QStringLiteral("pt_BR")};
    for (const QString &l : locales) {
        QTest::addRow("%s morning", qPrintable(l)) << l << wall(1931, 2, 3, 4, 5, 6);
        QTest::addRow("%s noon hour", qPrintable(l)) << l << wall(2039, 11, 30, 12, 30, 0);
        QTest::addRow("%s evening", qPrintable(l)) << l << wall(1999, 12, 9, 23, 0, 59);
    }
}

void TestCsvWriter::patternMatchesQLocale()
{
    // The compiled patterns write what QLocale writes for the same formats.
    QFETCH(QString, locale);
    QFETCH(QDateTime, value);
    const QLocale l(locale);
    const CsvRegionalFormat format{l};
    QVERIFY(format.compiledPatterns());
    QCOMPARE(format.dateTimeText(value), l.toString(value.date(), format.dateFormat()) +
                                             QLatin1Char(' ') +
                                             l.toString(value.time(), format.timeFormat()));
    QCOMPARE(format.timeText(value.time()), l.toString(value.time(), format.timeFormat()));
}

void TestCsvWriter::namePatterns_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("pattern");
    const QStringList locales = {QStringLiteral("en_US"), QStringLiteral("de_DE"),
                                 QStringLiteral("fr_FR"), QStringLiteral("ru_RU")};
    const QStringList patterns = {QStringLiteral("dddd d MMMM yyyy"),
                                  QStringLiteral("ddd, dd MMM yyyy HH:mm:ss")};
    for (const QString &l : locales)
        for (const QString &p : patterns)
            QTest::addRow("%s %s", qPrintable(l), qPrintable(p)) << l << p;
}

void TestCsvWriter::namePatterns()
{
    // Day and month names, the longest parts a pattern writes: the text is
    // QLocale's, and it reads back in any letter case (names outside ASCII
    // included).
    QFETCH(QString, locale);
    QFETCH(QString, pattern);
    const QLocale l(locale);
    const CsvDateTimePattern compiled(pattern, l);
    QVERIFY(compiled.usable());
    for (const QDateTime &value : {wall(2023, 9, 27, 18, 5, 9), wall(1999, 5, 1, 7, 0, 0)}) {
        QString text;
        compiled.append(text, value.date(), value.time());
        QCOMPARE(text, l.toString(value, pattern));
        QVERIFY(text.size() <= compiled.maxLength());
        for (const QString &cased : {text, l.toUpper(text), l.toLower(text)}) {
            qsizetype pos = 0;
            CsvDateTimePattern::Parsed parsed;
            QVERIFY2(compiled.parse(cased, pos, parsed), qPrintable(cased));
            QCOMPARE(pos, cased.size());
            QCOMPARE(QDate(parsed.year, parsed.month, parsed.day), value.date());
        }
    }
}

void TestCsvWriter::parseRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no such day") << QStringLiteral("2/30/2001");
    QTest::newRow("hour 13 PM") << QStringLiteral("1/2/2001 13:00:00 PM");
    QTest::newRow("trailing text") << QStringLiteral("1/2/2001 x");
    QTest::newRow("letters") << QStringLiteral("tomorrow");
    QTest::newRow("separators only") << QStringLiteral("//");
}

void TestCsvWriter::parseRejects()
{
    QFETCH(QString, text);
    const CsvRegionalFormat format{QLocale(QStringLiteral("en_US"))};
    QVERIFY(!format.parseDateTime(text).isValid());
}

void TestCsvWriter::parseBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("True") << QStringLiteral("True") << QVariant(true);
    QTest::newRow("false lower case") << QStringLiteral("false") << QVariant(false);
    QTest::newRow("minus one") << QStringLiteral("-1") << QVariant(true);
    QTest::newRow("zero") << QStringLiteral("0") << QVariant(false);
    QTest::newRow("other text is no boolean") << QStringLiteral("maybe") << QVariant();
}

void TestCsvWriter::parseBool()
{
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    QCOMPARE(CsvRegionalFormat::parseBool(text), expected);
}

void TestCsvWriter::csvPathFor_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("csv stays") << QStringLiteral("/data/list.csv")
                               << QStringLiteral("/data/list.csv");
    QTest::newRow("pdb becomes csv")
        << QStringLiteral("/data/list.pdb") << QStringLiteral("/data/list.csv");
    QTest::newRow("folder names are kept")
        << QStringLiteral("/x.pdb.out/list.csv") << QStringLiteral("/x.pdb.out/list.csv");
    QTest::newRow("case ignored") << QStringLiteral("/A.PDB/b.Pdb")
                                  << QStringLiteral("/A.PDB/b.csv");
    QTest::newRow("pdb without dot stays")
        << QStringLiteral("/pdbfiles/list.txt") << QStringLiteral("/pdbfiles/list.txt");
}

void TestCsvWriter::csvPathFor()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    QCOMPARE(CsvNaming::csvPathFor(chosen), expected);
}

void TestCsvWriter::bitmapNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("laterField");
    QTest::addColumn<QString>("expected");
    QTest::newRow("record 3") << QStringLiteral("/data/export.csv") << 3 << 0
                              << QStringLiteral("/data/export.csv3.bmp");
    QTest::newRow("named after the chosen file, not the renamed one")
        << QStringLiteral("/x.pdb.out/list.pdb") << 12 << 0
        << QStringLiteral("/x.pdb.out/list.pdb12.bmp");
    QTest::newRow("second picture field of a record")
        << QStringLiteral("/data/export.csv") << 1 << 4
        << QStringLiteral("/data/export.csv1_4.bmp");
}

void TestCsvWriter::bitmapNames()
{
    QFETCH(QString, chosen);
    QFETCH(int, record);
    QFETCH(int, laterField);
    QFETCH(QString, expected);
    QCOMPARE(CsvNaming::bitmapPath(CsvNaming::folderPrefix(chosen), CsvNaming::fileTitle(chosen),
                                   record, laterField),
             expected);
}

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
