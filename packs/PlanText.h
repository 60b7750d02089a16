#pragma once

#include "packs/Matching.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The words and tables of a built plan, the same on screen, on paper and in the saved plan.
namespace packs {

// "14S8P".
QString layoutName(int series, int parallel);

// The group table: "Group", "Cells", "Capacity (mAh)" (with capacities), "mOhm",
// "Voltage spread (V)".
QStringList groupTitles(const Plan &plan);
std::vector<QStringList> groupRows(const Plan &plan, const std::vector<Cell> &cells);

// The summary under the table, a line each: the spreads with their lower bounds, the largest
// voltage difference inside a group, and the warning when cells to be joined in parallel are
// too far apart.
QStringList summaryLines(const Plan &plan, const std::vector<Cell> &cells);

// The warning alone, empty when every group is close enough in voltage.
QString voltageWarning(const Plan &plan, const std::vector<Cell> &cells);

// The saved plan: TAB-separated text with CR LF line ends that a spreadsheet opens. A title
// line, the session it came from, the summary, then the group table and one line per cell
// with its group.
QByteArray planFile(const Plan &plan, const std::vector<Cell> &cells, int series, int parallel, const QString &session);

} // namespace packs
