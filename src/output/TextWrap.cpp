#include "TextWrap.h"

#include "TextMetrics.h"

#include <algorithm>

namespace Ledgerly::TextWrap {

namespace {

// Rounding in the sums of advances must not push a text that fits exactly
// onto a second line.
constexpr double slack = 1e-6;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// The characters from i that are drawn as one: a surrogate pair stays whole.
qsizetype unitLength(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

double unitAdvance(QStringView text, qsizetype i, qsizetype length, const TextMetrics &metrics)
{
    return length == 1 ? metrics.advance(text[i].unicode()) : metrics.width(text.mid(i, length));
}

class ParagraphWrapper
{
public:
    ParagraphWrapper(QStringView text, double width, const TextMetrics &metrics,
                     QList<TextLine> &out)
        : m_text(text)
        , m_width(width)
        , m_metrics(metrics)
        , m_out(out)
    {}

    void wrap(qsizetype begin, qsizetype end)
    {
        const qsizetype before = m_out.size();
        bool first = true;
        qsizetype i = begin;
        while (i < end) {
            const qsizetype blanks = i;
            double blankWidth = 0;
            while (i < end && TextMetrics::isBlank(m_text[i].unicode()))
                blankWidth += m_metrics.advance(m_text[i++].unicode());
            if (i >= end)
                break; // blanks at the end of a line take no room
            const qsizetype word = i;
            double wordWidth = 0;
            while (i < end && !TextMetrics::isBlank(m_text[i].unicode())) {
                const qsizetype n = unitLength(m_text, i);
                wordWidth += unitAdvance(m_text, i, n, m_metrics);
                i += n;
            }
            if (m_open && m_lineWidth + blankWidth + wordWidth <= m_width + slack) {
                m_lineWidth += blankWidth + wordWidth;
                m_lineEnd = i;
                continue;
            }
            closeLine();
            // Blanks that open a paragraph indent its first line; at a break
            // they go.
            const double lead = first ? blankWidth : 0;
            startLine(first ? blanks : word);
            if (lead + wordWidth <= m_width + slack) {
                m_lineWidth = lead + wordWidth;
                m_lineEnd = i;
            } else {
                breakWord(first ? blanks : word, i);
            }
            first = false;
        }
        closeLine();
        if (m_out.size() == before)
            m_out.append({begin, 0, 0}); // an empty paragraph is an empty line
    }

private:
    void startLine(qsizetype start)
    {
        m_open = true;
        m_lineStart = start;
        m_lineEnd = start;
        m_lineWidth = 0;
    }

    void closeLine()
    {
        if (m_open)
            m_out.append({m_lineStart, m_lineEnd - m_lineStart, m_lineWidth});
        m_open = false;
    }

    // Fills lines with as many characters as fit (always at least one), the
    // last piece staying open for the words that follow.
    void breakWord(qsizetype from, qsizetype to)
    {
        qsizetype i = from;
        while (i < to) {
            const qsizetype n = unitLength(m_text, i);
            const double advance = unitAdvance(m_text, i, n, m_metrics);
            if (m_lineEnd > m_lineStart && m_lineWidth + advance > m_width + slack) {
                closeLine();
                startLine(i);
            }
            m_lineWidth += advance;
            i += n;
            m_lineEnd = i;
        }
    }

    QStringView m_text;
    double m_width;
    const TextMetrics &m_metrics;
    QList<TextLine> &m_out;
    bool m_open = false;
    qsizetype m_lineStart = 0;
    qsizetype m_lineEnd = 0;
    double m_lineWidth = 0;
};

bool isFigureCharacter(char16_t c)
{
    switch (c) {
    case u'.':
    case u',':
    case u':':
    case u'/':
    case u'+':
    case u'-':
    case u'%':
        return true;
    default:
        return false;
    }
}

} // namespace

QList<TextLine> lines(QStringView text, double width, const TextMetrics &metrics)
{
    QList<TextLine> out;
    ParagraphWrapper wrapper(text, width, metrics, out);
    qsizetype begin = 0;
    while (true) {
        qsizetype end = begin;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        wrapper.wrap(begin, end);
        if (end >= text.size())
            break;
        begin =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    return out;
}

Extent extent(QStringView text, const TextMetrics &metrics, bool whole, double wordCap)
{
    Extent result;
    double line = 0;
    double word = 0;
    bool digits = false;
    bool figure = true;
    const auto endWord = [&] {
        if (word > 0)
            result.minimum =
                std::max(result.minimum, digits && figure ? word : std::min(word, wordCap));
        word = 0;
        digits = false;
        figure = true;
    };
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c == u'\n' || c == u'\r') {
            endWord();
            result.full = std::max(result.full, line);
            line = 0;
            result.multiLine = true;
            i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            continue;
        }
        const qsizetype n = unitLength(text, i);
        const double advance = unitAdvance(text, i, n, metrics);
        line += advance;
        if (TextMetrics::isBlank(c)) {
            endWord();
        } else {
            word += advance;
            if (c >= u'0' && c <= u'9')
                digits = true;
            else if (!isFigureCharacter(c))
                figure = false;
        }
        i += n;
    }
    endWord();
    result.full = std::max(result.full, line);
    if (whole)
        result.minimum = result.full;
    return result;
}

} // namespace Ledgerly::TextWrap
