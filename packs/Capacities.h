#pragma once

#include "packs/Matching.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Capacities measured elsewhere (a charger or analyser exports them as CSV or TSV) brought to
// the cells of a session by their IDs.
namespace packs {

struct CapacityList
{
    std::vector<std::pair<QString, double>> entries; // cell ID and mAh, in the file's order
    QStringList badLines;                            // lines with an ID but no number where the capacity should be
    QString error;                                   // set when the text holds no ID and capacity columns at all
};

// Reads "ID<sep>capacity" lines: comma, semicolon or TAB between the fields (the first line
// decides), a decimal point or, where the fields are not separated by commas, a decimal comma;
// quoted fields; an optional header naming the columns ("Cell ID", "Capacity (mAh)", in any
// order among others; a column in "Ah" is turned into mAh). Without a header the first
// column is the ID and the second the capacity.
CapacityList readCapacities(const QByteArray &text);

struct CapacityFit
{
    int applied = 0;
    QStringList unknownIds;      // in the file, not among the cells
    QStringList withoutCapacity; // cells the file gave nothing for (and that had nothing)
};

// Sets the capacity of every cell the list names; the last entry for an ID wins.
CapacityFit applyCapacities(std::vector<Cell> &cells, const CapacityList &list);

// A capacity as typed or pasted: "2450", "2450.5", "2450,5", " 2450 mAh". Empty or unreadable
// gives nothing.
std::optional<double> capacityOfText(QString text);

} // namespace packs
