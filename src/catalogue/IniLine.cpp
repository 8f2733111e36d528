#include "IniLine.h"

namespace Ledgerly {

IniLine IniLine::read(QStringView content)
{
    const char16_t *text = content.utf16();
    qsizetype begin = 0;
    qsizetype end = content.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    IniLine line;
    if (begin == end || text[begin] == u';')
        return line;
    if (text[begin] == u'[') {
        qsizetype close = begin + 1;
        while (close < end && text[close] != u']')
            ++close;
        qsizetype nameBegin = begin + 1;
        while (nameBegin < close && isBlank(text[nameBegin]))
            ++nameBegin;
        while (close > nameBegin && isBlank(text[close - 1]))
            --close;
        line.kind = Section;
        line.nameStart = nameBegin;
        line.nameLength = close - nameBegin;
        return line;
    }
    qsizetype eq = begin;
    while (eq < end && text[eq] != u'=')
        ++eq;
    line.kind = Entry;
    line.nameStart = begin;
    line.nameLength = end - begin;
    if (eq < end) {
        qsizetype nameEnd = eq;
        while (nameEnd > begin && isBlank(text[nameEnd - 1]))
            --nameEnd;
        line.nameLength = nameEnd - begin;
        qsizetype value = eq + 1;
        while (value < end && isBlank(text[value]))
            ++value;
        // One pair of enclosing quotes, either kind, is not part of the value.
        if (end - value >= 2 && (text[value] == u'"' || text[value] == u'\'') &&
            text[end - 1] == text[value]) {
            ++value;
            --end;
        }
        line.valueStart = value;
        line.valueLength = end - value;
    }
    return line;
}

} // namespace Ledgerly
