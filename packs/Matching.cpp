#include "packs/Matching.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace packs {
namespace {

// A swap search that never ends on its own in bad cases is cut off after this many tried
// swaps: enough for a 100S10P pack several times over, and the same on every machine, so
// the same cells always give the same plan.
constexpr std::int64_t SwapBudget = 60'000'000;

// Below this many assignments every one is tried and the plan is the optimum.
constexpr double ExhaustiveLimit = 200'000;

// What a group is evened on: an additive quantity per cell (capacity, or conductance for
// resistance) and how the spread of the groups follows from its extremes.
enum class Measure { Capacity, Resistance };

double spreadOf(Measure m, double highest, double lowest)
{
    if (m == Measure::Capacity)
        return highest - lowest;
    // Group conductances: the resistances are their inverses, the lowest conductance is the
    // highest resistance.
    if (lowest <= 0)
        return std::numeric_limits<double>::infinity();
    return 1.0 / lowest - 1.0 / highest;
}

double conductance(const Cell &c)
{
    return 1.0 / c.mOhm;
}

// Equal within rounding: sums of a thousand cells differ in their last bits by order alone.
bool lessThan(double a, double b, double scale)
{
    return a < b - 1e-12 * std::max(1.0, std::abs(scale));
}

double assignmentCount(int series, int parallel)
{
    double count = 1;
    int left = series * parallel;
    for (int g = 0; g < series; ++g) {
        // choose the parallel - 1 companions of the lowest unassigned cell
        for (int k = 0; k < parallel - 1; ++k)
            count *= double(left - 1 - k) / double(k + 1);
        left -= parallel;
    }
    return count;
}

// Local search over pairwise swaps between groups: each round looks at every swap between
// the highest or the lowest group and any other, takes the one that lowers the spread most
// (or, at equal spread, the sum of squares, so ties at an extreme are worked off), and stops
// when none helps. `limit`, when set, is a second measure whose spread a swap may not widen.
class SwapSearch
{
public:
    SwapSearch(std::vector<std::vector<int>> &groups, std::vector<double> value, Measure measure, std::int64_t &budget)
        : m_groups(groups)
        , m_value(std::move(value))
        , m_measure(measure)
        , m_budget(budget)
    {
    }

    void keepWithin(std::vector<double> value, Measure measure, double spread)
    {
        m_limitValue = std::move(value);
        m_limitMeasure = measure;
        m_limitSpread = spread;
    }

    void run()
    {
        const int S = int(m_groups.size());
        if (S < 2)
            return;
        m_sum = sums(m_value);
        if (!m_limitValue.empty())
            m_limitSum = sums(m_limitValue);
        // Even out every pair of groups first (this lowers the sum of squares, so it ends),
        // then work on the two extremes that set the spread.
        // Real-valued sums can always be evened a little more: stop once passes no longer
        // narrow the spread, and keep a third of the budget for the extremes.
        const std::int64_t reserve = m_budget / 3;
        double best = spread();
        for (int idle = 0; idle < 3 && m_budget > reserve && evenPairs();) {
            const double now = spread();
            idle = now < best * (1 - 1e-6) ? 0 : idle + 1;
            best = std::min(best, now);
        }
        while (m_budget > 0 && improveOnce()) {
        }
    }

private:
    double spread() const
    {
        const auto [low, high] = std::minmax_element(m_sum.begin(), m_sum.end());
        return spreadOf(m_measure, *high, *low);
    }

    std::vector<double> sums(const std::vector<double> &value) const
    {
        std::vector<double> s(m_groups.size(), 0.0);
        for (size_t g = 0; g < m_groups.size(); ++g)
            for (int c : m_groups[g])
                s[g] += value[c];
        return s;
    }

    // The groups by rising sum: the three at each end are all that the extremes of the
    // others can come from once two groups change.
    static std::vector<int> order(const std::vector<double> &sum)
    {
        std::vector<int> o(sum.size());
        std::iota(o.begin(), o.end(), 0);
        std::stable_sort(o.begin(), o.end(), [&](int a, int b) { return sum[a] < sum[b]; });
        return o;
    }

    static std::pair<double, double> extremesWithout(const std::vector<double> &sum, const std::vector<int> &o, int a,
                                                     int b, double na, double nb)
    {
        double lo = std::min(na, nb), hi = std::max(na, nb);
        for (int k = 0; k < int(o.size()); ++k)
            if (o[k] != a && o[k] != b) {
                lo = std::min(lo, sum[o[k]]);
                break;
            }
        for (int k = int(o.size()) - 1; k >= 0; --k)
            if (o[k] != a && o[k] != b) {
                hi = std::max(hi, sum[o[k]]);
                break;
            }
        return {hi, lo};
    }

    bool swapAllowed(int a, int ci, int b, int cj, const std::vector<int> &limitOrder) const
    {
        if (m_limitValue.empty())
            return true;
        const double ld = m_limitValue[cj] - m_limitValue[ci];
        const auto [lhi, llo] = extremesWithout(m_limitSum, limitOrder, a, b, m_limitSum[a] + ld, m_limitSum[b] - ld);
        return !lessThan(m_limitSpread, spreadOf(m_limitMeasure, lhi, llo), m_limitSum[a]);
    }

    void swapCells(int a, int i, int b, int j)
    {
        int &ci = m_groups[a][i];
        int &cj = m_groups[b][j];
        const double d = m_value[cj] - m_value[ci];
        m_sum[a] += d;
        m_sum[b] -= d;
        if (!m_limitValue.empty()) {
            const double ld = m_limitValue[cj] - m_limitValue[ci];
            m_limitSum[a] += ld;
            m_limitSum[b] -= ld;
        }
        std::swap(ci, cj);
    }

    // One cell or two of a group, and what they add up to.
    struct Part
    {
        double value;
        double limit;
        int first;
        int second; // -1 for a single cell
    };

    std::vector<Part> partsOf(int g, bool pairs) const
    {
        const std::vector<int> &m = m_groups[g];
        auto limitOf = [&](int c) { return m_limitValue.empty() ? 0.0 : m_limitValue[c]; };
        std::vector<Part> parts;
        for (int i = 0; i < int(m.size()); ++i) {
            if (!pairs) {
                parts.push_back({m_value[m[i]], limitOf(m[i]), i, -1});
                continue;
            }
            for (int j = i + 1; j < int(m.size()); ++j)
                parts.push_back({m_value[m[i]] + m_value[m[j]], limitOf(m[i]) + limitOf(m[j]), i, j});
        }
        return parts;
    }

    // A trade between two groups: what leaves the first, what leaves the second, and how much
    // it lowers their sum of squares.
    struct Trade
    {
        Part from{};
        Part to{};
        double gain = 0;
    };

    // The trade that brings the sums of a and b closest to their middle. Moving d from a to b
    // changes the sum of squares by -2 d (gap - d), so the best d is half the gap: each part
    // of a looks for its partner by binary search.
    Trade bestTrade(int a, int b, double gap, Trade best)
    {
        for (bool pairs : {false, true}) {
            const std::vector<Part> from = partsOf(a, pairs);
            std::vector<Part> to = partsOf(b, pairs);
            m_budget -= std::int64_t(from.size() + to.size()) * 4;
            std::sort(to.begin(), to.end(), [](const Part &x, const Part &y) { return x.value < y.value; });
            for (const Part &f : from) {
                const auto it = std::lower_bound(to.begin(), to.end(), f.value - gap / 2,
                                                 [](const Part &x, double v) { return x.value < v; });
                for (auto t : {it, it == to.begin() ? to.end() : it - 1}) {
                    if (t == to.end())
                        continue;
                    const double d = f.value - t->value;
                    if (d * (gap - d) > best.gain)
                        best = {f, *t, d * (gap - d)};
                }
            }
        }
        return best;
    }

    // The same under a limit, where the best trade is often one the limit forbids: every
    // trade is weighed and the best of those that keep the limited sums within it is taken.
    Trade bestTradeWithin(int a, int b, double gap, Trade best)
    {
        const auto [low, high] = std::minmax_element(m_limitSum.begin(), m_limitSum.end());
        const double slack = 1e-9 * std::max(1.0, std::abs(*high));
        const double floor = *high - m_limitSpread - slack, ceiling = *low + m_limitSpread + slack;
        for (bool pairs : {false, true}) {
            const std::vector<Part> from = partsOf(a, pairs), to = partsOf(b, pairs);
            m_budget -= std::int64_t(from.size() * to.size());
            for (const Part &f : from)
                for (const Part &t : to) {
                    const double d = f.value - t.value;
                    if (d * (gap - d) <= best.gain)
                        continue;
                    const double la = m_limitSum[a] - f.limit + t.limit;
                    const double lb = m_limitSum[b] - t.limit + f.limit;
                    if (la >= floor && la <= ceiling && lb >= floor && lb <= ceiling)
                        best = {f, t, d * (gap - d)};
                }
        }
        return best;
    }

    // One pass over every pair of groups, each making its best trade of one cell or two.
    // Trading pairs as well as single cells gives many more steps to choose from, so the
    // groups come far closer than single swaps bring them. True when any pair changed.
    bool evenPairs()
    {
        const int S = int(m_groups.size());
        bool changed = false;
        for (int a = 0; a < S; ++a)
            for (int b = a + 1; b < S; ++b) {
                const double gap = m_sum[a] - m_sum[b];
                if (gap == 0)
                    continue;
                // A gain below rounding is no gain.
                const Trade none{{}, {}, 1e-12 * std::abs(m_sum[a]) * std::abs(gap)};
                const Trade trade =
                    m_limitValue.empty() ? bestTrade(a, b, gap, none) : bestTradeWithin(a, b, gap, none);
                if (trade.gain <= none.gain)
                    continue;
                swapCells(a, trade.from.first, b, trade.to.first);
                if (trade.from.second >= 0)
                    swapCells(a, trade.from.second, b, trade.to.second);
                changed = true;
            }
        return changed;
    }

    bool improveOnce()
    {
        const int S = int(m_groups.size());
        const std::vector<int> o = order(m_sum);
        const std::vector<int> limitOrder = m_limitValue.empty() ? std::vector<int>{} : order(m_limitSum);
        const double scale = m_sum[o.back()];
        const double current = spreadOf(m_measure, m_sum[o.back()], m_sum[o.front()]);

        double bestSpread = current;
        double bestSquares = 0; // change of the sum of squares
        int bestA = -1, bestI = -1, bestB = -1, bestJ = -1;

        const std::array<int, 2> ends{o.back(), o.front()};
        for (int e = 0; e < 2; ++e) {
            const int a = ends[e];
            for (int b = 0; b < S; ++b) {
                if (b == a || (e == 1 && b == ends[0]))
                    continue; // the pair of the two ends was looked at from the top
                m_budget -= std::int64_t(m_groups[a].size()) * std::int64_t(m_groups[b].size());
                for (int i = 0; i < int(m_groups[a].size()); ++i) {
                    const int ci = m_groups[a][i];
                    for (int j = 0; j < int(m_groups[b].size()); ++j) {
                        const int cj = m_groups[b][j];
                        const double d = m_value[cj] - m_value[ci];
                        if (d == 0)
                            continue;
                        const double na = m_sum[a] + d, nb = m_sum[b] - d;
                        const auto [hi, lo] = extremesWithout(m_sum, o, a, b, na, nb);
                        const double spread = spreadOf(m_measure, hi, lo);
                        if (lessThan(bestSpread, spread, scale))
                            continue;
                        const double squares = na * na + nb * nb - m_sum[a] * m_sum[a] - m_sum[b] * m_sum[b];
                        const bool better =
                            lessThan(spread, bestSpread, scale) || lessThan(squares, bestSquares, scale * scale);
                        if (!better)
                            continue;
                        if (!swapAllowed(a, ci, b, cj, limitOrder))
                            continue;
                        bestSpread = spread;
                        bestSquares = squares;
                        bestA = a, bestI = i, bestB = b, bestJ = j;
                    }
                }
            }
        }
        if (bestA < 0)
            return false;
        swapCells(bestA, bestI, bestB, bestJ);
        return true;
    }

    std::vector<std::vector<int>> &m_groups;
    std::vector<double> m_value;
    Measure m_measure;
    std::int64_t &m_budget;
    std::vector<double> m_sum;
    std::vector<double> m_limitValue;
    std::vector<double> m_limitSum;
    Measure m_limitMeasure = Measure::Capacity;
    double m_limitSpread = 0;
};

// Every assignment of a small set of cells, each once: the first group takes the lowest
// cell, the next group the lowest one left, and so on.
std::vector<std::vector<int>> tryEvery(const std::vector<Cell> &cells, int series, int parallel, bool byCapacity)
{
    const int n = series * parallel;
    std::vector<std::vector<int>> groups(series), best;
    std::vector<bool> used(n, false);
    double bestFirst = std::numeric_limits<double>::infinity(), bestSecond = bestFirst;
    const double scale = byCapacity ? 1e4 : 1.0;

    auto score = [&]() {
        std::vector<double> cap(series, 0.0), g(series, 0.0);
        for (int k = 0; k < series; ++k)
            for (int c : groups[k]) {
                cap[k] += byCapacity ? *cells[c].capacity : 0.0;
                g[k] += conductance(cells[c]);
            }
        const auto [gl, gh] = std::minmax_element(g.begin(), g.end());
        const double resistance = spreadOf(Measure::Resistance, *gh, *gl);
        if (!byCapacity)
            return std::pair{resistance, 0.0};
        const auto [cl, ch] = std::minmax_element(cap.begin(), cap.end());
        return std::pair{*ch - *cl, resistance};
    };

    std::function<void(int)> fill = [&](int group) {
        if (group == series) {
            const auto [first, second] = score();
            if (lessThan(first, bestFirst, scale)
                || (!lessThan(bestFirst, first, scale) && lessThan(second, bestSecond, 1.0))) {
                bestFirst = first;
                bestSecond = second;
                best = groups;
            }
            return;
        }
        std::vector<int> &members = groups[group];
        std::function<void(int)> pick = [&](int from) {
            if (int(members.size()) == parallel) {
                fill(group + 1);
                return;
            }
            for (int c = from; c < n; ++c) {
                if (used[c])
                    continue;
                used[c] = true;
                members.push_back(c);
                pick(c + 1);
                members.pop_back();
                used[c] = false;
                if (members.empty())
                    break; // the group's first cell is the lowest one left
            }
        };
        pick(0);
    };
    fill(0);
    return best;
}

std::vector<std::vector<int>> dealSerpentine(const std::vector<Cell> &cells, int series, bool byCapacity)
{
    std::vector<int> sorted(cells.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return byCapacity ? *cells[a].capacity > *cells[b].capacity : cells[a].mOhm < cells[b].mOhm;
    });
    std::vector<std::vector<int>> groups(series);
    for (int k = 0; k < int(sorted.size()); ++k) {
        const int round = k / series, step = k % series;
        groups[round % 2 == 0 ? step : series - 1 - step].push_back(sorted[k]);
    }
    return groups;
}

// The least the spread of group sums can be: the group that takes the largest cell holds
// at least it and the smallest others, the one that takes the smallest at most it and the
// largest others, and the mean lies between the extremes.
std::pair<double, double> boundsOfSums(std::vector<double> value, int series, int parallel)
{
    std::sort(value.begin(), value.end());
    const double mean = std::accumulate(value.begin(), value.end(), 0.0) / series;
    const int n = int(value.size());
    double highest = value.back(), lowest = value.front();
    for (int k = 0; k < parallel - 1; ++k) {
        highest += value[k];
        lowest += value[n - 1 - k];
    }
    return {std::max(mean, highest), std::min(mean, lowest)};
}

bool allWhole(const std::vector<Cell> &cells)
{
    return std::all_of(cells.begin(), cells.end(),
                       [](const Cell &c) { return *c.capacity == std::floor(*c.capacity); });
}

} // namespace

std::vector<int> chooseCells(const std::vector<Cell> &cells, int count)
{
    std::vector<int> ticked;
    for (int k = 0; k < int(cells.size()); ++k)
        if (cells[k].ticked)
            ticked.push_back(k);
    std::stable_sort(ticked.begin(), ticked.end(), [&](int a, int b) {
        if (cells[a].gradeRank != cells[b].gradeRank)
            return cells[a].gradeRank < cells[b].gradeRank;
        return cells[a].mOhm < cells[b].mOhm;
    });
    if (count >= 0 && int(ticked.size()) > count)
        ticked.resize(count);
    std::sort(ticked.begin(), ticked.end());
    return ticked;
}

bool allHaveCapacity(const std::vector<Cell> &cells)
{
    return !cells.empty() && std::all_of(cells.begin(), cells.end(), [](const Cell &c) {
        return c.capacity.has_value() && std::isfinite(*c.capacity) && *c.capacity > 0;
    });
}

Plan describe(const std::vector<Cell> &cells, std::vector<std::vector<int>> groups, bool byCapacity)
{
    Plan plan;
    plan.byCapacity = byCapacity;
    const int series = int(groups.size());
    if (series == 0)
        return plan;
    const int parallel = int(groups.front().size());
    std::vector<double> capacities, conductances;
    for (const Cell &c : cells) {
        capacities.push_back(byCapacity ? *c.capacity : 0.0);
        conductances.push_back(conductance(c));
    }

    double totalCapacity = 0, totalResistance = 0;
    for (std::vector<int> &members : groups) {
        std::stable_sort(members.begin(), members.end(), [&](int a, int b) { return cells[a].mOhm < cells[b].mOhm; });
        Group g;
        g.cells = members;
        double sumG = 0, vLow = std::numeric_limits<double>::infinity(), vHigh = -vLow;
        for (int c : members) {
            g.capacity += capacities[c];
            sumG += conductances[c];
            vLow = std::min(vLow, cells[c].volts);
            vHigh = std::max(vHigh, cells[c].volts);
        }
        g.mOhm = 1.0 / sumG;
        g.voltSpread = members.empty() ? 0 : vHigh - vLow;
        totalCapacity += g.capacity;
        totalResistance += g.mOhm;
        plan.largestVoltDiff = std::max(plan.largestVoltDiff, g.voltSpread);
        plan.groups.push_back(std::move(g));
    }

    const auto [capLow, capHigh] = std::minmax_element(
        plan.groups.begin(), plan.groups.end(), [](const Group &a, const Group &b) { return a.capacity < b.capacity; });
    const auto [resLow, resHigh] = std::minmax_element(plan.groups.begin(), plan.groups.end(),
                                                       [](const Group &a, const Group &b) { return a.mOhm < b.mOhm; });
    plan.resistanceSpread = resHigh->mOhm - resLow->mOhm;
    plan.resistanceSpreadPercent = 100.0 * plan.resistanceSpread / (totalResistance / series);

    const auto [gHigh, gLow] = boundsOfSums(conductances, series, parallel);
    plan.resistanceLowerBound = std::max(0.0, 1.0 / gLow - 1.0 / gHigh);

    if (byCapacity) {
        plan.capacitySpread = capHigh->capacity - capLow->capacity;
        plan.capacitySpreadPercent = totalCapacity > 0 ? 100.0 * plan.capacitySpread / (totalCapacity / series) : 0;
        const auto [high, low] = boundsOfSums(capacities, series, parallel);
        double bound = std::max(0.0, high - low);
        // Whole mAh add up to whole sums: when they cannot be shared out evenly, one at least
        // stays between the highest group and the lowest.
        const double total = std::accumulate(capacities.begin(), capacities.end(), 0.0);
        if (allWhole(cells) && std::fmod(total, series) != 0)
            bound = std::max(bound, 1.0);
        plan.capacityLowerBound = bound;
    }
    return plan;
}

Plan serpentine(const std::vector<Cell> &cells, int series, int parallel)
{
    if (series < 1 || parallel < 1 || int(cells.size()) != series * parallel)
        return {};
    const bool byCapacity = allHaveCapacity(cells);
    return describe(cells, dealSerpentine(cells, series, byCapacity), byCapacity);
}

Plan matchCells(const std::vector<Cell> &cells, int series, int parallel)
{
    if (series < 1 || parallel < 1 || int(cells.size()) != series * parallel)
        return {};
    const bool byCapacity = allHaveCapacity(cells);

    if (assignmentCount(series, parallel) <= ExhaustiveLimit) {
        Plan plan = describe(cells, tryEvery(cells, series, parallel, byCapacity), byCapacity);
        plan.optimal = true;
        return plan;
    }

    std::vector<std::vector<int>> groups = dealSerpentine(cells, series, byCapacity);
    std::vector<double> capacities, conductances;
    for (const Cell &c : cells) {
        capacities.push_back(byCapacity ? *c.capacity : 0.0);
        conductances.push_back(conductance(c));
    }
    std::int64_t budget = SwapBudget;
    if (byCapacity) {
        SwapSearch(groups, capacities, Measure::Capacity, budget).run();
        const Plan evened = describe(cells, groups, true);
        // Then the resistances, among the assignments that keep the capacities as even.
        SwapSearch second(groups, conductances, Measure::Resistance, budget);
        second.keepWithin(capacities, Measure::Capacity, evened.capacitySpread);
        second.run();
    } else {
        SwapSearch(groups, conductances, Measure::Resistance, budget).run();
    }
    return describe(cells, groups, byCapacity);
}

} // namespace packs
