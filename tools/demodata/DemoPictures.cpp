#include "DemoPictures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <functional>
#include <map>

namespace Ledgerly::Demo {

namespace {

QColor pick(QRandomGenerator &rng, std::initializer_list<QRgb> colours)
{
    const auto index = rng.bounded(int(colours.size()));
    return QColor(*(colours.begin() + index));
}

void drawReceipt(QPainter &p, QRandomGenerator &rng)
{
    p.fillRect(0, 0, 72, 96, QColor(0xd9d4c7));
    QPainterPath paper;
    paper.moveTo(8, 4);
    paper.lineTo(64, 4);
    paper.lineTo(64, 88);
    for (int x = 64; x > 8; x -= 4)
        paper.lineTo(x - 2, (x / 4) % 2 ? 92 : 88);
    paper.closeSubpath();
    p.fillPath(paper, Qt::white);
    p.fillRect(14, 9, 44, 6, pick(rng, {0x2e6e9e, 0x9e3d2e, 0x3d8a4f, 0x7a4f9e, 0xb07b1f}));
    const QColor ink(0x8a8a8a);
    int y = 22;
    const int lines = 3 + rng.bounded(4);
    for (int i = 0; i < lines; ++i, y += 6) {
        p.fillRect(14, y, 14 + rng.bounded(18), 2, ink);
        p.fillRect(48, y, 10, 2, ink);
    }
    p.fillRect(14, y + 2, 44, 1, QColor(0x505050));
    p.fillRect(14, y + 6, 16, 3, QColor(0x202020));
    p.fillRect(42, y + 6, 16, 3, QColor(0x202020));
    for (int x = 18; x < 54; x += 2 + rng.bounded(2))
        p.fillRect(x, 78, 1, 6, Qt::black);
}

using Motif = std::function<void(QPainter &, QRandomGenerator &)>;

const std::map<QString, Motif> &motifs()
{
    static const std::map<QString, Motif> table = {
        {QStringLiteral("tv"),
         [](QPainter &p, QRandomGenerator &) {
             p.setBrush(QColor(0x222222));
             p.drawRoundedRect(14, 12, 68, 42, 3, 3);
             p.fillRect(18, 16, 60, 34, QColor(0x3b5f7f));
             p.fillRect(44, 54, 8, 6, QColor(0x333333));
             p.fillRect(34, 60, 28, 3, QColor(0x333333));
         }},
        {QStringLiteral("sofa"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setBrush(pick(rng, {0x8b5a3c, 0x5a6e8b, 0x6b8b5a}));
             p.drawRoundedRect(16, 26, 64, 20, 4, 4);
             p.drawRoundedRect(10, 32, 12, 24, 3, 3);
             p.drawRoundedRect(74, 32, 12, 24, 3, 3);
             p.drawRect(20, 42, 56, 14);
             p.fillRect(20, 56, 3, 6, QColor(0x3a2a1a));
             p.fillRect(73, 56, 3, 6, QColor(0x3a2a1a));
         }},
        {QStringLiteral("lamp"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setBrush(pick(rng, {0xf2d98c, 0xe8e0d0, 0xd9a66b}));
             p.drawPolygon(
                 QPolygon({QPoint(36, 10), QPoint(60, 10), QPoint(68, 30), QPoint(28, 30)}));
             p.fillRect(47, 30, 3, 30, QColor(0x555555));
             p.setBrush(QColor(0x555555));
             p.drawEllipse(36, 58, 24, 6);
         }},
        {QStringLiteral("painting"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.fillRect(18, 10, 60, 50, QColor(0xb8902e));
             p.fillRect(23, 15, 50, 22, QColor(0x87b5d9));
             p.fillRect(23, 37, 50, 18, pick(rng, {0x4f8a3d, 0x2e6e9e, 0x9e8a3d}));
             p.setBrush(QColor(0xf5d142));
             p.drawEllipse(56, 18, 9, 9);
         }},
        {QStringLiteral("clock"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setBrush(Qt::white);
             p.setPen(QPen(pick(rng, {0x333333, 0x8b5a3c, 0x2e6e9e}), 4));
             p.drawEllipse(26, 8, 44, 44);
             p.setPen(QPen(Qt::black, 2));
             p.drawLine(48, 30, 48, 16);
             p.drawLine(48, 30, 58, 36);
         }},
        {QStringLiteral("bookshelf"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.fillRect(24, 6, 48, 60, QColor(0x8b6a42));
             for (int shelf = 0; shelf < 3; ++shelf) {
                 const int y = 10 + shelf * 19;
                 p.fillRect(28, y, 40, 15, QColor(0x5a4329));
                 for (int x = 29; x < 66; x += 5)
                     p.fillRect(x, y + 3 + rng.bounded(4), 4, 12 - rng.bounded(3),
                                pick(rng, {0xb03a2e, 0x2e6e9e, 0x3d8a4f, 0xd9a441, 0xe8e0d0}));
             }
         }},
        {QStringLiteral("chair"),
         [](QPainter &p, QRandomGenerator &rng) {
             const QColor wood = pick(rng, {0x8b5a3c, 0x4a4a4a, 0xa0783c});
             p.fillRect(34, 10, 28, 28, wood);
             p.fillRect(30, 38, 36, 6, wood.darker(120));
             p.fillRect(32, 44, 4, 20, wood.darker(140));
             p.fillRect(60, 44, 4, 20, wood.darker(140));
         }},
        {QStringLiteral("plant"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setBrush(QColor(0x3d8a4f));
             for (int i = 0; i < 7; ++i)
                 p.drawEllipse(30 + rng.bounded(28), 8 + rng.bounded(26), 14, 20);
             p.setBrush(QColor(0xb5653a));
             p.drawPolygon(
                 QPolygon({QPoint(32, 44), QPoint(64, 44), QPoint(58, 66), QPoint(38, 66)}));
         }},
        {QStringLiteral("fridge"),
         [](QPainter &p, QRandomGenerator &) {
             p.setBrush(QColor(0xf4f4f4));
             p.drawRoundedRect(30, 4, 36, 64, 3, 3);
             p.drawLine(30, 26, 66, 26);
             p.fillRect(60, 12, 2, 10, QColor(0x888888));
             p.fillRect(60, 32, 2, 16, QColor(0x888888));
         }},
        {QStringLiteral("table"),
         [](QPainter &p, QRandomGenerator &rng) {
             const QColor wood = pick(rng, {0x8b5a3c, 0xa0783c, 0x6b4a2e});
             p.fillRect(12, 28, 72, 7, wood);
             p.fillRect(16, 35, 5, 28, wood.darker(130));
             p.fillRect(75, 35, 5, 28, wood.darker(130));
         }},
        {QStringLiteral("bed"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.fillRect(10, 20, 8, 44, QColor(0x6b4a2e));
             p.fillRect(18, 40, 68, 16, pick(rng, {0x5a6e8b, 0xb5653a, 0x7a8b5a}));
             p.fillRect(20, 34, 16, 7, Qt::white);
             p.fillRect(18, 56, 68, 4, QColor(0x6b4a2e));
         }},
        {QStringLiteral("laptop"),
         [](QPainter &p, QRandomGenerator &) {
             p.fillRect(24, 12, 48, 32, QColor(0x333333));
             p.fillRect(27, 15, 42, 26, QColor(0x4f7fae));
             p.setBrush(QColor(0x999999));
             p.drawPolygon(
                 QPolygon({QPoint(22, 46), QPoint(74, 46), QPoint(82, 56), QPoint(14, 56)}));
         }},
        {QStringLiteral("camera"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setBrush(pick(rng, {0x333333, 0x5a5a5a}));
             p.drawRoundedRect(20, 20, 56, 36, 4, 4);
             p.fillRect(30, 14, 14, 6, QColor(0x333333));
             p.setBrush(QColor(0x202a35));
             p.setPen(QPen(QColor(0xaaaaaa), 3));
             p.drawEllipse(36, 26, 24, 24);
         }},
        {QStringLiteral("bicycle"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.setPen(QPen(QColor(0x222222), 3));
             p.drawEllipse(10, 32, 28, 28);
             p.drawEllipse(58, 32, 28, 28);
             p.setPen(QPen(pick(rng, {0xb03a2e, 0x2e6e9e, 0x3d8a4f}), 3));
             p.drawPolyline(QPolygon({QPoint(24, 46), QPoint(40, 26), QPoint(62, 26),
                                      QPoint(72, 46), QPoint(48, 46), QPoint(40, 26)}));
         }},
        {QStringLiteral("guitar"),
         [](QPainter &p, QRandomGenerator &rng) {
             p.fillRect(46, 4, 5, 36, QColor(0x4a3220));
             p.setBrush(pick(rng, {0xc98a3c, 0xb03a2e, 0x222222}));
             p.drawEllipse(36, 30, 25, 20);
             p.drawEllipse(32, 44, 33, 24);
             p.setBrush(QColor(0x222222));
             p.drawEllipse(44, 46, 9, 9);
         }},
        {QStringLiteral("washer"),
         [](QPainter &p, QRandomGenerator &) {
             p.setBrush(QColor(0xf4f4f4));
             p.drawRoundedRect(24, 8, 48, 58, 3, 3);
             p.setBrush(QColor(0x7fa7c9));
             p.setPen(QPen(QColor(0x888888), 3));
             p.drawEllipse(34, 24, 28, 28);
         }},
    };
    return table;
}

void drawBox(QPainter &p, QRandomGenerator &rng)
{
    p.setBrush(pick(rng, {0xd9b07a, 0xc9c9c9, 0x8fa3b5}));
    p.drawRect(24, 16, 48, 44);
    p.fillRect(30, 22, 20, 8, QColor(0x333333));
    p.fillRect(56, 22, 10, 3, QColor(0x3d8a4f));
}

} // namespace

QByteArray drawDemoPicture(const QString &motif, quint32 seed)
{
    QRandomGenerator rng(seed);
    const bool receipt = motif.compare(QLatin1String("receipt"), Qt::CaseInsensitive) == 0;
    QImage image(receipt ? QSize(72, 96) : QSize(96, 72), QImage::Format_RGB888);
    {
        QPainter p(&image);
        if (receipt) {
            drawReceipt(p, rng);
        } else {
            p.fillRect(image.rect(), pick(rng, {0xe6eef5, 0xf5efe6, 0xeaf5e6, 0xf2e6f5}));
            p.fillRect(0, 62, 96, 10, QColor(0xcfc6b8));
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(0x333333), 1));
            const auto found = motifs().find(motif.toLower());
            if (found != motifs().end())
                found->second(p, rng);
            else
                drawBox(p, rng);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace Ledgerly::Demo
