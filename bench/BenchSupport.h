#pragma once

#include <QByteArray>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <unistd.h>
#include <vector>

// Helpers the benchmark programs share. Figures are printed one a line, "name: value unit".
namespace bench {

// Resident memory of this process now, in bytes.
inline qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline void print(const char *name, double value, const char *unit)
{
    QTextStream(stdout) << name << ": " << QString::number(value, 'f', 1) << ' ' << unit << Qt::endl;
}

} // namespace bench
