#include "tools/metersim/Cell.h"

#include <cmath>
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
    return {25.00 + ohmDrift + noise_.uniform(-0.02, 0.02),
            3.700 + voltDrift + noise_.uniform(-0.0006, 0.0006)};
}

} // namespace metersim
