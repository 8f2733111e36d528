#include "TestFiles.h"
#include "TestValues.h"
#include "catalogue/Catalogue.h"
#include "catalogue/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

// Sections named like "Sect00042": 409 of them fill the listing buffer.
QByteArray numberedSections(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "[Sect" + QByteArray::number(i).rightJustified(5, '0') + "]\nDatabasename=x\n";
    return bytes;
}

const QByteArray threeDatabases = "[A]\r\nDatabasename=a\r\nDate=When\r\nAmount=How much\r\n"
                                  "DateHide=False\r\nAmountHide=Calc\r\n"
                                  "[B]\r\nDatabasename=b\r\nItem=Thing\r\nItemHide=Group\r\n"
                                  "[C]\r\nDatabasename=c\r\n";

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void build_data();
    void build();
    void sectionLookup();
    void entryLookup_data();
    void entryLookup();
    void fieldsAndRoles();
    void lookupRereadsFile();
    void keyCountMatchesListedKeys_data();
    void keyCountMatchesListedKeys();
    void keysAreThoseOfWhenTheSectionWasChosen();
    void sectionsLeftOutOfTheListAreTold_data();
    void sectionsLeftOutOfTheListAreTold();

private:
    QString writeSchema(const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCatalogue::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestCatalogue::writeSchema(const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("QuayDB.ini"));
    return writeFile(path, bytes) ? path : QString();
}

void TestCatalogue::build_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("three sections in file order")
        << threeDatabases << true << L({"A", "B", "C"}) << L({"a", "b", "c"});
    QTest::newRow("section without Databasename keeps its place")
        << QByteArray("[A]\nDatabasename=a\n[B]\nOther=1\n[C]\nDatabasename=c\n") << true
        << L({"A", "B", "C"}) << L({"a", "", "c"});
    QTest::newRow("duplicate display names stay separate")
        << QByteArray("[A]\nDatabasename=Same\n[B]\nDatabasename=Same\n") << true << L({"A", "B"})
        << L({"Same", "Same"});
    QTest::newRow("sections differing in case read the first")
        << QByteArray("[Log]\nDatabasename=first\n[LOG]\nDatabasename=second\n") << true
        << L({"Log", "LOG"}) << L({"first", "first"});
    QTest::newRow("display name key case ignored and quotes stripped")
        << QByteArray("[A]\nDATABASENAME = \"Quoted Name\"\n") << true << L({"A"})
        << L({"Quoted Name"});
    QTest::newRow("no sections") << QByteArray("; nothing here\n") << true << QStringList{}
                                 << QStringList{};
    QTest::newRow("no file") << QByteArray() << false << QStringList{} << QStringList{};
}

void TestCatalogue::build()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fileExists);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, names);
    const Catalogue catalogue = Catalogue::build(
        fileExists ? writeSchema(bytes) : m_dir->filePath(QStringLiteral("missing.ini")));
    QCOMPARE(catalogue.sections(), sections);
    QCOMPARE(catalogue.displayNames(), names);
    QCOMPARE(catalogue.count(), int(sections.size()));
}

void TestCatalogue::sectionLookup()
{
    const Catalogue catalogue = Catalogue::build(writeSchema(threeDatabases));
    QCOMPARE(catalogue.indexOf(QStringLiteral("b")), 1);
    QCOMPARE(catalogue.indexOf(QStringLiteral("Z")), -1);
    QCOMPARE(catalogue.section(7), QString());
    QVERIFY(catalogue.schemaSection(7).isNull());
    QCOMPARE(catalogue.schemaSection(1).keys(), L({"Databasename", "Item", "ItemHide"}));
    QCOMPARE(catalogue.schemaSection(QStringLiteral("a")).keys(),
             L({"Databasename", "Date", "Amount", "DateHide", "AmountHide"}));
}

void TestCatalogue::entryLookup_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QVariant>("entry"); // a position or a key text
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("position");
    QTest::newRow("Databasename by position") << 0 << QVariant(0) << "a" << 0;
    QTest::newRow("caption by position") << 0 << QVariant(2) << "How much" << 2;
    QTest::newRow("caption by key text") << 0 << QVariant(QStringLiteral("Date")) << "When" << 1;
    QTest::newRow("key text case ignored")
        << 0 << QVariant(QStringLiteral("AMOUNTHIDE")) << "Calc" << 4;
    QTest::newRow("other section") << 1 << QVariant(QStringLiteral("Item")) << "Thing" << 1;
    QTest::newRow("missing key reads empty") << 1 << QVariant(QStringLiteral("Amount")) << "" << -1;
    QTest::newRow("position past the keys reads empty") << 2 << QVariant(1) << "" << -1;
}

void TestCatalogue::entryLookup()
{
    QFETCH(int, section);
    QFETCH(QVariant, entry);
    QFETCH(QString, value);
    QFETCH(int, position);
    const SchemaSection schema =
        Catalogue::build(writeSchema(threeDatabases)).schemaSection(section);
    if (entry.typeId() == QMetaType::Int) {
        QCOMPARE(schema.valueAt(entry.toInt()), value);
    } else {
        QCOMPARE(schema.keyIndex(entry.toString()), position);
        QCOMPARE(schema.caption(entry.toString()), value);
    }
}

void TestCatalogue::fieldsAndRoles()
{
    const Catalogue catalogue = Catalogue::build(writeSchema(threeDatabases));
    QCOMPARE(catalogue.fields(QStringLiteral("A")), L({"Date", "Amount"}));
    QCOMPARE(catalogue.fields(QStringLiteral("C")), QStringList());
    QCOMPARE(catalogue.caption(QStringLiteral("A"), QStringLiteral("amount")),
             QStringLiteral("How much"));
    QCOMPARE(catalogue.role(QStringLiteral("A"), QStringLiteral("Amount")), QStringLiteral("Calc"));
    QCOMPARE(catalogue.role(QStringLiteral("B"), QStringLiteral("Item")), QStringLiteral("Group"));
    QCOMPARE(catalogue.role(QStringLiteral("B"), QStringLiteral("Nothing")), QString());
}

void TestCatalogue::lookupRereadsFile()
{
    const SchemaSection schema = Catalogue::build(writeSchema(threeDatabases)).schemaSection(0);
    QCOMPARE(schema.caption(QStringLiteral("Date")), QStringLiteral("When"));
    writeSchema("[A]\nDatabasename=a\nDate=Day\n");
    QCOMPARE(schema.caption(QStringLiteral("Date")), QStringLiteral("Day"));
    QCOMPARE(schema.value(QStringLiteral("Amount")), QString());
}

void TestCatalogue::keyCountMatchesListedKeys_data()
{
    // The count is worked out from the names' lengths, the list from the
    // names: both must stop at the same name.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QByteArray manyKeys = "[Big]\n";
    for (int i = 0; i < 400; ++i)
        manyKeys += "Field" + QByteArray::number(i) + "=x\n";
    QTest::newRow("plain") << threeDatabases << "a";
    QTest::newRow("no keys") << QByteArray("[S]\n") << "S";
    QTest::newRow("missing section") << threeDatabases << "Z";
    QTest::newRow("empty key name ends the list") << QByteArray("[S]\nk=1\n=2\nm=3\n") << "s";
    QTest::newRow("names past the name buffer") << manyKeys << "Big";
    QTest::newRow("first of duplicate sections") << QByteArray("[S]\na=1\n[s]\nb=1\nc=1\n") << "S";
}

void TestCatalogue::keyCountMatchesListedKeys()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    const QString file = writeSchema(bytes);
    const QStringList listed = ListIniKeys(file, section);
    const SchemaSection schema(file, section);
    QCOMPARE(schema.keyCount(), listed.size());
    QCOMPARE(schema.keys(), listed);
}

void TestCatalogue::keysAreThoseOfWhenTheSectionWasChosen()
{
    // The names are made when first asked for, from the file as it was when
    // the section was chosen; values are still read afresh.
    const QString file = writeSchema(threeDatabases);
    const SchemaSection schema(file, QStringLiteral("A"));
    writeSchema("[A]\nDatabasename=a\nOther=Day\n");
    QCOMPARE(schema.keys(), L({"Databasename", "Date", "Amount", "DateHide", "AmountHide"}));
    QCOMPARE(schema.keyCount(), 5);
    QCOMPARE(schema.valueAt(1), QString());
    QCOMPARE(schema.value(QStringLiteral("Other")), QStringLiteral("Day"));
}

void TestCatalogue::sectionsLeftOutOfTheListAreTold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QStringList>("unlisted");
    QTest::addColumn<QString>("why"); // in the message; empty: no message
    const QString limit = u"holds at most 4096 characters"_qs;
    QTest::newRow("every section listed") << threeDatabases << 3 << QStringList{} << QString();
    QTest::newRow("names filling the buffer exactly") << numberedSections(409) + "[abcd]\n"
                                                      << 410 << QStringList{} << QString();
    QTest::newRow("one character over the limit") << numberedSections(409) + "[abcde]\n"
                                                  << 409 << L({"abcde"}) << limit;
    QTest::newRow("many sections over the limit")
        << numberedSections(412) << 409 << L({"Sect00409", "Sect00410", "Sect00411"}) << limit;
    QTest::newRow("an empty name ends the list")
        << QByteArray("[A]\n[]\n[B]\n[]\n[C]\n") << 1 << L({"B", "C"}) << u"empty name"_qs;
    QTest::newRow("an empty name last leaves no database out")
        << QByteArray("[A]\n[B]\n[]\n") << 2 << QStringList{} << QString();
}

void TestCatalogue::sectionsLeftOutOfTheListAreTold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, listed);
    QFETCH(QStringList, unlisted);
    QFETCH(QString, why);
    const Catalogue catalogue = Catalogue::build(writeSchema(bytes));
    QCOMPARE(catalogue.count(), listed);
    QCOMPARE(catalogue.unlistedSections(), unlisted);
    const QString message = catalogue.unlistedMessage();
    QCOMPARE(message.isEmpty(), why.isEmpty());
    if (unlisted.isEmpty())
        return;
    QVERIFY2(
        message.startsWith(
            QStringLiteral("%1 section(s) of QuayDB.ini could not be listed").arg(unlisted.size())),
        qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    QVERIFY2(message.endsWith(u"the first one left out is \""_qs + unlisted.first() + u"\"."_qs),
             qPrintable(message));
    QVERIFY(catalogue.isUnlisted(unlisted.last().toLower()));
    QVERIFY(!catalogue.isUnlisted(catalogue.section(0)));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
