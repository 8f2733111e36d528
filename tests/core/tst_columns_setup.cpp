#include "TestFiles.h"
#include "catalogue/Catalogue.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "document/ColumnSetup.h"
#include "grid/GridModel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

// The schema section of a one-section schema file, with its keys listed
// the way the loader has them.
class SchemaCatalogue
{
public:
    explicit SchemaCatalogue(const QByteArray &section)
    {
        const QString file = m_dir.path() + QStringLiteral("/QuayDB.ini");
        writeFile(file, section);
        catalogue = Catalogue::build(file).schemaSection(0);
    }
    SchemaSection catalogue;

private:
    QTemporaryDir m_dir;
};

// The table as the loader builds it: one column per field, keyed by name.
void addColumns(GridModel &grid, const PdbDatabase &db)
{
    for (int i = 0; i < db.Fields().Count(); ++i) {
        GridColumn c;
        c.key = db.Fields().Item(i).Name;
        grid.addColumn(c);
    }
}

} // namespace

class TestColumnsSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roleValueDecidesVisibility_data();
    void roleValueDecidesVisibility();
    void unHideShowsEveryKnownColumn();
    void pictureKeepsUnHideSettings();
    void recordNumberColumnIs800_data();
    void recordNumberColumnIs800();
    void schemaBeyondDatabaseIsSkipped();
    void databaseBeyondColumnsStops();
    void captionsFollowFieldNamesNotKeyOrder();
    void fieldWithoutCaptionKey();
};

void TestColumnsSetup::roleValueDecidesVisibility_data()
{
    QTest::addColumn<QByteArray>("roleLine");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("True hides") << QByteArray("FHide=True\n") << true;
    QTest::newRow("true in small letters hides") << QByteArray("FHide=true\n") << true;
    QTest::newRow("non-zero number hides") << QByteArray("FHide=-1\n") << true;
    QTest::newRow("False shows") << QByteArray("FHide=False\n") << false;
    QTest::newRow("FALSE shows") << QByteArray("FHide=FALSE\n") << false;
    QTest::newRow("zero shows") << QByteArray("FHide=0\n") << false;
    QTest::newRow("Calc shows") << QByteArray("FHide=Calc\n") << false;
    QTest::newRow("cALC in mixed case shows") << QByteArray("FHide=cALC\n") << false;
    QTest::newRow("Group shows") << QByteArray("FHide=Group\n") << false;
    QTest::newRow("gROUP in mixed case shows") << QByteArray("FHide=gROUP\n") << false;
    QTest::newRow("empty value hides") << QByteArray("FHide=\n") << true;
    QTest::newRow("missing key hides") << QByteArray("Other=x\n") << true;
    QTest::newRow("unreadable text hides") << QByteArray("FHide=maybe\n") << true;
}

void TestColumnsSetup::roleValueDecidesVisibility()
{
    QFETCH(QByteArray, roleLine);
    QFETCH(bool, hidden);
    SchemaCatalogue schema("[S]\nDatabasename=S\nF=Caption F\n" + roleLine);
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("F"), FieldText);
    GridModel grid;
    addColumns(grid, db);
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).hidden, false);
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).hidden, hidden);
    QCOMPARE(grid.column(1).caption, QStringLiteral("Caption F"));
}

void TestColumnsSetup::unHideShowsEveryKnownColumn()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nT=t\nY=y\nD=d\nP=p\nTHide=True\nYHide=True\n"
                           "DHide=True\nPHide=True\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("T"), FieldText);
    db.Table().AddField(QStringLiteral("Y"), FieldYesNo);
    db.Table().AddField(QStringLiteral("D"), FieldTime);
    db.Table().AddField(QStringLiteral("P"), FieldPicture);
    GridModel grid;
    addColumns(grid, db);
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(grid.column(i).hidden);
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!grid.column(i).hidden);
    // UnHideColumns gives data types with the plain display, even where
    // HideColumns had set check boxes and dates.
    QCOMPARE(grid.column(2).dataType, int(DataBoolean));
    QCOMPARE(grid.column(2).displayType, int(DisplayText));
    QCOMPARE(grid.column(3).dataType, int(DataDate));
    QCOMPARE(grid.column(3).displayType, int(DisplayText));
    QCOMPARE(grid.column(4).displayType, int(DisplayPicture));
    QCOMPARE(grid.column(1).caption, QStringLiteral("t"));
}

void TestColumnsSetup::pictureKeepsUnHideSettings()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nP=Photo\nPHide=True\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("P"), FieldPicture);
    GridModel grid;
    addColumns(grid, db);
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).caption, QStringLiteral("Photo"));
    QCOMPARE(grid.column(1).dataType, int(DataPicture));
    QCOMPARE(grid.column(1).pictureCode, 4);
    grid.column(1).caption = QStringLiteral("renamed by hand");
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).caption, QStringLiteral("renamed by hand"));
    QCOMPARE(grid.column(1).dataType, int(DataPicture));
    QCOMPARE(grid.column(1).displayType, int(DisplayPicture));
    QVERIFY(grid.column(1).hidden); // its own role still applies
}

void TestColumnsSetup::recordNumberColumnIs800_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<bool>("unHide");
    QTest::newRow("after loading, UnHideColumns") << 43.0 << true;
    QTest::newRow("stored layout width, HideColumns") << 330.0 << false;
    QTest::newRow("a wide column, UnHideColumns") << 5000.0 << true;
}

void TestColumnsSetup::recordNumberColumnIs800()
{
    QFETCH(double, before);
    QFETCH(bool, unHide);
    SchemaCatalogue schema("[S]\nDatabasename=S\n");
    PdbDatabase db; // a database with no fields: only the width changes
    GridModel grid;
    grid.column(0).widthTwips = before;
    if (unHide)
        ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    else
        ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(0).widthTwips, 800.0);
    QCOMPARE(grid.columnCount(), 1);
    ColumnSetup::HideColumns(grid, nullptr, schema.catalogue);
    QCOMPARE(grid.column(0).widthTwips, 800.0);
}

void TestColumnsSetup::schemaBeyondDatabaseIsSkipped()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nA=a\nB=b\nC=c\nAHide=False\nBHide=False\n"
                           "CHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldYesNo);
    GridModel grid;
    addColumns(grid, db);
    grid.addColumn(GridColumn{}); // a column without a field
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).displayType, int(DisplayCheckBox));
    QCOMPARE(grid.column(2).caption, QString());
    QCOMPARE(grid.column(2).displayType, int(DisplayText));
}

void TestColumnsSetup::databaseBeyondColumnsStops()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nA=a\nAHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldDate);
    db.Table().AddField(QStringLiteral("Z"), FieldDate);
    GridModel grid;
    GridColumn a;
    a.key = QStringLiteral("A");
    grid.addColumn(a);
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.columnCount(), 2);
    QCOMPARE(grid.column(1).dataType, int(DataDate));
    QCOMPARE(grid.column(1).displayType, int(DisplayDate));
}

void TestColumnsSetup::captionsFollowFieldNamesNotKeyOrder()
{
    // Key order: Databasename 0, B 1, A 2, roles after.
    SchemaCatalogue schema("[S]\nDatabasename=S\nB=b\nA=a\nAHide=False\nBHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.Table().AddField(QStringLiteral("B"), FieldText);
    GridModel grid;
    addColumns(grid, db);
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).caption, QStringLiteral("a"));
    QCOMPARE(grid.column(2).caption, QStringLiteral("b"));
}

void TestColumnsSetup::fieldWithoutCaptionKey()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nA=a\nAHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("Unlisted"), FieldText);
    GridModel grid;
    addColumns(grid, db);
    grid.column(1).caption = QStringLiteral("old");
    ColumnSetup::UnHideColumns(grid, &db, schema.catalogue);
    QCOMPARE(grid.column(1).caption, QString());
    ColumnSetup::HideColumns(grid, &db, schema.catalogue);
    QVERIFY(grid.column(1).hidden); // no role key: hidden
}

QTEST_GUILESS_MAIN(TestColumnsSetup)
#include "tst_columns_setup.moc"
