#include "plot/PlotView.h"

#include "core/AppState.h"
#include "core/Text.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

constexpr double Width = frame::Right - frame::Left;
// Upper half of the frame: from the zero line (a scale's minimum) up to the top line (its maximum).
constexpr double HalfHeight = frame::Zero - frame::TopLine;
// The narrowest span of rows a zoom goes to: two rows fill the width.
constexpr double MinSpan = 1;

// A value's place on a scale, 0 at the minimum and 1 at the maximum, from a height in the
// frame; the lower half mirrors the upper one, as the voltage does.
double fractionAt(double yTwips)
{
    return std::abs(frame::Zero - yTwips) / HalfHeight;
}

// A span of `span` rows that keeps `anchor` at `place` (0 left, 1 right), within 1..rows.
std::pair<double, double> fitSpan(double anchor, double place, double span, int rowCount)
{
    const double last = std::max(2, rowCount);
    span = std::clamp(span, MinSpan, last - 1);
    double from = anchor - place * span;
    from = std::clamp(from, 1.0, last - span);
    return {from, from + span};
}

// Limits a zoom leaves are rounded to six significant digits, so that the labels stay
// readable after a few wheel turns.
double tidy(double value)
{
    if (value == 0 || !std::isfinite(value))
        return value;
    const double magnitude = std::pow(10.0, 5 - std::floor(std::log10(std::abs(value))));
    return std::round(value * magnitude) / magnitude;
}

void zoomScale(double &min, double &max, double fraction, double factor)
{
    const double at = min + fraction * (max - min);
    double newMin = at - (at - min) * factor;
    double newMax = at + (max - at) * factor;
    // A scale starts at zero at the lowest: the lower half mirrors the upper one.
    if (newMin < 0) {
        newMax -= newMin;
        newMin = 0;
    }
    newMin = tidy(newMin);
    newMax = tidy(newMax);
    if (newMax > newMin && std::isfinite(newMax))
        min = newMin, max = newMax;
}

} // namespace

PlotRows PlotRows::fromGrid(const ui::GridModel &grid)
{
    PlotRows rows;
    rows.grid = grid.snapshot();
    const int n = std::max(0, grid.rows() - 1);
    rows.ohm.reserve(n);
    rows.volt.reserve(n);
    rows.ohmMark.reserve(n);
    rows.voltMark.reserve(n);
    for (int r = 1; r <= n; ++r) {
        const QStringView ohm = grid.cell(r, 3), volt = grid.cell(r, 4);
        rows.ohm.push_back(core::numberOfText(ohm));
        rows.volt.push_back(core::numberOfText(volt));
        rows.ohmMark.push_back(markOf(ohm));
        rows.voltMark.push_back(markOf(volt));
    }
    return rows;
}

PlotView settingsView(const core::AppState &s)
{
    return {core::roundHalfEven(s.PlotFrom),
            core::roundHalfEven(s.PlotTo),
            s.PlotOhmMin,
            s.PlotOhmMax,
            s.PlotVoltMin,
            s.PlotVoltMax};
}

double xOfRow(const PlotView &view, double row)
{
    return frame::Left + (row - view.from) * (Width / (view.to - view.from));
}

double rowAt(const PlotView &view, double xTwips)
{
    return view.from + (xTwips - frame::Left) / Width * (view.to - view.from);
}

int nearestRow(const PlotView &view, double xTwips, int rowCount)
{
    const double row = std::clamp(rowAt(view, xTwips), view.from, view.to);
    return std::clamp(int(std::lround(row)), 1, std::max(1, rowCount));
}

ListPlot plotOfView(const PlotRows &rows, const PlotView &view)
{
    ListPlot plot;
    plot.scale = scaleLabels(view.ohmMin, view.ohmMax, view.voltMin, view.voltMax);
    const int n = rows.count();
    if (n < 2 || view.to <= view.from)
        return plot;

    const auto row = [](double r) { return int(core::roundHalfEven(r)); };
    plot.hasCurves = true;
    plot.time1 = rows.grid.cell(row(view.from), 2).toString();
    plot.time2 = rows.grid.cell(middleRow(view.from, view.to), 2).toString();
    plot.time3 = rows.grid.cell(row(view.to), 2).toString();
    plot.ohmName = rows.grid.cell(0, 3).toString();
    plot.voltName = rows.grid.cell(0, 4).toString();

    const auto ohmY = [&](int r) {
        return ohmHeightOf(rows.ohm[r - 1], rows.ohmMark[r - 1], view.ohmMin, view.ohmMax);
    };
    const auto voltY = [&](int r) {
        return voltHeightOf(rows.volt[r - 1], rows.voltMark[r - 1], view.voltMin, view.voltMax);
    };
    // A span that begins or ends between two rows: their segment is cut at the axis.
    const auto edge = [&](double at, int before, double x) {
        const double t = at - before;
        plot.ohmCurve.append(QPointF(x, ohmY(before) + t * (ohmY(before + 1) - ohmY(before))));
        plot.voltCurve.append(QPointF(x, voltY(before) + t * (voltY(before + 1) - voltY(before))));
    };

    const int first = std::max(1, int(std::ceil(view.from)));
    const int last = std::min(n, int(std::floor(view.to)));
    plot.ohmCurve.reserve(last - first + 3);
    plot.voltCurve.reserve(last - first + 3);
    if (first > view.from && first > 1)
        edge(view.from, first - 1, frame::Left);
    // x as the rows' count from the span's start times one step, so that a whole span of
    // rows lands every row exactly where the plot has always put it.
    const double step = Width / (view.to - view.from);
    for (int r = first; r <= last; ++r) {
        const double x = frame::Left + (r - view.from) * step;
        plot.ohmCurve.append(QPointF(x, ohmY(r)));
        plot.voltCurve.append(QPointF(x, voltY(r)));
    }
    if (last < view.to && last < n)
        edge(view.to, last, frame::Right);
    return plot;
}

PlotView zoomTime(const PlotView &view, double aroundRow, double factor, int rowCount)
{
    PlotView out = view;
    const double place = (aroundRow - view.from) / (view.to - view.from);
    std::tie(out.from, out.to) =
        fitSpan(aroundRow, std::clamp(place, 0.0, 1.0), (view.to - view.from) * factor, rowCount);
    return out;
}

PlotView panTime(const PlotView &view, double rows, int rowCount)
{
    PlotView out = view;
    std::tie(out.from, out.to) = fitSpan(view.from + rows, 0, view.to - view.from, rowCount);
    return out;
}

PlotView zoomValues(const PlotView &view, double yTwips, double factor)
{
    PlotView out = view;
    const double fraction = fractionAt(yTwips);
    zoomScale(out.ohmMin, out.ohmMax, fraction, factor);
    zoomScale(out.voltMin, out.voltMax, fraction, factor);
    return out;
}

PlotView zoomToBand(const PlotView &view, const QRectF &band, int rowCount, double minHeight)
{
    PlotView out = view;
    const double a = rowAt(view, band.left()), b = rowAt(view, band.right());
    std::tie(out.from, out.to) = fitSpan(std::min(a, b), 0, std::abs(b - a), rowCount);
    if (band.height() >= minHeight) {
        // Both ends in one half: the band's heights are fractions of both scales.
        const double f1 = fractionAt(band.top()), f2 = fractionAt(band.bottom());
        const double low = std::min(f1, f2), high = std::max(f1, f2);
        const bool oneHalf = (band.top() <= frame::Zero) == (band.bottom() <= frame::Zero);
        if (oneHalf && high > low) {
            const auto narrow = [&](double &min, double &max) {
                const double span = max - min;
                const double newMin = tidy(min + low * span), newMax = tidy(min + high * span);
                if (newMax > newMin)
                    min = newMin, max = newMax;
            };
            narrow(out.ohmMin, out.ohmMax);
            narrow(out.voltMin, out.voltMax);
        }
    }
    return out;
}

QString crosshairText(const PlotRows &rows, int row)
{
    const auto cell = [&](int col) { return rows.grid.cell(row, col).toString(); };
    // The unit where the column's title names it ("40mOhm", "4Voltage").
    const QStringView ohmTitle = rows.grid.cell(0, 3);
    const QString ohmUnit = ohmTitle.contains(QLatin1String("mOhm")) ? QStringLiteral(" mOhm")
                            : ohmTitle.contains(QLatin1String("Ohm")) && ohmTitle.trimmed() != QLatin1String("Ohm")
                                ? QStringLiteral(" Ohm")
                                : QString();
    const QString number = cell(0).trimmed().isEmpty() ? QString::number(row) : cell(0).trimmed();
    return QStringLiteral("Row %1   %2 %3\nR %4%5   V %6").arg(number, cell(1), cell(2), cell(3), ohmUnit, cell(4));
}

} // namespace plot
