#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

// The bundled meter simulator, run as a child process on a pseudo-terminal reached through
// a stable link path, and steered through its standard input.
class MeterSimProcess
{
public:
    explicit MeterSimProcess(const QString &linkPath, QStringList extraArgs = {})
        : m_link(linkPath)
    {
        m_process.setProgram(QStringLiteral(DORVEL_SIM_PATH));
        m_process.setArguments(QStringList{QStringLiteral("--link"), linkPath} + extraArgs);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput,
                         [this] { m_output += m_process.readAllStandardOutput(); });
    }
    ~MeterSimProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(2000))
                m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    // Starts the simulator and waits for its device path.
    bool start()
    {
        m_process.start();
        if (!m_process.waitForStarted(15000))
            return false;
        return QTest::qWaitFor([this] { return m_output.contains("meter on "); }, 15000);
    }

    // Sends one command and waits for its acknowledgement.
    bool command(const QByteArray &line)
    {
        const qsizetype acksBefore = m_output.count("\nok ") + (m_output.startsWith("ok ") ? 1 : 0);
        m_process.write(line + '\n');
        return QTest::qWaitFor(
            [&] { return m_output.count("\nok ") + (m_output.startsWith("ok ") ? 1 : 0) > acksBefore; }, 15000);
    }

    QString linkPath() const { return m_link; }
    QByteArray output() const { return m_output; }
    qint64 pid() const { return m_process.processId(); }

private:
    QString m_link;
    QProcess m_process;
    QByteArray m_output;
};
