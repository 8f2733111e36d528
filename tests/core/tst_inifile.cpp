#include "TestFiles.h"
#include "TestValues.h"
#include "catalogue/IniFile.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

// Names of one length that differ, so a wrong cut shows as a wrong list.
QStringList makeNames(int count, int length, QChar prefix)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString n = QString(prefix) + QString::number(i).rightJustified(4, u'0');
        names.append(n.leftJustified(length, u'x'));
    }
    return names;
}

QByteArray sectionsFile(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &n : names)
        bytes += '[' + n.toUtf8() + "]\r\nDatabasename=" + n.toUtf8() + "\r\n";
    return bytes;
}

QByteArray keysFile(const QStringList &names)
{
    QByteArray bytes = "[S]\n";
    for (const QString &n : names)
        bytes += n.toUtf8() + "=v\n";
    return bytes;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void readValue_data();
    void readValue();
    void valueLimit_data();
    void valueLimit();
    void listSections_data();
    void listSections();
    void listKeys_data();
    void listKeys();
    void nameListLimit_data();
    void nameListLimit();
    void files_data();
    void files();
    void nothingCached();
    void editsAreSeen_data();
    void editsAreSeen();
    void garbageNeverCrashes_data();
    void garbageNeverCrashes();
};

void TestIniFile::init()
{
    // Reading must stay quiet: a missing or unnamed file is not a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestIniFile::readValue_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Expenses]\nDatabasename=My Expenses\nAmount=Total\n";
    QTest::newRow("plain value") << basic << "Expenses"
                                 << "Amount"
                                 << "Total";
    QTest::newRow("section name case ignored") << basic << "EXPENSES"
                                               << "Amount"
                                               << "Total";
    QTest::newRow("key name case ignored") << basic << "Expenses"
                                           << "aMOUNT"
                                           << "Total";
    QTest::newRow("missing section reads empty") << basic << "Mileage"
                                                 << "Amount"
                                                 << "";
    QTest::newRow("missing key reads empty") << basic << "Expenses"
                                             << "Paid"
                                             << "";
    QTest::newRow("empty key name never matches") << QByteArray("[S]\n=hidden\n") << "S"
                                                  << ""
                                                  << "";
    QTest::newRow("one character value") << QByteArray("[S]\nk=x\n") << "S"
                                         << "k"
                                         << "x";
    QTest::newRow("first of duplicate keys wins") << QByteArray("[S]\nk=first\nK=second\n") << "S"
                                                  << "k"
                                                  << "first";
    QTest::newRow("first of duplicate sections wins")
        << QByteArray("[S]\na=1\n[s]\na=2\nb=3\n") << "S"
        << "a"
        << "1";
    QTest::newRow("key only in a later duplicate section is unread")
        << QByteArray("[S]\na=1\n[s]\nb=3\n") << "S"
        << "b"
        << "";
    // Sections are found through their names in ASCII lower case; a name
    // outside ASCII can still match under case folding (the Kelvin sign
    // folds to "k"), and the first match in the file wins either way.
    QTest::newRow("a folding non-ASCII section before the ASCII one wins")
        << QByteArray("[\xE2\x84\xAA"
                      "ey]\na=1\n[key]\na=2\n")
        << "KEY"
        << "a"
        << "1";
    QTest::newRow("an ASCII section before a folding non-ASCII one wins")
        << QByteArray("[key]\na=1\n[\xE2\x84\xAA"
                      "ey]\na=2\n")
        << "KEY"
        << "a"
        << "1";
    QTest::newRow("a non-ASCII name asked for finds an ASCII section")
        << QByteArray("[key]\na=1\n") << QStringLiteral("\u212Aey") << "a"
        << "1";
    QTest::newRow("non-ASCII section name case ignored")
        << QByteArray("[Caf\xC3\xA9]\na=1\n") << QStringLiteral("CAF\u00C9") << "a"
        << "1";
    QTest::newRow("blanks around equals trimmed")
        << QByteArray("[S]\n   key   =   some value   \n") << "S"
        << "key"
        << "some value";
    QTest::newRow("tabs trimmed") << QByteArray("[S]\n\tkey\t=\tv\t\n") << "S"
                                  << "key"
                                  << "v";
    QTest::newRow("double quotes stripped") << QByteArray("[S]\nk=\"abc\"\n") << "S"
                                            << "k"
                                            << "abc";
    QTest::newRow("single quotes stripped") << QByteArray("[S]\nk='abc'\n") << "S"
                                            << "k"
                                            << "abc";
    QTest::newRow("only one pair of quotes stripped") << QByteArray("[S]\nk=\"\"abc\"\"\n") << "S"
                                                      << "k"
                                                      << "\"abc\"";
    QTest::newRow("blanks inside quotes kept") << QByteArray("[S]\nk= \"  a b  \" \n") << "S"
                                               << "k"
                                               << "  a b  ";
    QTest::newRow("mismatched quotes kept") << QByteArray("[S]\nk=\"abc'\n") << "S"
                                            << "k"
                                            << "\"abc'";
    QTest::newRow("lone quote kept") << QByteArray("[S]\nk=\"\n") << "S"
                                     << "k"
                                     << "\"";
    QTest::newRow("empty quotes give empty") << QByteArray("[S]\nk=\"\"\n") << "S"
                                             << "k"
                                             << "";
    QTest::newRow("comment line skipped") << QByteArray("[S]\n;k=commented\nk=real\n") << "S"
                                          << "k"
                                          << "real";
    QTest::newRow("indented comment skipped")
        << QByteArray("[S]\n   ; k=commented\nk=real\n") << "S"
        << "k"
        << "real";
    QTest::newRow("semicolon inside a value kept") << QByteArray("[S]\nk=a ; b\n") << "S"
                                                   << "k"
                                                   << "a ; b";
    QTest::newRow("equals sign inside a value kept") << QByteArray("[S]\nk=a=b\n") << "S"
                                                     << "k"
                                                     << "a=b";
    QTest::newRow("line without equals reads empty") << QByteArray("[S]\nflag\n") << "S"
                                                     << "flag"
                                                     << "";
    QTest::newRow("key before any section belongs to none")
        << QByteArray("k=orphan\n[S]\nj=1\n") << "S"
        << "k"
        << "";
    QTest::newRow("blank lines ignored") << QByteArray("\n\n[S]\n\n\nk=v\n\n") << "S"
                                         << "k"
                                         << "v";
    QTest::newRow("CR LF line ends") << QByteArray("[S]\r\nk=v\r\nj=w\r\n") << "S"
                                     << "j"
                                     << "w";
    QTest::newRow("lone CR line ends") << QByteArray("[S]\rk=v\rj=w\r") << "S"
                                       << "j"
                                       << "w";
    QTest::newRow("no line end after last value") << QByteArray("[S]\nk=last") << "S"
                                                  << "k"
                                                  << "last";
    QTest::newRow("blanks inside section brackets")
        << QByteArray("[  My Section  ]\nk=v\n") << "My Section"
        << "k"
        << "v";
    QTest::newRow("text after closing bracket ignored") << QByteArray("[S] trailing\nk=v\n") << "S"
                                                        << "k"
                                                        << "v";
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nk=v\n") << "S"
                                           << "k"
                                           << "v";
    QTest::newRow("UTF-8 text") << QByteArray("[S]\nk=Gr\xC3\xBC\xC3\x9F"
                                              "e\n")
                                << "S"
                                << "k" << QString::fromUtf8("Grüße");
    QTest::newRow("Windows-1252 text") << QByteArray("[S]\nk=Caf\xE9 \x80 5\n") << "S"
                                       << "k" << QString::fromUtf8("Café € 5");
    QTest::newRow("Windows-1252 section name")
        << QByteArray("[D\xE9penses]\nk=v\n") << QString::fromUtf8("dÉpenses") << "k"
        << "v";
    QTest::newRow("UTF-16 with byte order mark")
        << QByteArray("\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0\n\0", 18) << "S"
        << "k"
        << "v";
    QTest::newRow("NUL ends the line") << QByteArray("[S]\nk=ab\0cd\n", 12) << "S"
                                       << "k"
                                       << "ab";
    QTest::newRow("lines after a NUL read whole")
        << QByteArray("[S]\nk=a\0b\nj=\0\ni=cd\n", 19) << "S"
        << "i"
        << "cd";
    QTest::newRow("LF then CR are two line ends") << QByteArray("[S]\n\rk=v\n\rj=w") << "S"
                                                  << "j"
                                                  << "w";
    QTest::newRow("CR LF and lone LF mixed") << QByteArray("[S]\r\nk=v\nj=w\r\ni=x") << "S"
                                             << "i"
                                             << "x";
    QTest::newRow("no-break space is not trimmed") << QByteArray("[S]\nk=\xA0x\n") << "S"
                                                   << "k" << QString::fromUtf8("\u00A0x");
}

void TestIniFile::readValue()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(readIniValueFromBytes(bytes, section, key), expected);
}

void TestIniFile::valueLimit_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    const QString a4094(4094, u'a');
    QTest::newRow("4094 characters kept") << a4094 << a4094;
    QTest::newRow("4095 characters kept") << a4094 + u'b' << a4094 + u'b';
    QTest::newRow("4096 characters cut to 4095") << a4094 + QStringLiteral("bc") << a4094 + u'b';
    QTest::newRow("value cut at 4095") << QString(10000, u'z') << QString(4095, u'z');
    QTest::newRow("quotes stripped before cutting")
        << QChar(u'"') + QString(4095, u'q') + QChar(u'"') << QString(4095, u'q');
    QTest::newRow("surrogate pair at the cut not split")
        << QString(4094, u'a') + QString::fromUtf8("\xF0\x9F\x93\x92") << a4094;
}

void TestIniFile::valueLimit()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const QByteArray bytes = "[S]\nk=" + value.toUtf8() + "\n";
    QCOMPARE(readIniValueFromBytes(bytes, QStringLiteral("S"), QStringLiteral("k")), expected);
}

void TestIniFile::listSections_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("file order") << QByteArray("[C]\n[A]\n[B]\n") << L({"C", "A", "B"});
    QTest::newRow("case kept") << QByteArray("[MiXed]\n") << L({"MiXed"});
    QTest::newRow("duplicates listed") << QByteArray("[A]\n[a]\n[A]\n") << L({"A", "a", "A"});
    QTest::newRow("empty section name ends the list") << QByteArray("[A]\n[]\n[B]\n") << L({"A"});
    QTest::newRow("comment looking like a section skipped")
        << QByteArray("[A]\n;[B]\n[C]\n") << L({"A", "C"});
    QTest::newRow("no sections") << QByteArray("k=v\n; only a comment\n") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("unclosed bracket takes the rest")
        << QByteArray("[Open\n[B]\n") << L({"Open", "B"});
}

void TestIniFile::listSections()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(listIniSectionsFromBytes(bytes), expected);
}

void TestIniFile::listKeys_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("expected");
    const QByteArray file = "[A]\nDatabasename=x\nDate=d\n;Skipped=1\nAmount = a\nDateHide=False\n"
                            "[B]\nOnly=1\n";
    QTest::newRow("file order") << file << "A" << L({"Databasename", "Date", "Amount", "DateHide"});
    QTest::newRow("section case ignored") << file << "b" << L({"Only"});
    QTest::newRow("missing section") << file << "C" << QStringList{};
    QTest::newRow("empty section name") << file << "" << QStringList{};
    QTest::newRow("duplicate keys listed") << QByteArray("[A]\nk=1\nK=2\n") << "A" << L({"k", "K"});
    QTest::newRow("keys of the first duplicate section only")
        << QByteArray("[A]\nk=1\n[a]\nj=2\n") << "a" << L({"k"});
    QTest::newRow("line without equals is a key")
        << QByteArray("[A]\nk=1\nflag\nj=2\n") << "A" << L({"k", "flag", "j"});
    QTest::newRow("empty key name ends the list")
        << QByteArray("[A]\nk=1\n=2\nj=3\n") << "A" << L({"k"});
    QTest::newRow("section without keys") << QByteArray("[A]\n[B]\nk=1\n") << "A" << QStringList{};
}

void TestIniFile::listKeys()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QStringList, expected);
    QCOMPARE(listIniKeysFromBytes(bytes, section), expected);
}

void TestIniFile::nameListLimit_data()
{
    // 409 names of 9 characters take 4090 characters with their NULs. The
    // buffer holds 4096: all names, their NULs and the closing NUL fit
    // exactly, or else 4094 characters of names and NULs are kept.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("kept");
    const QStringList base = makeNames(409, 9, u'S');
    QTest::newRow("short list whole") << makeNames(3, 5, u'A') << 3;
    QTest::newRow("list filling the buffer exactly kept whole") << base + L({"abcd"}) << 410;
    QTest::newRow("one character over drops the name cut short") << base + L({"abcde"}) << 409;
    QTest::newRow("name ending at the last kept character stays") << base + L({"abcd", "x"}) << 410;
    QTest::newRow("name ending one before the cut stays, next one lost")
        << base + L({"abc", "yy"}) << 410;
    QTest::newRow("many names beyond the buffer lost") << makeNames(1000, 9, u'T') << 409;
    QTest::newRow("single name longer than the buffer") << QStringList{QString(5000, u'L')} << 0;
    QTest::newRow("single name of 4094 characters")
        << QStringList{QString(4094, u'L'), QStringLiteral("more")} << 1;
    QTest::newRow("single name of 4094 characters fits alone")
        << QStringList{QString(4094, u'L')} << 1;
    QTest::newRow("single name of 4095 characters is cut and lost")
        << QStringList{QString(4095, u'L')} << 0;
}

void TestIniFile::nameListLimit()
{
    QFETCH(QStringList, names);
    QFETCH(int, kept);
    const QStringList expected = names.mid(0, kept);
    QCOMPARE(limitIniNameList(names), expected);
    // The same limit applies to both listings of a real file.
    QCOMPARE(listIniSectionsFromBytes(sectionsFile(names)), expected);
    QCOMPARE(listIniKeysFromBytes(keysFile(names), QStringLiteral("S")), expected);
}

void TestIniFile::files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("sections");
    const QString data = QStringLiteral(LEDGERLY_TEST_DATA "/ini/");
    QTest::newRow("Windows-1252 file with CR LF")
        << data + QLatin1String("windows1252.ini") << QString::fromUtf8("Café")
        << QString::fromUtf8("Menü") << QString::fromUtf8("Crème brûlée – 4,50 €")
        << L({"Café", "Notes"});
    QTest::newRow("UTF-8 file with byte order mark")
        << data + QLatin1String("utf8-bom.ini") << "Notes"
        << "Line" << QString::fromUtf8("Ünïcödé “quoted” ✓") << L({"Notes", "Empty"});
    QTest::newRow("missing file reads empty") << data + QLatin1String("no-such-file.ini") << "Notes"
                                              << "Line"
                                              << "" << QStringList{};
    QTest::newRow("empty path reads empty") << QString() << "Notes"
                                            << "Line"
                                            << "" << QStringList{};
    QTest::newRow("a folder reads empty") << data << "Notes"
                                          << "Line"
                                          << "" << QStringList{};
}

void TestIniFile::files()
{
    QFETCH(QString, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(QStringList, sections);
    QCOMPARE(ReadIniValue(section, key, file), expected);
    QCOMPARE(ListIniSections(file), sections);
    if (!sections.isEmpty())
        QVERIFY(!ListIniKeys(file, sections.first()).isEmpty());
}

void TestIniFile::nothingCached()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("QuayDB.ini"));
    QVERIFY(writeFile(path, "[A]\nk=one\n"));
    QCOMPARE(ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path), QStringLiteral("one"));
    QCOMPARE(ListIniSections(path), L({"A"}));
    QVERIFY(writeFile(path, "[B]\nj=two\n[A]\nk=changed\nm=3\n"));
    QCOMPARE(ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path),
             QStringLiteral("changed"));
    QCOMPARE(ListIniSections(path), (L({"B", "A"})));
    QCOMPARE(ListIniKeys(path, QStringLiteral("A")), (L({"k", "m"})));
    QVERIFY(QFile::remove(path));
    QCOMPARE(ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path), QString());
    QCOMPARE(ListIniSections(path), QStringList{});
}

void TestIniFile::editsAreSeen_data()
{
    // Modification times in seconds before now; -1 leaves the time the
    // write gave the file.
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("beforeAge");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("afterAge");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same size, both just written")
        << QByteArray("[A]\nk=one\n") << -1 << QByteArray("[A]\nk=two\n") << -1 << "two";
    QTest::newRow("same size, older time changed")
        << QByteArray("[A]\nk=one\n") << 3600 << QByteArray("[A]\nk=two\n") << 1800 << "two";
    QTest::newRow("other size, same older time")
        << QByteArray("[A]\nk=one\n") << 3600 << QByteArray("[A]\nk=three\n") << 3600 << "three";
    QTest::newRow("same size, old file just rewritten")
        << QByteArray("[A]\nk=one\n") << 3600 << QByteArray("[A]\nk=two\n") << -1 << "two";
    QTest::newRow("unchanged old file")
        << QByteArray("[A]\nk=one\n") << 3600 << QByteArray("[A]\nk=one\n") << 3600 << "one";
}

void TestIniFile::editsAreSeen()
{
    QFETCH(QByteArray, before);
    QFETCH(int, beforeAge);
    QFETCH(QByteArray, after);
    QFETCH(int, afterAge);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("QuayDB.ini"));
    const QDateTime now = QDateTime::currentDateTime();
    const auto put = [&](const QByteArray &bytes, int age) {
        QFile file(path);
        return writeFile(path, bytes) &&
               (age < 0 ||
                (file.open(QIODevice::ReadWrite) &&
                 file.setFileTime(now.addSecs(-age), QFileDevice::FileModificationTime)));
    };
    QVERIFY(put(before, beforeAge));
    // Read twice: the second read is the one a cache would answer.
    QVERIFY(!ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path).isEmpty());
    QVERIFY(!ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path).isEmpty());
    QVERIFY(put(after, afterAge));
    QCOMPARE(ReadIniValue(QStringLiteral("A"), QStringLiteral("k"), path), expected);
    QCOMPARE(ListIniKeys(path, QStringLiteral("A")), L({"k"}));
}

void TestIniFile::garbageNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QRandomGenerator rng(2026);
    for (int i = 0; i < 8; ++i) {
        QByteArray b(int(rng.bounded(1, 20000)), Qt::Uninitialized);
        for (char &c : b)
            c = char(rng.bounded(256));
        QTest::addRow("random bytes %d", i) << b;
    }
    QTest::newRow("brackets only") << QByteArray(9000, '[');
    QTest::newRow("equals only") << "[S]\n" + QByteArray(9000, '=');
    QTest::newRow("quotes only") << "[S]\nk=" + QByteArray(9000, '"');
    QTest::newRow("truncated UTF-8") << QByteArray("[S\xC3]\nk=\xE2\x82\n");
    QTest::newRow("odd-length UTF-16") << QByteArray("\xFF\xFE[\0S\0]", 7);
    QTest::newRow("NULs everywhere") << QByteArray(5000, '\0');
}

void TestIniFile::garbageNeverCrashes()
{
    QFETCH(QByteArray, bytes);
    const QStringList sections = listIniSectionsFromBytes(bytes);
    qsizetype used = 0;
    for (const QString &s : sections) {
        QVERIFY(!s.isEmpty());
        QVERIFY(!s.contains(QChar(0)));
        used += s.size() + 1;
        QVERIFY(readIniValueFromBytes(bytes, s, QStringLiteral("k")).size() < IniBufferSize);
        const QStringList keys = listIniKeysFromBytes(bytes, s);
        for (const QString &k : keys)
            QVERIFY(!k.isEmpty());
    }
    QVERIFY(used < IniBufferSize);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
