#include "grid/GridRoles.h"
#include "output/ColumnFit.h"
#include "output/PageLayout.h"
#include "output/PagePainter.h"
#include "output/PdfExport.h"
#include "output/TextWrap.h"

#include "PdfText.h"
#include "TestFiles.h"

#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Ledgerly;
using namespace Qt::StringLiterals;
using GridRoles::RowKind;

namespace {

const PageStyle &pageStyle()
{
    static const PageStyle style;
    return style;
}

const TextMetrics &cellFont()
{
    return pageStyle().metrics(PageStyle::Font::Cell);
}

double widthOf(const QString &text)
{
    return cellFont().width(text);
}

// The lines a text breaks into in the width of another text, joined by "|".
QString wrapped(const QString &text, double width)
{
    QStringList lines;
    for (const TextLine &line : TextWrap::lines(text, width, cellFont()))
        lines << text.mid(line.start, line.length);
    return lines.join(u'|');
}

// A table as the views see it: captions "Caption <n>", texts "r<row>c<column>"
// unless given, and row kinds from a string: R record, H group header, F group
// footer, N the row that appends a record.
std::unique_ptr<QStandardItemModel> makeModel(int columns, const QList<int> &hidden,
                                              const QString &kinds)
{
    auto model = std::make_unique<QStandardItemModel>(int(kinds.size()), columns);
    for (int c = 0; c < columns; ++c) {
        model->setHeaderData(c, Qt::Horizontal, c == 0 ? u"#"_s : u"Caption %1"_s.arg(c));
        model->setHeaderData(c, Qt::Horizontal, hidden.contains(c), GridRoles::HiddenRole);
        if (c > 0)
            model->setHeaderData(c, Qt::Horizontal, int(ColumnKind::Text), GridRoles::KindRole);
    }
    for (int r = 0; r < kinds.size(); ++r) {
        const RowKind kind = kinds.at(r) == u'H'   ? RowKind::GroupHeader
                             : kinds.at(r) == u'F' ? RowKind::GroupFooter
                             : kinds.at(r) == u'N' ? RowKind::NewRecord
                                                   : RowKind::Record;
        for (int c = 0; c < columns; ++c) {
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

// The height of a page whose body holds exactly `rows` one-line records.
double pageHeightFor(int rows)
{
    const auto one = makeModel(2, {}, u"R"_s);
    const PageLayout probe(*one, QSizeF(500, 1000));
    return 1000 - (probe.bodyBottom() - probe.bodyTop()) + rows * probe.rows().first().height;
}

// Refuses file bytes past a limit, as a full disk does; the signal the kernel
// sends for a refused write is ignored so that the write fails instead.
class WriteLimit
{
public:
    explicit WriteLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~WriteLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textBreaksIntoLines_data();
    void textBreaksIntoLines();
    void textAsksForRoom_data();
    void textAsksForRoom();
    void columnsShareThePage_data();
    void columnsShareThePage();
    void pagesHoldRowsAndColumns_data();
    void pagesHoldRowsAndColumns();
    void rowsAreAsHighAsTheirTallestCell_data();
    void rowsAreAsHighAsTheirTallestCell();
    void rowTallerThanAPageGoesOnOverPages();
    void pdfHoldsTheVisibleTextsWhole();
    void stoppedOrFailedPdfLeavesNothing_data();
    void stoppedOrFailedPdfLeavesNothing();
};

void TestPageLayout::textBreaksIntoLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("room"); // the line is as wide as this text
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits on one line")
        << u"Northside Fuel"_s << u"Northside Fuel"_s << u"Northside Fuel"_s;
    QTest::newRow("breaks at the blank")
        << u"Northside Fuel"_s << u"Northside"_s << u"Northside|Fuel"_s;
    QTest::newRow("fills each line with words")
        << u"a bb ccc dddd"_s << u"a bb ccc"_s << u"a bb ccc|dddd"_s;
    QTest::newRow("blanks at a break are dropped") << u"one   two"_s << u"one"_s << u"one|two"_s;
    QTest::newRow("blanks opening a text indent it") << u"  one"_s << u"  one"_s << u"  one"_s;
    QTest::newRow("line breaks of every kind")
        << u"one\r\ntwo\nthree\rfour"_s << u"three four"_s << u"one|two|three|four"_s;
    QTest::newRow("an empty line is kept") << u"a\n\nb"_s << u"a"_s << u"a||b"_s;
    QTest::newRow("a word wider than the line breaks between characters")
        << u"mmmmmm"_s << u"mmm"_s << u"mmm|mmm"_s;
    QTest::newRow("the words after a broken one go on")
        << u"mmmmmm a"_s << u"mmm"_s << u"mmm|mmm|a"_s;
    QTest::newRow("no room still shows every character") << u"mm"_s << QString() << u"m|m"_s;
    QTest::newRow("a character beyond 16 bits stays whole")
        << u"\U0001D11E\U0001D11E"_s << QString() << u"\U0001D11E|\U0001D11E"_s;
    QTest::newRow("empty text") << QString() << u"x"_s << QString();
}

void TestPageLayout::textBreaksIntoLines()
{
    QFETCH(QString, text);
    QFETCH(QString, room);
    QTEST(wrapped(text, widthOf(room)), "expected");
}

void TestPageLayout::textAsksForRoom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("cap"); // words count at most this wide
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<bool>("multiLine");
    const QString wide = u"mmmmmmmmmmmmmmmmmmmm"_s;
    QTest::newRow("the longest of several lines")
        << u"ab\nabcd"_s << false << wide << u"abcd"_s << u"abcd"_s << true;
    QTest::newRow("the narrowest width is the longest word")
        << u"a bbbb cc"_s << false << wide << u"a bbbb cc"_s << u"bbbb"_s << false;
    QTest::newRow("a long word counts only up to the cap")
        << u"mmmmmmmmmm"_s << false << u"mmm"_s << u"mmmmmmmmmm"_s << u"mmm"_s << false;
    QTest::newRow("a figure is never broken") << u"1234567890.25"_s << false << u"mm"_s
                                              << u"1234567890.25"_s << u"1234567890.25"_s << false;
    QTest::newRow("a date in a text is a figure")
        << u"due 2026-01-02"_s << false << u"mm"_s << u"due 2026-01-02"_s << u"2026-01-02"_s
        << false;
    QTest::newRow("a value kept whole asks for all of it")
        << u"13 Jan 2026"_s << true << u"mm"_s << u"13 Jan 2026"_s << u"13 Jan 2026"_s << false;
}

void TestPageLayout::textAsksForRoom()
{
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QFETCH(QString, cap);
    QFETCH(QString, full);
    QFETCH(QString, minimum);
    const TextWrap::Extent extent = TextWrap::extent(text, cellFont(), whole, widthOf(cap));
    QCOMPARE(extent.full, widthOf(full));
    QCOMPARE(extent.minimum, widthOf(minimum));
    QTEST(extent.multiLine, "multiLine");
}

void TestPageLayout::columnsShareThePage_data()
{
    // Columns "natural/minimum", s: a text column that takes the room left
    // over, r: the record number that starts every band. Expected bands as
    // "column:width", bands divided by "|".
    QTest::addColumn<QString>("needs");
    QTest::addColumn<double>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all fit: text takes the rest")
        << u"20/20r 50/30s 30/30"_s << 200.0 << u"0:20 1:150 2:30"_s;
    QTest::newRow("no text column: all widen alike")
        << u"20/20r 60/60"_s << 160.0 << u"0:40 1:120"_s;
    QTest::newRow("too wide: narrow columns whole, wide ones share alike")
        << u"20/20r 200/40s 100/60s 30/30"_s << 230.0 << u"0:20 1:90 2:90 3:30"_s;
    QTest::newRow("sharing alike stops at a minimum")
        << u"20/20r 200/40s 100/95s"_s << 200.0 << u"0:20 1:85 2:95"_s;
    QTest::newRow("minimums too wide: bands, each with the record number")
        << u"20/20r 100/100s 100/100s 100/100s"_s << 230.0 << u"0:20 1:105 2:105|0:20 3:210"_s;
    QTest::newRow("a band leaves a long text a quarter of the page")
        << u"20/20r 70/70 70/70 400/20s 40/40"_s << 200.0
        << u"0:25 1:87.5 2:87.5|0:20 3:140 4:40"_s;
    QTest::newRow("a column wider than the page narrows to it")
        << u"20/20r 500/500s"_s << 200.0 << u"0:20 1:180"_s;
}

void TestPageLayout::columnsShareThePage()
{
    QFETCH(QString, needs);
    QFETCH(double, width);
    QList<ColumnNeed> columns;
    for (const QString &token : needs.split(u' ')) {
        const QStringList sizes = QString(token).remove(u's').remove(u'r').split(u'/');
        ColumnNeed need;
        need.column = int(columns.size());
        need.natural = sizes.at(0).toDouble();
        need.minimum = sizes.at(1).toDouble();
        need.stretches = token.contains(u's');
        need.repeated = token.contains(u'r');
        columns.append(need);
    }
    QStringList bands;
    for (const QList<PageColumn> &band : ColumnFit::bands(columns, width)) {
        QStringList placed;
        double x = 0;
        for (const PageColumn &column : band) {
            QCOMPARE(column.x, x);
            x += column.width;
            placed << u"%1:%2"_s.arg(column.column).arg(column.width);
        }
        QCOMPARE(x, width);
        bands << placed.join(u' ');
    }
    QTEST(bands.join(u'|'), "expected");
}

void TestPageLayout::pagesHoldRowsAndColumns_data()
{
    QTest::addColumn<int>("columns"); // column 0 = record number
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("rowPages");
    QTest::addColumn<QString>("bands");

    QTest::newRow("empty table gives one page with the captions") << 3 << QList<int>{} << ""
                                                                  << ""
                                                                  << "0,1,2";
    QTest::newRow("rows fill pages exactly") << 3 << QList<int>{} << "RRRRRRRR"
                                             << "0,1,2,3|4,5,6,7"
                                             << "0,1,2";
    QTest::newRow("one row over starts a page") << 3 << QList<int>{} << "RRRRR"
                                                << "0,1,2,3|4"
                                                << "0,1,2";
    QTest::newRow("hidden columns are absent") << 4 << QList<int>{2} << "RR"
                                               << "0,1"
                                               << "0,1,3";
    QTest::newRow("hidden record-number column") << 3 << QList<int>{0} << "R"
                                                 << "0"
                                                 << "1,2";
    QTest::newRow("group rows are printed") << 3 << QList<int>{} << "HRRFHRF"
                                            << "0,1,2,3|4,5,6"
                                            << "0,1,2";
    QTest::newRow("a group header goes on with its first record") << 3 << QList<int>{} << "RRRHRR"
                                                                  << "0,1,2|3,4,5"
                                                                  << "0,1,2";
    QTest::newRow("the row that appends a record is not printed") << 3 << QList<int>{} << "RRN"
                                                                  << "0,1"
                                                                  << "0,1,2";
}

void TestPageLayout::pagesHoldRowsAndColumns()
{
    QFETCH(int, columns);
    QFETCH(QList<int>, hidden);
    QFETCH(QString, kinds);
    QFETCH(QString, rowPages);
    QFETCH(QString, bands);

    const auto model = makeModel(columns, hidden, kinds);
    const PageLayout layout(*model, QSizeF(500, pageHeightFor(4)));
    const QList<QList<int>> expectedRows = parseGroups(rowPages);
    const QList<QList<int>> expectedColumns = parseGroups(bands);

    QCOMPARE(layout.pageCount(), expectedRows.size() * expectedColumns.size());
    for (int p = 0; p < layout.pageCount(); ++p) {
        QCOMPARE(layout.rowsOnPage(p), expectedRows.at(p / expectedColumns.size()));
        QCOMPARE(layout.columnsOnPage(p), expectedColumns.at(p % expectedColumns.size()));
        const PageSlice slice = layout.page(p);
        double used = 0;
        for (int i = 0; i < slice.rowCount; ++i)
            used += layout.rows().at(slice.firstRow + i).height;
        QVERIFY2(used <= layout.bodyBottom() - layout.bodyTop() + 1e-6, "a page overflows");
    }
    QVERIFY(layout.rowsOnPage(layout.pageCount()).isEmpty());
}

void TestPageLayout::rowsAreAsHighAsTheirTallestCell_data()
{
    QTest::addColumn<QString>("text"); // of column 2
    QTest::addColumn<bool>("picture"); // column 2 is a picture column holding one
    QTest::addColumn<int>("lines");    // the height in lines of text; 0: a picture's
    QTest::newRow("one line") << u"short"_s << false << 1;
    QTest::newRow("its line breaks") << u"one\ntwo\nthree"_s << false << 3;
    QTest::newRow("a text wider than its column wraps")
        << QString(u"word "_s).repeated(300) << false << 3;
    QTest::newRow("a picture") << QString() << true << 0;
}

void TestPageLayout::rowsAreAsHighAsTheirTallestCell()
{
    QFETCH(QString, text);
    QFETCH(bool, picture);
    QFETCH(int, lines);
    auto model = makeModel(3, {}, u"R"_s);
    if (picture) {
        model->setHeaderData(2, Qt::Horizontal, int(ColumnKind::Picture), GridRoles::KindRole);
        model->item(0, 2)->setData(QByteArray("BM not decoded by the layout"), Qt::EditRole);
    } else {
        model->item(0, 2)->setText(text);
    }
    const PageLayout layout(*model, QSizeF(500, 700));
    const double padding = 2 * PageStyle::cellPaddingY;
    const double height = layout.rows().first().height - padding;
    if (lines == 0)
        QCOMPARE(height, PageStyle::pictureHeight);
    else if (lines < 3)
        QCOMPARE(height, lines * cellFont().lineHeight());
    else
        QVERIFY2(height >= lines * cellFont().lineHeight(), qPrintable(QString::number(height)));
    // Every band of columns fills the page width.
    const PageColumn &last = layout.band(0).last();
    QCOMPARE(last.x + last.width, 500.0);
}

void TestPageLayout::rowTallerThanAPageGoesOnOverPages()
{
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << u"line %1"_s.arg(i);
    auto model = makeModel(3, {}, u"RRR"_s);
    model->item(1, 1)->setText(lines.join(u'\n'));
    const PageLayout layout(*model, QSizeF(400, pageHeightFor(20)));
    QList<int> parts;
    int lineTotal = 0;
    for (const PrintedRow &row : layout.rows()) {
        if (row.row != 1)
            continue;
        QCOMPARE(row.firstLine, lineTotal);
        lineTotal += row.lineCount;
        QVERIFY(row.height <= layout.bodyBottom() - layout.bodyTop() + 1e-6);
        parts << row.lineCount;
    }
    QVERIFY2(parts.size() > 2, qPrintable(QString::number(parts.size())));
    QCOMPARE(lineTotal, 150);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"tall.pdf"_s);
    // The same layout for a PDF page: every line comes out, once.
    const QSizeF a4 =
        PdfExport::pageLayout(QPageLayout::Portrait).paintRect(QPageLayout::Point).size();
    QVERIFY(PageLayout(*model, a4).pageCount() > 1);
    QVERIFY(PdfExport::writeFile(*model, {u"Tall"_s}, path));
    const QString text = pdfText(path);
    for (const QString &line : std::as_const(lines))
        QVERIFY2(text.count(QRegularExpression(u"\\b"_s + line + u"\\b"_s)) == 1, qPrintable(line));
}

void TestPageLayout::pdfHoldsTheVisibleTextsWhole()
{
    QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(),
             "pdftotext (Debian poppler-utils) is needed");
    auto model = makeModel(5, {3}, u"HRRFR"_s);
    for (int r = 0; r < model->rowCount(); ++r) {
        model->item(r, 2)->setData(QVariant(), Qt::DisplayRole);
        model->item(r, 2)->setData(r % 2 ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    // Longer than the page is wide: wrapped, never cut.
    const QString note = QStringList(40, u"Northside"_s).join(u' ');
    model->item(2, 4)->setText(note);
    model->item(3, 0)->setData(u"Calculated Values for Amount Records: 2     Total: 852.31     "
                               "Average:  426.16     Minimum: 0.1  Maximum : 852.21"_s,
                               GridRoles::GroupTextRole);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"table.pdf"_s);
    QString error;
    const QDate printedOn(2026, 3, 14);
    QVERIFY2(PdfExport::writeFile(*model, {u"Fruit Basket"_s, QPageLayout::Portrait, printedOn},
                                  path, &error),
             qPrintable(error));
    const QString text = pdfText(path, true).simplified();
    for (const QString &expected :
         {u"Fruit Basket"_s, u"Caption 1"_s, u"Caption 2"_s, u"Caption 4"_s, u"r1c1"_s, u"r4c4"_s,
          u"Group of 0"_s, u"True"_s, u"False"_s, u"Page 1 of 1"_s,
          PagePainter::printedText(printedOn), u"Total: 852.31"_s, u"Maximum : 852.21"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" missing from:\n"_s + text));
    QCOMPARE(text.count(u"Northside"_s), 40);
    QVERIFY(!text.contains(u"Caption 3"_s));
    QVERIFY(!text.contains(u"r1c3"_s));
    QVERIFY(!text.contains(u'…'));
}

void TestPageLayout::stoppedOrFailedPdfLeavesNothing_data()
{
    QTest::addColumn<QByteArray>("old"); // what the path held before; empty: nothing
    QTest::addColumn<QString>("how");    // cancel, limit (a disk that fills up)
    QTest::newRow("cancelled, no file before") << QByteArray() << "cancel";
    QTest::newRow("cancelled over an older file") << QByteArray("old pages") << "cancel";
    QTest::newRow("disk full over an older file") << QByteArray("old pages") << "limit";
    QTest::newRow("disk full, no file before") << QByteArray() << "limit";
}

void TestPageLayout::stoppedOrFailedPdfLeavesNothing()
{
    QFETCH(QByteArray, old);
    QFETCH(QString, how);
    const auto model = makeModel(4, {}, QString(2000, u'R'));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"pages.pdf"_s);
    if (!old.isEmpty())
        QVERIFY(writeFile(path, old));

    PdfExport::Job job(*model, {u"Long"_s}, path);
    QString error;
    QVERIFY(job.open(&error));
    if (how == u"cancel") {
        while (job.pagesDone() < 2)
            QVERIFY(!job.advance(QDeadlineTimer(5)));
        job.cancel();
    } else {
        const WriteLimit limit(4096);
        job.advance();
        QVERIFY(!job.finish(&error));
        QVERIFY2(error.contains(path), qPrintable(error));
    }
    QCOMPARE(readFile(path), old);
    QCOMPARE(QFileInfo::exists(path), !old.isEmpty());
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, old.isEmpty() ? QStringList() : QStringList{u"pages.pdf"_s});
}

QTEST_MAIN(TestPageLayout)
#include "tst_page_layout.moc"
