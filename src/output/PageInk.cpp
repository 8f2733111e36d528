#include "PageInk.h"

#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace Ledgerly {

namespace {

using Font = PageStyle::Font;

QColor inkOf(Font font)
{
    return font == Font::Foot ? PageStyle::footColor() : QColor(Qt::black);
}

} // namespace

PageInk PageInk::from(const PageContent &content, const PageStyle &style)
{
    PageInk ink;
    ink.rules = content.rules;
    ink.fills = content.fills;
    ink.pictures = content.pictures;
    for (const PageContent::Text &text : content.texts) {
        const TextMetrics &metrics = style.metrics(text.font);
        if (!metrics.hasAllGlyphs(text.text)) {
            ink.texts.append(text);
            continue;
        }
        Glyphs &glyphs = ink.glyphs[int(text.font)];
        double x = text.origin.x();
        for (const QChar c : text.text) {
            if (const quint32 glyph = metrics.glyph(c.unicode())) {
                glyphs.ids.append(glyph);
                glyphs.positions.append(QPointF(x, text.origin.y()));
            }
            x += metrics.advance(c.unicode());
        }
    }
    return ink;
}

InkPainter::InkPainter(const PageStyle &style)
{
    for (int f = 0; f < PageStyle::fontCount; ++f)
        m_fonts[f] = style.metrics(Font(f)).font();
}

const QRawFont &InkPainter::rawFont(int font, double scale)
{
    if (!m_raw[font].isValid())
        m_raw[font] = QRawFont::fromFont(m_fonts[font]);
    if (scale != m_scale[font]) {
        m_scaled[font] = m_raw[font];
        m_scaled[font].setPixelSize(m_raw[font].pixelSize() * scale);
        m_scale[font] = scale;
    }
    return m_scaled[font];
}

void InkPainter::draw(QPainter &painter, const PageInk &ink)
{
    painter.save();
    for (const PageContent::Fill &fill : ink.fills)
        painter.fillRect(fill.rect, fill.color);
    for (const PageContent::Picture &picture : ink.pictures) {
        // A photo's full size in every cell would make a document of many
        // megabytes; three pixels a point is sharp enough on paper.
        const QSize enough = (picture.rect.size() * 3).toSize().expandedTo(QSize(1, 1));
        const QImage &image = picture.image;
        painter.drawImage(picture.rect,
                          image.width() > enough.width()
                              ? image.scaled(enough, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : image);
    }
    QPen rule(PageStyle::ruleColor());
    rule.setWidthF(PageStyle::ruleWidth);
    painter.setPen(rule);
    painter.drawLines(ink.rules);
    for (const PageContent::Text &text : ink.texts) {
        // Qt draws these with a font that has the missing character.
        painter.setPen(inkOf(text.font));
        painter.setFont(m_fonts[int(text.font)]);
        painter.drawText(text.origin, text.text);
    }

    // Glyphs are placed on the device's own grid (a 600th of an inch in a
    // PDF), where their positions are whole numbers: a PDF states every
    // glyph's position, and whole numbers make that a third shorter.
    const QTransform toDevice = painter.worldTransform();
    const double scale = toDevice.m11();
    const bool onGrid = toDevice.type() <= QTransform::TxScale && scale > 0 &&
                        qFuzzyCompare(toDevice.m11(), toDevice.m22());
    if (onGrid)
        painter.setWorldTransform(QTransform());
    for (int f = 0; f < PageStyle::fontCount; ++f) {
        const PageInk::Glyphs &glyphs = ink.glyphs[f];
        if (glyphs.ids.isEmpty())
            continue;
        QList<QPointF> positions = glyphs.positions;
        if (onGrid) {
            for (QPointF &p : positions) {
                const QPointF mapped = toDevice.map(p);
                p = QPointF(std::round(mapped.x()), std::round(mapped.y()));
            }
        }
        QGlyphRun run;
        run.setRawFont(rawFont(f, onGrid ? scale : 1.0));
        run.setGlyphIndexes(glyphs.ids);
        run.setPositions(positions);
        painter.setPen(inkOf(Font(f)));
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.restore();
}

} // namespace Ledgerly
