#include "catalogue/IniText.h"
#include "catalogue/SchemaCheck.h"

#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

// One section per database; the tests add the lines that go wrong.
QByteArray section(const QByteArray &name, const QByteArray &keys)
{
    return '[' + name + "]\n" + keys;
}

const QByteArray good = section("Fruit", "Databasename=Fruit\nName=Name\nKg=Weight\n"
                                         "NameHide=Group\nKgHide=calc\n");

QByteArray manySections(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += section("S" + QByteArray::number(i).rightJustified(60, '0'), "Databasename=x\n");
    return bytes;
}

} // namespace

class TestSchemaCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void problems_data();
    void problems();
};

void TestSchemaCheck::problems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // "line: words the message holds", in the order listed.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("keys in the program's order") << good << QStringList{};
    QTest::newRow("a field added under its neighbour's role key")
        << section("X", "Databasename=X\nA=A\nAHide=False\nB=B\n")
        << QStringList{u"1: has 4 keys"_s, u"4: read as field 2"_s, u"5: is no field"_s};
    QTest::newRow("Databasename not first") << section("X", "A=A\nDatabasename=X\nAHide=False\n")
                                            << QStringList{u"2: not Databasename"_s};
    QTest::newRow("no Databasename")
        << section("X", "A=A\nB=B\nBHide=False\n")
        << QStringList{u"1: has no Databasename"_s, u"2: not Databasename"_s};
    QTest::newRow("role key without its field")
        << section("X", "Databasename=X\nA=A\nB=B\nAHide=False\nBHide=False\nZHide=True\n")
        << QStringList{u"1: has 6 keys"_s, u"7: Role key \"ZHide\" has no field \"Z\""_s};
    QTest::newRow("field without its role")
        << section("X", "Databasename=X\nA=A\nB=B\nAHide=False\n")
        << QStringList{u"1: has 4 keys"_s, u"4: \"B\" has no role key \"BHide\""_s};
    QTest::newRow("role values other than the four")
        << section("X", "Databasename=X\nA=A\nB=B\nC=C\nAHide=0\nBHide=Yes\nCHide=\n")
        << QStringList{u"6: is \"0\", not True, False, Group or Calc: the column is shown"_s,
                       u"7: is \"Yes\", not True, False, Group or Calc: the column is hidden"_s,
                       u"8: is \"\", not True"_s};
    QTest::newRow("Calc before any Group")
        << section("X", "Databasename=X\nA=A\nB=B\nAHide=Calc\nBHide=Group\n")
        << QStringList{u"5: no Group field comes before it"_s};
    QTest::newRow("Calc with no Group at all")
        << section("X", "Databasename=X\nA=A\nAHide=CALC\n")
        << QStringList{u"4: no Group field comes before it"_s};
    QTest::newRow("section repeated, case ignored")
        << good + section("fruit", "Databasename=Again\n")
        << QStringList{u"7: repeats [Fruit] of line 1"_s};
    QTest::newRow("key repeated, case ignored")
        << section("X", "Databasename=X\nA=A\nAHide=False\nahide=True\n")
        << QStringList{u"1: has 4 keys"_s, u"4: read as field 2"_s,
                       u"5: Key \"ahide\" repeats \"AHide\" of line 4"_s};
    QTest::newRow("value past the buffer")
        << section("X", "Databasename=" + QByteArray(4096, 'v') + '\n')
        << QStringList{u"2: longer than 4095 characters"_s};
    QTest::newRow("value that fits the buffer")
        << section("X", "Databasename=" + QByteArray(4095, 'v') + '\n') << QStringList{};
    QTest::newRow("key list cut by the buffer")
        << section("X", "Databasename=X\n" + QByteArray(4090, 'k') + "=1\nB=2\n")
        << QStringList{u"3: cut at 4096 characters: \"kkkk"_s};
    QTest::newRow("section list cut by the buffer")
        << manySections(70) << QStringList{u"133: cut at 4096 characters: \"S000"_s};
    QTest::newRow("section without a name ends the list")
        << good + "[]\nDatabasename=lost\n" + section("Later", "Databasename=L\n")
        << QStringList{u"7: A section without a name ends the list"_s};
    QTest::newRow("names that cannot be file names")
        << section("a/b", "Databasename=x:y\n")
        << QStringList{u"1: Section name \"a/b\" cannot be a file name"_s,
                       u"2: Databasename \"x:y\" cannot be a file name"_s};
    QTest::newRow("key before the first section")
        << "Stray=1\n" + good << QStringList{u"1: \"Stray\" comes before the first section"_s};
}

void TestSchemaCheck::problems()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    IniText text;
    QString reason;
    QVERIFY(IniText::fromBytes(bytes, &text, &reason));
    const QList<IniProblem> problems = checkSchemaFile(text);
    QStringList seen;
    for (const IniProblem &p : problems)
        seen << QString::number(p.line + 1) + u": "_s + p.text;
    QCOMPARE(problems.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QString line = expected.at(i).section(u": "_s, 0, 0);
        const QString words = expected.at(i).section(u": "_s, 1);
        QVERIFY2(seen.at(i).startsWith(line + u": "_s) && seen.at(i).contains(words),
                 qPrintable(seen.join(u'\n')));
    }
}

QTEST_GUILESS_MAIN(TestSchemaCheck)
#include "tst_schema_check.moc"
