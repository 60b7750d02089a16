// dorvel-cli: the meter from scripts, terminals and machines without a display.
#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Output.h"

#include <QCoreApplication>
#include <QHash>
#include <functional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dorvel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DORVEL_VERSION));

    QStringList words = QCoreApplication::arguments().mid(1);
    if (words.isEmpty()) {
        cli::writeError(cli::usage({}).trimmed());
        return cli::UsageError;
    }
    const QString command = words.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        cli::writeOut(cli::usage({}).toLocal8Bit());
        return cli::Success;
    }
    if (command == QLatin1String("--version")) {
        cli::writeOut(QStringLiteral("dorvel-cli %1\n").arg(QCoreApplication::applicationVersion()).toLocal8Bit());
        return cli::Success;
    }
    const QHash<QString, std::function<int(const QStringList &)>> commands{
        {QStringLiteral("ports"), cli::runPorts},     {QStringLiteral("read"), cli::runRead},
        {QStringLiteral("record"), cli::runRecord},   {QStringLiteral("download"), cli::runDownload},
        {QStringLiteral("convert"), cli::runConvert},
    };
    const auto run = commands.constFind(command);
    if (run == commands.cend()) {
        cli::writeError(QStringLiteral("dorvel-cli: unknown command \"%1\"\nTry 'dorvel-cli --help'.").arg(command));
        return cli::UsageError;
    }
    return (*run)(words);
}
