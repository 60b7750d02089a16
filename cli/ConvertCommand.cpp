#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "core/Csv.h"
#include "files/FileReader.h"
#include "files/GridWriter.h"
#include "ui/GridModel.h"
#include "ui/ListColumns.h"
#include "ui/WholeFile.h"

#include <QCoreApplication>
#include <QLocale>

namespace cli {

namespace {

// The File List's titles: whatever a file's header says, the list shows these.
QStringList fileListTitles()
{
    return {QStringLiteral("No.s"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Ohm"),
            QStringLiteral("Voltage")};
}

QByteArray csvOf(const ui::GridModel &grid, const QString &ohmUnit, const core::CsvOptions &options)
{
    // The File List's Export CSV... of every row.
    const QList<core::CsvColumn> columns = ui::listCsvColumns(grid.text(0, 0).trimmed(), ohmUnit);
    const QList<QList<int>> sources = ui::listCsvSources();
    return core::csvDocument(
        columns, grid.rows() - 1,
        [&](int row, int column) {
            return ui::joinedCell(sources.value(column),
                                  [&](int col) -> std::optional<QString> { return grid.text(row + 1, col); });
        },
        options);
}

QByteArray jsonOf(const ui::GridModel &grid, const QString &path, const files::HeaderRanges &ranges,
                  const QString &ohmUnit)
{
    const auto optional = [](const std::optional<QString> &text) {
        return text ? jsonString(*text) : QStringLiteral("null");
    };
    // Each row made UTF-8 on its own: a long file has seventy thousand, and the whole text
    // is never held twice.
    QByteArray bytes;
    bytes.reserve(qsizetype(grid.rows()) * 130);
    QString out = QStringLiteral("{\"file\":%1,\"resistance_range\":%2,\"voltage_range\":%3,\"resistance_unit\":%4,"
                                 "\"voltage_unit\":\"V\",\"rows\":[")
                      .arg(jsonString(path), optional(ranges.ohm), optional(ranges.volt), jsonString(ohmUnit));
    for (int r = 1; r < grid.rows(); ++r) {
        const QString ohm = grid.text(r, 3).trimmed();
        const QString volt = grid.text(r, 4).trimmed();
        QString when = grid.text(r, 1).trimmed() + QLatin1Char(' ') + grid.text(r, 2).trimmed();
        when.replace(QLatin1Char('/'), QLatin1Char('-'));
        if (r > 1)
            out += QLatin1Char(',');
        bytes += out.toUtf8();
        out.resize(0);
        out += QLatin1String("\n{\"number\":");
        out += jsonNumber(grid.text(r, 0).trimmed());
        out += QLatin1String(",\"time\":");
        out += jsonString(when);
        out += QLatin1String(",\"resistance_text\":");
        out += jsonString(ohm);
        out += QLatin1String(",\"resistance\":");
        out += jsonNumber(ohm);
        out += QLatin1String(",\"voltage_text\":");
        out += jsonString(volt);
        out += QLatin1String(",\"voltage\":");
        out += jsonNumber(volt);
        out += QLatin1Char('}');
    }
    out += QLatin1String("\n]}\n");
    bytes += out.toUtf8();
    return bytes;
}

} // namespace

int runConvert(const QStringList &words)
{
    const QString name = QStringLiteral("convert");
    const Args args = parseArgs(words, {{{QStringLiteral("--to"), QStringLiteral("-t")}},
                                        {{QStringLiteral("--separator")}},
                                        {{QStringLiteral("--decimal")}},
                                        {{QStringLiteral("--output"), QStringLiteral("-o")}}});
    if (const auto status = helpOrUsageError(name, args, QStringLiteral("FILE")))
        return *status;
    const QString to = args.has(QStringLiteral("--to")) ? args.value(QStringLiteral("--to")) : QStringLiteral("csv");
    if (to != QLatin1String("csv") && to != QLatin1String("json"))
        return usageError(name, QStringLiteral("--to is csv or json"));
    // The list windows' export starts from the system's language; the options override it.
    core::CsvOptions options = core::csvDefaults(QLocale());
    if (args.has(QStringLiteral("--separator"))) {
        const QString s = args.value(QStringLiteral("--separator"));
        if (s == QLatin1String(",") || s == QLatin1String(";"))
            options.separator = s.at(0);
        else if (s == QLatin1String("tab") || s == QLatin1String("\t"))
            options.separator = QLatin1Char('\t');
        else
            return usageError(name, QStringLiteral("--separator is , or ; or tab"));
    }
    if (args.has(QStringLiteral("--decimal"))) {
        const QString d = args.value(QStringLiteral("--decimal"));
        if (d != QLatin1String(".") && d != QLatin1String(","))
            return usageError(name, QStringLiteral("--decimal is . or ,"));
        options.decimal = d.at(0);
    }
    if (options.separator == options.decimal)
        return usageError(name, QStringLiteral("the separator and the decimal sign must differ"));
    const QString path = args.positional.first();
    const QString output = args.value(QStringLiteral("--output"));
    // A file for a spreadsheet gets the byte-order mark the list windows write; a pipe to
    // another tool gets plain UTF-8.
    options.byteOrderMark = !output.isEmpty();

    ui::GridModel grid(5);
    grid.setHeader(fileListTitles());
    files::FileReader reader(grid);
    bool ok = false;
    QString reason;
    QObject::connect(&reader, &files::FileReader::finished, qApp, [&](bool done, const QString &why) {
        ok = done;
        reason = why;
        QCoreApplication::exit(0);
    });
    reader.start(path);
    QCoreApplication::exec();
    if (!ok) {
        reportFailure(files::cannotReadText(path, reason).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return Failure;
    }
    const QString ohmUnit = ui::ohmUnitOfRange(reader.ranges().ohm.value_or(QString()));
    const QByteArray bytes =
        to == QLatin1String("json") ? jsonOf(grid, path, reader.ranges(), ohmUnit) : csvOf(grid, ohmUnit, options);
    if (output.isEmpty() || output == QLatin1String("-")) {
        writeOut(bytes);
        return Success;
    }
    QString error;
    if (!ui::saveWholeFile(output, bytes, &error)) {
        reportFailure(files::cannotWriteText(output, error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return Failure;
    }
    return Success;
}

} // namespace cli
