#include "WindowFixture.h"
#include "grid/GridModel.h"
#include "grid/widgets/GridView.h"

#include "grid/GridRoles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

// The fruit are grouped by their Paid box. Name is marked "Calc" but comes
// before the grouping field, so it finds no group to total for: the footers
// only count, yet the column is a number column while grouped.
QByteArray groupedSchema()
{
    return "[Fruit]\r\nDatabasename=Fruit Basket\r\nName=Fruit Name\r\nPaid=Paid\r\n"
           "NameHide=Calc\r\nPaidHide=Group\r\n"
           "[Veg]\r\nDatabasename=Vegetables\r\nName=Veg Name\r\nNameHide=False\r\n";
}

QStringList rowTexts(const QAbstractItemModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 1);
        // The new-record row below every group is not part of the grouping.
        if (index.data(GridRoles::RowKindRole).toInt() != int(GridRoles::RowKind::NewRecord))
            out << index.data().toString();
    }
    return out;
}

} // namespace

// "Group Fields" in the window: ticking groups the open database from its
// schema roles, another database is grouped afresh, clearing shows the table.
class TestGroupingWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tickGroupsAndClearingRestores();
};

void TestGroupingWindow::tickGroupsAndClearingRestores()
{
    WindowFixture f;
    writeFile(f.programFolder + u"/QuayDB.ini"_s, groupedSchema());
    for (const QString &user : {u"Ann"_s, u"Bob"_s})
        f.writeDatabase(user, u"Fruit"_s,
                        {{u"Apple"_s, true}, {u"Pear"_s, false}, {u"Fig"_s, true}});
    frmMain &w = f.start();
    GridModel &table = f.controller->grid();
    QCOMPARE(table.rowCount(), 3);
    auto *box = w.findChild<QCheckBox *>(u"chkGroup"_s);
    QVERIFY(box);

    box->click();
    QVERIFY(box->isChecked());
    QVERIFY(w.grid()->model() != &table);
    const QString footer = u"Records : %1"_s;
    QCOMPARE(rowTexts(*w.grid()->model()),
             (QStringList{u"False"_s, u"Pear"_s, footer.arg(1), u"True"_s, u"Apple"_s, u"Fig"_s,
                          footer.arg(2)}));
    QCOMPARE(w.grid()->model()->headerData(1, Qt::Horizontal, GridRoles::DataTypeRole).toInt(),
             int(DataInteger));
    QCOMPARE(w.grid()->columnSpan(0, 0), table.columnCount());

    // Another database while ticked: its own roles (none groups here).
    auto *chooser = w.findChild<QComboBox *>(u"SectionListDBNam"_s);
    QVERIFY(chooser);
    Q_EMIT chooser->activated(1);
    QCOMPARE(table.rowCount(), 1);
    QVERIFY(box->isChecked());
    QCOMPARE(rowTexts(*w.grid()->model()), QStringList{u"Leek"_s});
    Q_EMIT chooser->activated(0);
    QCOMPARE(rowTexts(*w.grid()->model()).size(), 7);

    box->click();
    QVERIFY(!box->isChecked());
    QCOMPARE(rowTexts(*w.grid()->model()), (QStringList{u"Apple"_s, u"Pear"_s, u"Fig"_s}));
    QCOMPARE(w.grid()->model()->headerData(1, Qt::Horizontal, GridRoles::DataTypeRole).toInt(),
             int(DataText));
    QCOMPARE(rowTexts(table), (QStringList{u"Apple"_s, u"Pear"_s, u"Fig"_s}));
    QCOMPARE(w.grid()->columnSpan(0, 0), 1);
    QVERIFY(f.prompter.messages.isEmpty());
}

QTEST_MAIN(TestGroupingWindow)
#include "tst_grouping_window.moc"
