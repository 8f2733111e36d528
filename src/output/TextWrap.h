#pragma once

#include <QList>
#include <QStringView>

namespace Ledgerly {

class TextMetrics;

// One line of a wrapped text: a range of the text (trailing blanks left out)
// and its width in points.
struct TextLine
{
    qsizetype start = 0;
    qsizetype length = 0;
    double width = 0;

    bool operator==(const TextLine &) const = default;
};

// How a printed text breaks into lines. Line breaks in the text always start
// a line; otherwise a line breaks at blanks, and only a word wider than the
// whole line is broken between its characters, so that nothing is ever cut.
namespace TextWrap {

// Dates, times and figures are given columns wide enough for them (see
// extent()), so they come out on one line here.
QList<TextLine> lines(QStringView text, double width, const TextMetrics &metrics);

// The room a text asks for: the width of its longest line unbroken, and the
// narrowest width it takes without breaking a word. Words are counted at
// most wordCap wide (longer ones may break between characters), except
// figures, dates and times written inside a text, which are never broken:
// a word of digits with . , : / + - or %.
struct Extent
{
    double full = 0;
    double minimum = 0;
    bool multiLine = false;
};
Extent extent(QStringView text, const TextMetrics &metrics, bool whole, double wordCap);

} // namespace TextWrap

} // namespace Ledgerly
