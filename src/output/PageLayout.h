#pragma once

#include "grid/GridRoles.h"

#include <QList>
#include <QSizeF>

class QAbstractItemModel;

namespace Ledgerly {

// One column as it lands on a page: the model column, and its left edge and
// width in points (1/72 inch) from the left of the printable area.
struct PageColumn
{
    int column = 0;
    double x = 0;
    double width = 0;
};

// Which part of the table one page shows: a run of rows (positions in
// PageLayout::rows()) and one band of columns.
struct PageSlice
{
    int firstRow = 0;
    int rowCount = 0;
    int band = 0;
    int rowPage = 0; // the page of rows, counted once for all bands
};

// Turns what a table model shows into pages, reading it only through roles,
// so a grouping or sorting proxy prints the way it is shown. The layout is
// plain data in points; PagePainter draws it on any paint device.
//
// Only the row kinds are read when laying out (texts and pictures are read
// when a page is painted), so a table of 32,767 records lays out at once.
class PageLayout
{
public:
    // Heights in points.
    static constexpr double titleHeight = 26;
    static constexpr double headerHeight = 18;
    static constexpr double footerHeight = 20;
    static constexpr double textRowHeight = 15;
    static constexpr double pictureRowHeight = 44;
    static constexpr double groupRowHeight = 17;
    // Columns are shrunk down to this share of their width to fit one page;
    // narrower than that the texts stop being readable, so they continue on
    // further pages instead.
    static constexpr double minimumScale = 0.7;
    static constexpr double twipsPerPoint = 20;

    // pageSize: the printable area in points. columnTwips: the width of each
    // model column; columns without one print as wide as a new column shows.
    PageLayout(const QAbstractItemModel &model, QSizeF pageSize,
               const QList<double> &columnTwips = {});

    const QAbstractItemModel &model() const { return *m_model; }
    QSizeF pageSize() const { return m_pageSize; }

    int pageCount() const { return rowPageCount() * bandCount(); }
    int rowPageCount() const { return int(m_rowPageStarts.size()); }
    int bandCount() const { return int(m_bands.size()); }
    // Pages run through all bands of one run of rows before the next run.
    PageSlice page(int index) const;
    const QList<PageColumn> &band(int index) const { return m_bands.at(index); }
    // The model rows that are printed, in order (the row that appends a
    // record in the view is not).
    const QList<int> &rows() const { return m_rows; }
    GridRoles::RowKind rowKind(int position) const { return m_kinds.at(position); }
    double rowHeight(GridRoles::RowKind kind) const;

    // The model rows and columns on a page, in order.
    QList<int> rowsOnPage(int index) const;
    QList<int> columnsOnPage(int index) const;

    // Where the parts of a page lie, in points from its top.
    double headerTop() const { return titleHeight; }
    double bodyTop() const { return titleHeight + headerHeight; }
    double bodyBottom() const { return m_pageSize.height() - footerHeight; }

private:
    void layOutColumns(const QList<double> &columnTwips);
    void layOutRows();

    const QAbstractItemModel *m_model;
    QSizeF m_pageSize;
    double m_recordHeight = textRowHeight;
    QList<QList<PageColumn>> m_bands;
    QList<int> m_rows;
    QList<GridRoles::RowKind> m_kinds;
    QList<int> m_rowPageStarts; // positions in m_rows
};

} // namespace Ledgerly
