#pragma once

#include <QIcon>

namespace panel {

// The pictures of the main window's ten tool bar buttons, by 1-based position: Save,
// Open, StartRealTime, List, Graph, Sample, Memory, Stop, ReSave, Help. Drawn for a
// 24-pixel tool bar, with a double-size picture for high-density screens. A position
// outside 1..10 gives a null icon.
QIcon toolbarIcon(int position);

// Button 1 pictures what pressing it does: its own disk while idle, the stop picture of
// button 8 while recording.
QIcon saveButtonIcon(bool recording);

} // namespace panel
