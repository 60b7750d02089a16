#pragma once

#include <QList>
#include <QMultiHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

// Exit statuses every command keeps to: scripts tell a failure from a mistyped command.
enum Status { Success = 0, Failure = 1, UsageError = 2 };

struct OptionSpec
{
    QStringList names; // the first is the option's own name, the others its aliases ("-o")
    bool takesValue = true;
};

// A command line taken apart: "--name value", "--name=value", flags, and positional words.
// "--" ends the options.
struct Args
{
    QMultiHash<QString, QString> values; // by the option's own name, in the order given
    QStringList positional;
    bool help = false;
    QString error; // a usage error, in words

    bool has(const QString &name) const { return values.contains(name); }
    // The last value given for name.
    QString value(const QString &name) const { return values.value(name); }
    QStringList all(const QString &name) const;
};

Args parseArgs(const QStringList &words, const QList<OptionSpec> &specs);

// The longest time an option takes: its milliseconds still fit a timer's int.
inline constexpr qint64 MaxSeconds = 2000000; // about 23 days

// Numbers as options take them; nullopt for anything else.
std::optional<int> positiveInt(const QString &text);
std::optional<double> seconds(const QString &text);
// "8h", "90m", "30s", "2d" or plain seconds, in whole seconds above 0, at most MaxSeconds.
std::optional<qint64> duration(const QString &text);

// Writes "dorvel-cli COMMAND: TEXT" and a pointer to --help on standard error; returns
// UsageError.
int usageError(const QString &command, const QString &text);

// --count N: 0 when it is not given, nullopt when N is not a whole number of at least 1.
std::optional<int> countOption(const Args &args);

// What a command that takes one DEVICE or FILE does first: answers --help (Success), or
// says a usage error, a missing or a second positional word (UsageError). nullopt: the
// command goes on, with exactly one positional word.
std::optional<int> helpOrUsageError(const QString &command, const Args &args, const QString &positionalName);

} // namespace cli
