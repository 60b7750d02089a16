#include "cli/Args.h"

#include "cli/Commands.h"
#include "cli/Output.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace cli {

QStringList Args::all(const QString &name) const
{
    QStringList out = values.values(name);
    std::reverse(out.begin(), out.end()); // QMultiHash gives the last inserted first
    return out;
}

Args parseArgs(const QStringList &words, const QList<OptionSpec> &specs)
{
    Args args;
    const auto find = [&specs](const QString &name) -> const OptionSpec * {
        for (const OptionSpec &spec : specs)
            if (spec.names.contains(name))
                return &spec;
        return nullptr;
    };
    bool optionsDone = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (optionsDone || !word.startsWith(QLatin1Char('-')) || word == QLatin1String("-")) {
            args.positional << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsDone = true;
            continue;
        }
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            args.help = true;
            continue;
        }
        QString name = word;
        std::optional<QString> value;
        if (const qsizetype eq = word.indexOf(QLatin1Char('=')); word.startsWith(QLatin1String("--")) && eq > 0) {
            name = word.left(eq);
            value = word.mid(eq + 1);
        }
        const OptionSpec *spec = find(name);
        if (!spec) {
            args.error = QStringLiteral("unknown option %1").arg(name);
            return args;
        }
        if (!spec->takesValue) {
            if (value) {
                args.error = QStringLiteral("%1 takes no value").arg(name);
                return args;
            }
            args.values.insert(spec->names.first(), QString());
            continue;
        }
        if (!value) {
            if (i + 1 >= words.size()) {
                args.error = QStringLiteral("%1 needs a value").arg(name);
                return args;
            }
            value = words.at(++i);
        }
        args.values.insert(spec->names.first(), *value);
    }
    return args;
}

std::optional<int> positiveInt(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

std::optional<double> seconds(const QString &text)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < 0 || s > MaxSeconds)
        return std::nullopt;
    return s;
}

std::optional<qint64> duration(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)([smhd]?)$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch() || m.captured(1).size() > 9)
        return std::nullopt;
    const qint64 n = m.captured(1).toLongLong();
    const QString unit = m.captured(2);
    const qint64 factor = unit == QLatin1String("m")   ? 60
                          : unit == QLatin1String("h") ? 3600
                          : unit == QLatin1String("d") ? 86400
                                                       : 1;
    if (n < 1 || n * factor > MaxSeconds)
        return std::nullopt;
    return n * factor;
}

int usageError(const QString &command, const QString &text)
{
    writeError(QStringLiteral("dorvel-cli %1: %2\nTry 'dorvel-cli %1 --help'.").arg(command, text));
    return UsageError;
}

std::optional<int> helpOrUsageError(const QString &command, const Args &args, const QString &positionalName)
{
    if (args.help) {
        writeOut(usage(command).toLocal8Bit());
        return Success;
    }
    if (!args.error.isEmpty())
        return usageError(command, args.error);
    if (args.positional.isEmpty())
        return usageError(command, QStringLiteral("which %1?").arg(positionalName));
    if (args.positional.size() > 1)
        return usageError(command, QStringLiteral("one %1 only").arg(positionalName));
    return std::nullopt;
}

std::optional<int> countOption(const Args &args)
{
    if (!args.has(QStringLiteral("--count")))
        return 0;
    return positiveInt(args.value(QStringLiteral("--count")));
}

} // namespace cli
