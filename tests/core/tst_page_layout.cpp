#include "grid/GridRoles.h"
#include "output/PageLayout.h"
#include "output/PdfExport.h"

#include "PdfText.h"

#include <QProcess>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace Ledgerly;
using namespace Qt::StringLiterals;
using GridRoles::RowKind;

namespace {

// A table as the views see it: column metadata in the header roles, texts
// "r<row>c<column>", and row kinds from a string: R record, H group header,
// F group footer, N the row that appends a record.
std::unique_ptr<QStandardItemModel> makeModel(const QList<int> &widths, const QList<int> &hidden,
                                              const QString &kinds)
{
    auto model = std::make_unique<QStandardItemModel>(int(kinds.size()), int(widths.size()));
    for (int c = 0; c < widths.size(); ++c) {
        model->setHeaderData(c, Qt::Horizontal, c == 0 ? u"#"_s : u"Caption %1"_s.arg(c));
        model->setHeaderData(c, Qt::Horizontal, hidden.contains(c), GridRoles::HiddenRole);
    }
    for (int r = 0; r < kinds.size(); ++r) {
        RowKind kind = RowKind::Record;
        if (kinds.at(r) == u'H')
            kind = RowKind::GroupHeader;
        else if (kinds.at(r) == u'F')
            kind = RowKind::GroupFooter;
        else if (kinds.at(r) == u'N')
            kind = RowKind::NewRecord;
        for (int c = 0; c < widths.size(); ++c) {
            auto *item = new QStandardItem(u"r%1c%2"_s.arg(r).arg(c));
            item->setData(int(kind), GridRoles::RowKindRole);
            if (kind == RowKind::GroupHeader || kind == RowKind::GroupFooter) {
                item->setData(kind == RowKind::GroupHeader ? u"Group of %1"_s.arg(r)
                                                           : u"Records : %1"_s.arg(r),
                              GridRoles::GroupTextRole);
                item->setData(0, GridRoles::GroupLevelRole);
            }
            model->setItem(r, c, item);
        }
    }
    return model;
}

// "0,1|2" -> {{0,1},{2}}; "" -> {{}}.
QList<QList<int>> parseGroups(const QString &text)
{
    QList<QList<int>> groups;
    for (const QString &group : text.split(u'|')) {
        QList<int> numbers;
        for (const QString &n : group.split(u',', Qt::SkipEmptyParts))
            numbers.append(n.toInt());
        groups.append(numbers);
    }
    return groups;
}

double pageHeightForTextRows(int rows)
{
    return PageLayout::titleHeight + PageLayout::headerHeight + PageLayout::footerHeight +
           rows * PageLayout::textRowHeight;
}

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pagesHoldRowsAndColumns_data();
    void pagesHoldRowsAndColumns();
    void pictureColumnMakesRecordRowsTaller();
    void pdfHoldsTheVisibleTexts();
    void pdfReplacesTheFileAndReportsFailure();
};

void TestPageLayout::pagesHoldRowsAndColumns_data()
{
    QTest::addColumn<QList<int>>("widths"); // twips, column 0 = record number
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<double>("pageWidth"); // points
    QTest::addColumn<QString>("rowPages");
    QTest::addColumn<QString>("bands");

    const QList<int> three{800, 1200, 1200};
    QTest::newRow("empty table gives one page with the header")
        << three << QList<int>{} << "" << 500.0 << ""
        << "0,1,2";
    QTest::newRow("rows fill pages exactly")
        << three << QList<int>{} << "RRRRRRRR" << 500.0 << "0,1,2,3|4,5,6,7"
        << "0,1,2";
    QTest::newRow("one row over starts a page")
        << three << QList<int>{} << "RRRRR" << 500.0 << "0,1,2,3|4"
        << "0,1,2";
    QTest::newRow("hidden columns are absent")
        << QList<int>{800, 1200, 1200, 1200} << QList<int>{2} << "RR" << 500.0 << "0,1"
        << "0,1,3";
    QTest::newRow("hidden record-number column") << three << QList<int>{0} << "R" << 500.0 << "0"
                                                 << "1,2";
    QTest::newRow("a little too wide shrinks onto one page")
        << QList<int>{800, 4000, 4000} << QList<int>{} << "R" << 400.0 << "0"
        << "0,1,2";
    QTest::newRow("far too wide continues on further pages")
        << QList<int>{800, 4000, 4000, 4000, 4000} << QList<int>{} << "RRRRR" << 400.0
        << "0,1,2,3|4"
        << "0,1|0,2|0,3|0,4";
    QTest::newRow("a column wider than the page is narrowed to it")
        << QList<int>{800, 20000, 1200} << QList<int>{} << "R" << 400.0 << "0"
        << "0,1|0,2";
    QTest::newRow("group rows are printed and never split")
        << three << QList<int>{} << "HRRFHRF" << 500.0 << "0,1,2|3,4,5|6"
        << "0,1,2";
    QTest::newRow("the row that appends a record is not printed")
        << three << QList<int>{} << "RRN" << 500.0 << "0,1"
        << "0,1,2";
}

void TestPageLayout::pagesHoldRowsAndColumns()
{
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, hidden);
    QFETCH(QString, kinds);
    QFETCH(double, pageWidth);
    QFETCH(QString, rowPages);
    QFETCH(QString, bands);

    const auto model = makeModel(widths, hidden, kinds);
    QList<double> twips;
    for (int width : std::as_const(widths))
        twips.append(width);
    const PageLayout layout(*model, QSizeF(pageWidth, pageHeightForTextRows(4)), twips);
    const QList<QList<int>> expectedRows = parseGroups(rowPages);
    const QList<QList<int>> expectedColumns = parseGroups(bands);

    QCOMPARE(layout.pageCount(), expectedRows.size() * expectedColumns.size());
    for (int p = 0; p < layout.pageCount(); ++p) {
        const int rowPage = int(p / expectedColumns.size());
        const int band = int(p % expectedColumns.size());
        QCOMPARE(layout.rowsOnPage(p), expectedRows.at(rowPage));
        QCOMPARE(layout.columnsOnPage(p), expectedColumns.at(band));

        const PageSlice slice = layout.page(p);
        double used = 0;
        for (int i = 0; i < slice.rowCount; ++i)
            used += layout.rowHeight(layout.rowKind(slice.firstRow + i));
        QVERIFY2(used <= layout.bodyBottom() - layout.bodyTop() + 1e-9, "a page overflows");
    }
    for (int b = 0; b < layout.bandCount(); ++b) {
        const QList<PageColumn> &columns = layout.band(b);
        if (!columns.isEmpty())
            QVERIFY(columns.last().x + columns.last().width <= pageWidth + 1e-9);
    }
    QVERIFY(layout.rowsOnPage(layout.pageCount()).isEmpty());
}

void TestPageLayout::pictureColumnMakesRecordRowsTaller()
{
    auto model = makeModel({800, 1200, 1200}, {}, u"RRRR"_s);
    const PageLayout plain(*model, QSizeF(500, pageHeightForTextRows(4)));
    QCOMPARE(plain.pageCount(), 1);
    model->setHeaderData(2, Qt::Horizontal, int(ColumnKind::Picture), GridRoles::KindRole);
    const PageLayout pictures(*model, QSizeF(500, pageHeightForTextRows(4)));
    QCOMPARE(pictures.rowHeight(RowKind::Record), PageLayout::pictureRowHeight);
    QCOMPARE(pictures.pageCount(), 4);
}

void TestPageLayout::pdfHoldsTheVisibleTexts()
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (Debian poppler-utils) is needed");
    auto model = makeModel({800, 1600, 1600, 1600, 1600}, {3}, u"HRRFR"_s);
    for (int r = 0; r < model->rowCount(); ++r) {
        model->item(r, 2)->setData(QVariant(), Qt::DisplayRole);
        model->item(r, 2)->setData(r % 2 ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"table.pdf"_s);
    QString error;
    QVERIFY2(
        PdfExport::writeFile(*model, {u"Fruit Basket"_s, QPageLayout::Landscape}, path, &error),
        qPrintable(error));
    const QString text = pdfText(path);
    for (const QString &expected :
         {u"Fruit Basket"_s, u"Caption 1"_s, u"Caption 2"_s, u"Caption 4"_s, u"r1c1"_s, u"r4c4"_s,
          u"Group of 0"_s, u"Records : 3"_s, u"True"_s, u"False"_s, u"Page 1 of 1"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" missing from:\n"_s + text));
    QVERIFY(!text.contains(u"Caption 3"_s));
    QVERIFY(!text.contains(u"r1c3"_s));
}

void TestPageLayout::pdfReplacesTheFileAndReportsFailure()
{
    const auto model = makeModel({800, 1200}, {}, u"RR"_s);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"old.pdf"_s);
    QVERIFY(writeFile(path, "old content"));
    QVERIFY(PdfExport::writeFile(*model, {u"T"_s}, path));
    const QByteArray written = readFile(path);
    QVERIFY(written.startsWith("%PDF"));
    QVERIFY(written.trimmed().endsWith("%%EOF"));

    const QString unreachable = dir.filePath(u"old.pdf/inside.pdf"_s);
    QString error;
    QVERIFY(!PdfExport::writeFile(*model, {u"T"_s}, unreachable, &error));
    QVERIFY(error.contains(unreachable));
    QCOMPARE(readFile(path), written);
}

QTEST_MAIN(TestPageLayout)
#include "tst_page_layout.moc"
