#include "PageStyle.h"

namespace Ledgerly {

namespace {

QFont pageFont(int size, bool bold = false, bool italic = false)
{
    // Sizes in pixels: the painter is scaled to points, so a pixel is a point.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size);
    font.setBold(bold);
    font.setItalic(italic);
    // No kerning and no ligatures: a text is as wide as its characters'
    // advances, and its letters come out of the PDF as they went in ("ffi"
    // stays three letters for a reader or a search).
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace

PageStyle::PageStyle()
    : m_metrics{TextMetrics(pageFont(14, true)),
                TextMetrics(pageFont(8, true)),
                TextMetrics(pageFont(8)),
                TextMetrics(pageFont(8, true)),
                TextMetrics(pageFont(8, false, true)),
                TextMetrics(pageFont(7))}
{}

} // namespace Ledgerly
