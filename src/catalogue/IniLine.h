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
        // Qt's searches find the line ends and NULs; each is searched for
        // again only once a line has passed it, so the text is read once for
        // each rather than character by character.
        NextOf lf{text, u'\n'};
        NextOf cr{text, u'\r'};
        NextOf nul{text, u'\0'};
        const qsizetype size = text.size();
        qsizetype start = 0;
        for (;;) {
            const qsizetype end = qMin(lf.from(start), cr.from(start));
            qsizetype last = end; // the line end's last character
            if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
                ++last;
            const qsizetype next = last < size ? last + 1 : size;
            line(start, qMin(end, nul.from(start)), end, next);
            if (end >= size)
                return;
            start = next;
        }
    }

private:
    // Where the next c at or after a position is (the text's size when there
    // is none), remembered until a position past it is asked for.
    struct NextOf
    {
        QStringView text;
        char16_t c;
        qsizetype found = -1;

        qsizetype from(qsizetype position)
        {
            if (found < position) {
                found = text.indexOf(QChar(c), position);
                if (found < 0)
                    found = text.size();
            }
            return found;
        }
    };
};

} // namespace Ledgerly
