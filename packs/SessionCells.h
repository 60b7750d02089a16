#pragma once

#include "packs/Matching.h"

#include <QString>
#include <optional>
#include <vector>

namespace packs {

// The cells of a saved sorting session, as the Pack Builder takes them: accepted cells only.
struct SessionCells
{
    std::vector<Cell> cells;
    std::vector<QString> grades; // the grade names, beside the cells
    int rejects = 0;             // cells of the session left out as rejects
    int damagedLines = 0;        // lines of the file that could not be read
};

// Reads a session file. nullopt when it is no session (error names the file and why).
std::optional<SessionCells> readSessionCells(const QString &path, QString &error);

} // namespace packs
