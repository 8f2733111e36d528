#pragma once

// Values the tests build over and over: wall-clock times as the database
// stores them, small bitmap pictures, and string lists from literals.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QStringList>

#include <initializer_list>

// A date and time as stored: wall-clock time, no zone to shift it.
inline QDateTime wall(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// A BMP file of one colour, as a picture field holds it.
inline QByteArray bitmap(const QColor &color, int width = 3, int height = 2)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

inline QStringList L(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out.append(QString::fromUtf8(i));
    return out;
}
