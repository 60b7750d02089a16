#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTextStream>
#include <algorithm>
#include <cmath>
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

// The rows of a long recording, one every two seconds from 10:00:02: a resistance and a
// voltage that wander slowly with a little jitter, as a cell on a logger does.
inline QList<QString> recordingRows(int count)
{
    QList<QString> lines;
    lines.reserve(count);
    for (int n = 1; n <= count; ++n) {
        const int s = n * 2;
        lines.append(QStringLiteral("%1\t2024/03/05\t%2:%3:%4\t%5\t%6")
                         .arg(n)
                         .arg(10 + s / 3600 % 14, 2, 10, QLatin1Char('0'))
                         .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                         .arg(s % 60, 2, 10, QLatin1Char('0'))
                         .arg(20 + 15 * std::sin(n / 900.0) + n % 7, 0, 'f', 2)
                         .arg(3.6 + 0.3 * std::sin(n / 1300.0) - n % 5 / 100.0, 0, 'f', 3));
    }
    return lines;
}

inline void print(const char *name, double value, const char *unit)
{
    QTextStream(stdout) << name << ": " << QString::number(value, 'f', 1) << ' ' << unit << Qt::endl;
}

} // namespace bench
