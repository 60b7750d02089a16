#include "core/Csv.h"

namespace core {

namespace {

bool isMarker(const QString &text)
{
    return text == QLatin1String("OL") || text == QLatin1String("-OL") || text == QLatin1String("----");
}

QString quotedIfNeeded(const QString &field, QChar separator)
{
    const bool needs = field.contains(separator) || field.contains(QLatin1Char('"'))
                       || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
                       || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needs)
        return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

CsvOptions csvDefaults(const QLocale &locale)
{
    CsvOptions options;
    if (locale.decimalPoint() == QLatin1String(",")) {
        options.separator = QLatin1Char(';');
        options.decimal = QLatin1Char(',');
    }
    return options;
}

QString csvHeader(const CsvColumn &column)
{
    return column.unit.isEmpty() ? column.title : column.title + QLatin1String(" (") + column.unit + QLatin1Char(')');
}

QString csvField(const CsvColumn &column, const QString &text, const CsvOptions &options)
{
    QString field = text;
    switch (column.kind) {
    case CsvColumn::Kind::Text: break;
    case CsvColumn::Kind::Number:
        field = field.trimmed();
        if (isMarker(field)) {
            if (!options.keepMarkers)
                return {};
        } else if (options.decimal != QLatin1Char('.')) {
            field.replace(QLatin1Char('.'), options.decimal);
        }
        break;
    case CsvColumn::Kind::DateTime:
        // "2024/03/05 14:07:11": the date's slashes become dashes, which every spreadsheet
        // reads as a date and time whatever its locale.
        if (field.size() >= 10 && field[4] == QLatin1Char('/') && field[7] == QLatin1Char('/')) {
            field[4] = QLatin1Char('-');
            field[7] = QLatin1Char('-');
        }
        break;
    }
    return quotedIfNeeded(field, options.separator);
}

QByteArray csvDocument(const QList<CsvColumn> &columns, int rowCount,
                       const std::function<QString(int row, int column)> &cell, const CsvOptions &options)
{
    // Made UTF-8 a line at a time: a long list never holds its whole text twice.
    QByteArray bytes;
    bytes.reserve(qsizetype(rowCount + 1) * columns.size() * 10);
    if (options.byteOrderMark)
        bytes += QByteArrayLiteral("\xEF\xBB\xBF");
    const QLatin1String lineEnd("\r\n");
    QString line;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (c > 0)
            line += options.separator;
        line += quotedIfNeeded(csvHeader(columns[c]), options.separator);
    }
    line += lineEnd;
    bytes += line.toUtf8();
    for (int r = 0; r < rowCount; ++r) {
        line.resize(0);
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c > 0)
                line += options.separator;
            line += csvField(columns[c], cell(r, int(c)), options);
        }
        line += lineEnd;
        bytes += line.toUtf8();
    }
    return bytes;
}

} // namespace core
