#pragma once

#include <QString>
#include <cstdint>

namespace core {

// The reading record: what the meter last said, in the form every window shows it.
// Written only by DecodeStatus, FormatOhm and FormatVolt; a value stays until the next
// call that writes it. Before the first reading texts are empty, flags false, numbers 0.
struct Reading
{
    QString OhmText;
    QString VoltText;
    int16_t RangeCode = 0; // status bits 0..2
    bool OhmInMilli = false;
    float OhmPoint = 0;        // digits before the decimal point: 1, 2 or 3
    float VoltPoint = 0;       // 1 or 2
    int16_t OhmFullScale = 0;  // 40, 4, 400 or 40, in Ohm or mOhm
    int16_t VoltFullScale = 0; // 4 or 40 volts
    bool OhmOverload = false;
    bool VoltOverload = false;
    bool VoltNegative = false;
    bool OhmNoReading = false;
    int16_t OhmAxisMax = 0;
    int16_t OhmAxisMin = 0;
    int16_t VoltAxisMax = 0;
    int16_t VoltAxisMin = 0;
};

// Status byte: bits 0-1 resistance range, bit 2 the 40 V range, bit 4 resistance over
// range, bit 5 voltage over range, bit 6 negative voltage, bit 7 no resistance reading.
void DecodeStatus(Reading &r, uint8_t status);
// Must follow DecodeStatus of the same reading: it uses the point position and flags.
void FormatOhm(Reading &r, uint8_t high, uint8_t low);
void FormatVolt(Reading &r, uint8_t high, uint8_t low);

// A live frame as the meter streams it: FrameStart, the five payload bytes, FrameEnd. The
// logger memory stores its records the same way.
inline constexpr int FrameLength = 7;
inline constexpr uint8_t FrameStart = 0x02;
inline constexpr uint8_t FrameEnd = 0x03;

// The five payload bytes of a live frame or a logger record, decoded in the required order:
// resistance high, low, voltage high, low, status.
void DecodeRecord(Reading &r, const uint8_t payload[5]);

// Range labels as the files and lists write them.
QString ohmRangeLabel(const Reading &r);  // "40mOhm", "4Ohm"
QString voltRangeLabel(const Reading &r); // "4Voltage"

} // namespace core
