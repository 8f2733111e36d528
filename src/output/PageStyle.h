#pragma once

#include "TextMetrics.h"

#include <QColor>

namespace Ledgerly {

// The look of a printed page: its fonts with their metrics, and the sizes
// and colours the layout and the painter share. All lengths are in points.
class PageStyle
{
public:
    enum class Font { Title, Caption, Cell, GroupHeader, GroupFooter, Foot };
    static constexpr int fontCount = 6;

    PageStyle();

    const TextMetrics &metrics(Font font) const { return m_metrics[int(font)]; }

    static constexpr double cellPaddingX = 3;
    static constexpr double cellPaddingY = 2;
    static constexpr double groupIndent = 10;
    static constexpr double titleGap = 6; // below the title
    static constexpr double footGap = 6;  // above the foot line
    static constexpr double pictureHeight = 36;
    static constexpr double pictureWidth = 48;
    // A word longer than this may break between characters when columns
    // must share a narrow page; figures, dates and times never do.
    static constexpr double wordCap = 90;
    static constexpr double ruleWidth = 0.5;

    static QColor ruleColor() { return {185, 190, 196}; }
    static QColor captionFill() { return {226, 232, 240}; }
    static QColor groupHeaderFill() { return {241, 243, 246}; }
    static QColor footColor() { return {90, 90, 90}; }

private:
    std::array<TextMetrics, fontCount> m_metrics;
};

} // namespace Ledgerly
