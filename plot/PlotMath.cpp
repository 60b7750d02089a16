#include "plot/PlotMath.h"

#include "core/AppState.h"
#include "core/Text.h"
#include "plot/PlotView.h"
#include "ui/GridModel.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

bool is(QStringView text, const char *word)
{
    return text.trimmed() == QLatin1String(word);
}

// Values over the scale go just above the top line, values under it onto the zero line.
double upperHalf(double value, double min, double max)
{
    double y = frame::Zero - (value - min) * 3000.0 / (max - min);
    if (y > frame::Zero)
        y = frame::Zero;
    if (y < frame::TopLine)
        y = frame::Above;
    return y;
}

bool isWhole(double value)
{
    return std::floor(value) == value;
}

} // namespace

Mark markOf(QStringView text)
{
    if (is(text, "OL"))
        return Mark::Over;
    if (is(text, "-OL"))
        return Mark::Under;
    return Mark::None;
}

double ohmHeight(QStringView text, double min, double max)
{
    return ohmHeightOf(core::numberOfText(text), markOf(text), min, max);
}

double voltHeight(QStringView text, double min, double max)
{
    return voltHeightOf(core::numberOfText(text), markOf(text), min, max);
}

double ohmHeightOf(double value, Mark mark, double min, double max)
{
    // "-OL" is no resistance reading: it reads as 0, as any text without a number.
    if (mark == Mark::Over)
        return frame::Above;
    return upperHalf(value, min, max);
}

double voltHeightOf(double v, Mark mark, double min, double max)
{
    if (mark == Mark::Over)
        return frame::Above;
    if (mark == Mark::Under)
        return frame::Below;
    if (v >= 0)
        return upperHalf(v, min, max);
    // Mirrored: the zero line stands for minus the minimum, the bottom line for minus the maximum.
    double y = frame::Zero - (v + min) * 3000.0 / (max - min);
    if (y < frame::Zero)
        y = frame::Zero;
    if (y > frame::BottomLine)
        y = frame::Below;
    return y;
}

QString numberLabel(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    // Single precision is what the settings hold: show no more digits than it has.
    return QString::number(value, 'g', 7);
}

ScaleLabels scaleLabels(const core::AppState &s)
{
    return scaleLabels(s.PlotOhmMin, s.PlotOhmMax, s.PlotVoltMin, s.PlotVoltMax);
}

ScaleLabels scaleLabels(double ohmMin, double ohmMax, double voltMin, double voltMax)
{
    const double ohmMid = (ohmMin + ohmMax) / 2;
    const double voltMid = (voltMin + voltMax) / 2;
    return {numberLabel(ohmMax),  numberLabel(ohmMid),  numberLabel(ohmMin),   numberLabel(voltMax),
            numberLabel(voltMid), numberLabel(voltMin), numberLabel(-voltMid), numberLabel(-voltMax)};
}

int middleRow(double from, double to)
{
    return int(core::roundHalfEven(from + to)) / 2;
}

void setPlotFromList(core::AppState &s, bool fromLogger, const QString &ohmRangeText, const QString &voltRangeText,
                     int gridRows)
{
    s.PlotFromLogger = fromLogger;
    s.PlotFromFile = !fromLogger;
    // "40m Ohm" and "40m" read 40, "4 Voltage" 4.
    s.PlotOhmLimit = float(core::numberOfText(ohmRangeText));
    s.PlotVoltLimit = float(core::numberOfText(voltRangeText));
    s.PlotOhmFloor = 0;
    s.PlotVoltFloor = 0;
    s.PlotRowCount = float(gridRows - 1);
    s.PlotPoints = s.PlotRowCount;
    s.PlotTo = s.PlotRowCount;
    s.PlotOhmMax = s.PlotOhmLimit;
    s.PlotOhmMin = s.PlotOhmFloor;
    s.PlotVoltMax = s.PlotVoltLimit;
    s.PlotVoltMin = s.PlotVoltFloor;
    s.PlotFrom = 1;
}

RangeEntry readRangeEntry(const QString &from, const QString &to, const QString &ohmMin, const QString &ohmMax,
                          const QString &voltMin, const QString &voltMax)
{
    // The settings are single precision: an entry is what it becomes once stored.
    const auto read = [](const QString &text) { return double(float(core::numberOfText(text))); };
    return {read(from), read(to), read(ohmMin), read(ohmMax), read(voltMin), read(voltMax)};
}

bool rangeAcceptable(const RangeEntry &e, const core::AppState &s)
{
    if (e.from <= 0 || e.to <= e.from || e.to - e.from + 1 > s.PlotRowCount)
        return false;
    // Rows are whole and must exist: a To past the last row has nothing to draw.
    if (!isWhole(e.from) || !isWhole(e.to) || e.to > s.PlotRowCount)
        return false;
    if (e.ohmMax > s.PlotOhmLimit || e.ohmMin < s.PlotOhmFloor || e.ohmMax <= e.ohmMin)
        return false;
    if (e.voltMax <= e.voltMin || e.voltMax > s.PlotVoltLimit || e.voltMin < s.PlotVoltFloor)
        return false;
    return true;
}

void applyRange(core::AppState &s, const RangeEntry &e)
{
    s.PlotFrom = float(e.from);
    s.PlotTo = float(e.to);
    s.PlotOhmMin = float(e.ohmMin);
    s.PlotOhmMax = float(e.ohmMax);
    s.PlotVoltMin = float(e.voltMin);
    s.PlotVoltMax = float(e.voltMax);
    s.PlotPoints = float(e.to - e.from + 1);
}

PlotResult drawListPlot(const ui::GridModel &grid, const core::AppState &s)
{
    PlotResult result;
    ListPlot &plot = result.plot;
    plot.scale = scaleLabels(s);
    if (s.PlotPoints < 2)
        return result;

    const int from = int(core::roundHalfEven(s.PlotFrom));
    const int to = int(core::roundHalfEven(s.PlotTo));
    if (from < 1 || to >= grid.rows() || to <= from) {
        result.failure = QStringLiteral("Rows %1 to %2 cannot be drawn: the list has %3 rows.")
                             .arg(from)
                             .arg(to)
                             .arg(grid.rows() - 1);
        return result;
    }
    if (s.PlotOhmMax == s.PlotOhmMin) {
        result.failure = QStringLiteral("The list names no resistance range, so the resistance curve has no scale "
                                        "(it would run from %1 to %1).")
                             .arg(numberLabel(s.PlotOhmMin));
        return result;
    }
    if (s.PlotVoltMax == s.PlotVoltMin) {
        result.failure = QStringLiteral("The list names no voltage range, so the voltage curve has no scale "
                                        "(it would run from %1 to %1).")
                             .arg(numberLabel(s.PlotVoltMin));
        return result;
    }

    result.rows = PlotRows::fromGrid(grid);
    result.view = settingsView(s);
    result.plot = plotOfView(result.rows, result.view);
    return result;
}

QVector<QPointF> reduceToColumns(const QVector<QPointF> &curve, double columnsPerTwip)
{
    // Fewer points than columns: nothing to save, every segment is drawn as it is.
    const double columns = (frame::Right - frame::Left) * columnsPerTwip;
    if (columnsPerTwip <= 0 || double(curve.size()) <= columns)
        return curve;
    QVector<QPointF> out;
    out.reserve(4 * qsizetype(columns + 2));
    qsizetype i = 0;
    const qsizetype n = curve.size();
    while (i < n) {
        const double column = std::floor(curve[i].x() * columnsPerTwip);
        qsizetype first = i, low = i, high = i, last = i;
        for (++i; i < n && std::floor(curve[i].x() * columnsPerTwip) == column; ++i) {
            last = i;
            if (curve[i].y() < curve[low].y())
                low = i;
            if (curve[i].y() > curve[high].y())
                high = i;
        }
        qsizetype previous = -1;
        // Lowest and highest in the order they come, so the strokes go the way the curve went.
        for (qsizetype k : {first, std::min(low, high), std::max(low, high), last}) {
            if (k != previous)
                out.append(curve[k]);
            previous = k;
        }
    }
    return out;
}

} // namespace plot
