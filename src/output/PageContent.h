#pragma once

#include "PageStyle.h"

#include <QImage>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace Ledgerly {

// Everything one page shows, as plain data in points: lines of text with
// where their baseline starts, rules, shaded areas and pictures. Made from
// the layout and the table (PagePainter::compose) and then drawn, so that
// what is drawn can also be checked without drawing it.
struct PageContent
{
    struct Text
    {
        PageStyle::Font font = PageStyle::Font::Cell;
        QPointF origin; // the left end of the baseline
        QString text;   // one line
        double width = 0;
    };
    struct Fill
    {
        QRectF rect;
        QColor color;
    };
    struct Picture
    {
        QRectF rect;
        QImage image;
    };

    QList<Text> texts;
    QList<QLineF> rules;
    QList<Fill> fills;
    QList<Picture> pictures;
};

} // namespace Ledgerly
