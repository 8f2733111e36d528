#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace Ledgerly {

class PageLayout;

// Draws the pages of a PageLayout: title, header row of captions, the rows
// with their texts, check states and pictures as the table shows them, group
// rows, and "Page n of m" at the foot.
class PagePainter
{
public:
    PagePainter(const PageLayout &layout, QString title);

    // Draws one page. The painter's coordinates must be points with the
    // origin at the top left of the printable area (see usePoints()).
    void paintPage(QPainter &painter, int index) const;
    // Every page on a printer or PDF writer whose printable area the layout
    // was made for. False when painting could not start, a new page could not
    // be made, or the device reported a failure at the end.
    // progress, when given, hears the share of pages done (0..100) as it grows.
    bool paintDocument(QPagedPaintDevice &device,
                       const std::function<void(int)> &progress = {}) const;

    // Scales an active painter so that one unit is one point on its device.
    static void usePoints(QPainter &painter);
    // The text a yes/no cell prints.
    static QString checkText(bool checked);

private:
    void paintHeader(QPainter &painter, int band) const;
    void paintRecord(QPainter &painter, int band, int row, double top, double height) const;
    void paintGroupRow(QPainter &painter, int band, int position, double top, double height) const;
    double bandWidth(int band) const;

    const PageLayout &m_layout;
    QString m_title;
};

} // namespace Ledgerly
