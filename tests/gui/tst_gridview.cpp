#include "common/Twips.h"
#include "grid/GridModel.h"
#include "grid/GridValue.h"
#include "grid/GroupingProxyModel.h"
#include "grid/widgets/GridItemDelegate.h"
#include "grid/widgets/GridView.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

enum Col { Text = 1, Check = 2, Date = 3, Picture = 4, Hidden = 5, Last = 6 };

void fill(GridModel &model, bool pictureHidden = false)
{
    GridColumn text;
    text.key = u"Name"_s;
    text.caption = u"Name"_s;
    model.addColumn(text);
    GridColumn check;
    check.key = u"Paid"_s;
    check.kind = ColumnKind::YesNo;
    model.addColumn(check);
    GridColumn date;
    date.key = u"When"_s;
    date.kind = ColumnKind::Date;
    model.addColumn(date);
    GridColumn picture;
    picture.key = u"Photo"_s;
    picture.kind = ColumnKind::Picture;
    picture.role = pictureHidden ? FieldRole::Hidden : FieldRole::Shown;
    model.addColumn(picture);
    GridColumn hidden;
    hidden.key = u"Note"_s;
    hidden.role = FieldRole::Hidden;
    model.addColumn(hidden);
    GridColumn last;
    last.key = u"Last"_s;
    model.addColumn(last);

    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int r = 0; r < 3; ++r) {
        GridRow row;
        row.cells = {QVariant(),
                     u"Item %1"_s.arg(r),
                     r % 2 == 0,
                     GridValue::wallClock(QDate(2026, 1, r + 1), QTime(0, 0)),
                     GridValue::bitmapBytes(image),
                     u"secret"_s,
                     u"end"_s};
        model.addRow(row);
    }
}

// Fills the model and shows it in the view; true once the view is on screen.
bool showFilled(GridModel &model, GridView &view)
{
    fill(model);
    view.setModel(&model);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

// The table grouped by its last column, whose value all rows share: one
// header row above the records and one footer row below them.
void groupByLast(GroupingProxyModel &grouped, GridModel &model)
{
    grouped.setSourceModel(&model);
    grouped.setGroupLayout({GroupLevel{Last, -1, {}}});
}

} // namespace

class TestGridView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void columns_data();
    void columns();
    void columnsFitAndKeepTheirWidths();
    void keysMoveToTheNextCell_data();
    void keysMoveToTheNextCell();
    void enterCommitsAnEditAndMovesOn();
    void checkBoxToggles_data();
    void checkBoxToggles();
    void dateEditorFormat_data();
    void dateEditorFormat();
    void dateEditorShowsTheWholeDate_data();
    void dateEditorShowsTheWholeDate();
    void groupRowsSpanTheVisibleColumns();
    void groupRowsFoldWithKeysAndMenu();
};

void TestGridView::columns_data()
{
    QTest::addColumn<bool>("pictureHidden");
    QTest::addColumn<bool>("grouped");
    QTest::newRow("picture column shown: tall rows") << false << false;
    QTest::newRow("picture column hidden: text rows") << true << false;
    QTest::newRow("grouped, picture column shown") << false << true;
    QTest::newRow("grouped, picture column hidden") << true << true;
}

void TestGridView::columns()
{
    QFETCH(bool, pictureHidden);
    QFETCH(bool, grouped);
    GridModel model;
    fill(model, pictureHidden);
    GroupingProxyModel proxy;
    groupByLast(proxy, model);
    GridView view;
    view.setModel(grouped ? static_cast<QAbstractItemModel *>(&proxy) : &model);
    const double dpi = view.logicalDpiX();

    QCOMPARE(view.objectName(), u"SGGrid1"_s);
    QCOMPARE(view.isColumnHidden(Hidden), true);
    QCOMPARE(view.isColumnHidden(Picture), pictureHidden);
    QCOMPARE(view.isColumnHidden(Text), false);
    QCOMPARE(view.columnWidth(0), Twips::toPixels(800, dpi));
    QCOMPARE(view.showsPictures(), !pictureHidden);
    const int textHeight = view.fontMetrics().height() + 8;
    QCOMPARE(view.rowHeight(0), pictureHidden
                                    ? textHeight
                                    : qMax(textHeight, Twips::toPixels(720, view.logicalDpiY())));

    // Visibility follows later changes of the columns.
    model.setAllColumnsShown(true);
    QVERIFY(!view.isColumnHidden(Hidden));
}

void TestGridView::columnsFitAndKeepTheirWidths()
{
    GridModel model;
    fill(model);
    model.setCell(1, Text, u"A much longer name than the caption"_s);
    model.setCell(2, Last, QString(2000, u'x')); // one text that would take the window
    GridView view;
    view.resize(900, 400);
    view.setModel(&model);
    const QFontMetrics metrics(view.font());
    // Every value of the first rows shows whole; a very long one is capped.
    for (int c : {int(Text), int(Date)})
        for (int r = 0; r < model.rowCount(); ++r)
            QVERIFY(view.columnWidth(c) >
                    metrics.horizontalAdvance(model.index(r, c).data().toString()));
    QVERIFY(view.columnWidth(Text) >= view.horizontalHeader()->sectionSizeHint(Text));
    QVERIFY(view.columnWidth(Last) <= view.viewport()->width() / 2);

    // A width set by hand is the person's: it stays when the table is grouped
    // and is handed out to be remembered; widths the view sets itself are not.
    QSignalSpy byHand(&view, &GridView::columnWidthSetByHand);
    Q_EMIT view.horizontalHeader()->sectionHandleDoubleClicked(Text);
    QCOMPARE(byHand.count(), 1);
    const int fitted = view.columnWidth(Text);
    GroupingProxyModel proxy;
    groupByLast(proxy, model);
    view.setModel(&proxy);
    QCOMPARE(view.columnWidth(Text), fitted);
    QCOMPARE(byHand.count(), 1);
    const double twips = view.rememberedWidths().value(u"Name"_s);
    QCOMPARE(Twips::toPixels(twips, view.logicalDpiX()), fitted);

    // Remembered widths come back with the columns they belong to.
    GridView again;
    again.setRememberedWidths({{u"Name"_s, 3000.0}});
    again.setModel(&model);
    QCOMPARE(again.columnWidth(Text), Twips::toPixels(3000, again.logicalDpiX()));
    QCOMPARE(again.columnWidth(Date), again.fittedWidth(Date));
}

void TestGridView::keysMoveToTheNextCell_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << int(Text) << 0 << int(Check) << 0;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << int(Text) << 0 << int(Check) << 0;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 1 << int(Check) << 1 << int(Date) << 0;
    // A real keypad key arrives with the keypad modifier set.
    QTest::newRow("keypad enter with the keypad modifier")
        << int(Qt::Key_Enter) << 1 << int(Text) << 1 << int(Check) << int(Qt::KeypadModifier);
    QTest::newRow("return skips a hidden column")
        << int(Qt::Key_Return) << 0 << int(Picture) << 0 << int(Last) << 0;
    QTest::newRow("return at the row's end goes to the next row")
        << int(Qt::Key_Return) << 0 << int(Last) << 1 << 0 << 0;
}

void TestGridView::keysMoveToTheNextCell()
{
    QFETCH(int, key);
    QFETCH(int, fromRow);
    QFETCH(int, fromColumn);
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    view.setCurrentIndex(model.index(fromRow, fromColumn));
    QFETCH(int, modifiers);
    QTest::keyClick(&view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(view.currentIndex().row(), "toRow");
    QTEST(view.currentIndex().column(), "toColumn");
    QVERIFY(!view.findChild<QLineEdit *>()); // moving does not open an editor
}

void TestGridView::enterCommitsAnEditAndMovesOn()
{
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    QSignalSpy edits(&model, &GridModel::cellEdited);
    const QModelIndex cell = model.index(1, Text);
    view.setCurrentIndex(cell);
    view.edit(cell);
    auto *editor = view.findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"Pear"_s);
    QTest::keyClick(editor, Qt::Key_Return);

    QCOMPARE(model.cell(1, Text).toString(), u"Pear"_s);
    QCOMPARE(edits.size(), 1);
    QCOMPARE(view.currentIndex(), model.index(1, Check));
}

void TestGridView::checkBoxToggles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<bool>("after");
    QTest::newRow("ticked becomes clear") << 0 << false << false;
    QTest::newRow("clear becomes ticked") << 1 << false << true;
    QTest::newRow("grouped: ticked becomes clear") << 0 << true << false;
    QTest::newRow("grouped: clear becomes ticked") << 1 << true << true;
}

void TestGridView::checkBoxToggles()
{
    QFETCH(int, row);
    QFETCH(bool, grouped);
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    GroupingProxyModel proxy;
    if (grouped) {
        groupByLast(proxy, model);
        view.setModel(&proxy);
    }
    auto shown = [&](int r, int c) {
        return grouped ? proxy.mapFromSource(model.index(r, c)) : model.index(r, c);
    };
    QSignalSpy edits(&model, &GridModel::cellEdited);
    model.setCell(row, Check, model.cell(row, Check)); // programmatic: no notification
    QCOMPARE(edits.size(), 0);

    QVERIFY(shown(row, Check).isValid());
    view.setCurrentIndex(shown(row, Check));
    QTest::keyClick(&view, Qt::Key_Space);
    QTEST(model.cell(row, Check).toBool(), "after");
    QCOMPARE(edits.size(), 1);

    // A click in the middle of the cell toggles it back.
    const QRect rect = view.visualRect(shown(row, Check));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rect.center());
    QFETCH(bool, after);
    QCOMPARE(model.cell(row, Check).toBool(), !after);
    QCOMPARE(edits.size(), 2);
}

void TestGridView::dateEditorFormat_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("format");
    const QLocale locale;
    QTest::newRow("a date alone") << GridValue::wallClock(QDate(2026, 3, 4), QTime(0, 0))
                                  << locale.dateFormat(QLocale::ShortFormat);
    QTest::newRow("a time of day") << GridValue::wallClock(GridValue::timeOnlyDay(), QTime(7, 30))
                                   << locale.timeFormat(QLocale::ShortFormat);
    QTest::newRow("date and time") << GridValue::wallClock(QDate(2026, 3, 4), QTime(7, 30))
                                   << locale.dateTimeFormat(QLocale::ShortFormat);
    QTest::newRow("no value yet") << QDateTime() << locale.dateFormat(QLocale::ShortFormat);
}

void TestGridView::dateEditorFormat()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, format);
    QCOMPARE(GridItemDelegate::dateTimeFormat(value), format);

    GridModel model;
    fill(model);
    model.setCell(0, Date, value);
    GridView view;
    view.setModel(&model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.edit(model.index(0, Date));
    auto *editor = view.findChild<QDateTimeEdit *>();
    QVERIFY(editor);
    QCOMPARE(editor->displayFormat(), format);
    if (!value.isValid())
        return;
    QCOMPARE(editor->dateTime(), value);

    // Enter writes the changed reading back as a wall-clock value.
    QSignalSpy edits(&model, &GridModel::cellEdited);
    editor->setDateTime(value.addSecs(3600));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(model.cell(0, Date).toDateTime(), value.addSecs(3600));
    QCOMPARE(edits.size(), 1);
}

void TestGridView::dateEditorShowsTheWholeDate_data()
{
    QTest::addColumn<int>("columnWidth");
    QTest::newRow("narrow column") << 30;
    QTest::newRow("wide column") << 400;
}

void TestGridView::dateEditorShowsTheWholeDate()
{
    QFETCH(int, columnWidth);
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    view.setColumnWidth(Date, columnWidth);
    const QModelIndex cell = model.index(0, Date);
    view.setCurrentIndex(cell);
    view.edit(cell);
    auto *editor = qobject_cast<QDateTimeEdit *>(view.indexWidget(cell));
    QVERIFY(editor);
    QVERIFY(editor->width() >= editor->sizeHint().width());
    QVERIFY(editor->width() >= view.columnWidth(Date) - 1);
    QCOMPARE(editor->x(), view.visualRect(cell).x());
}

void TestGridView::groupRowsSpanTheVisibleColumns()
{
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    GroupingProxyModel proxy;
    groupByLast(proxy, model);
    view.setModel(&proxy);
    QCOMPARE(proxy.rowCount(), 5);
    for (int row : {0, 4}) {
        QCOMPARE(view.columnSpan(row, 0), int(Last) + 1);
        view.edit(proxy.index(row, Text));
        QVERIFY(!view.findChild<QLineEdit *>()); // group rows are not edited
    }
    QCOMPARE(view.columnSpan(1, 0), 1);
    // The footer names the record count across the whole row.
    QCOMPARE(proxy.index(4, 0).data().toString(), u"Records : 3"_s);
    QVERIFY(view.visualRect(proxy.index(4, 0)).width() > view.columnWidth(0));

    // Back on the plain table, no row spans.
    view.setModel(&model);
    QCOMPARE(view.columnSpan(0, 0), 1);
}

void TestGridView::groupRowsFoldWithKeysAndMenu()
{
    GridModel model;
    GridView view;
    QVERIFY(showFilled(model, view));
    GroupingProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setGroupLayout({GroupLevel{Check, -1, {}}}); // False: row 1; True: rows 0 and 2
    view.setModel(&proxy);
    QCOMPARE(proxy.rowCount(), 7);

    view.setCurrentIndex(proxy.index(0, Text));
    QTest::keyClick(&view, Qt::Key_Left);
    QCOMPARE(proxy.rowCount(), 6);
    QCOMPARE(view.columnSpan(1, 0), int(Last) + 1); // the footer moved up, its span with it
    QTest::keyClick(&view, Qt::Key_Right);
    QCOMPARE(proxy.rowCount(), 7);
    QCOMPARE(view.currentIndex().row(), 0); // Left and Right fold, they do not move

    // A click on the header's marker folds; a click elsewhere on it does not.
    view.horizontalScrollBar()->setValue(0); // the marker is at the row's left end
    const QRect header = view.visualRect(proxy.index(0, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(header.left() + 8, header.center().y()));
    QCOMPARE(proxy.rowCount(), 6);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, header.center());
    QCOMPARE(proxy.rowCount(), 6);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(header.left() + 8, header.center().y()));
    QCOMPARE(proxy.rowCount(), 7);

    QCOMPARE(view.contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(view.actions().contains(view.collapseAllAction()));
    QCOMPARE(view.collapseAllAction()->text(), u"Collapse All Groups"_s);
    QCOMPARE(view.expandAllAction()->text(), u"Expand All Groups"_s);
    view.collapseAllAction()->trigger();
    QCOMPARE(proxy.rowCount(), 4); // two headers, two footers
    view.expandAllAction()->trigger();
    QCOMPARE(proxy.rowCount(), 7);
    QCOMPARE(model.rowCount(), 3);
}

QTEST_MAIN(TestGridView)
#include "tst_gridview.moc"
