#include "sorting/Statistics.h"

#include <algorithm>
#include <cmath>

namespace sorting {

void SessionStats::add(const Cell &cell)
{
    ++m_total;
    ++m_perGrade[cell.grade];
    if (cell.accepted()) {
        m_ohm.add(cell.milliOhm);
        m_volts.add(cell.volts);
    }
}

void SessionStats::recompute(const QList<Cell> &cells)
{
    clear();
    for (const Cell &c : cells)
        add(c);
}

int Histogram::highest() const
{
    return bins.isEmpty() ? 0 : *std::max_element(bins.begin(), bins.end());
}

double roundTop(double value)
{
    if (!(value > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
        if (step * power >= value * (1 - 1e-12))
            return step * power;
    return 10 * power;
}

Histogram histogramOf(const QList<Cell> &cells, const Profile &profile, int binCount)
{
    double largest = profile.grades.isEmpty() ? 0 : profile.grades.last().limitMilliOhm;
    for (const Cell &c : cells)
        if (c.accepted())
            largest = std::max(largest, c.milliOhm);
    Histogram h;
    h.top = roundTop(largest * 1.05);
    h.bins = QList<int>(binCount, 0);
    for (const Cell &c : cells) {
        if (!c.accepted())
            continue;
        const int bin = std::clamp(int(c.milliOhm / h.top * binCount), 0, binCount - 1);
        ++h.bins[bin];
    }
    return h;
}

} // namespace sorting
