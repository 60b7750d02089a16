#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace metersim {

inline constexpr uint8_t kFrameStart = 0x02;
inline constexpr uint8_t kFrameEnd = 0x03;
inline constexpr std::size_t kFrameSize = 7;
inline constexpr std::size_t kPayloadSize = 5;
inline constexpr uint8_t kDownloadRequest = 0x55; // "U"
inline constexpr int kMaxCount = 9999;            // four display digits

// The logger answer carries the memory's end address; the memory starts at 0x4300, so the
// content length is that address less 17152, and the address never passes 65285.
inline constexpr int kMemoryBase = 17152;
inline constexpr int kMemoryCapacity = 65285 - kMemoryBase;
inline constexpr std::array<uint8_t, 4> kBlockMarker = {0x00, 0x55, 0xAA, 0x00};

namespace statusbit {
inline constexpr uint8_t RangeMask = 0x03;
inline constexpr uint8_t Volt40 = 0x04;
inline constexpr uint8_t OhmOverRange = 0x10;
inline constexpr uint8_t VoltOverRange = 0x20;
inline constexpr uint8_t VoltNegative = 0x40;
inline constexpr uint8_t NoReading = 0x80;
} // namespace statusbit

// Resistance range codes as the status byte carries them.
inline constexpr int kRange40Ohm = 0;
inline constexpr int kRange4Ohm = 1;
inline constexpr int kRange400MilliOhm = 2;
inline constexpr int kRange40MilliOhm = 3;

// What the meter's switches and the measured cell make the status byte say.
struct Display
{
    int rangeCode = kRange40MilliOhm;
    bool volt40 = false;
    bool ohmOverRange = false;
    bool voltOverRange = false;
    bool voltNegative = false;
    bool noReading = false;
};

uint8_t statusFor(const Display &d);

// One reading as it goes on the wire: counts in units of the last displayed digit.
struct Reading
{
    int ohmCount = 0;
    int voltCount = 0;
    uint8_t status = 0;
};

using Payload = std::array<uint8_t, kPayloadSize>;
using Frame = std::array<uint8_t, kFrameSize>;

// The five bytes a live frame and a logger record share.
Payload encodePayload(const Reading &r);
Frame encodeFrame(const Reading &r);

// Counts the display would show for a value, before any over-range check: they may
// exceed kMaxCount.
int ohmCount(double milliOhm, int rangeCode);
int voltCount(double volts, bool volt40);

// The whole answer to "U": an unused byte, the end address, the content, a closing byte.
std::vector<uint8_t> downloadAnswer(const std::vector<uint8_t> &memory);

} // namespace metersim
