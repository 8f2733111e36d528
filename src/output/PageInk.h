#pragma once

#include "PageContent.h"

#include <QFont>
#include <QRawFont>

#include <array>

class QPainter;

namespace Ledgerly {

// A page ready to be drawn, on any thread: its content with the texts
// turned into glyphs at the positions the layout measured (in points, on
// the baseline). Only lines with a character the page font lacks stay text.
struct PageInk
{
    struct Glyphs
    {
        QList<quint32> ids;
        QList<QPointF> positions;
    };
    std::array<Glyphs, PageStyle::fontCount> glyphs;
    QList<PageContent::Text> texts;
    QList<QLineF> rules;
    QList<PageContent::Fill> fills;
    QList<PageContent::Picture> pictures;

    // On the thread that owns style (its metrics keep caches).
    static PageInk from(const PageContent &content, const PageStyle &style);
};

// Draws inked pages. It makes its glyph fonts on the thread that first
// draws with it and must stay on that thread.
class InkPainter
{
public:
    explicit InkPainter(const PageStyle &style);

    // The painter's coordinates are points (PagePainter::usePoints()).
    void draw(QPainter &painter, const PageInk &ink);

private:
    const QRawFont &rawFont(int font, double scale);

    std::array<QFont, PageStyle::fontCount> m_fonts;
    std::array<QRawFont, PageStyle::fontCount> m_raw;
    std::array<QRawFont, PageStyle::fontCount> m_scaled;
    std::array<double, PageStyle::fontCount> m_scale{};
};

} // namespace Ledgerly
