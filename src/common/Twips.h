#pragma once

namespace Ledgerly {

// Positions and sizes are kept in twips (1/1440 inch), as the window's design
// gives them; this is the one place that turns them into pixels and back, with
// the screen's logical DPI so the window keeps its proportions at any scale.
class Twips
{
public:
    static constexpr double perInch = 1440.0;

    static int toPixels(double twips, double logicalDpi);
    static double fromPixels(double pixels, double logicalDpi);
};

} // namespace Ledgerly
