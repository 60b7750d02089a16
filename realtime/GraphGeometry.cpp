#include "realtime/GraphGeometry.h"

#include "core/Text.h"

#include <cmath>

namespace realtime {

GraphFrame graphFrame(int clientHeight)
{
    GraphFrame f;
    f.OriginX = 40;
    f.BaseY = clientHeight - 27;
    f.PlotHeight = float(clientHeight - 100);
    return f;
}

float graphWidthFor(int clientWidth)
{
    const int room = clientWidth - 40;
    if (room < 0)
        return 0;
    return float(room - room % 30);
}

QList<QLineF> axisTicks(GraphKind kind, const GraphFrame &f)
{
    // Short ticks every sixteenth (voltage) or eighth (resistance), long ones every other.
    const int steps = kind == GraphKind::Volt ? 16 : 8;
    const double x = f.OriginX - 2;
    QList<QLineF> ticks;
    for (int i = 0; i <= steps; ++i) {
        const double y = f.BaseY - i * double(f.PlotHeight) / steps;
        ticks.append(QLineF(x, y, f.OriginX - 7, y));
        if (i % 2 == 0)
            ticks.append(QLineF(x, y, f.OriginX - 10, y));
    }
    return ticks;
}

int labelParts(GraphKind kind)
{
    return kind == GraphKind::Volt ? 8 : 4;
}

double axisLabelValue(int16_t max, int16_t min, int j, int parts)
{
    // In int: the span of two 16-bit limits times at most 8 never overflows it.
    const int span = int(max) - int(min);
    return double(min) + double(span * j) / parts;
}

QString axisLabelText(double value)
{
    // Label values are whole numbers divided by 4 or 8: 'g' with 15 digits shows them exactly.
    const QString digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QList<QString> axisLabelTexts(GraphKind kind, int16_t max, int16_t min)
{
    const int parts = labelParts(kind);
    QList<QString> texts;
    for (int j = 0; j <= parts; ++j)
        texts.append(axisLabelText(axisLabelValue(max, min, j, parts)));
    return texts;
}

QPointF axisLabelCorner(GraphKind kind, const GraphFrame &f, int j, double textWidth, double textHeight)
{
    const int parts = labelParts(kind);
    const double shift = kind == GraphKind::Volt ? textWidth / 4 : textWidth / 2;
    return {f.OriginX - 22 - shift, f.BaseY - textHeight / 2 - j * double(f.PlotHeight) / parts};
}

QPointF unitTextCorner(const GraphFrame &f)
{
    return {f.OriginX - 32, f.BaseY - f.PlotHeight - 25};
}

QLineF verticalAxis(const GraphFrame &f)
{
    return {f.OriginX - 2, f.BaseY + 5, f.OriginX - 2, f.BaseY - f.PlotHeight - 5};
}

QLineF horizontalAxis(const GraphFrame &f, float graphWidth)
{
    return {f.OriginX - 2, f.BaseY + 6, f.OriginX + graphWidth + 2, f.BaseY + 6};
}

QRectF plotBox(const GraphFrame &f, float graphWidth)
{
    return QRectF(QPointF(f.OriginX, f.BaseY - f.PlotHeight), QPointF(f.OriginX + graphWidth, f.BaseY));
}

QList<double> gridLineYs(GraphKind kind, const GraphFrame &f)
{
    const double h = f.PlotHeight;
    if (kind == GraphKind::Ohm)
        return {f.BaseY - h / 4, f.BaseY - h / 2, f.BaseY - 3 * h / 4};
    QList<double> ys;
    for (int k : {1, 7, 6, 5, 8, 3, 2})
        ys.append(f.BaseY - k * h / 8);
    return ys;
}

QLineF middleLine(const GraphFrame &f, float graphWidth)
{
    const double y = f.BaseY - double(f.PlotHeight) / 2;
    return {f.OriginX - 2, y, f.OriginX + graphWidth + 2, y};
}

double plotY(GraphKind kind, const QString &text, int16_t max, int16_t min, float plotHeight)
{
    const double value = core::numberOfText(text);
    const QLatin1String under = kind == GraphKind::Ohm ? QLatin1String("----") : QLatin1String("-OL");
    // The over-range test comes first: "-OL" under limits wholly below zero counts as 0,
    // above the top.
    if (value > max || text == QLatin1String("OL"))
        return double(plotHeight) + 5;
    if (value < min || text == under)
        return -3;
    if (max == min)
        return 0;
    return (value - min) / (double(max) - double(min)) * double(plotHeight);
}

Mark markAt(float sweepX)
{
    const double n = core::roundHalfEven(double(sweepX));
    if (std::fmod(n, 60.0) == 0)
        return Mark::Time;
    if (std::fmod(n, 30.0) == 0)
        return Mark::Short;
    return Mark::None;
}

SweepStep advanceSweep(Sweep &sweep, const GraphFrame &f, float step, float graphWidth, std::optional<double> plotY)
{
    // Single precision, as the pen position is kept: a step of 0.5 lands on every half pixel.
    sweep.SweepX = sweep.SweepX + step;
    if (!(sweep.SweepX < graphWidth))
        sweep.SweepX = 0;
    SweepStep s;
    s.penX = f.OriginX + double(sweep.SweepX);
    s.wipe = QRectF(QPointF(s.penX, f.BaseY - f.PlotHeight - 5), QPointF(s.penX + step, f.BaseY + 3));
    s.mark = markAt(sweep.SweepX);
    if (!plotY) {
        sweep.LastX = 0;
        return s;
    }
    const double y = f.BaseY - *plotY;
    if (sweep.LastX != 0 && sweep.SweepX != 0)
        s.segment = QLineF(sweep.LastX, sweep.LastY, s.penX, y);
    sweep.LastX = float(s.penX);
    sweep.LastY = float(y);
    return s;
}

QLineF timeMarkLine(const GraphFrame &f, double penX)
{
    return {penX, f.BaseY, penX, f.BaseY - f.PlotHeight - 10};
}

QLineF shortMarkLine(const GraphFrame &f, double penX)
{
    return {penX, f.BaseY - 3.8 * double(f.PlotHeight) / 8, penX, f.BaseY - 4.2 * double(f.PlotHeight) / 8};
}

QPointF timeTextCorner(const GraphFrame &f, double penX, double textWidth)
{
    return {penX - textWidth / 2, f.BaseY + 10};
}

QRectF timeTextBox(const GraphFrame &f, double penX, double textWidth)
{
    return QRectF(QPointF(penX - textWidth / 2, f.BaseY + 10), QPointF(penX + textWidth / 2, f.BaseY + 20));
}

} // namespace realtime
