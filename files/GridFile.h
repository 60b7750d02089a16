#pragma once

#include "files/GridWriter.h"

#include <QString>
#include <functional>

class QIODevice;

class QWidget;

namespace core {
struct AppState;
} // namespace core

namespace ui {
class Dialogs;
class GridModel;
} // namespace ui

namespace files {

// The save dialog every writer shares: the measurement file filter, a prompt before an
// existing file is replaced. A chosen file sets SavePath and SaveChosen (true when the
// chosen name has a file part); cancel sets SaveChosen false and leaves SavePath. The
// name is taken as typed: no extension is added. Returns SaveChosen.
bool SaveDialog(ui::Dialogs &dialogs, QWidget *parent, core::AppState &state);

// Writes every cell of the grid, header row included, to path: each cell followed by TAB,
// each row ended by CR LF. The file is replaced only once every row is on the disk, so a
// failed save leaves an earlier file as it was. The window's caption counts the rows
// ("1000Records Completed") and is restored afterwards; the pointer is busy meanwhile.
// On failure *error names the reason.
bool WriteGridFile(QWidget &window, const ui::GridModel &grid, const QString &path, QString *error);

// The list windows' save step after SaveDialog: writes the grid to SavePath, clears
// SaveChosen, and on failure tells the user which file could not be written and why.
bool WriteGridFile(QWidget &window, const ui::GridModel &grid, core::AppState &state, ui::Dialogs &dialogs);

// Shows a message of cannotWriteText or cannotReadText with the critical icon.
void showFileError(ui::Dialogs &dialogs, QWidget *parent, const QString &text);

} // namespace files
