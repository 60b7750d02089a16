#include "panel/FacePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace panel {

namespace {

// Every symbol is drawn on a 29 by 29 grid, the size of the case's pictures, and scaled.
constexpr qreal Grid = 29.0;

const QColor Ink(232, 232, 226);
const QColor DarkInk(40, 42, 44);
const QColor SignalRed(222, 62, 48);
const QColor SignalYellow(246, 200, 38);
const QColor ChargeGreen(118, 204, 92);

QPen stroke(const QColor &colour, qreal width = 1.7)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawBattery(QPainter &p)
{
    p.setPen(stroke(Ink));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3, 9, 20.5, 11), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRoundedRect(QRectF(23.5, 12, 3, 5), 1, 1);
    p.setBrush(ChargeGreen);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(5.5 + i * 5.8, 11.5, 4.2, 6));
}

void drawResistance(QPainter &p)
{
    const QPointF zigzag[] = {{2, 14.5},  {7, 14.5}, {8.7, 9},     {12, 20},  {15.2, 9},
                              {18.5, 20}, {21.5, 9}, {22.8, 14.5}, {27, 14.5}};
    p.setPen(stroke(Ink));
    p.drawPolyline(zigzag, int(std::size(zigzag)));
}

void drawDcVolts(QPainter &p)
{
    p.setPen(stroke(Ink, 2.0));
    const QPointF v[] = {{3, 7}, {8.5, 22}, {14, 7}};
    p.drawPolyline(v, 3);
    p.setPen(stroke(Ink, 1.6));
    p.drawLine(QPointF(17, 11), QPointF(27, 11));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(17 + i * 3.75, 16), QPointF(19.2 + i * 3.75, 16));
}

void drawProbe(QPainter &p)
{
    p.translate(Grid / 2, Grid / 2);
    p.rotate(-45);
    p.setPen(stroke(Ink, 1.4));
    p.drawLine(QPointF(4, 0), QPointF(13, 0));    // the metal tip
    p.drawLine(QPointF(-16, 0), QPointF(-12, 0)); // the lead
    p.setPen(QPen(DarkInk, 0.8));
    p.setBrush(SignalRed);
    p.drawRoundedRect(QRectF(-12, -3, 14, 6), 2.5, 2.5);
    p.setBrush(Ink);
    p.drawRoundedRect(QRectF(2, -4.8, 2.4, 9.6), 1, 1); // finger guard
}

void drawLink(QPainter &p)
{
    p.setPen(stroke(Ink));
    p.drawLine(QPointF(4, 10.5), QPointF(24, 10.5));
    const QPointF right[] = {{20, 6.5}, {24.5, 10.5}, {20, 14.5}};
    p.drawPolyline(right, 3);
    p.drawLine(QPointF(25, 18.5), QPointF(5, 18.5));
    const QPointF left[] = {{9, 14.5}, {4.5, 18.5}, {9, 22.5}};
    p.drawPolyline(left, 3);
}

void drawMemory(QPainter &p)
{
    p.setPen(stroke(Ink, 1.4));
    for (int i = 0; i < 4; ++i) {
        const qreal y = 9 + i * 3.8;
        p.drawLine(QPointF(4.5, y), QPointF(8, y));
        p.drawLine(QPointF(21, y), QPointF(24.5, y));
    }
    p.setPen(stroke(Ink, 1.7));
    p.setBrush(QColor(70, 74, 78));
    p.drawRoundedRect(QRectF(8, 5.5, 13, 18), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(stroke(Ink, 1.2));
    p.drawArc(QRectF(12.3, 3.3, 4.4, 4.4), 180 * 16, 180 * 16); // the notch of pin 1
}

void drawWarning(QPainter &p)
{
    const QPointF triangle[] = {{14.5, 2.5}, {27.5, 25.5}, {1.5, 25.5}};
    p.setPen(stroke(DarkInk, 1.2));
    p.setBrush(SignalYellow);
    p.drawPolygon(triangle, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(DarkInk);
    p.drawRoundedRect(QRectF(13.2, 9.5, 2.6, 9.5), 1.2, 1.2);
    p.drawEllipse(QPointF(14.5, 21.8), 1.5, 1.5);
}

void drawDoubleInsulation(QPainter &p)
{
    p.setPen(stroke(Ink, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, 20, 20));
    p.drawRect(QRectF(9.5, 9.5, 10, 10));
}

void drawAutoOff(QPainter &p)
{
    // An hourglass: the meter switches itself off after a while.
    p.setPen(Qt::NoPen);
    p.setBrush(SignalYellow);
    const QPointF sand[] = {{10.5, 23}, {18.5, 23}, {14.5, 18}};
    p.drawPolygon(sand, 3);
    p.setPen(stroke(Ink, 1.6));
    p.setBrush(Qt::NoBrush);
    const QPointF glass[] = {{8.5, 5}, {20.5, 5}, {14.5, 14.5}, {20.5, 24}, {8.5, 24}, {14.5, 14.5}};
    p.drawPolygon(glass, 6);
    p.setPen(stroke(Ink, 2.2));
    p.drawLine(QPointF(6, 4), QPointF(23, 4));
    p.drawLine(QPointF(6, 25), QPointF(23, 25));
}

void drawPower(QPainter &p)
{
    p.setPen(stroke(Ink, 2.2));
    // The ring opens at the top, where the stem goes in.
    p.drawArc(QRectF(5.5, 6.5, 18, 18), 125 * 16, 290 * 16);
    p.drawLine(QPointF(14.5, 3.5), QPointF(14.5, 14));
}

void drawTemperature(QPainter &p)
{
    p.setPen(stroke(Ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(11.5, 3, 6, 17), 3, 3);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(20, 6 + i * 4), QPointF(23, 6 + i * 4));
    p.setPen(Qt::NoPen);
    p.setBrush(SignalRed);
    p.drawRect(QRectF(13.5, 10, 2, 10));
    p.setPen(stroke(Ink, 1.5));
    p.drawEllipse(QPointF(14.5, 22), 4.8, 4.8);
}

void drawBacklight(QPainter &p)
{
    p.setPen(stroke(DarkInk, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 14.5), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(DarkInk);
    // Half of the lamp lit: the usual sign for the display's light.
    p.drawPie(QRectF(9.5, 9.5, 10, 10), 90 * 16, 180 * 16);
    p.setPen(stroke(DarkInk, 1.8));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0);
        const QPointF dir(qCos(a), qSin(a));
        p.drawLine(QPointF(14.5, 14.5) + dir * 8.2, QPointF(14.5, 14.5) + dir * 12);
    }
}

QPixmap blankPixmap(QSize size, qreal pixelRatio)
{
    QPixmap pm(size * pixelRatio);
    pm.setDevicePixelRatio(pixelRatio);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap faceSymbol(FaceSymbol symbol, int side, qreal pixelRatio)
{
    QPixmap pm = blankPixmap(QSize(side, side), pixelRatio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / Grid, side / Grid);
    switch (symbol) {
    case FaceSymbol::Battery: drawBattery(p); break;
    case FaceSymbol::Resistance: drawResistance(p); break;
    case FaceSymbol::DcVolts: drawDcVolts(p); break;
    case FaceSymbol::Probe: drawProbe(p); break;
    case FaceSymbol::Link: drawLink(p); break;
    case FaceSymbol::Memory: drawMemory(p); break;
    case FaceSymbol::Warning: drawWarning(p); break;
    case FaceSymbol::DoubleInsulation: drawDoubleInsulation(p); break;
    case FaceSymbol::AutoOff: drawAutoOff(p); break;
    case FaceSymbol::Power: drawPower(p); break;
    case FaceSymbol::Temperature: drawTemperature(p); break;
    case FaceSymbol::Backlight: drawBacklight(p); break;
    }
    return pm;
}

QPixmap ohmSign(QSize size, const QColor &colour, qreal pixelRatio)
{
    QPixmap pm = blankPixmap(size, pixelRatio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal pen = qMax(1.2, h / 8.5);
    const qreal r = (h - pen) * 0.42;
    const QPointF centre(w / 2, pen / 2 + r);
    // The ring opens at the bottom; each end drops to a foot that turns outwards.
    const qreal openHalf = 55.0;
    const qreal startDeg = 270.0 - openHalf;
    const QRectF ring(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    QPainterPath path;
    path.arcMoveTo(ring, startDeg);
    const QPointF leftEnd = path.currentPosition();
    const qreal foot = h - pen / 2;
    path.moveTo(pen / 2, foot);
    path.lineTo(leftEnd.x() + pen * 0.3, foot);
    path.lineTo(leftEnd);
    path.arcTo(ring, startDeg, -(360.0 - 2 * openHalf));
    const QPointF rightEnd = path.currentPosition();
    path.lineTo(rightEnd.x() - pen * 0.3, foot);
    path.lineTo(w - pen / 2, foot);
    p.setPen(QPen(colour, pen, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    return pm;
}

} // namespace panel
