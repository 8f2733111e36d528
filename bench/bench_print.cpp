// Times the pages of the largest table the program's loops handle (32,767
// records, 8 visible columns of mixed kinds and a hidden one): laying out and
// drawing the first page, as the preview does before it can show anything,
// and the whole document written as PDF. Targets: first page within 1 s,
// whole PDF within 10 s.
#include "grid/GridColumn.h"
#include "grid/GridModel.h"
#include "output/PageLayout.h"
#include "output/PagePainter.h"
#include "output/PdfExport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace Ledgerly;

namespace {

constexpr int kRecords = 32767;

void fill(GridModel &model)
{
    for (int c = 1; c <= 9; ++c) {
        GridColumn column;
        column.key = QStringLiteral("Field%1").arg(c);
        column.caption = QStringLiteral("Caption %1").arg(c);
        if (c == 9)
            column.role = FieldRole::Hidden;
        if (c % 4 == 0)
            column.kind = ColumnKind::YesNo;
        model.addColumn(column);
    }
    QList<GridRow> rows;
    rows.reserve(kRecords);
    for (int r = 0; r < kRecords; ++r) {
        GridRow row;
        row.cells.append(QVariant());
        for (int c = 1; c <= 9; ++c)
            row.cells.append(c % 4 == 0
                                 ? QVariant(r % 2 == 0)
                                 : QVariant(QStringLiteral("Value %1 of row %2").arg(c).arg(r)));
        rows.append(row);
    }
    model.setRows(std::move(rows));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    GridModel model;
    fill(model);

    QElapsedTimer timer;
    timer.start();
    const QPageLayout page = PdfExport::pageLayout(QPageLayout::Portrait);
    const PageLayout layout(model, page.paintRectPoints().size());
    QImage image(page.paintRectPixels(96).size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter::usePoints(painter);
    PagePainter(layout, QStringLiteral("Bench")).paintPage(painter, 0);
    painter.end();
    out << "layout of " << layout.pageCount()
        << " pages and the first page drawn: " << timer.elapsed() << " ms (target 1000)\n";

    timer.restart();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    const bool ok = PdfExport::write(model, {QStringLiteral("Bench")}, buffer, &error);
    out << "whole document as PDF (" << buffer.size() / 1024 << " KiB): " << timer.elapsed()
        << " ms (target 10000)" << (ok ? "" : " FAILED: ") << error << "\n";
    return ok ? 0 : 1;
}
