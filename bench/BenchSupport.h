#pragma once

#include <QByteArray>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <sys/resource.h>
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

// CPU time this process has used, user and system, in microseconds.
inline qint64 cpuMicros()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000LL + u.ru_utime.tv_usec + u.ru_stime.tv_usec;
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
