#include "sorting/Steadiness.h"

#include "core/Text.h"

#include <cmath>

namespace sorting {

namespace {

bool isOhmMarker(const QString &t)
{
    return t.isEmpty() || t == QLatin1String("----") || t == QLatin1String("OL");
}

bool isVoltMarker(const QString &t)
{
    return t.isEmpty() || t == QLatin1String("OL") || t == QLatin1String("-OL");
}

// The size of one step of the last displayed digit: four digits, `point` of them before
// the decimal point.
double lastDigit(int point)
{
    return std::pow(10.0, -(4 - point));
}

} // namespace

LiveSample sampleOf(const core::Reading &r, qint64 ms, bool linkUp)
{
    LiveSample s;
    s.ms = ms;
    s.ohmText = r.OhmText;
    s.voltText = r.VoltText;
    s.rangeCode = r.RangeCode;
    s.ohmInMilli = r.OhmInMilli;
    s.ohmPoint = static_cast<int>(r.OhmPoint);
    s.voltPoint = static_cast<int>(r.VoltPoint);
    s.linkUp = linkUp;
    return s;
}

double milliOhmOf(const QString &ohmText, bool ohmInMilli)
{
    const double value = core::numberOfText(ohmText);
    return ohmInMilli ? value : value * 1000.0;
}

QString ohmRangeName(bool ohmInMilli, int ohmPoint)
{
    if (ohmInMilli)
        return ohmPoint == 3 ? QStringLiteral("400mOhm") : QStringLiteral("40mOhm");
    return ohmPoint == 1 ? QStringLiteral("4Ohm") : QStringLiteral("40Ohm");
}

QString invalidReason(const LiveSample &s)
{
    if (!s.linkUp)
        return QStringLiteral("No reading: the meter link is lost (No COM).");
    if (s.ohmText.isEmpty())
        return QStringLiteral("No reading from the meter yet.");
    if (s.ohmText == QLatin1String("----"))
        return QStringLiteral("No resistance reading (----): touch the probes to a cell.");
    if (s.ohmText == QLatin1String("OL"))
        return QStringLiteral("Resistance over range (OL).");
    if (isVoltMarker(s.voltText))
        return QStringLiteral("Voltage over range (%1).").arg(s.voltText);
    return {};
}

Measurement measurementOf(const LiveSample &s)
{
    Measurement m;
    m.ohmText = s.ohmText;
    m.voltText = s.voltText;
    m.ohmRange = ohmRangeName(s.ohmInMilli, s.ohmPoint);
    m.milliOhm = milliOhmOf(s.ohmText, s.ohmInMilli);
    m.volts = core::numberOfText(s.voltText);
    return m;
}

bool SteadinessDetector::isLift(const LiveSample &s, double liftVolts)
{
    if (!s.linkUp)
        return false; // nothing is known while the link is lost
    if (isOhmMarker(s.ohmText))
        return true;
    return !isVoltMarker(s.voltText) && std::abs(core::numberOfText(s.voltText)) < liftVolts;
}

std::optional<Measurement> SteadinessDetector::feed(const LiveSample &s)
{
    if (m_waitingForLift) {
        if (isLift(s, m_settings.liftVolts))
            m_waitingForLift = false;
        m_run.clear();
        return std::nullopt;
    }
    // Probes off or an invalid reading: the hold starts again with the next valid one.
    if (!invalidReason(s).isEmpty() || isLift(s, m_settings.liftVolts)) {
        m_run.clear();
        return std::nullopt;
    }
    if (s.rangeCode != m_runRange) {
        m_run.clear();
        m_runRange = s.rangeCode;
    }
    m_run.push_back({s.ms, core::numberOfText(s.ohmText), core::numberOfText(s.voltText)});
    // Readings older than the one that opens the hold window are of no further use.
    while (m_run.size() > 1 && m_run[1].ms <= s.ms - m_settings.holdMs)
        m_run.pop_front();
    if (!steady(s))
        return std::nullopt;
    m_waitingForLift = true;
    m_run.clear();
    return measurementOf(s);
}

bool SteadinessDetector::steady(const LiveSample &latest) const
{
    const Point &last = m_run.back();
    if (m_run.front().ms > latest.ms - m_settings.holdMs)
        return false; // not held long enough yet
    const double ohmTol =
        std::max(std::abs(last.ohm) * m_settings.ohmPercent / 100.0, m_settings.ohmDigits * lastDigit(latest.ohmPoint));
    const double voltTol = std::max(std::abs(last.volt) * m_settings.voltPercent / 100.0,
                                    m_settings.voltDigits * lastDigit(latest.voltPoint));
    // A hair of slack: the texts are decimal, the arithmetic binary.
    const double eps = 1e-9;
    for (const Point &p : m_run)
        if (std::abs(p.ohm - last.ohm) > ohmTol + eps || std::abs(p.volt - last.volt) > voltTol + eps)
            return false;
    return true;
}

} // namespace sorting
