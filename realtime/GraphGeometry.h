#pragma once

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <optional>

// Geometry of the two sweeping real-time graphs, as plain functions over plain numbers.
// All coordinates are logical pixels of the window's client area, origin at the top left,
// y growing downwards; the tool bar lies over the top strip and the plot leaves room for it.
namespace realtime {

enum class GraphKind { Ohm, Volt };

// The plot's place in a client area of a given height.
struct GraphFrame
{
    double OriginX = 40;  // x of the plot's left edge
    double BaseY = 0;     // y of the zero line, the bottom limit
    float PlotHeight = 0; // the top limit lies at BaseY - PlotHeight
};

GraphFrame graphFrame(int clientHeight);
// The plot width for a client width: the largest multiple of 30 not above width - 40.
// 0 when the client is too narrow for any.
float graphWidthFor(int clientWidth);

// The left-hand scale. Every tick runs from the axis, at OriginX - 2, to its own left end.
QList<QLineF> axisTicks(GraphKind kind, const GraphFrame &frame);
// How many parts the labels divide the plot into: 4 resistance, 8 voltage.
int labelParts(GraphKind kind);
// Label j's value, 0 at the bottom. The span and its multiple are whole numbers, the
// division is exact.
double axisLabelValue(int16_t max, int16_t min, int j, int parts);
// " 12.5", " 0", "-20": shortest decimal, "." point, one blank before a value that is not negative.
QString axisLabelText(double value);
// The label texts from bottom to top.
QList<QString> axisLabelTexts(GraphKind kind, int16_t max, int16_t min);
// Top-left corner of label j for a text of the given size: centred on the height of its
// tick, around x = OriginX - 22 (the voltage labels sit a quarter width to the right).
QPointF axisLabelCorner(GraphKind kind, const GraphFrame &frame, int j, double textWidth, double textHeight);
// Top-left corner of "mOhm", "Ohm" or "Voltage".
QPointF unitTextCorner(const GraphFrame &frame);

// The axes, two pixels wide: the vertical one, then the horizontal one under the zero line.
QLineF verticalAxis(const GraphFrame &frame);
QLineF horizontalAxis(const GraphFrame &frame, float graphWidth);
// The plot area, filled white on every redraw: two corners.
QRectF plotBox(const GraphFrame &frame, float graphWidth);

// Heights of the dotted grid lines, in the order they are drawn: the quarters of the
// resistance plot; every eighth of the voltage plot except its zero line and middle.
QList<double> gridLineYs(GraphKind kind, const GraphFrame &frame);
// The solid middle line of the voltage plot (its zero volt line in a symmetric range).
QLineF middleLine(const GraphFrame &frame, float graphWidth);

// Height of a reading above the zero line: just above the plot when over its top or over
// range, just below it when under its bottom or without a reading ("----" for the
// resistance, "-OL" for the voltage). Equal limits put every other reading on the zero line.
double plotY(GraphKind kind, const QString &text, int16_t max, int16_t min, float plotHeight);

enum class Mark { None, Time, Short };
// What is drawn where the pen stands, by its position rounded half to even: a dotted line
// and the time every 60 pixels (0 included), a short mark on the middle line every 30.
Mark markAt(float sweepX);

// The pen of one window.
struct Sweep
{
    float SweepX = 0; // from OriginX; -GraphStep before the first step
    float LastX = 0;  // end of the last segment; 0 when there is none
    float LastY = 0;
};

// What one step of the pen draws.
struct SweepStep
{
    QRectF wipe; // two corners, both included
    std::optional<QLineF> segment;
    Mark mark = Mark::None;
    double penX = 0; // OriginX + SweepX
};

// Advances the pen by `step`, wrapping to 0 at `graphWidth` without joining the first point
// after the wrap to the last one before it. Without a point (no measured reading) the pen
// moves on and draws nothing, and the next point starts a new trace: a visible gap.
SweepStep advanceSweep(Sweep &sweep, const GraphFrame &frame, float step, float graphWidth,
                       std::optional<double> plotY);

// The dotted line of a time mark and the short mark across the middle grid line.
QLineF timeMarkLine(const GraphFrame &frame, double penX);
QLineF shortMarkLine(const GraphFrame &frame, double penX);
// Top-left corner of the time under the axis, and the box wiped behind it (two corners).
QPointF timeTextCorner(const GraphFrame &frame, double penX, double textWidth);
QRectF timeTextBox(const GraphFrame &frame, double penX, double textWidth);

} // namespace realtime
