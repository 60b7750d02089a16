#include "tools/metersim/Protocol.h"

#include <algorithm>
#include <cmath>

namespace metersim {

uint8_t statusFor(const Display &d)
{
    uint8_t s = static_cast<uint8_t>(d.rangeCode) & statusbit::RangeMask;
    if (d.volt40)
        s |= statusbit::Volt40;
    if (d.ohmOverRange)
        s |= statusbit::OhmOverRange;
    if (d.voltOverRange)
        s |= statusbit::VoltOverRange;
    if (d.voltNegative)
        s |= statusbit::VoltNegative;
    if (d.noReading)
        s |= statusbit::NoReading;
    return s;
}

Payload encodePayload(const Reading &r)
{
    // Counts are clamped so that a bad value can never spill into the neighbouring byte.
    const auto ohm = static_cast<unsigned>(std::clamp(r.ohmCount, 0, 0xFFFF));
    const auto volt = static_cast<unsigned>(std::clamp(r.voltCount, 0, 0xFFFF));
    return {static_cast<uint8_t>(ohm >> 8), static_cast<uint8_t>(ohm & 0xFF), static_cast<uint8_t>(volt >> 8),
            static_cast<uint8_t>(volt & 0xFF), r.status};
}

Frame encodeFrame(const Reading &r)
{
    const Payload p = encodePayload(r);
    return {kFrameStart, p[0], p[1], p[2], p[3], p[4], kFrameEnd};
}

int ohmCount(double milliOhm, int rangeCode)
{
    // 40 Ohm shows dd.dd Ohm, 4 Ohm d.ddd Ohm, 400 mOhm ddd.d mOhm, 40 mOhm dd.dd mOhm.
    static constexpr double countsPerMilliOhm[4] = {0.1, 1.0, 10.0, 100.0};
    return static_cast<int>(std::lround(milliOhm * countsPerMilliOhm[rangeCode & 3]));
}

int voltCount(double volts, bool volt40)
{
    return static_cast<int>(std::lround(std::fabs(volts) * (volt40 ? 100.0 : 1000.0)));
}

std::vector<uint8_t> downloadAnswer(const std::vector<uint8_t> &memory)
{
    const auto endAddress = static_cast<unsigned>(kMemoryBase + memory.size());
    std::vector<uint8_t> answer;
    answer.reserve(memory.size() + 4);
    answer.push_back(0x00);
    answer.push_back(static_cast<uint8_t>(endAddress >> 8));
    answer.push_back(static_cast<uint8_t>(endAddress & 0xFF));
    answer.insert(answer.end(), memory.begin(), memory.end());
    answer.push_back(kFrameEnd);
    return answer;
}

} // namespace metersim
