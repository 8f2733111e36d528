#pragma once

#include "grid/GridColumn.h"

namespace Ledgerly {

struct LayoutRect
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double bottom() const { return top + height; }
};

// The main window's placement rule, pure arithmetic in twips. Everything hangs
// off the menu bar's top-left corner and the window's width; the height is
// imposed. Sizes the rule leaves open (the status bar's height, the frames'
// widths) are left 0 here and chosen by the window.
class WindowLayout
{
public:
    static constexpr double windowHeight = 9850;
    static constexpr double toolbarOffset = 525;
    static constexpr double toolbarWidthMargin = 194;
    static constexpr double gridOffset = 1400;
    static constexpr double gridWidthFactor = 0.98;
    static constexpr double gridHeightFactor = 0.74;
    static constexpr double column0Width = RecordNumberColumnTwips;
    static constexpr double statusGap = 5;
    static constexpr double frame2Rise = 13;
    static constexpr double frame2Height = 585;
    static constexpr double frame2Indent = 8;
    static constexpr double frame1Offset = 10;
    static constexpr double frame1Indent = 8000;
    static constexpr double progressTop = 250;
    static constexpr double progressHeight = 220;

    struct Input
    {
        double windowWidth = 0;
        double menuLeft = 0;
        double menuTop = 0;
        // Left edge of status bar panel 4, known once the status bar is placed.
        double statusPanel4Left = 0;
    };

    struct Result
    {
        double windowHeight = 0;
        LayoutRect toolbar; // height left to the window
        LayoutRect grid;
        double column0Width = 0;
        LayoutRect statusBar; // top, left, width; height left to the window
        LayoutRect frame2;    // top, left, height
        LayoutRect frame1;    // top, left
        LayoutRect progress;  // top and height within Frame2
    };

    static Result compute(const Input &input);
};

} // namespace Ledgerly
