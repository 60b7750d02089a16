#pragma once

#include "core/Statistics.h"
#include "sorting/Session.h"

#include <QList>
#include <QMap>

namespace sorting {

// The running figures of a value, shared with the lists' statistics.
using Running = core::Running;

// The statistics of a session: cells per grade, and over the accepted cells the resistance
// and the voltage. Adding a cell is O(1); an undo or a regrading recomputes.
class SessionStats
{
public:
    void clear() { *this = SessionStats(); }
    void add(const Cell &cell);
    void recompute(const QList<Cell> &cells);

    int total() const { return m_total; }
    int count(const QString &grade) const { return m_perGrade.value(grade); }
    double percent(const QString &grade) const { return m_total ? 100.0 * count(grade) / m_total : 0; }
    const Running &milliOhm() const { return m_ohm; }
    const Running &volts() const { return m_volts; }

private:
    int m_total = 0;
    QMap<QString, int> m_perGrade;
    Running m_ohm;
    Running m_volts;
};

// The histogram of the accepted cells' resistance: equal bins from 0 to a round top at or
// above both the last grade limit and the largest value, so the limits are always in view.
struct Histogram
{
    double top = 0;  // mOhm at the right edge
    QList<int> bins; // counts, left to right
    double binWidth() const { return bins.isEmpty() ? 0 : top / bins.size(); }
    int highest() const;
};

Histogram histogramOf(const QList<Cell> &cells, const Profile &profile, int binCount = 30);

// A round top for an axis (1, 1.5, 2, 2.5, 3, 4, 5, 6 or 8 times a power of ten) at or above the value.
double roundTop(double value);

} // namespace sorting
