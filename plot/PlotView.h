#pragma once

#include "plot/PlotMath.h"
#include "ui/GridModel.h"

#include <QRectF>
#include <vector>

namespace core {
struct AppState;
}

namespace plot {

// The rows of a plotted list, read once when the plot opens, so that every zoom and pan
// step draws from numbers instead of reading the list's texts again (and so that the plot
// stays whole when its list is closed).
struct PlotRows
{
    ui::GridSnapshot grid;
    std::vector<double> ohm, volt; // the texts as numbers ("OL" and "----" read 0), [0] is row 1
    std::vector<Mark> ohmMark, voltMark;

    static PlotRows fromGrid(const ui::GridModel &grid);
    int count() const { return int(ohm.size()); }
};

// What part of the list the plot shows: a span of rows (fractions allowed once zoomed) and
// the two value scales. The settings' view is the one the plot opens with.
struct PlotView
{
    double from = 1, to = 2;
    double ohmMin = 0, ohmMax = 1;
    double voltMin = 0, voltMax = 1;
    bool operator==(const PlotView &) const = default;
};

PlotView settingsView(const core::AppState &s);

// The labels and curves of a view. For the settings' view this is the plot as it opens.
// A span that starts or ends between two rows cuts their segment at the axis.
ListPlot plotOfView(const PlotRows &rows, const PlotView &view);

// The row under an x position of the frame (fractional), and the nearest row that exists.
double rowAt(const PlotView &view, double xTwips);
int nearestRow(const PlotView &view, double xTwips, int rowCount);
// The x position of a row.
double xOfRow(const PlotView &view, double row);

// Zooming the time axis by `factor` (below 1 zooms in) keeps `aroundRow` where it is; the
// span stays within the list and shows at least two rows.
PlotView zoomTime(const PlotView &view, double aroundRow, double factor, int rowCount);
// Moves the span by `rows`, within the list.
PlotView panTime(const PlotView &view, double rows, int rowCount);
// Zooming both value scales by `factor` around the value at `yTwips` (upper half; the lower
// half mirrors the voltage). The scales never go below zero.
PlotView zoomValues(const PlotView &view, double yTwips, double factor);
// The rows and values inside a rectangle of the frame, in twips. A band too flat to mean a
// value range (under `minHeight` twips) zooms the time axis only.
PlotView zoomToBand(const PlotView &view, const QRectF &band, int rowCount, double minHeight);

// The text of the crosshair's label for a row: its number, date, time, resistance and voltage.
QString crosshairText(const PlotRows &rows, int row);

// Everything the plot of a grid shows (with the rows and view it was drawn from, for zooming
// it later), or the reason it cannot be drawn.
struct PlotResult
{
    ListPlot plot;
    PlotRows rows;
    PlotView view;
    std::optional<QString> failure;
};
PlotResult drawListPlot(const ui::GridModel &grid, const core::AppState &s);

} // namespace plot
