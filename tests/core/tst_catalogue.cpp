#include "TestFiles.h"
#include "TestValues.h"
#include "catalogue/Catalogue.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

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
    void listSelection_data();
    void listSelection();
    void build_data();
    void build();
    void buildOpensNothing_data();
    void buildOpensNothing();
    void rebuildReplacesLists();
    void chooserSelectsPairedSection_data();
    void chooserSelectsPairedSection();
    void entryLookup_data();
    void entryLookup();
    void fillEntriesClearsValue();
    void lookupRereadsFile();

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

void TestCatalogue::listSelection_data()
{
    QTest::addColumn<QList<int>>("selections");
    QTest::addColumn<QList<int>>("emitted");
    QTest::addColumn<int>("current");
    QTest::newRow("each select notifies") << QList<int>{0, 2} << QList<int>{0, 2} << 2;
    QTest::newRow("same index notifies again") << QList<int>{1, 1, 1} << QList<int>{1, 1, 1} << 1;
    QTest::newRow("past the end selects nothing") << QList<int>{1, 3} << QList<int>{1, -1} << -1;
    QTest::newRow("negative selects nothing") << QList<int>{-5} << QList<int>{-1} << -1;
}

void TestCatalogue::listSelection()
{
    QFETCH(QList<int>, selections);
    QFETCH(QList<int>, emitted);
    QFETCH(int, current);
    CatalogueList list;
    for (const QString &s : L({"x", "y", "z"}))
        list.append(s);
    QSignalSpy spy(&list, &CatalogueList::selected);
    for (int i : selections)
        list.select(i);
    QList<int> seen;
    for (const QList<QVariant> &args : spy)
        seen.append(args.at(0).toInt());
    QCOMPARE(seen, emitted);
    QCOMPARE(list.currentIndex(), current);
    QCOMPARE(list.currentText(), current < 0 ? QString() : list.item(current));

    // By text: case ignored, first match, a missing text selects nothing.
    list.append(QStringLiteral("Y"));
    list.selectText(QStringLiteral("Y"));
    QCOMPARE(list.currentIndex(), 1);
    list.selectText(QStringLiteral("nope"));
    QCOMPARE(list.currentIndex(), -1);
    QCOMPARE(spy.size(), emitted.size() + 2);
    list.clear();
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.currentIndex(), -1);
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
    Catalogue catalogue;
    catalogue.FilenameF =
        fileExists ? writeSchema(bytes) : m_dir->filePath(QStringLiteral("missing.ini"));
    catalogue.BuildCatalogue();
    QCOMPARE(catalogue.Sectionslist.items(), sections);
    QCOMPARE(catalogue.SectionListDBNam.items(), names);
    QVERIFY(catalogue.isPaired());
    QCOMPARE(catalogue.Sectionslist.currentIndex(), int(sections.size()) - 1);
    QCOMPARE(catalogue.SectionListDBNam.currentIndex(), -1);
    QCOMPARE(catalogue.DatabaseName1, names.isEmpty() ? QString() : names.last());
}

void TestCatalogue::buildOpensNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::newRow("one section") << QByteArray("[Only]\nDatabasename=o\n") << 1;
    QTest::newRow("three sections") << threeDatabases << 3;
    QTest::newRow("empty file") << QByteArray() << 0;
}

void TestCatalogue::buildOpensNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(bytes);
    // What a section handler would see at each selection during the build.
    QList<int> indices;
    QList<bool> paired;
    connect(&catalogue.Sectionslist, &CatalogueList::selected, this, [&](int index) {
        indices.append(index);
        paired.append(catalogue.isPaired());
    });
    QSignalSpy chooser(&catalogue.SectionListDBNam, &CatalogueList::selected);
    QSignalSpy entries(&catalogue.Entrieslist, &CatalogueList::selected);
    catalogue.BuildCatalogue();

    QList<int> expected;
    for (int i = 0; i < count; ++i)
        expected.append(i);
    QCOMPARE(indices, expected);
    QVERIFY(!paired.contains(true));
    QCOMPARE(chooser.size(), 0);
    QCOMPARE(entries.size(), 0);
    QCOMPARE(catalogue.Entrieslist.count(), 0);
}

void TestCatalogue::rebuildReplacesLists()
{
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(threeDatabases);
    catalogue.BuildCatalogue();
    catalogue.fillEntries();
    QVERIFY(catalogue.Entrieslist.count() > 0);
    catalogue.FilenameF = writeSchema("[Z]\nDatabasename=z\n");
    catalogue.BuildCatalogue();
    QCOMPARE(catalogue.Sectionslist.items(), L({"Z"}));
    QCOMPARE(catalogue.SectionListDBNam.items(), L({"z"}));
    QCOMPARE(catalogue.Entrieslist.count(), 0);
}

void TestCatalogue::chooserSelectsPairedSection_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("stem");
    QTest::newRow("choosing b opens stem B") << 1 << "B";
    QTest::newRow("choosing the first") << 0 << "A";
    QTest::newRow("choosing past the end selects no section") << 7 << "";
}

void TestCatalogue::chooserSelectsPairedSection()
{
    QFETCH(int, choice);
    QFETCH(QString, stem);
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(threeDatabases);
    // The pairing rule as the window wires it: a chooser click is copied to
    // the section list only while both lists are paired.
    connect(&catalogue.SectionListDBNam, &CatalogueList::selected, this, [&](int index) {
        if (catalogue.isPaired())
            catalogue.Sectionslist.select(index);
    });
    catalogue.SectionListDBNam.append(QStringLiteral("stray"));
    catalogue.SectionListDBNam.select(0);
    QCOMPARE(catalogue.Sectionslist.currentIndex(), -1);

    catalogue.BuildCatalogue();
    catalogue.SectionListDBNam.select(choice);
    QCOMPARE(catalogue.selectedSection(), stem);
    catalogue.fillEntries();
    QCOMPARE(catalogue.Entrieslist.count() > 0, !stem.isEmpty());
}

void TestCatalogue::entryLookup_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QVariant>("entry"); // a position or a key text
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("position");
    QTest::newRow("Databasename by position") << 0 << QVariant(0) << "a"
                                              << "0";
    QTest::newRow("caption by position") << 0 << QVariant(2) << "How much"
                                         << "2";
    QTest::newRow("caption by key text") << 0 << QVariant(QStringLiteral("Date")) << "When"
                                         << "1";
    QTest::newRow("key text case ignored") << 0 << QVariant(QStringLiteral("AMOUNTHIDE")) << "Calc"
                                           << "4";
    QTest::newRow("other section") << 1 << QVariant(QStringLiteral("Item")) << "Thing"
                                   << "1";
    QTest::newRow("missing key reads empty") << 1 << QVariant(QStringLiteral("Amount")) << ""
                                             << "-1";
    QTest::newRow("position past the keys reads empty") << 2 << QVariant(1) << ""
                                                        << "-1";
}

void TestCatalogue::entryLookup()
{
    QFETCH(int, section);
    QFETCH(QVariant, entry);
    QFETCH(QString, value);
    QFETCH(QString, position);
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(threeDatabases);
    catalogue.BuildCatalogue();
    catalogue.Sectionslist.select(section);
    catalogue.fillEntries();
    catalogue.Value = QStringLiteral("stale");
    if (entry.typeId() == QMetaType::Int)
        catalogue.selectEntry(entry.toInt());
    else
        catalogue.selectEntry(entry.toString());
    QCOMPARE(catalogue.Value, value);
    QCOMPARE(catalogue.ListextIndex1, position);
}

void TestCatalogue::fillEntriesClearsValue()
{
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(threeDatabases);
    catalogue.BuildCatalogue();
    catalogue.Sectionslist.select(0);
    catalogue.fillEntries();
    QCOMPARE(catalogue.Entrieslist.items(),
             L({"Databasename", "Date", "Amount", "DateHide", "AmountHide"}));
    catalogue.selectEntry(1);
    QCOMPARE(catalogue.Value, QStringLiteral("When"));
    catalogue.Sectionslist.select(1);
    catalogue.fillEntries();
    QCOMPARE(catalogue.Value, QString());
    QCOMPARE(catalogue.Entrieslist.items(), L({"Databasename", "Item", "ItemHide"}));
    QCOMPARE(catalogue.Entrieslist.currentIndex(), -1);
    QCOMPARE(catalogue.readValue(QStringLiteral("ItemHide")), QStringLiteral("Group"));
}

void TestCatalogue::lookupRereadsFile()
{
    Catalogue catalogue;
    catalogue.FilenameF = writeSchema(threeDatabases);
    catalogue.BuildCatalogue();
    catalogue.Sectionslist.select(0);
    catalogue.fillEntries();
    catalogue.selectEntry(QStringLiteral("Date"));
    QCOMPARE(catalogue.Value, QStringLiteral("When"));
    writeSchema("[A]\nDatabasename=a\nDate=Day\n");
    catalogue.selectEntry(QStringLiteral("Date"));
    QCOMPARE(catalogue.Value, QStringLiteral("Day"));
    QCOMPARE(catalogue.readValue(QStringLiteral("Amount")), QString());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
