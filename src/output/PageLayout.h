#pragma once

#include "PageStyle.h"
#include "TextWrap.h"
#include "grid/GridRoles.h"

#include <QList>
#include <QSizeF>
#include <QString>

#include <memory>

class QAbstractItemModel;

namespace Ledgerly {

// One column as it lands on a page: the model column, its left edge and
// width in points from the left of the printable area, and whether its
// caption lines up on the right like its figures.
struct PageColumn
{
    int column = 0;
    double x = 0;
    double width = 0;
    bool right = false;
};

// One printed row: a model row, or the part of it that fits on one page
// when it is taller than a whole page (its lines firstLine to
// firstLine + lineCount; lineCount -1 runs to the end).
struct PrintedRow
{
    int row = 0;
    GridRoles::RowKind kind = GridRoles::RowKind::Record;
    int level = 0; // group rows: how deep the group is
    int firstLine = 0;
    int lineCount = -1;
    double height = 0;
};

// Which part of the table one page shows: a run of printed rows and one
// band of columns.
struct PageSlice
{
    int firstRow = 0;
    int rowCount = 0;
    int band = 0;
    int rowPage = 0; // the page of rows, counted once for all bands
};

// A table's pages, laid out once: the columns sized to what they hold
// within the page width (in bands when even their narrowest widths do not
// fit), every row as high as its tallest cell, and the rows split into
// pages. Plain data in points; PagePainter draws it on any paint device,
// reading the texts again through the same roles (PrintedCell).
class PageLayout
{
public:
    // Lays the whole table out at once (see PageLayoutBuilder to do it in
    // steps). pageSize: the printable area in points.
    PageLayout(const QAbstractItemModel &model, QSizeF pageSize, const QString &title = {});

    const QAbstractItemModel &model() const { return *m_model; }
    const PageStyle &style() const { return *m_style; }
    QSizeF pageSize() const { return m_pageSize; }
    const QString &title() const { return m_title; }
    const QList<TextLine> &titleLines() const { return m_titleLines; }

    int pageCount() const { return rowPageCount() * bandCount(); }
    int rowPageCount() const { return int(m_rowPageStarts.size()); }
    int bandCount() const { return int(m_bands.size()); }
    // Pages run through all bands of one run of rows before the next run.
    PageSlice page(int index) const;
    const QList<PageColumn> &band(int index) const { return m_bands.at(index); }
    const QList<PrintedRow> &rows() const { return m_rows; }

    // The model rows and columns on a page, in order (a row split over
    // pages is on each of them).
    QList<int> rowsOnPage(int index) const;
    QList<int> columnsOnPage(int index) const;

    // Where the parts of a page lie, in points from its top.
    double headerTop() const { return m_titleHeight; }
    double headerHeight() const { return m_headerHeight; }
    double bodyTop() const { return m_titleHeight + m_headerHeight; }
    double bodyBottom() const { return m_pageSize.height() - m_footHeight; }

private:
    friend class PageLayoutBuilder;
    PageLayout(const QAbstractItemModel &model, QSizeF pageSize, const QString &title,
               std::shared_ptr<const PageStyle> style);

    const QAbstractItemModel *m_model;
    std::shared_ptr<const PageStyle> m_style;
    QSizeF m_pageSize;
    QString m_title;
    QList<TextLine> m_titleLines;
    double m_titleHeight = 0;
    double m_headerHeight = 0;
    double m_footHeight = 0;
    QList<QList<PageColumn>> m_bands;
    QList<PrintedRow> m_rows;
    QList<int> m_rowPageStarts; // positions in m_rows
};

} // namespace Ledgerly
