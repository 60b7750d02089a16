#include "cli/MeterLink.h"

#include "cli/Output.h"
#include "meter/PortFailure.h"

#include <QFileInfo>

namespace cli {

QString devicePath(const QString &argument)
{
    const QFileInfo file(argument);
    return argument.contains(QLatin1Char('/')) || file.exists() ? file.absoluteFilePath() : argument;
}

MeterLink::MeterLink(const QString &device, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_poll(m_port, m_state.reading)
{
    m_port.setPortName(devicePath(device));
    m_startedAt = m_clock.now();
    connect(&m_poll, &meter::LivePoll::readingDecoded, this, [this] {
        m_state.ReadingAtMs = m_clock.monotonicMs();
        m_lastAt = m_clock.now();
        emit reading();
    });
    // The lost link is a line on standard error; the output itself just has a gap.
    connect(&m_poll, &meter::LivePoll::linkLost, this, [this] {
        const QDateTime since = m_lastAt.isValid() ? m_lastAt : m_startedAt;
        reportFailure(
            QStringLiteral("no reading from %1 since %2").arg(m_device, since.toString(QStringLiteral("HH:mm:ss"))));
    });
    connect(&m_poll, &meter::LivePoll::linkBack, this,
            [this] { reportFailure(QStringLiteral("%1 is back").arg(m_device)); });
}

bool MeterLink::open(QString *failure)
{
    const auto result = m_port.open();
    if (result == ui::SerialPort::OpenResult::Opened)
        return true;
    const QString details = meter::openFailureDetails(m_device, result, m_port.errorString(), m_port.deviceGroup());
    // One line: the device and the reason, as the desktop program's message begins.
    *failure = details.section(QLatin1Char('\n'), 0, 0);
    return false;
}

} // namespace cli
