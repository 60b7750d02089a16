#pragma once

#include <QIcon>

namespace ui {

// Every tool-bar picture of the program, drawn on a 24-unit grid at 16, 24, 32 and 48
// pixels so that thin lines stay sharp on high-density screens.
enum class Tool {
    Save,
    Open,
    StartRealTime,
    List,
    Graph,
    Sample,
    Memory,
    Stop,
    ReSave,
    Help, // the main window's
    Plot,
    Print,
    SaveAs,
    Limit, // the secondary windows'
    Sort,  // the main window's eleventh
};

QIcon toolIcon(Tool tool);

// The main window's eleven buttons by 1-based position: Save, Open, StartRealTime, List,
// Graph, Sample, Memory, Stop, ReSave, Help, Sort. A position outside 1..11 gives a null icon.
QIcon toolbarIcon(int position);

// Button 1 pictures what pressing it does: its own disk while idle, the stop picture of
// button 8 while recording.
QIcon saveButtonIcon(bool recording);

} // namespace ui
