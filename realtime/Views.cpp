#include "realtime/Views.h"

namespace realtime {

void startGraphs(core::AppState &s, Views &views, int sweepIntervalMs)
{
    s.GraphOn = true;
    s.GraphRangeCode = s.reading.RangeCode;
    s.GraphOhmMax = s.reading.OhmAxisMax;
    s.GraphOhmMin = s.reading.OhmAxisMin;
    s.GraphVoltMax = s.reading.VoltAxisMax;
    s.GraphVoltMin = s.reading.VoltAxisMin;
    s.GraphStep = 1.0f;
    views.showGraphs(sweepIntervalMs);
}

void startList(core::AppState &s, Views &views)
{
    s.ListRangeCode = s.reading.RangeCode;
    s.ListOn = true;
    views.showList();
}

void restartViewsOnRangeChange(core::AppState &s, Views &views, int sweepIntervalMs)
{
    if (s.GraphOn && s.reading.RangeCode != s.GraphRangeCode) {
        if (views.ohmGraphVisible())
            views.closeOhmGraph();
        if (views.voltGraphVisible())
            views.closeVoltGraph();
        startGraphs(s, views, sweepIntervalMs);
        s.GraphRangeCode = s.reading.RangeCode;
    }
    if (s.ListOn && s.reading.RangeCode != s.ListRangeCode) {
        s.ListOn = false;
        views.closeList();
        s.ListRangeCode = s.reading.RangeCode;
        s.ListOn = true;
        views.showList();
    }
}

} // namespace realtime
