#pragma once

#include "link/Reading.h"

#include <QString>
#include <cstdint>

namespace meter {

// The program's shared state: one object owned by main() and handed to every window by
// reference. Each field is written by few places; the comment names them.
struct AppState
{
    // The live reading (the poll and the logger decode into their own records).
    Reading reading;

    // Port choice, written only by the Port window's OK. A device path, when chosen,
    // takes the place of the number.
    int16_t ComPortNumber = 0;
    QString ComPortPath;

    // View restarts: which live views run and under which range they started.
    bool GraphOn = false;
    int16_t GraphRangeCode = 0;
    bool ListOn = false;
    int16_t ListRangeCode = 0;
    int16_t GraphOhmMax = 0;
    int16_t GraphOhmMin = 0;
    int16_t GraphVoltMax = 0;
    int16_t GraphVoltMin = 0;
    float GraphStep = 0;  // pixels per sweep step
    float GraphWidth = 0; // pixels

    // Flags shared between windows.
    bool Recording = false;
    bool DownloadBusy = false;
    bool MemoryOpen = false;
    bool ListOpen = false;

    // PC sampling and recording.
    int32_t SampleSeconds = 2;
    int32_t SampleTick = 0;
    QString SampleClock; // "yyyy/mm/dd hh:nn:ss"
    int32_t RecordCount = 0;
    int16_t RecordRangeCode = 0;
    int32_t ListRowCount = 0;

    // Files.
    QString SavePath;
    bool SaveChosen = false;
    QString FileOhmRange;
    QString FileVoltRange;
};

} // namespace meter
