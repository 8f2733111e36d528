#include "ColumnFit.h"

#include <algorithm>

namespace Ledgerly::ColumnFit {

namespace {

// The share of a page a column of text is given in a band when it has more
// to show.
constexpr double bandShare = 0.25;

QList<PageColumn> fitBand(const QList<ColumnNeed> &band, double width)
{
    double natural = 0;
    double minimum = 0;
    double stretching = 0;
    for (const ColumnNeed &need : band) {
        natural += need.natural;
        minimum += need.minimum;
        if (need.stretches)
            stretching += need.natural;
    }
    QList<double> widths;
    widths.reserve(band.size());
    if (natural <= width) {
        // The table fills the page, as its group rows do: text columns take
        // what is left, or every column when none holds text.
        const bool anyStretch = stretching > 0;
        const double share = anyStretch ? stretching : natural;
        for (const ColumnNeed &need : band) {
            const bool takes = anyStretch ? need.stretches : true;
            widths.append(need.natural +
                          (takes && share > 0 ? (width - natural) * need.natural / share : 0));
        }
    } else if (minimum <= width) {
        // Water filling: columns that ask for little get all of it, the
        // wide ones share what is left alike (none below its minimum).
        const auto widthAt = [&](const ColumnNeed &need, double level) {
            return std::min(need.natural, std::max(need.minimum, level));
        };
        double low = 0;
        double high = width;
        for (int step = 0; step < 60; ++step) {
            const double level = (low + high) / 2;
            double total = 0;
            for (const ColumnNeed &need : band)
                total += widthAt(need, level);
            (total > width ? high : low) = level;
        }
        double total = 0;
        for (const ColumnNeed &need : band)
            total += widthAt(need, low);
        // The last bit of rounding goes to the widest column.
        qsizetype widest = 0;
        for (const ColumnNeed &need : band) {
            widths.append(widthAt(need, low));
            if (widths.last() > widths.at(widest))
                widest = widths.size() - 1;
        }
        widths[widest] += width - total;
    } else {
        // Only a single column wider than the page gets here: it is
        // narrowed to the page and its text breaks between characters.
        for (const ColumnNeed &need : band)
            widths.append(need.minimum * width / minimum);
    }
    QList<PageColumn> columns;
    double x = 0;
    for (qsizetype i = 0; i < band.size(); ++i) {
        columns.append({band.at(i).column, x, widths.at(i), band.at(i).right});
        x += widths.at(i);
    }
    return columns;
}

} // namespace

QList<QList<PageColumn>> bands(const QList<ColumnNeed> &needs, double width)
{
    double minimum = 0;
    for (const ColumnNeed &need : needs)
        minimum += need.minimum;
    if (minimum <= width || needs.size() <= 1)
        return {fitBand(needs, width)};

    QList<ColumnNeed> rest = needs;
    QList<ColumnNeed> key;
    if (rest.first().repeated) {
        ColumnNeed first = rest.takeFirst();
        first.minimum = std::min(first.minimum, width / 4);
        first.natural = std::max(first.natural, first.minimum);
        key.append(first);
    }
    const double keyWidth = key.isEmpty() ? 0 : key.first().minimum;
    QList<QList<PageColumn>> result;
    QList<ColumnNeed> band = key;
    double used = keyWidth;
    for (ColumnNeed need : std::as_const(rest)) {
        need.minimum = std::min(need.minimum, width - keyWidth);
        // Bands are filled with what each column would like rather than
        // the least it can do with, so that a long text does not end up a
        // few letters wide at the end of a crowded band.
        const double wanted =
            std::min({need.natural, std::max(need.minimum, width * bandShare), width - keyWidth});
        if (band.size() > key.size() && used + wanted > width) {
            result.append(fitBand(band, width));
            band = key;
            used = keyWidth;
        }
        band.append(need);
        used += wanted;
    }
    result.append(fitBand(band, width));
    return result;
}

} // namespace Ledgerly::ColumnFit
