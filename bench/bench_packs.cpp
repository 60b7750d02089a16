#include "BenchSupport.h"

#include "packs/Matching.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

// The pack builder on seeded sets of cells: the time a build takes and the spread of group
// capacity it reaches, beside the plain serpentine assignment of the same cells.
namespace {

std::vector<packs::Cell> pile(quint32 seed, int n, bool withCapacity)
{
    QRandomGenerator rng(seed);
    std::vector<packs::Cell> cells(n);
    for (int k = 0; k < n; ++k) {
        cells[k].id = QStringLiteral("C%1").arg(k + 1, 4, 10, QLatin1Char('0'));
        cells[k].capacity = std::round(2000 + rng.bounded(600.0)); // mAh, as an analyser reports them
        cells[k].mOhm = 20 + rng.bounded(40.0);
        cells[k].volts = 3.60 + rng.bounded(0.05);
        if (!withCapacity)
            cells[k].capacity.reset();
        cells[k].gradeRank = cells[k].mOhm <= 50 ? 0 : 1;
    }
    return cells;
}

void run(const char *name, int series, int parallel, int available, bool withCapacity)
{
    std::vector<double> millis, spreads, plainSpreads;
    double plainWorst = 0, worst = 0, resistanceWorst = 0, plainResistanceWorst = 0;
    for (quint32 seed = 1; seed <= 5; ++seed) {
        const std::vector<packs::Cell> all = pile(seed, available, withCapacity);
        QElapsedTimer clock;
        clock.start();
        std::vector<packs::Cell> chosen;
        for (int k : packs::chooseCells(all, series * parallel))
            chosen.push_back(all[k]);
        const packs::Plan plan = packs::matchCells(chosen, series, parallel);
        millis.push_back(clock.nsecsElapsed() / 1e6);
        const packs::Plan plain = packs::serpentine(chosen, series, parallel);
        const double spread = withCapacity ? plan.capacitySpreadPercent : plan.resistanceSpreadPercent;
        const double plainSpread = withCapacity ? plain.capacitySpreadPercent : plain.resistanceSpreadPercent;
        spreads.push_back(spread);
        resistanceWorst = std::max(resistanceWorst, plan.resistanceSpreadPercent);
        plainResistanceWorst = std::max(plainResistanceWorst, plain.resistanceSpreadPercent);
        plainSpreads.push_back(plainSpread);
        worst = std::max(worst, spread);
        plainWorst = std::max(plainWorst, plainSpread);
    }
    const QByteArray base(name);
    const char *what = withCapacity ? "capacity" : "resistance";
    QTextStream out(stdout);
    out << base << " build (median of 5 sets): " << QString::number(bench::median(millis), 'f', 1) << " ms\n";
    out << base << " build (slowest): " << QString::number(*std::max_element(millis.begin(), millis.end()), 'f', 1)
        << " ms\n";
    out << base << ' ' << what << " spread, matched (worst of 5): " << QString::number(worst, 'f', 4) << " %\n";
    out << base << ' ' << what << " spread, serpentine (worst of 5): " << QString::number(plainWorst, 'f', 4) << " %\n";
    out << base << ' ' << what << " spread, serpentine / matched (median): "
        << QString::number(bench::median(plainSpreads) / std::max(1e-9, bench::median(spreads)), 'f', 0) << " x\n";
    if (withCapacity)
        out << base << " resistance spread beside it, matched / serpentine (worst of 5): "
            << QString::number(resistanceWorst, 'f', 2) << " % / " << QString::number(plainResistanceWorst, 'f', 2)
            << " %\n";
    out.flush();
}

} // namespace

int main()
{
    run("14S8P of 150", 14, 8, 150, true);
    run("100S10P of 1200", 100, 10, 1200, true);
    run("14S8P of 150, no capacities", 14, 8, 150, false);
    run("100S10P of 1200, no capacities", 100, 10, 1200, false);
    return 0;
}
