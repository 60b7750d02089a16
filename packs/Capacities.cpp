#include "packs/Capacities.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace packs {
namespace {

QChar separatorOf(const QString &line)
{
    if (line.contains(QLatin1Char('\t')))
        return QLatin1Char('\t');
    if (line.contains(QLatin1Char(';')))
        return QLatin1Char(';');
    return QLatin1Char(',');
}

// One line's fields; a field in double quotes may hold the separator and doubled quotes.
QStringList fieldsOf(const QString &line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int k = 0; k < line.size(); ++k) {
        const QChar c = line.at(k);
        if (quoted) {
            if (c == QLatin1Char('"') && k + 1 < line.size() && line.at(k + 1) == QLatin1Char('"')) {
                field += c;
                ++k;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

bool namesCapacity(const QString &header)
{
    const QString h = header.toLower();
    return h.contains(QLatin1String("cap")) || h.contains(QLatin1String("mah"))
           || h.contains(QRegularExpression(QStringLiteral("\\bah\\b")));
}

bool namesId(const QString &header)
{
    static const QRegularExpression words(QStringLiteral("\\b(id|cell|name|barcode|serial|code|label)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return words.match(header).hasMatch();
}

} // namespace

std::optional<double> capacityOfText(QString text)
{
    text = text.trimmed();
    text.remove(QRegularExpression(QStringLiteral("\\s*m?ah$"), QRegularExpression::CaseInsensitiveOption));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

CapacityList readCapacities(const QByteArray &bytes)
{
    CapacityList list;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const QString &l) { return l.trimmed().isEmpty(); }),
                lines.end());
    if (lines.isEmpty()) {
        list.error = QStringLiteral("The file holds no lines.");
        return list;
    }

    const QChar separator = separatorOf(lines.first());
    const QStringList first = fieldsOf(lines.first(), separator);
    int idColumn = 0, capacityColumn = 1;
    double factor = 1;
    bool header = false;
    for (int k = 0; k < first.size(); ++k)
        if (namesCapacity(first[k]) && !capacityOfText(first[k])) {
            header = true;
            capacityColumn = k;
            const QString h = first[k].toLower();
            if (!h.contains(QLatin1String("mah")))
                factor = h.contains(QRegularExpression(QStringLiteral("\\bah\\b"))) ? 1000 : 1;
            break;
        }
    if (header) {
        idColumn = -1;
        for (int k = 0; k < first.size() && idColumn < 0; ++k)
            if (k != capacityColumn && namesId(first[k]))
                idColumn = k;
        for (int k = 0; k < first.size() && idColumn < 0; ++k)
            if (k != capacityColumn)
                idColumn = k;
        if (idColumn < 0) {
            list.error = QStringLiteral("The file has a capacity column but no column of cell IDs.");
            return list;
        }
        lines.removeFirst();
    } else if (first.size() < 2) {
        list.error = QStringLiteral("The lines hold no second column with a capacity.");
        return list;
    }

    for (const QString &line : std::as_const(lines)) {
        const QStringList fields = fieldsOf(line, separator);
        const QString id = fields.value(idColumn);
        if (id.isEmpty())
            continue;
        const std::optional<double> mAh = capacityOfText(fields.value(capacityColumn));
        if (!mAh) {
            list.badLines << line.trimmed();
            continue;
        }
        list.entries.emplace_back(id, *mAh * factor);
    }
    if (list.entries.empty() && list.error.isEmpty())
        list.error = QStringLiteral("No line holds a cell ID and a capacity.");
    return list;
}

CapacityFit applyCapacities(std::vector<Cell> &cells, const CapacityList &list)
{
    CapacityFit fit;
    QHash<QString, int> byId;
    for (int k = 0; k < int(cells.size()); ++k)
        byId.insert(cells[k].id, k); // an ID measured twice: its later capture is the one kept
    QHash<QString, bool> seen;
    for (const auto &[id, mAh] : list.entries) {
        const auto it = byId.constFind(id);
        if (it == byId.constEnd()) {
            if (!seen.contains(id))
                fit.unknownIds << id;
            seen.insert(id, true);
            continue;
        }
        cells[*it].capacity = mAh;
        ++fit.applied;
    }
    for (const Cell &c : cells)
        if (!c.capacity)
            fit.withoutCapacity << c.id;
    return fit;
}

} // namespace packs
