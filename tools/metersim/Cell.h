#pragma once

#include <cstdint>

namespace metersim {

// A small seeded generator: the same seed gives the same readings on every machine,
// which std's distributions do not promise.
class Prng
{
public:
    explicit Prng(uint64_t seed) : state_(seed) {}
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
    explicit DriftingCell(uint64_t seed) : noise_(seed) {}
    // Moves the cell's clock on by one frame period and measures it.
    CellValue advance(double seconds);

private:
    Prng noise_;
    double seconds_ = 0;
};

} // namespace metersim
