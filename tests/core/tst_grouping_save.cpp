#include "RoundtripFixture.h"
#include "database/FieldType.h"
#include "exchange/CsvExport.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"
#include "grid/RecordViewProxy.h"

#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QList<SchemaField> kFields = {
    {u"Category"_s, FieldText, u"Category"_s, u"Group"_s},
    {u"Amount"_s, FieldText, u"Amount"_s, u"Calc"_s},
    {u"Paid"_s, FieldYesNo, u"Paid?"_s, u"False"_s},
};

const QList<QVariantList> kRecords = {
    {u"Travel"_s, u"12.5"_s, true},
    {u"Food"_s, u"3"_s, false},
    {u"Travel"_s, u"7"_s, false},
    {u"Food"_s, u"4.25"_s, true},
};

// Groups the open table as "Group Fields" does: roles from the schema.
GroupingProxyModel *group(RoundtripFixture &fx)
{
    fx.controller->setGrouped(true);
    return qobject_cast<GroupingProxyModel *>(fx.controller->viewModel());
}

} // namespace

// Grouping is a view: the stored records, their order and the exported file
// are the same whether the table is grouped or not.
class TestGroupingSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void saveAndExportIgnoreGrouping();
    void editWhileGroupedKeepsRecordOrder();
};

void TestGroupingSave::saveAndExportIgnoreGrouping()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(u"Spend"_s, kFields));
    fx.writeDatabase(u"Spend"_s, kFields, kRecords);
    const QString path = fx.pdbPath(u"Spend"_s);
    fx.open(u"Spend"_s);
    const QString csv = QDir(fx.programFolder()).filePath(u"spend.csv"_s);

    QVERIFY(fx.controller->SaveDatabase());
    const QString plainFile = fx.dump(path);
    QVERIFY(fx.controller->exportCsv(csv).ok);
    const QByteArray plainCsv = readFile(csv);
    QVERIFY(!plainCsv.isEmpty());

    GroupingProxyModel *grouped = group(fx);
    QVERIFY(grouped);
    QCOMPARE(grouped->groupCount(), 2);
    QCOMPARE(grouped->rowCount(), int(kRecords.size()) + 4);
    QVERIFY(fx.controller->SaveDatabase());
    QCOMPARE(fx.dump(path), plainFile);
    QVERIFY(fx.controller->exportCsv(csv).ok);
    QCOMPARE(readFile(csv), plainCsv);
    QCOMPARE(fx.prompter.messages.size(), 0);
}

void TestGroupingSave::editWhileGroupedKeepsRecordOrder()
{
    RoundtripFixture fx;
    fx.writeSchema(RoundtripFixture::section(u"Spend"_s, kFields));
    fx.writeDatabase(u"Spend"_s, kFields, kRecords);
    fx.open(u"Spend"_s);
    GroupingProxyModel *grouped = group(fx);
    QVERIFY(grouped);
    GroupingProxyModel &view = *grouped;

    // The first record moves from the Travel group to the Food group.
    const QModelIndex travel =
        view.mapFromSource(fx.controller->recordView().mapFromSource(fx.grid().index(0, 1)));
    QVERIFY(view.setData(travel, u"Food"_s));
    QCOMPARE(view.index(0, 1).data().toString(), u"Food"_s);
    QCOMPARE(view.index(4, 1).data().toString(),
             u"Calculated Values for Amount Records: 3     Total: 19.75     Average:  6.58     "
             u"Minimum: 3  Maximum : 12.5"_s);
    QVERIFY(fx.controller->SaveDatabase());

    const auto db = fx.read(fx.pdbPath(u"Spend"_s));
    QCOMPARE(db->Table().RecordCount(), kRecords.size());
    const QStringList stored = {u"Food"_s, u"Food"_s, u"Travel"_s, u"Food"_s};
    for (int r = 0; r < stored.size(); ++r) {
        QCOMPARE(db->Table().Record(r).value(0).toString(), stored.at(r));
        QCOMPARE(db->Table().Record(r).value(1), kRecords.at(r).at(1));
    }
}

QTEST_MAIN(TestGroupingSave)
#include "tst_grouping_save.moc"
