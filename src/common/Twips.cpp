#include "common/Twips.h"

#include <cmath>

namespace Ledgerly {

int Twips::toPixels(double twips, double logicalDpi)
{
    if (logicalDpi <= 0)
        return 0;
    return int(std::lround(twips * logicalDpi / perInch));
}

double Twips::fromPixels(double pixels, double logicalDpi)
{
    if (logicalDpi <= 0)
        return 0;
    return pixels * perInch / logicalDpi;
}

} // namespace Ledgerly
