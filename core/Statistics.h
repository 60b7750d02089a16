#pragma once

#include <QString>
#include <QStringView>
#include <limits>

namespace core {

// Minimum and maximum (with where each was first seen), mean and standard deviation of a
// value, kept up to date one value at a time. The deviation is the sample one (n - 1), the
// spreadsheet's STDEV; Welford's update keeps it steady for values far from zero.
class Running
{
public:
    void add(double value, int position = 0);
    int count() const { return m_count; }
    double min() const { return m_min; }
    double max() const { return m_max; }
    int minAt() const { return m_minAt; }
    int maxAt() const { return m_maxAt; }
    double mean() const { return m_mean; }
    // 0 below two values.
    double deviation() const;

private:
    int m_count = 0;
    double m_min = std::numeric_limits<double>::infinity();
    double m_max = -std::numeric_limits<double>::infinity();
    int m_minAt = 0;
    int m_maxAt = 0;
    double m_mean = 0;
    double m_m2 = 0;
};

// A column of reading texts: the numbers it holds and how many cells held a marker instead
// ("OL", "-OL", "----"). Empty cells and words are neither.
struct ReadingColumn
{
    Running numbers;
    int overloads = 0;         // "OL"
    int negativeOverloads = 0; // "-OL"
    int noReadings = 0;        // "----"
    int decimals = 0;          // the most digits after the point a number had: how to show the figures

    void add(QStringView text, int position);
    int markers() const { return overloads + negativeOverloads + noReadings; }
};

} // namespace core
