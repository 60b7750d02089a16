#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace ui {
class GridModel;
} // namespace ui

namespace files {

// Writes every cell of the grid, header row included, to an open device: each cell
// followed by TAB, each row ended by CR LF, in Latin-1. progress(rows) is called every
// thousand rows and after the last. False when the device refused a block.
bool writeGrid(const ui::GridModel &grid, QIODevice &device, const std::function<void(int rows)> &progress = {});

// writeGrid to path through a temporary file: the file is replaced only once every row is
// on the disk, so a failed save leaves an earlier file as it was. On failure *error names
// the reason.
bool saveGrid(const ui::GridModel &grid, const QString &path, QString *error,
              const std::function<void(int rows)> &progress = {});

// The messages naming a file and what went wrong with it.
QString cannotWriteText(const QString &path, const QString &reason);
QString cannotReadText(const QString &path, const QString &reason);

} // namespace files
