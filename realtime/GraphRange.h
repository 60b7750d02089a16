#pragma once

#include <QString>
#include <optional>

namespace core {
struct AppState;
struct Reading;
} // namespace core

// The entry of the "Real Time Range" window: the limits of both graphs and the points one
// sweep takes, checked against the meter's present ranges.
namespace realtime {

// The five boxes as their numbers (the leading number of each text, 0 for none).
struct GraphRangeEntry
{
    double ohmMax = 0;
    double ohmMin = 0;
    double voltMax = 0;
    double voltMin = 0;
    double counts = 0;
};

GraphRangeEntry readGraphRangeEntry(const QString &ohmMax, const QString &ohmMin, const QString &voltMax,
                                    const QString &voltMin, const QString &counts);

// The texts the boxes open with: the limits in use as whole numbers, and the points per
// sweep, GraphWidth / GraphStep rounded half to even.
struct GraphRangeTexts
{
    QString ohmMax, ohmMin, voltMax, voltMin, counts;
};
GraphRangeTexts graphRangeTexts(const core::AppState &state);

// The first check the entry fails, as its message; nothing when it passes. The bottom must
// lie below the top also once both are rounded to the whole numbers the graphs keep.
std::optional<QString> graphRangeFailure(const GraphRangeEntry &entry, const core::Reading &reading);

// Writes an entry that passed: limits rounded half to even, the step from the count.
void applyGraphRange(core::AppState &state, const GraphRangeEntry &entry);

} // namespace realtime
