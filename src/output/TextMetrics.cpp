#include "TextMetrics.h"

#include <QFontMetricsF>

namespace Ledgerly {

TextMetrics::TextMetrics(const QFont &font)
    : m_font(font)
{
    // Without hinting the advances scale with the size, so what fits at 600
    // dots an inch fits on screen at any zoom as well.
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_raw = QRawFont::fromFont(m_font);
    const QFontMetricsF metrics(m_font);
    m_ascent = m_raw.isValid() ? m_raw.ascent() : metrics.ascent();
    m_lineHeight = m_raw.isValid() ? m_raw.ascent() + m_raw.descent() : metrics.height();
    for (int c = 0; c < 256; ++c)
        m_latin[c] = measure(char16_t(c));
}

TextMetrics::Entry TextMetrics::measure(char16_t c) const
{
    Entry entry;
    if (isBlank(c)) {
        // Every blank is as wide as a space, and a space needs no ink.
        const quint32 space =
            m_raw.isValid() ? m_raw.glyphIndexesForString(QStringLiteral(" ")).value(0) : 0;
        entry.advance =
            space ? m_raw.advancesForGlyphIndexes({space}, QRawFont::UseDesignMetrics).value(0).x()
                  : QFontMetricsF(m_font).horizontalAdvance(QLatin1Char(' '));
        entry.known = true;
        return entry;
    }
    if (c < 0x20 || (c >= 0x7f && c < 0xa0)) {
        entry.known = true; // controls take no room and draw nothing
        return entry;
    }
    const QChar character(c);
    if (character.isSurrogate())
        return entry;
    const quint32 glyph =
        m_raw.isValid() ? m_raw.glyphIndexesForString(QString(character)).value(0) : 0;
    if (glyph != 0) {
        entry.glyph = glyph;
        entry.advance =
            m_raw.advancesForGlyphIndexes({glyph}, QRawFont::UseDesignMetrics).value(0).x();
        entry.known = true;
    } else {
        entry.advance = QFontMetricsF(m_font).horizontalAdvance(character);
    }
    return entry;
}

const TextMetrics::Entry &TextMetrics::other(char16_t c) const
{
    auto found = m_others.constFind(c);
    if (found == m_others.constEnd())
        found = m_others.insert(c, measure(c));
    return *found;
}

double TextMetrics::width(QStringView text) const
{
    double total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            total += pairAdvance(text.mid(i, 2));
            ++i;
            continue;
        }
        total += advance(c.unicode());
    }
    return total;
}

double TextMetrics::pairAdvance(QStringView pair) const
{
    const char32_t code = QChar::surrogateToUcs4(pair[0], pair[1]);
    auto found = m_pairs.constFind(code);
    if (found == m_pairs.constEnd())
        found = m_pairs.insert(code, QFontMetricsF(m_font).horizontalAdvance(pair.toString()));
    return *found;
}

bool TextMetrics::hasAllGlyphs(QStringView text) const
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!(u < 256 ? m_latin[u].known : other(u).known))
            return false;
    }
    return true;
}

} // namespace Ledgerly
