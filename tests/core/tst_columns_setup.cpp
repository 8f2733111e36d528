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

// The table as a load builds it from the database and the schema.
void addColumns(GridModel &grid, const PdbDatabase &db, const SchemaSection &schema)
{
    for (const GridColumn &column : ColumnSetup::columnsFor(db.Fields(), schema))
        grid.addColumn(column);
}

} // namespace

class TestColumnsSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roleValueDecidesVisibility_data();
    void roleValueDecidesVisibility();
    void kindFollowsTheFieldType_data();
    void kindFollowsTheFieldType();
    void unHideShowsEveryColumnThatHoldsValues();
    void schemaAndDatabaseOfDifferentLengths();
    void captionsFollowFieldNamesNotKeyOrder();
    void changedSchemaKeepsKinds();
};

void TestColumnsSetup::roleValueDecidesVisibility_data()
{
    QTest::addColumn<QByteArray>("roleLine");
    QTest::addColumn<int>("role");
    const int hidden = int(FieldRole::Hidden);
    const int shown = int(FieldRole::Shown);
    QTest::newRow("True hides") << QByteArray("FHide=True\n") << hidden;
    QTest::newRow("true in small letters hides") << QByteArray("FHide=true\n") << hidden;
    QTest::newRow("non-zero number hides") << QByteArray("FHide=-1\n") << hidden;
    QTest::newRow("False shows") << QByteArray("FHide=False\n") << shown;
    QTest::newRow("FALSE shows") << QByteArray("FHide=FALSE\n") << shown;
    QTest::newRow("zero shows") << QByteArray("FHide=0\n") << shown;
    QTest::newRow("Calc shows and totals") << QByteArray("FHide=Calc\n") << int(FieldRole::Calc);
    QTest::newRow("cALC in mixed case") << QByteArray("FHide=cALC\n") << int(FieldRole::Calc);
    QTest::newRow("Group shows and groups") << QByteArray("FHide=Group\n") << int(FieldRole::Group);
    QTest::newRow("gROUP in mixed case") << QByteArray("FHide=gROUP\n") << int(FieldRole::Group);
    QTest::newRow("empty value hides") << QByteArray("FHide=\n") << hidden;
    QTest::newRow("missing key hides") << QByteArray("Other=x\n") << hidden;
    QTest::newRow("unreadable text hides") << QByteArray("FHide=maybe\n") << hidden;
}

void TestColumnsSetup::roleValueDecidesVisibility()
{
    QFETCH(QByteArray, roleLine);
    QFETCH(int, role);
    SchemaCatalogue schema("[S]\nDatabasename=S\nF=Caption F\n" + roleLine);
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("F"), FieldText);
    GridModel grid;
    addColumns(grid, db, schema.catalogue);
    QCOMPARE(int(grid.column(1).role), role);
    QCOMPARE(grid.column(1).caption, QStringLiteral("Caption F"));
    QCOMPARE(grid.isColumnHidden(1), role == int(FieldRole::Hidden));
    ColumnSetup::UnHideColumns(grid);
    QVERIFY(!grid.isColumnHidden(1));
    ColumnSetup::HideColumns(grid);
    QCOMPARE(grid.headerData(1, Qt::Horizontal, GridRoles::HiddenRole).toBool(),
             role == int(FieldRole::Hidden));
}

void TestColumnsSetup::kindFollowsTheFieldType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("dataType");
    QTest::newRow("text") << int(FieldText) << int(ColumnKind::Text) << int(DataText);
    QTest::newRow("yes/no") << int(FieldYesNo) << int(ColumnKind::YesNo) << int(DataBoolean);
    QTest::newRow("date") << int(FieldDate) << int(ColumnKind::Date) << int(DataDate);
    QTest::newRow("time") << int(FieldTime) << int(ColumnKind::Time) << int(DataDate);
    QTest::newRow("date and time")
        << int(FieldDateTime) << int(ColumnKind::DateTime) << int(DataDate);
    QTest::newRow("picture") << int(FieldPicture) << int(ColumnKind::Picture) << int(DataPicture);
    QTest::newRow("a type the table cannot show") << 4 << int(ColumnKind::Other) << int(DataText);
}

void TestColumnsSetup::kindFollowsTheFieldType()
{
    QFETCH(int, type);
    QFETCH(int, kind);
    SchemaCatalogue schema("[S]\nDatabasename=S\nF=Caption\nFHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("F"), type);
    GridModel grid;
    addColumns(grid, db, schema.catalogue);
    QCOMPARE(int(GridRoles::kindOf(grid, 1)), kind);
    QTEST(grid.headerData(1, Qt::Horizontal, GridRoles::DataTypeRole).toInt(), "dataType");
    // A column of a type the table cannot show has nothing to be found by or shown.
    const bool known = kind != int(ColumnKind::Other);
    QCOMPARE(grid.column(1).key, known ? QStringLiteral("F") : QString());
    QCOMPARE(grid.column(1).caption, known ? QStringLiteral("Caption") : QString());
    grid.addRow();
    QCOMPARE(bool(grid.flags(grid.index(0, 1)) & Qt::ItemIsEditable), known);
}

void TestColumnsSetup::unHideShowsEveryColumnThatHoldsValues()
{
    SchemaCatalogue schema("[S]\nDatabasename=S\nT=t\nY=y\nD=d\nP=p\nU=u\nTHide=True\nYHide=True\n"
                           "DHide=True\nPHide=True\nUHide=True\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("T"), FieldText);
    db.Table().AddField(QStringLiteral("Y"), FieldYesNo);
    db.Table().AddField(QStringLiteral("D"), FieldTime);
    db.Table().AddField(QStringLiteral("P"), FieldPicture);
    db.Table().AddField(QStringLiteral("U"), 9);
    GridModel grid;
    addColumns(grid, db, schema.catalogue);
    for (int i = 1; i <= 5; ++i)
        QVERIFY(grid.isColumnHidden(i));
    ColumnSetup::UnHideColumns(grid);
    for (int i = 1; i <= 4; ++i)
        QVERIFY2(!grid.isColumnHidden(i), qPrintable(QString::number(i)));
    QVERIFY(grid.isColumnHidden(5)); // the schema keeps its say over what cannot be shown
    // Showing every column never touches what a column holds.
    QCOMPARE(GridRoles::kindOf(grid, 2), ColumnKind::YesNo);
    QCOMPARE(GridRoles::kindOf(grid, 3), ColumnKind::Time);
    ColumnSetup::HideColumns(grid);
    QVERIFY(grid.isColumnHidden(1));
}

void TestColumnsSetup::schemaAndDatabaseOfDifferentLengths()
{
    // Three schema fields, one database field, and a database field the
    // schema does not name.
    SchemaCatalogue schema("[S]\nDatabasename=S\nA=a\nB=b\nC=c\nAHide=False\nBHide=False\n"
                           "CHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldYesNo);
    QList<GridColumn> columns = ColumnSetup::columnsFor(db.Fields(), schema.catalogue);
    QCOMPARE(columns.size(), 3);
    QCOMPARE(columns.at(0).kind, ColumnKind::YesNo);
    QCOMPARE(columns.at(1).kind, ColumnKind::Other);
    QVERIFY(columns.at(1).key.isEmpty());

    SchemaCatalogue shorter("[S]\nDatabasename=S\nA=a\nAHide=False\n");
    db.Table().AddField(QStringLiteral("Z"), FieldDate);
    columns = ColumnSetup::columnsFor(db.Fields(), shorter.catalogue);
    QCOMPARE(columns.size(), 1);

    // A field the schema has no caption or role key for: no caption, hidden.
    SchemaCatalogue unlisted("[S]\nDatabasename=S\nUnlisted=x\nUnlistedHide=False\n");
    PdbDatabase other;
    other.Table().AddField(QStringLiteral("Named"), FieldText);
    columns = ColumnSetup::columnsFor(other.Fields(), unlisted.catalogue);
    QCOMPARE(columns.at(0).caption, QString());
    QCOMPARE(columns.at(0).role, FieldRole::Hidden);
}

void TestColumnsSetup::captionsFollowFieldNamesNotKeyOrder()
{
    // Key order: Databasename 0, B 1, A 2, roles after.
    SchemaCatalogue schema("[S]\nDatabasename=S\nB=b\nA=a\nAHide=False\nBHide=False\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldText);
    db.Table().AddField(QStringLiteral("B"), FieldText);
    const QList<GridColumn> columns = ColumnSetup::columnsFor(db.Fields(), schema.catalogue);
    QCOMPARE(columns.at(0).caption, QStringLiteral("a"));
    QCOMPARE(columns.at(1).caption, QStringLiteral("b"));
}

void TestColumnsSetup::changedSchemaKeepsKinds()
{
    SchemaCatalogue before("[S]\nDatabasename=S\nA=Old\nAHide=False\n");
    SchemaCatalogue after("[S]\nDatabasename=S\nA=New\nAHide=Calc\n");
    PdbDatabase db;
    db.Table().AddField(QStringLiteral("A"), FieldYesNo);
    GridModel grid;
    addColumns(grid, db, before.catalogue);
    ColumnSetup::applySchema(grid, db.Fields(), after.catalogue);
    QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("New"));
    QCOMPARE(GridRoles::fieldRoleOf(grid, 1), FieldRole::Calc);
    QCOMPARE(GridRoles::kindOf(grid, 1), ColumnKind::YesNo);
}

QTEST_GUILESS_MAIN(TestColumnsSetup)
#include "tst_columns_setup.moc"
