#pragma once

#include <QImage>
#include <QWidget>

namespace Ledgerly {

// The skin picture as a discreet background: drawn faintly over the window's
// own colour, stretched to fill. Without a picture the native look remains.
class SkinBand : public QWidget
{
    Q_OBJECT
public:
    explicit SkinBand(QWidget *parent = nullptr);

    // Returns false (and shows nothing) when the file is not a readable picture.
    bool loadSkin(const QString &path);
    bool hasSkin() const { return !m_image.isNull(); }
    void setOpacity(double opacity) { m_opacity = opacity; }
    // The picture's own height scaled to the screen (0 without a picture).
    int naturalHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    double m_opacity = 0.6;
};

} // namespace Ledgerly
