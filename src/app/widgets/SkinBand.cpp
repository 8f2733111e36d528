#include "SkinBand.h"

#include <QImageReader>
#include <QPainter>

namespace Ledgerly {

SkinBand::SkinBand(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool SkinBand::loadSkin(const QString &path)
{
    m_image = QImage();
    if (!path.isEmpty()) {
        QImageReader reader(path);
        // A skin is decoration; an absurdly large picture is not worth the memory.
        reader.setAllocationLimit(64);
        m_image = reader.read();
    }
    update();
    return !m_image.isNull();
}

int SkinBand::naturalHeight() const
{
    return m_image.isNull() ? 0 : m_image.height() * logicalDpiY() / 96;
}

void SkinBand::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(m_opacity);
    painter.drawImage(rect(), m_image);
}

} // namespace Ledgerly
