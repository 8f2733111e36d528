#include "catalogue/SchemaRules.h"

#include <QTest>

using namespace Ledgerly;

class TestSchemaRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldCount_data();
    void fieldCount();
    void fieldCountDiffers_data();
    void fieldCountDiffers();
    void roles_data();
    void roles();
    void sectionNames_data();
    void sectionNames();
};

void TestSchemaRules::fieldCount_data()
{
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("fields");
    QTest::newRow("no keys at all give no fields") << 0 << 0;
    QTest::newRow("negative count gives no fields") << -3 << 0;
    QTest::newRow("only Databasename gives no fields") << 1 << 0;
    QTest::newRow("two keys half rounds down to zero") << 2 << 0;
    QTest::newRow("three keys give one field") << 3 << 1;
    QTest::newRow("four keys half rounds up to two") << 4 << 2;
    QTest::newRow("five keys give two fields") << 5 << 2;
    QTest::newRow("six keys round to two fields") << 6 << 2;
    QTest::newRow("seven keys give three fields") << 7 << 3;
    QTest::newRow("eight keys round to four fields") << 8 << 4;
    QTest::newRow("ten keys round to four fields") << 10 << 4;
    QTest::newRow("twelve keys round to six fields") << 12 << 6;
    QTest::newRow("fifteen keys give seven fields") << 15 << 7;
    QTest::newRow("twenty keys round to ten fields") << 20 << 10;
    QTest::newRow("large odd count") << 65535 << 32767;
    QTest::newRow("large even count") << 65536 << 32768;
}

void TestSchemaRules::fieldCount()
{
    QFETCH(int, keys);
    QFETCH(int, fields);
    QCOMPARE(schemaFieldCount(keys), fields);
}

void TestSchemaRules::fieldCountDiffers_data()
{
    QTest::addColumn<int>("fieldCount");
    QTest::addColumn<int>("keys");
    QTest::addColumn<bool>("differs");
    QTest::newRow("whole quotient equal") << 2 << 5 << false;
    QTest::newRow("whole quotient different") << 3 << 5 << true;
    QTest::newRow("half quotient always differs from rounded count") << 2 << 6 << true;
    QTest::newRow("half quotient differs from the other neighbour too") << 3 << 6 << true;
    QTest::newRow("no fields and only Databasename") << 0 << 1 << false;
    QTest::newRow("no fields and no keys") << 0 << 0 << true;
    QTest::newRow("fields but no keys") << 4 << 0 << true;
}

void TestSchemaRules::fieldCountDiffers()
{
    QFETCH(int, fieldCount);
    QFETCH(int, keys);
    QFETCH(bool, differs);
    QCOMPARE(fieldCountDiffersFromSchema(fieldCount, keys), differs);
}

void TestSchemaRules::roles_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("hides");
    QTest::addColumn<bool>("calc");
    QTest::addColumn<bool>("group");
    QTest::newRow("False shows") << "False" << false << false << false;
    QTest::newRow("false in small letters shows") << "false" << false << false << false;
    QTest::newRow("FALSE in capitals shows") << "FALSE" << false << false << false;
    QTest::newRow("zero shows") << "0" << false << false << false;
    QTest::newRow("zero with decimals shows") << "0.0" << false << false << false;
    QTest::newRow("negative zero shows") << "-0" << false << false << false;
    QTest::newRow("zero with blanks shows") << " 0 " << false << false << false;
    QTest::newRow("Calc shows and totals") << "Calc" << false << true << false;
    QTest::newRow("calc any case") << "cALC" << false << true << false;
    QTest::newRow("Group shows and groups") << "Group" << false << false << true;
    QTest::newRow("GROUP any case") << "GROUP" << false << false << true;
    QTest::newRow("True hides") << "True" << true << false << false;
    QTest::newRow("TRUE hides") << "TRUE" << true << false << false;
    QTest::newRow("one hides") << "1" << true << false << false;
    QTest::newRow("minus one hides") << "-1" << true << false << false;
    QTest::newRow("fraction hides") << "0.5" << true << false << false;
    QTest::newRow("empty hides") << "" << true << false << false;
    QTest::newRow("other text hides") << "Visible" << true << false << false;
    QTest::newRow("No is not a boolean and hides") << "No" << true << false << false;
    QTest::newRow("Calc with more text hides") << "Calculate" << true << false << false;
    QTest::newRow("Falsehood hides") << "Falsehood" << true << false << false;
}

void TestSchemaRules::roles()
{
    QFETCH(QString, role);
    QFETCH(bool, hides);
    QFETCH(bool, calc);
    QFETCH(bool, group);
    QCOMPARE(roleHidesColumn(role), hides);
    QCOMPARE(roleIsCalc(role), calc);
    QCOMPARE(roleIsGroup(role), group);
}

void TestSchemaRules::sectionNames_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain name") << "Expenses" << true;
    QTest::newRow("blank inside") << "Home Inventory" << true;
    QTest::newRow("dot inside") << "Log.2026" << true;
    QTest::newRow("accented letters") << QString::fromUtf8("Dépenses") << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("dot dot inside") << "a..b" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("climbing out") << "../etc/passwd" << false;
    QTest::newRow("drive colon") << "C:x" << false;
    QTest::newRow("asterisk") << "a*" << false;
    QTest::newRow("question mark") << "a?" << false;
    QTest::newRow("double quote") << "a\"b" << false;
    QTest::newRow("less than") << "a<b" << false;
    QTest::newRow("greater than") << "a>b" << false;
    QTest::newRow("pipe") << "a|b" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("newline") << "a\nb" << false;
    QTest::newRow("delete character") << "a\x7F" << false;
    QTest::newRow("leading blank") << " a" << false;
    QTest::newRow("trailing blank") << "a " << false;
    QTest::newRow("trailing dot") << "a." << false;
}

void TestSchemaRules::sectionNames()
{
    QFETCH(QString, section);
    QFETCH(bool, safe);
    QCOMPARE(isSafeSectionName(section), safe);
}

QTEST_GUILESS_MAIN(TestSchemaRules)
#include "tst_schemarules.moc"
