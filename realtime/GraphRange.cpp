#include "realtime/GraphRange.h"

#include "core/AppState.h"
#include "core/Text.h"

namespace realtime {

namespace {

constexpr double MinCounts = 10;
constexpr double MaxCounts = 864000;

QString whole(double value)
{
    return QString::number(qint64(value));
}

} // namespace

GraphRangeEntry readGraphRangeEntry(const QString &ohmMax, const QString &ohmMin, const QString &voltMax,
                                    const QString &voltMin, const QString &counts)
{
    return {core::numberOfText(ohmMax), core::numberOfText(ohmMin), core::numberOfText(voltMax),
            core::numberOfText(voltMin), core::numberOfText(counts)};
}

GraphRangeTexts graphRangeTexts(const core::AppState &s)
{
    GraphRangeTexts t;
    t.ohmMax = QString::number(s.GraphOhmMax);
    t.ohmMin = QString::number(s.GraphOhmMin);
    t.voltMax = QString::number(s.GraphVoltMax);
    t.voltMin = QString::number(s.GraphVoltMin);
    // No step yet means no sweep to count.
    t.counts =
        s.GraphStep > 0 ? whole(core::roundHalfEven(double(s.GraphWidth) / double(s.GraphStep))) : QStringLiteral("0");
    return t;
}

std::optional<QString> graphRangeFailure(const GraphRangeEntry &e, const core::Reading &r)
{
    if (e.ohmMax > r.OhmAxisMax || e.ohmMin < r.OhmAxisMin)
        return QString::number(r.OhmAxisMin) + QStringLiteral(" <= (m)Ohm <= ") + QString::number(r.OhmAxisMax)
               + QStringLiteral(", try again!");
    if (e.voltMax > r.VoltAxisMax || e.voltMin < r.VoltAxisMin)
        return QString::number(r.VoltAxisMin) + QStringLiteral(" <= voltage <= ") + QString::number(r.VoltAxisMax)
               + QStringLiteral(", try again!");
    // Top 1 and bottom 0.6 would both be kept as 1: a graph without height.
    const auto round = core::roundHalfEven;
    if (e.ohmMin >= e.ohmMax || e.voltMin >= e.voltMax || round(e.ohmMin) >= round(e.ohmMax)
        || round(e.voltMin) >= round(e.voltMax))
        return QStringLiteral("Invalid, try again!");
    if (e.counts > MaxCounts || e.counts < MinCounts)
        return QStringLiteral("10 <= Counts <= ") + whole(MaxCounts) + QStringLiteral(", try again!");
    return std::nullopt;
}

void applyGraphRange(core::AppState &s, const GraphRangeEntry &e)
{
    // Checks 1 to 3 keep every limit within the meter's axis limits, far inside 16 bits.
    s.GraphOhmMax = int16_t(core::roundHalfEven(e.ohmMax));
    s.GraphOhmMin = int16_t(core::roundHalfEven(e.ohmMin));
    s.GraphVoltMax = int16_t(core::roundHalfEven(e.voltMax));
    s.GraphVoltMin = int16_t(core::roundHalfEven(e.voltMin));
    s.GraphStep = float(double(s.GraphWidth) / e.counts);
}

} // namespace realtime
