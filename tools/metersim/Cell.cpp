#include "tools/metersim/Cell.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace metersim {

uint64_t Prng::next()
{
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Prng::uniform(double lo, double hi)
{
    const double unit = static_cast<double>(next() >> 11) / static_cast<double>(1ull << 53);
    return lo + (hi - lo) * unit;
}

CellValue DriftingCell::advance(double seconds)
{
    seconds_ += seconds;
    const double t = seconds_;
    const double tau = 2 * std::numbers::pi;
    // Periods that share no common factor keep the wander from looking like a clean wave.
    const double ohmDrift = 0.40 * std::sin(tau * t / 307.0) + 0.12 * std::sin(tau * t / 47.0);
    const double voltDrift = -0.012 * std::sin(tau * t / 613.0) + 0.002 * std::sin(tau * t / 71.0);
    return {25.00 + ohmDrift + noise_.uniform(-0.02, 0.02), 3.700 + voltDrift + noise_.uniform(-0.0006, 0.0006)};
}

} // namespace metersim

namespace metersim {

int rangeFor(double milliOhm)
{
    if (milliOhm < 39.995)
        return 3;
    if (milliOhm < 399.95)
        return 2;
    if (milliOhm < 3999.5)
        return 1;
    return 0;
}

double displayedMilliOhm(double milliOhm)
{
    // Counts per mOhm of the ranges, by code: 40 Ohm, 4 Ohm, 400 mOhm, 40 mOhm.
    static constexpr double perMilliOhm[4] = {0.1, 1.0, 10.0, 100.0};
    const double scale = perMilliOhm[rangeFor(milliOhm)];
    return std::round(milliOhm * scale) / scale;
}

double displayedVolts(double volts)
{
    const double scale = std::fabs(volts) < 3.9995 ? 1000.0 : 100.0;
    return std::round(volts * scale) / scale;
}

std::vector<CellValue> cellBatch(int count, uint64_t seed)
{
    Prng r(seed ^ 0x243F6A8885A308D3ull);
    std::vector<CellValue> cells;
    cells.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double u = r.uniform(0, 1);
        // Most cells between 18 and 100 mOhm, a tail of worn ones up to about 260.
        const double milliOhm = 18 + 240 * u * u * u + r.uniform(0, 12);
        // Most cells stored part-charged, one in ten run flat.
        const double volts = r.uniform(0, 1) < 0.1 ? r.uniform(0.9, 2.45) : r.uniform(3.3, 4.15);
        cells.push_back({displayedMilliOhm(milliOhm), displayedVolts(volts)});
    }
    return cells;
}

std::optional<std::vector<CellValue>> readCellFile(const std::string &path, std::string &error)
{
    std::FILE *f = std::fopen(path.c_str(), "r");
    if (!f) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<CellValue> cells;
    char buffer[512];
    int lineNo = 0;
    while (std::fgets(buffer, sizeof buffer, f)) {
        ++lineNo;
        std::string line(buffer);
        for (char &c : line)
            if (c == ',' || c == ';' || c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        const auto first = line.find_first_not_of(' ');
        if (first == std::string::npos || line[first] == '#')
            continue;
        char *end = nullptr;
        const double ohm = std::strtod(line.c_str() + first, &end);
        char *end2 = nullptr;
        const double volts = std::strtod(end, &end2);
        const std::string rest(end2);
        if (end == line.c_str() + first || end2 == end || rest.find_first_not_of(' ') != std::string::npos
            || !std::isfinite(ohm) || !std::isfinite(volts) || ohm <= 0 || ohm > 99990 || std::fabs(volts) > 99.99) {
            std::fclose(f);
            error = path + ": line " + std::to_string(lineNo) + " is not \"MOHM VOLTS\"";
            return std::nullopt;
        }
        cells.push_back({ohm, volts});
    }
    std::fclose(f);
    if (cells.empty()) {
        error = path + ": no cells in the file";
        return std::nullopt;
    }
    return cells;
}

} // namespace metersim
