#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace metersim {

// A small seeded generator: the same seed gives the same readings on every machine,
// which std's distributions do not promise.
class Prng
{
public:
    explicit Prng(uint64_t seed)
        : state_(seed)
    {
    }
    uint64_t next();
    double uniform(double lo, double hi);
    uint8_t byte() { return static_cast<uint8_t>(next() >> 56); }

private:
    uint64_t state_;
};

struct CellValue
{
    double milliOhm = 0;
    double volts = 0;
};

// The cell on the probes: about 25 mOhm and 3.700 V, wandering slowly and bounded, so a
// simulator left running for a day still shows a plausible cell.
class DriftingCell
{
public:
    explicit DriftingCell(uint64_t seed)
        : noise_(seed)
    {
    }
    // Moves the cell's clock on by one frame period and measures it.
    CellValue advance(double seconds);

private:
    Prng noise_;
    double seconds_ = 0;
};

// A seeded pile of used cells for the sorting bench: mostly sound, some worn out (high
// resistance), some run flat (low voltage), each value as the meter would display it.
std::vector<CellValue> cellBatch(int count, uint64_t seed);
// "MOHM VOLTS" per line (blank, TAB, comma or semicolon between; # comments); nullopt and
// *error on a bad line.
std::optional<std::vector<CellValue>> readCellFile(const std::string &path, std::string &error);
// The value rounded to the last digit its range shows: 25.187 mOhm -> 25.19, 3.7024 V -> 3.702.
double displayedMilliOhm(double milliOhm);
double displayedVolts(double volts);
// The resistance range code that shows the value (3 = 40 mOhm .. 0 = 40 Ohm).
int rangeFor(double milliOhm);

} // namespace metersim
