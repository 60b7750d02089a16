#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// The real dorvel-cli as a child process, with no display in its environment: what it
// does here it does on a machine without a window system.
class CliProcess
{
public:
    explicit CliProcess(QStringList args, const QStringList &prefix = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(env);
        if (prefix.isEmpty()) {
            process.setProgram(QStringLiteral(DORVEL_CLI_PATH));
        } else {
            process.setProgram(prefix.first());
            args = prefix.mid(1) + QStringList{QStringLiteral(DORVEL_CLI_PATH)} + args;
        }
        process.setArguments(args);
    }
    ~CliProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }

    void start() { process.start(); }
    // Runs to the end; false when it did not end within timeoutMs.
    bool run(int timeoutMs = 15000)
    {
        process.start();
        if (!process.waitForFinished(timeoutMs))
            return false;
        collect();
        return process.exitStatus() == QProcess::NormalExit;
    }
    void collect()
    {
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
    }
    int status() const { return process.exitCode(); }
    QStringList outLines() const
    {
        QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QProcess process;
    QByteArray out;
    QByteArray err;
};
