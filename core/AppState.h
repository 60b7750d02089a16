#pragma once

#include "core/Reading.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace core {

// The program's shared state: one object owned by main() and handed to every window by
// reference. It is grouped by the subsystem that owns each group; the comment of a group
// names the places that write it. Everyone else only reads.
struct AppState
{
    // --- Reading. Written by the live poll's decode (the logger decodes into its own records).
    Reading reading;
    // When the frame behind `reading` arrived, on the monotonic clock; -1 before the first.
    // The record keeps its last values while the link is lost, so only this tells a
    // measured value from a held one.
    qint64 ReadingAtMs = -1;

    // --- Link and views.
    // Port choice, written only by the Port window's OK. A device path, when chosen,
    // takes the place of the number.
    int16_t ComPortNumber = 0;
    QString ComPortPath;
    // Which live views run and under which range they started. Written by the view
    // starts and restarts (realtime/Views), the graph windows' Stop and close, the list's Stop.
    bool GraphOn = false;
    int16_t GraphRangeCode = 0;
    bool ListOn = false;
    int16_t ListRangeCode = 0;
    // Written by the logger window while it downloads or is open; read by the command bar.
    bool DownloadBusy = false;
    bool MemoryOpen = false;

    // --- Recorder and files. Written by the recorder and the command bar's Save, Sample,
    // Stop and Open; FileOhmRange/FileVoltRange by the file reader.
    bool Recording = false;
    int32_t SampleSeconds = 2;
    int32_t SampleTick = 0;
    QString SampleClock; // "yyyy/mm/dd hh:nn:ss"
    int32_t RecordCount = 0;
    int16_t RecordRangeCode = 0;
    QString SavePath;
    bool SaveChosen = false;
    QString FileOhmRange;
    QString FileVoltRange;

    // --- Real-time list. ListRowCount is written by the recorder's list step; ListOpen by
    // the Real Time List window as it opens and closes.
    bool ListOpen = false;
    int32_t ListRowCount = 0;

    // --- Graph settings. Written by the view starts from the reading's axis limits and by
    // the Real Time Range window's OK; GraphWidth by the graph windows as they resize.
    int16_t GraphOhmMax = 0;
    int16_t GraphOhmMin = 0;
    int16_t GraphVoltMax = 0;
    int16_t GraphVoltMin = 0;
    float GraphStep = 0;  // pixels per sweep step
    float GraphWidth = 0; // pixels

    // --- Logger image and blocks. Written by the logger download and its block scan;
    // BlockNo, BlockRecords and the range texts also by the block listing, for the block
    // it lists. Range arrays are indexed by block number, 1 to 512; index 0 stays unused.
    QByteArray MemoryImage; // the answer without its closing byte, then the first header unit
    double BlockNo = 0;
    double BlockRecords = 0;
    std::array<int16_t, 513> BlockOhmRange{};
    std::array<int16_t, 513> BlockVoltRange{};
    QString BlockOhmRangeText;  // "40m Ohm": the listed block's ranges, for Save and Plot
    QString BlockVoltRangeText; // "4 Voltage"

    // --- Plot settings. Written by the Plot buttons of the File List and the Data List and
    // by the Plot Range window's OK; read by the plot window. Single precision, as the
    // range window reads its boxes.
    bool PlotFromLogger = false; // the curves come from the Data List
    bool PlotFromFile = false;   // the curves come from the File List
    float PlotOhmLimit = 0;      // highest resistance maximum the range window accepts
    float PlotOhmFloor = 0;      // lowest resistance minimum it accepts
    float PlotVoltLimit = 0;
    float PlotVoltFloor = 0;
    float PlotRowCount = 0; // data rows of the plotted list
    float PlotOhmMax = 0;   // drawn at the top line
    float PlotOhmMin = 0;   // drawn at the zero line
    float PlotVoltMax = 0;
    float PlotVoltMin = 0;
    float PlotFrom = 0;   // first grid row drawn
    float PlotTo = 0;     // last grid row drawn
    float PlotPoints = 0; // PlotTo - PlotFrom + 1
};

// A reading counts as measured for this long after its frame came. The poll retries for
// about five seconds before it shows the link as lost, holding the old values meanwhile.
inline constexpr qint64 FreshReadingMs = 1500;

// The reading may be recorded, listed or drawn: its frame came within FreshReadingMs.
inline bool readingFresh(const AppState &s, qint64 nowMs)
{
    return s.ReadingAtMs >= 0 && nowMs >= s.ReadingAtMs && nowMs - s.ReadingAtMs <= FreshReadingMs;
}

} // namespace core
