#pragma once

#include <QStringView>

namespace Ledgerly {

// What one line of an INI file says, by the profile-string rules: the one
// place those rules live, for the reader and for the editor alike.
struct IniLine
{
    enum Kind { Ignored, Section, Entry };

    Kind kind = Ignored;
    // Positions in the line's content. For a section the name between the
    // brackets; for an entry the key and the value, blanks and one pair of
    // enclosing quotes removed. valueLength is -1 for a key without "=".
    qsizetype nameStart = 0;
    qsizetype nameLength = 0;
    qsizetype valueStart = 0;
    qsizetype valueLength = -1;

    // Blank and ";" comment lines are ignored; a line starting with "[" opens
    // a section (a missing "]" reads to the line's end); anything else is a
    // key, with or without "=". content is the line up to its end or its
    // first NUL (see contentEnd).
    static IniLine read(QStringView content);

    // The blanks the profile functions trim; a no-break space is text.
    static bool isBlank(char16_t c)
    {
        return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
    }

    // Calls line(begin, contentEnd, end, next) for every line of text: the
    // line's content runs from begin to contentEnd (a NUL cannot stand inside
    // a name or value handed out as a C string, so the content stops there),
    // the line itself to end, and the next line starts at next. CR LF is one
    // line end, a lone CR or LF another. Text that ends with a line end has an
    // empty last line after it.
    template<typename Line> static void forEachLine(QStringView text, Line line)
    {
        const char16_t *chars = text.utf16();
        const qsizetype size = text.size();
        qsizetype start = 0;
        qsizetype i = 0;
        for (;;) {
            qsizetype contentEnd = -1;
            for (; i < size; ++i) {
                const char16_t c = chars[i];
                if (c > u'\r')
                    continue;
                if (c == u'\n' || c == u'\r')
                    break;
                if (c == 0 && contentEnd < 0)
                    contentEnd = i;
            }
            const qsizetype end = i;
            if (i < size && chars[i] == u'\r' && i + 1 < size && chars[i + 1] == u'\n')
                ++i;
            const qsizetype next = i < size ? i + 1 : size;
            line(start, contentEnd < 0 ? end : contentEnd, end, next);
            if (end >= size)
                return;
            start = i = next;
        }
    }
};

} // namespace Ledgerly
