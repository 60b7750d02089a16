#include "packs/PlanText.h"

#include <cmath>

namespace packs {
namespace {

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// Capacities as an analyser gives them: whole mAh mostly, a tenth where it measured one.
QString mAh(double value)
{
    return value == std::round(value) ? QString::number(value, 'f', 0) : QString::number(value, 'f', 1);
}

QString cellIds(const Group &group, const std::vector<Cell> &cells)
{
    QStringList ids;
    for (int c : group.cells)
        ids << cells[c].id;
    return ids.join(QLatin1Char(' '));
}

} // namespace

QString layoutName(int series, int parallel)
{
    return QStringLiteral("%1S%2P").arg(series).arg(parallel);
}

QStringList groupTitles(const Plan &plan)
{
    QStringList titles{QStringLiteral("Group"), QStringLiteral("Cells")};
    if (plan.byCapacity)
        titles << QStringLiteral("Capacity (mAh)");
    titles << QStringLiteral("mOhm") << QStringLiteral("Voltage spread (V)");
    return titles;
}

std::vector<QStringList> groupRows(const Plan &plan, const std::vector<Cell> &cells)
{
    std::vector<QStringList> rows;
    for (size_t g = 0; g < plan.groups.size(); ++g) {
        const Group &group = plan.groups[g];
        QStringList row{QString::number(g + 1), cellIds(group, cells)};
        if (plan.byCapacity)
            row << mAh(group.capacity);
        row << number(group.mOhm, 3) << number(group.voltSpread, 3);
        rows.push_back(row);
    }
    return rows;
}

QString voltageWarning(const Plan &plan, const std::vector<Cell> &cells)
{
    QStringList groups;
    for (size_t g = 0; g < plan.groups.size(); ++g)
        if (plan.groups[g].voltSpread > ParallelVoltLimit + 1e-9)
            groups << QString::number(g + 1);
    if (groups.isEmpty())
        return {};
    Q_UNUSED(cells);
    return QStringLiteral("Warning: cells to be joined in parallel differ by more than 0.05 V in group %1. "
                          "Bring them to one voltage before joining them.")
        .arg(groups.join(QStringLiteral(", ")));
}

QStringList summaryLines(const Plan &plan, const std::vector<Cell> &cells)
{
    QStringList lines;
    if (plan.groups.empty())
        return lines;
    if (plan.byCapacity)
        lines << QStringLiteral("Capacity spread: %1 mAh (%2 % of the mean group), lower bound %3 mAh")
                     .arg(mAh(plan.capacitySpread), number(plan.capacitySpreadPercent, 3),
                          mAh(plan.capacityLowerBound));
    lines << QStringLiteral("Resistance spread: %1 mOhm (%2 % of the mean group), lower bound %3 mOhm")
                 .arg(number(plan.resistanceSpread, 3), number(plan.resistanceSpreadPercent, 2),
                      number(plan.resistanceLowerBound, 3));
    lines << QStringLiteral("Largest voltage difference in a group: %1 V").arg(number(plan.largestVoltDiff, 3));
    lines << (plan.byCapacity ? QStringLiteral("Matched on capacity first, then resistance")
                              : QStringLiteral("Matched on resistance (no capacities given)"))
                 + (plan.optimal ? QStringLiteral("; every assignment was tried: this is the best there is.")
                                 : QStringLiteral("."));
    const QString warning = voltageWarning(plan, cells);
    if (!warning.isEmpty())
        lines << warning;
    return lines;
}

QByteArray planFile(const Plan &plan, const std::vector<Cell> &cells, int series, int parallel, const QString &session)
{
    QStringList lines;
    lines << QStringLiteral("Dorvel pack plan\t%1").arg(layoutName(series, parallel));
    lines << QStringLiteral("Session\t%1").arg(session);
    for (const QString &line : summaryLines(plan, cells))
        lines << line;
    lines << QString();
    lines << groupTitles(plan).join(QLatin1Char('\t'));
    for (const QStringList &row : groupRows(plan, cells))
        lines << row.join(QLatin1Char('\t'));
    lines << QString();
    QStringList cellTitles{QStringLiteral("Group"), QStringLiteral("Cell"), QStringLiteral("mOhm"),
                           QStringLiteral("Voltage")};
    if (plan.byCapacity)
        cellTitles << QStringLiteral("Capacity (mAh)");
    lines << cellTitles.join(QLatin1Char('\t'));
    for (size_t g = 0; g < plan.groups.size(); ++g)
        for (int c : plan.groups[g].cells) {
            QStringList row{QString::number(g + 1), cells[c].id, number(cells[c].mOhm, 3), number(cells[c].volts, 3)};
            if (plan.byCapacity)
                row << mAh(*cells[c].capacity);
            lines << row.join(QLatin1Char('\t'));
        }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace packs
