#include "RoundtripFixture.h"

#include "database/FieldType.h"

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QList<SchemaField> noteFields = {
    {u"Title"_s, FieldText, u"Title"_s, u"False"_s},
    {u"Done"_s, FieldYesNo, u"Done"_s, u"False"_s},
};

QString sectionA(const QString &doneCaption = u"Done"_s, const QString &doneRole = u"False"_s)
{
    return RoundtripFixture::section(
        u"A"_s, {noteFields.at(0), {u"Done"_s, FieldYesNo, doneCaption, doneRole}});
}

QString sectionB()
{
    return RoundtripFixture::section(u"B"_s, noteFields);
}

} // namespace

class TestSchemaFollow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openDatabaseFollowsTheSchema_data();
    void openDatabaseFollowsTheSchema();
};

void TestSchemaFollow::openDatabaseFollowsTheSchema_data()
{
    QTest::addColumn<QString>("schema"); // after the change; A was open
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("openSection");
    QTest::addColumn<int>("chooserIndex");
    QTest::addColumn<QStringList>("captions"); // of the table's field columns
    QTest::addColumn<bool>("doneHidden");
    QTest::addColumn<bool>("editSavedToA");

    const QStringList plain = {u"Title"_s, u"Done"_s};
    QTest::newRow("caption changed: stays open with it")
        << sectionA(u"Finished"_s) + sectionB() << true << u"A"_s << 0
        << QStringList{u"Title"_s, u"Finished"_s} << false << false;
    QTest::newRow("role changed: the column hides")
        << sectionA(u"Done"_s, u"True"_s) + sectionB() << false << u"A"_s << 0 << plain << true
        << false;
    QTest::newRow("a section before it: stays open at its new place")
        << sectionB().replace(u"[B]"_s, u"[C]"_s) + sectionA() + sectionB() << true << u"A"_s << 1
        << plain << false << false;
    QTest::newRow("field added, nothing unsaved: read again with its column")
        << RoundtripFixture::section(
               u"A"_s,
               noteFields + QList<SchemaField>{{u"Note"_s, FieldText, u"Note"_s, u"False"_s}}) +
               sectionB()
        << false << u"A"_s << 0 << QStringList{u"Title"_s, u"Done"_s, u"Note"_s} << false << false;
    QTest::newRow("section gone, table edited: saved, the first opens")
        << sectionB() << true << u"B"_s << 0 << plain << false << true;
    QTest::newRow("section gone, nothing unsaved: the first opens")
        << sectionB() << false << u"B"_s << 0 << plain << false << false;
}

void TestSchemaFollow::openDatabaseFollowsTheSchema()
{
    QFETCH(QString, schema);
    QFETCH(bool, edited);
    QFETCH(QString, openSection);
    QFETCH(int, chooserIndex);
    QFETCH(QStringList, captions);
    QFETCH(bool, doneHidden);
    QFETCH(bool, editSavedToA);
    RoundtripFixture fx;
    fx.writeSchema(sectionA() + sectionB());
    fx.writeDatabase(u"A"_s, noteFields, {{u"a"_s, true}});
    fx.writeDatabase(u"B"_s, noteFields, {{u"b"_s, false}});
    fx.open(u"A"_s);
    QVERIFY(fx.controller->loadCompleted());
    if (edited)
        QVERIFY(fx.grid().setData(fx.grid().index(0, 1), u"changed"_s));

    QVERIFY(writeFile(fx.state().schemaFile(), schema.toLatin1()));
    fx.controller->schemaFileChanged();

    QCOMPARE(fx.controller->CurrentPath(), fx.pdbPath(openSection));
    QCOMPARE(fx.controller->currentSection(), chooserIndex);
    QCOMPARE(fx.controller->catalogue().section(chooserIndex), openSection);
    QStringList shown;
    for (int c = 1; c < fx.grid().columnCount(); ++c)
        shown << fx.grid().column(c).caption;
    QCOMPARE(shown, captions);
    QCOMPARE(fx.grid().isColumnHidden(2), doneHidden);
    const QString storedA = fx.read(fx.pdbPath(u"A"_s))->Table().Record(0).value(0).toString();
    QCOMPARE(storedA, editSavedToA ? u"changed"_s : u"a"_s);
    // Unsaved edits of a database that stays open stay in its table.
    if (edited && openSection == u"A"_s)
        QCOMPARE(fx.grid().cell(0, 1), QVariant(u"changed"_s));
    QCOMPARE(fx.prompter.messages.size(), 0);
}

QTEST_GUILESS_MAIN(TestSchemaFollow)
#include "tst_schema_follow.moc"
