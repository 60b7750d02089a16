#include "core/Reading.h"

namespace core {

namespace {

// Four display digits with the point after `point` of them: the count modulo 10000,
// zero-padded, the integer part without leading zeros, the fraction as it stands.
QString fourDigits(unsigned count, int point)
{
    const QString digits = QStringLiteral("%1").arg(count % 10000, 4, 10, QLatin1Char('0'));
    const QString whole = QString::number(digits.left(point).toInt());
    return whole + QLatin1Char('.') + digits.mid(point);
}

} // namespace

void DecodeStatus(Reading &r, uint8_t status)
{
    r.RangeCode = static_cast<int16_t>(status % 8);
    const int ohmCode = status % 4;
    const bool volt40 = (status / 4) % 2 == 1;
    r.OhmOverload = (status & 0x10) != 0;
    r.VoltOverload = (status & 0x20) != 0;
    r.VoltNegative = (status & 0x40) != 0;
    r.OhmNoReading = (status & 0x80) != 0;

    switch (ohmCode) {
    case 0:
        r.OhmInMilli = false;
        r.OhmPoint = 2;
        r.OhmFullScale = 40;
        break;
    case 1:
        r.OhmInMilli = false;
        r.OhmPoint = 1;
        r.OhmFullScale = 4;
        break;
    case 2:
        r.OhmInMilli = true;
        r.OhmPoint = 3;
        r.OhmFullScale = 400;
        break;
    default:
        r.OhmInMilli = true;
        r.OhmPoint = 2;
        r.OhmFullScale = 40;
        break;
    }
    r.VoltPoint = volt40 ? 2 : 1;
    r.VoltFullScale = volt40 ? 40 : 4;

    r.OhmAxisMax = r.OhmFullScale;
    r.OhmAxisMin = 0;
    r.VoltAxisMax = r.VoltFullScale;
    r.VoltAxisMin = static_cast<int16_t>(-r.VoltFullScale);
}

void FormatOhm(Reading &r, uint8_t high, uint8_t low)
{
    if (r.OhmNoReading) {
        r.OhmText = QStringLiteral("----");
        return;
    }
    if (r.OhmOverload) {
        r.OhmText = QStringLiteral("OL");
        return;
    }
    r.OhmText = fourDigits(high * 256u + low, static_cast<int>(r.OhmPoint));
}

void FormatVolt(Reading &r, uint8_t high, uint8_t low)
{
    if (r.VoltOverload)
        r.VoltText = QStringLiteral("OL");
    else
        r.VoltText = fourDigits(high * 256u + low, static_cast<int>(r.VoltPoint));
    if (r.VoltNegative)
        r.VoltText.prepend(QLatin1Char('-'));
}

void DecodeRecord(Reading &r, const uint8_t payload[5])
{
    DecodeStatus(r, payload[4]);
    FormatOhm(r, payload[0], payload[1]);
    FormatVolt(r, payload[2], payload[3]);
}

QString ohmRangeLabel(const Reading &r)
{
    return QString::number(r.OhmFullScale) + (r.OhmInMilli ? QStringLiteral("mOhm") : QStringLiteral("Ohm"));
}

QString voltRangeLabel(const Reading &r)
{
    return QString::number(r.VoltFullScale) + QStringLiteral("Voltage");
}

} // namespace core
