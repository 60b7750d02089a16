#pragma once

#include "core/AppState.h"

namespace realtime {

// The live views that depend on the meter's range. The main window's window registry
// implements it; the poll and the start commands only call it.
class Views
{
public:
    virtual ~Views() = default;
    virtual bool ohmGraphVisible() const = 0;
    virtual bool voltGraphVisible() const = 0;
    virtual void closeOhmGraph() = 0;
    virtual void closeVoltGraph() = 0;
    // Shows both graph windows (resistance first) and starts their sweep timers.
    virtual void showGraphs(int sweepIntervalMs) = 0;
    virtual void closeList() = 0;
    virtual void showList() = 0;
};

// Graph start: take the present axis limits, one pixel a step, show both graphs.
void startGraphs(core::AppState &s, Views &views, int sweepIntervalMs);
// List start: remember the range and let the recorder add rows.
void startList(core::AppState &s, Views &views);
// After every decoded live reading: a range change restarts running views, since their
// scales belong to the range.
void restartViewsOnRangeChange(core::AppState &s, Views &views, int sweepIntervalMs);

} // namespace realtime
