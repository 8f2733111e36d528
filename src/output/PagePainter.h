#pragma once

#include "PageContent.h"

#include <QDate>
#include <QString>

class QPainter;

namespace Ledgerly {

class PageLayout;
struct PageColumn;
struct PrintedRow;

// Draws the pages of a PageLayout: the title, the captions repeated on every
// page, the rows with their texts, check states and pictures as the table
// shows them, group rows across the page, and at the foot the print date
// and "Page n of m".
class PagePainter
{
public:
    explicit PagePainter(const PageLayout &layout, QDate printedOn = QDate::currentDate());

    // What page index shows (nothing for a page that does not exist).
    PageContent compose(int index) const;
    // Draws one page. The painter's coordinates must be points with the
    // origin at the top left of the printable area (see usePoints()).
    void paintPage(QPainter &painter, int index) const;

    // Scales an active painter so that one unit is one point on its device.
    static void usePoints(QPainter &painter);
    // "Printed <date>" and "Page n of m", the texts of the foot.
    static QString printedText(QDate date);
    static QString pageText(int page, int count);

private:
    void composeHeader(PageContent &content, int band) const;
    void composeRecord(PageContent &content, const QList<PageColumn> &band, const PrintedRow &row,
                       double top) const;
    void composeGroupRow(PageContent &content, const PrintedRow &row, double top) const;
    void addLines(PageContent &content, PageStyle::Font font, const QString &text, double left,
                  double width, bool right, double top, int firstLine, int lineCount) const;

    const PageLayout &m_layout;
    QDate m_printedOn;
};

} // namespace Ledgerly
