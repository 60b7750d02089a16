#pragma once

#include <QPointF>
#include <QString>
#include <QStringView>
#include <QVector>
#include <optional>

namespace core {
struct AppState;
}
namespace ui {
class GridModel;
}

namespace plot {

// The plot is laid out in twips (1/1440 inch), x to the right, y downwards.
namespace frame {
inline constexpr double Left = 1000;  // left axis; the curves start here
inline constexpr double Right = 5000; // right axis; the curves end here
inline constexpr double AxisTop = 900;
inline constexpr double AxisBottom = 7100;
inline constexpr double TopLine = 1000;    // the scales' maxima
inline constexpr double UpperGrid = 2500;  // the scales' middles
inline constexpr double Zero = 4000;       // the scales' minima
inline constexpr double LowerGrid = 5500;  // minus the voltage middle
inline constexpr double BottomLine = 7000; // minus the voltage maximum
inline constexpr double Middle = 3000;     // the middle vertical
inline constexpr double Above = 900;       // over the scale, "OL"
inline constexpr double Below = 7100;      // under the negative scale, "-OL"
} // namespace frame

// What a reading text holds besides its number: "OL" over the range, "-OL" under it.
enum class Mark : unsigned char { None, Over, Under };
Mark markOf(QStringView text);

// Where a resistance text lies: "OL" and values over the scale just above the top line,
// values under the minimum (and "----", read as 0) on the zero line. The scale must not
// be empty (max != min).
double ohmHeight(QStringView text, double min, double max);
// Where a voltage text lies: positive values as the resistance, negative ones mirrored
// below the zero line, "-OL" and values under minus the maximum just below the bottom line.
double voltHeight(QStringView text, double min, double max);
// The same for a text already read: its number and its mark.
double ohmHeightOf(double value, Mark mark, double min, double max);
double voltHeightOf(double value, Mark mark, double min, double max);

// The eight scale labels, as plain decimal text.
struct ScaleLabels
{
    QString valTop, valMid, zero; // resistance, left: max, middle, min
    QString upTop, upMid, up0;    // voltage upwards: max, middle, min
    QString midUp, topUp;         // voltage downwards: minus the middle, minus the max
};
ScaleLabels scaleLabels(const core::AppState &s);
ScaleLabels scaleLabels(double ohmMin, double ohmMax, double voltMin, double voltMax);
// A plot label's text of a number: "40", "2.5", "-2"; never "-0".
QString numberLabel(double value);

// The row of the middle time label: From + To rounded to a whole number, halved, the
// remainder dropped (From 3, To 10 gives 6).
int middleRow(double from, double to);

// What the Plot button of a list sets: the limits from its range texts ("40m Ohm", "400m",
// "4"), From 1, To the row count.
void setPlotFromList(core::AppState &s, bool fromLogger, const QString &ohmRangeText, const QString &voltRangeText,
                     int gridRows);

// The six boxes of the range window as read.
struct RangeEntry
{
    double from = 0, to = 0;
    double ohmMin = 0, ohmMax = 0;
    double voltMin = 0, voltMax = 0;
};
RangeEntry readRangeEntry(const QString &from, const QString &to, const QString &ohmMin, const QString &ohmMax,
                          const QString &voltMin, const QString &voltMax);
// False for an entry the plot cannot take: a row range outside the list or a scale that
// is empty, upside down or beyond the list's limits.
bool rangeAcceptable(const RangeEntry &entry, const core::AppState &s);
void applyRange(core::AppState &s, const RangeEntry &entry);

// The drawing of a list: labels and the two curves in twips.
struct ListPlot
{
    ScaleLabels scale;
    bool hasCurves = false; // at least two rows: time labels, names and curves
    QString time1, time2, time3;
    QString ohmName, voltName;
    QVector<QPointF> ohmCurve, voltCurve;
};

// A curve reduced to what a raster of `columnsPerTwip` device pixels per twip can show:
// per pixel column its first, lowest, highest and last point, in the order they come.
// Drawn as a polyline it lights the same pixels as the whole curve, in a time that does
// not grow with the list. A curve with no more points than columns comes back as it is.
QVector<QPointF> reduceToColumns(const QVector<QPointF> &curve, double columnsPerTwip);

} // namespace plot
