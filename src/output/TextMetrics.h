#pragma once

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QStringView>

#include <array>

namespace Ledgerly {

// Widths and glyphs of one page font, in points, the same on every device:
// a page is laid out once with these advances and every glyph is then
// placed at exactly the position they give, on paper, in a PDF and on
// screen. Advances are looked up per character and kept, since a table of
// 65,535 records is measured cell by cell.
class TextMetrics
{
public:
    // font: a pixel size, read as points (the painter is scaled to points).
    explicit TextMetrics(const QFont &font);

    const QFont &font() const { return m_font; }
    const QRawFont &rawFont() const { return m_raw; }
    double ascent() const { return m_ascent; }
    double lineHeight() const { return m_lineHeight; }

    // A character the font has no glyph for is measured in the font Qt falls
    // back to; a line holding one is drawn as text (see hasAllGlyphs()).
    double advance(char16_t c) const { return c < 256 ? m_latin[c].advance : other(c).advance; }
    // 0 for a character drawn as nothing (spaces, controls) or without a glyph.
    quint32 glyph(char16_t c) const { return c < 256 ? m_latin[c].glyph : other(c).glyph; }
    double width(QStringView text) const;
    // False when a character has no glyph of this font (or is half of a
    // surrogate pair): such text is drawn by Qt, which can fall back.
    bool hasAllGlyphs(QStringView text) const;

    // Blanks and controls advance the line without ink.
    static bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xa0; }

private:
    struct Entry
    {
        double advance = 0;
        quint32 glyph = 0;
        bool known = false; // the font has the character (or draws nothing for it)
    };
    Entry measure(char16_t c) const;
    const Entry &other(char16_t c) const;
    // A character beyond the 16-bit range, as the font Qt picks draws it.
    double pairAdvance(QStringView pair) const;

    QFont m_font;
    QRawFont m_raw;
    double m_ascent = 0;
    double m_lineHeight = 0;
    std::array<Entry, 256> m_latin;
    mutable QHash<char16_t, Entry> m_others;
    mutable QHash<char32_t, double> m_pairs;
};

} // namespace Ledgerly
