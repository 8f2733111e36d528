#include "WindowFixture.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/TableTools.h"
#include "grid/GridModel.h"
#include "grid/RecordViewProxy.h"
#include "grid/TableEditor.h"
#include "grid/widgets/FilterHeader.h"
#include "grid/widgets/FindBar.h"
#include "grid/widgets/GridView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QList<std::pair<QString, bool>> kFruit{
    {u"Pear"_s, false}, {u"apple"_s, true}, {u"Fig"_s, true}, {u"Banana"_s, false}};

// The names the view shows, the new-record row left out.
QStringList shownNames(const QAbstractItemModel &view)
{
    QStringList out;
    for (int row = 0; row + 1 < view.rowCount(); ++row)
        out.append(view.index(row, 1).data().toString());
    return out;
}

QStringList storedNames(const GridModel &table)
{
    QStringList out;
    for (int row = 0; row < table.rowCount(); ++row)
        out.append(table.cell(row, 1).toString());
    return out;
}

// Dark pixels at the right end of a caption, where its key's arrow goes.
int arrowPixels(FilterHeader &header, int column)
{
    const QImage image = header.grab().toImage();
    const int right = header.sectionViewportPosition(column) + header.sectionSize(column) - 3;
    int dark = 0;
    for (int x = right - header.fontMetrics().height(); x < right; ++x)
        for (int y = 0; y < header.height(); ++y)
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
    return dark;
}

void clickHeader(FilterHeader &header, int column, Qt::KeyboardModifiers modifiers = {})
{
    const QPoint at(header.sectionViewportPosition(column) + header.sectionSize(column) / 2, 5);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, modifiers, at);
}

struct Window
{
    WindowFixture f;
    frmMain *w = nullptr;

    bool start()
    {
        for (const QString &user : {u"Ann"_s, u"Bob"_s})
            f.writeDatabase(user, u"Fruit"_s, kFruit);
        w = &f.start();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }
    FilterHeader &header() const { return w->tableTools().header(); }
    FindBar &findBar() const { return w->tableTools().findBar(); }
    QAbstractItemModel &view() const { return *w->grid()->model(); }
    QComboBox *chooser() const { return w->findChild<QComboBox *>(u"SectionListDBNam"_s); }
};

} // namespace

class TestTableTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void editKeysWorkWhereverTheFocusIs();
    void headerClicksSort();
    void filterRowFiltersAndMarksBadText();
    void findBarFindsAndReplaces();
    void goToRecordAndSortRecords();
    void sortKeysAndFilterRowAreRememberedPerDatabase();
};

void TestTableTools::editKeysWorkWhereverTheFocusIs()
{
    Window t;
    QVERIFY(t.start());
    QComboBox *chooser = t.chooser();
    chooser->setFocus();
    t.f.prompter.answers.enqueue(Prompter::Yes);
    t.w->SmartMenuXP1_MenuItemClick(u"keyClearPDB"_s);
    QCOMPARE(t.f.controller->grid().rowCount(), 0);
    // The question has closed; the focus is not in the table.
    QTest::keyClick(chooser, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"Pear"_s, u"apple"_s, u"Fig"_s, u"Banana"_s}));
    QTest::keyClick(chooser, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(t.f.controller->grid().rowCount(), 0);
    QTest::keyClick(chooser, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(chooser, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(t.findBar().isVisible());
    QCOMPARE(QApplication::focusWidget(), t.findBar().findBox());
    // Ctrl+C stays the menu's change of user.
    QAction *changeUser = t.w->menuBar()->findChild<QAction *>(u"KeyChangeUser"_s);
    QVERIFY(changeUser);
    QCOMPARE(changeUser->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
}

void TestTableTools::headerClicksSort()
{
    Window t;
    QVERIFY(t.start());
    FilterHeader &header = t.header();
    const int unsorted = arrowPixels(header, 1);
    clickHeader(header, 1);
    QCOMPARE(shownNames(t.view()), (QStringList{u"apple"_s, u"Banana"_s, u"Fig"_s, u"Pear"_s}));
    QCOMPARE(header.sortIndicatorSection(), 1);
    QCOMPARE(header.sortIndicatorOrder(), Qt::AscendingOrder);
    QVERIFY(arrowPixels(header, 1) > unsorted); // the key's arrow is drawn
    QVERIFY(t.w->grid()->selectionModel()->selectedColumns().isEmpty());
    // What the preview prints is what the table shows.
    QCOMPARE(shownNames(*t.w->grid()->model()).first(),
             t.f.controller->viewModel()->index(0, 1).data().toString());
    clickHeader(header, 1);
    QCOMPARE(shownNames(t.view()), (QStringList{u"Pear"_s, u"Fig"_s, u"Banana"_s, u"apple"_s}));
    QCOMPARE(header.sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(header, 1);
    QCOMPARE(shownNames(t.view()), storedNames(t.f.controller->grid()));
    QCOMPARE(header.sortIndicatorSection(), -1);
    QCOMPARE(arrowPixels(header, 1), unsorted);

    // Paid first, then Shift+click on Name for ties.
    clickHeader(header, 2);
    clickHeader(header, 1, Qt::ShiftModifier);
    QCOMPARE(shownNames(t.view()), (QStringList{u"Banana"_s, u"Pear"_s, u"apple"_s, u"Fig"_s}));
    QCOMPARE(t.f.controller->recordView().sortKeys().size(), 2);
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"Pear"_s, u"apple"_s, u"Fig"_s, u"Banana"_s}));
    QVERIFY(!t.f.controller->DatabaseEdited());
}

void TestTableTools::filterRowFiltersAndMarksBadText()
{
    Window t;
    QVERIFY(t.start());
    QTest::keyClick(t.w->grid(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(t.header().filtersShown());
    QLineEdit *name = t.header().filterBox(1);
    QVERIFY(name && name->isVisible());
    QLabel *count = t.w->statusPanels().recordCountPanel();

    QTest::keyClicks(name, u"p"_s);
    QCOMPARE(shownNames(t.view()), (QStringList{u"Pear"_s, u"apple"_s}));
    QVERIFY(count->isVisible());
    QCOMPARE(count->text(), u"2 of 4 records"_s);
    // The panels moved over for the count; the progress bar follows panel 4.
    StatusPanels &panels = t.w->statusPanels();
    QTRY_VERIFY(qAbs(panels.frame2()->x() - panels.panel4Left()) <= 1);

    name->setText(u"/(p/"_s);
    QVERIFY(name->property("invalid").toBool());
    QVERIFY2(name->toolTip().startsWith(u"Not a valid regular expression"_s),
             qPrintable(name->toolTip()));
    QCOMPARE(shownNames(t.view()).size(), 4); // never emptied silently

    name->setText(u"p"_s);
    QVERIFY(!name->property("invalid").toBool());
    t.header().filterBox(0)->setText(u"true"_s); // the any-column box
    QCOMPARE(shownNames(t.view()), QStringList{u"apple"_s});

    QTest::keyClick(name, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!t.header().filtersShown());
    QCOMPARE(shownNames(t.view()).size(), 4);
    QVERIFY(!count->isVisible());
    // A hidden row has no boxes; shown again, they start empty.
    QVERIFY(!t.header().filterBox(1));
    QTest::keyClick(t.w->grid(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(t.header().filterBox(1) && t.header().filterBox(1)->text().isEmpty());
}

void TestTableTools::findBarFindsAndReplaces()
{
    Window t;
    QVERIFY(t.start());
    GridView *grid = t.w->grid();
    grid->setCurrentIndex(t.view().index(2, 1)); // Fig: the search starts after it
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
    FindBar &bar = t.findBar();
    QTest::keyClicks(bar.findBox(), u"p"_s);
    QTest::keyClick(bar.findBox(), Qt::Key_Return);
    QCOMPARE(grid->currentIndex().data().toString(), u"Pear"_s);
    QCOMPARE(bar.statusText(), u"1 of 2"_s);
    QTest::keyClick(bar.findBox(), Qt::Key_F3);
    QCOMPARE(grid->currentIndex().data().toString(), u"apple"_s);
    QCOMPARE(bar.statusText(), u"2 of 2"_s);
    QTest::keyClick(bar.findBox(), Qt::Key_Return); // wraps round
    QCOMPARE(grid->currentIndex().data().toString(), u"Pear"_s);
    QTest::keyClick(bar.findBox(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(grid->currentIndex().data().toString(), u"apple"_s);
    QCOMPARE(grid->currentIndex().data(Qt::BackgroundRole).value<QColor>(), QColor(255, 226, 120));

    // Replace All in one step; "True" made "TruE" is no change of the yes/no.
    QTest::keyClick(grid, Qt::Key_H, Qt::ControlModifier);
    // The open bar grows for its replace row, and the table makes room.
    QCOMPARE(bar.height(), bar.sizeHint().height());
    QCOMPARE(grid->geometry().bottom() + 1, bar.geometry().top());
    bar.findBox()->setText(u"e"_s);
    bar.replaceBox()->setText(u"E"_s);
    bar.replaceAll();
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"PEar"_s, u"applE"_s, u"Fig"_s, u"Banana"_s}));
    QCOMPARE(t.f.controller->grid().cell(0, 2).toBool(), false);
    QVERIFY2(bar.statusText().endsWith(u"Replaced 2 cell(s)"_s), qPrintable(bar.statusText()));
    QVERIFY(t.f.controller->DatabaseEdited());
    QTest::keyClick(bar.replaceBox(), Qt::Key_Z, Qt::ControlModifier); // the box's own undo
    QCOMPARE(storedNames(t.f.controller->grid()).first(), u"PEar"_s);
    t.w->SmartMenuXP1_MenuItemClick(u"keyUndo"_s);
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"Pear"_s, u"apple"_s, u"Fig"_s, u"Banana"_s}));

    QTest::keyClick(bar.findBox(), Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QCOMPARE(QApplication::focusWidget(), grid);
    QVERIFY(!grid->currentIndex().data(Qt::BackgroundRole).isValid());

    // Replace All before a slow regular expression is counted does not wait
    // for the count: it says so and changes nothing.
    GridModel &table = t.f.controller->grid();
    t.f.controller->document().editor().insertRecords(4, 3000);
    QList<GridCell> slow;
    for (int row = 0; row < table.rowCount(); ++row)
        slow.append({row, 1, QString(200, u'a') + u'!'});
    table.setCells(slow);
    QTest::keyClick(grid, Qt::Key_H, Qt::ControlModifier);
    for (QCheckBox *box : bar.findChildren<QCheckBox *>())
        box->setChecked(box->text() == u"Regular expression"_s);
    bar.findBox()->setText(u"(a+)+$"_s);
    bar.replaceBox()->setText(u"b"_s);
    bar.replaceAll();
    QVERIFY2(bar.statusText().contains(u"nothing was replaced"_s), qPrintable(bar.statusText()));
    QCOMPARE(table.cell(0, 1).toString(), QString(200, u'a') + u'!');
}

void TestTableTools::goToRecordAndSortRecords()
{
    Window t;
    QVERIFY(t.start());
    clickHeader(t.header(), 1);
    t.f.prompter.numberAnswers.enqueue(1); // Pear, shown last when sorted by name
    QTest::keyClick(t.chooser(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(t.f.prompter.numberRequests.size(), 1);
    QCOMPARE(t.f.prompter.numberRequests.first().maximum, 4);
    QCOMPARE(t.w->grid()->currentIndex().row(), 3);
    QCOMPARE(t.w->grid()->currentIndex().column(), 1);

    t.w->SmartMenuXP1_MenuItemClick(u"keySortRecords"_s);
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"apple"_s, u"Banana"_s, u"Fig"_s, u"Pear"_s}));
    QVERIFY(t.f.controller->DatabaseEdited());
    t.w->SmartMenuXP1_MenuItemClick(u"keySortRecords"_s);
    QCOMPARE(t.f.prompter.messages.last().text, u"The records are stored in this order already."_s);
    QTest::keyClick(t.w->grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(storedNames(t.f.controller->grid()),
             (QStringList{u"Pear"_s, u"apple"_s, u"Fig"_s, u"Banana"_s}));
    QVERIFY(!t.f.controller->DatabaseEdited());
}

void TestTableTools::sortKeysAndFilterRowAreRememberedPerDatabase()
{
    Window t;
    QVERIFY(t.start());
    clickHeader(t.header(), 1);
    clickHeader(t.header(), 1);
    t.w->tableTools().filterRowAction()->trigger();
    t.header().filterBox(1)->setText(u"a"_s);

    Q_EMIT t.chooser()->activated(1); // Veg: nothing remembered
    QVERIFY(t.f.controller->recordView().sortKeys().isEmpty());
    QVERIFY(!t.header().filtersShown());
    Q_EMIT t.chooser()->activated(0);
    const SortKeys descending{{1, Qt::DescendingOrder}};
    QCOMPARE(t.f.controller->recordView().sortKeys(), descending);
    QVERIFY(t.header().filtersShown());
    QVERIFY(t.header().filterBox(1)->text().isEmpty()); // texts are not remembered
    QCOMPARE(shownNames(t.view()).size(), 4);

    // A new window on the same settings opens the database as it was left.
    t.f.window.reset();
    t.f.start();
    QCOMPARE(t.f.controller->recordView().sortKeys(), descending);
    QVERIFY(t.f.window->tableTools().header().filtersShown());
    QCOMPARE(t.f.window->tableTools().header().sortIndicatorOrder(), Qt::DescendingOrder);
}

QTEST_MAIN(TestTableTools)
#include "tst_table_tools.moc"
