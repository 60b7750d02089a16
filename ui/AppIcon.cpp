#include "ui/AppIcon.h"

#include <QPainter>

namespace ui {

QImage appIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on the 64 by 64 grid of the scalable icon.
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x46, 0x4a, 0x4e));
    p.drawRoundedRect(QRectF(8, 3, 48, 58), 8, 8);
    p.setBrush(QColor(0xcd, 0xd9, 0xb4));
    p.drawRoundedRect(QRectF(13, 9, 38, 24), 3, 3);

    const QColor ink(0x28, 0x2a, 0x2c);
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(18, 14, 24, 14), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(42, 18, 3, 6), 1, 1);
    p.setBrush(QColor(0x76, 0xcc, 0x5c));
    for (qreal x : {20.5, 27.5, 34.5})
        p.drawRect(QRectF(x, 16.5, 5.5, 9));

    p.setBrush(QColor(0xde, 0x3e, 0x30));
    p.drawEllipse(QPointF(22, 45), 5, 5);
    p.setBrush(QColor(0xf6, 0xc8, 0x26));
    p.drawEllipse(QPointF(42, 45), 5, 5);
    p.setBrush(QColor(0xe8, 0xe8, 0xe2));
    p.drawRoundedRect(QRectF(27, 53, 10, 3), 1.5, 1.5);
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

} // namespace ui
