#include "ui/ListColumns.h"

namespace ui {

QStringList listTitles()
{
    return {QStringLiteral("No.s"), QStringLiteral("   Date"), QStringLiteral("   Time"), QStringLiteral("Ohm"),
            QStringLiteral("Voltage")};
}

QString ohmUnitOfRange(const QString &range)
{
    return range.contains(QLatin1Char('m')) || range.isEmpty() ? QStringLiteral("mOhm") : QStringLiteral("Ohm");
}

QList<core::CsvColumn> listCsvColumns(const QString &firstTitle, const QString &ohmUnit)
{
    using Kind = core::CsvColumn::Kind;
    return {{firstTitle, Kind::Number, {}},
            {QStringLiteral("Date and time"), Kind::DateTime, {}},
            {QStringLiteral("Resistance"), Kind::Number, ohmUnit},
            {QStringLiteral("Voltage"), Kind::Number, QStringLiteral("V")}};
}

QList<QList<int>> listCsvSources()
{
    return {{0}, {1, 2}, {3}, {4}};
}

QString joinedCell(const QList<int> &sources, const std::function<std::optional<QString>(int col)> &text)
{
    QString joined;
    for (int source : sources) {
        const std::optional<QString> part = text(source);
        if (!part)
            continue;
        if (!joined.isEmpty())
            joined += QLatin1Char(' ');
        joined += part->trimmed();
    }
    return joined;
}

} // namespace ui
