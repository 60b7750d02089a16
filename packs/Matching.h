#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Matching sorted cells into a pack of `series` groups, each of `parallel` cells joined in
// parallel. A pack ages as fast as its weakest group, so the groups should be as equal as
// possible: in capacity (the sum of the group's cells) and in resistance (1 / sum of 1/r).
namespace packs {

struct Cell
{
    QString id;
    double mOhm = 0; // internal resistance, > 0
    double volts = 0;
    std::optional<double> capacity; // mAh, where the user gave one
    int gradeRank = 0;              // 0 is the best grade of the profile
    bool ticked = true;             // the user may leave a cell out
};

struct Group
{
    std::vector<int> cells; // indices into the matched cells, by rising resistance
    double capacity = 0;    // mAh: the sum of its cells' (0 when matched without capacities)
    double mOhm = 0;        // 1 / sum(1 / r)
    double voltSpread = 0;  // V: its highest cell's voltage minus its lowest
};

struct Plan
{
    std::vector<Group> groups;
    bool byCapacity = false;
    double capacitySpread = 0;        // mAh, highest group minus lowest
    double capacitySpreadPercent = 0; // of the mean group capacity
    double capacityLowerBound = 0;    // mAh: no assignment of these cells does better
    double resistanceSpread = 0;      // mOhm
    double resistanceSpreadPercent = 0;
    double resistanceLowerBound = 0; // mOhm
    double largestVoltDiff = 0;      // V, inside any one group
    bool optimal = false;            // every assignment was tried
};

// Cells joined in parallel further apart than this must first be brought to one voltage.
inline constexpr double ParallelVoltLimit = 0.05;

// The cells a pack of `count` uses: the ticked ones, best grade first, then lowest resistance
// (then earliest, so the choice is stable). Fewer than `count` ticked cells gives them all.
std::vector<int> chooseCells(const std::vector<Cell> &cells, int count);

// True when every cell has a capacity: the match then evens capacity first.
bool allHaveCapacity(const std::vector<Cell> &cells);

// Matches exactly series * parallel cells. With capacities it first minimises the spread of
// group capacity, then that of group resistance; without, the spread of group resistance.
// Deterministic: the search is bounded by a count of tried swaps, not by the clock.
Plan matchCells(const std::vector<Cell> &cells, int series, int parallel);

// The plain serpentine assignment (cells sorted, dealt to groups back and forth): the
// starting point of the match, and the baseline it is measured against.
Plan serpentine(const std::vector<Cell> &cells, int series, int parallel);

// The figures of a given assignment (groups of cell indices).
Plan describe(const std::vector<Cell> &cells, std::vector<std::vector<int>> groups, bool byCapacity);

} // namespace packs
