#include "ui/QtSerialPort.h"

#include <QFile>
#include <QSerialPort>

#ifndef Q_OS_WIN
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ui {

QtSerialPort::QtSerialPort(QObject *parent)
    : SerialPort(parent)
    , m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &QtSerialPort::readyRead);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onError(static_cast<int>(e)); });
}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::setPortName(const QString &systemPath)
{
    m_path = systemPath;
    m_port->setPortName(systemPath);
}

QString QtSerialPort::portName() const
{
    return m_path;
}

SerialPort::OpenResult QtSerialPort::open()
{
    if (m_port->isOpen())
        return OpenResult::Opened;
    m_failedSignalled = false;
    m_openError.clear();
    if (!m_port->open(QIODevice::ReadWrite)) {
        const auto e = m_port->error();
        m_openError = m_port->errorString();
        m_port->clearError();
        switch (e) {
        case QSerialPort::DeviceNotFoundError: return OpenResult::NotFound;
        case QSerialPort::PermissionError:
            // Qt reports a device held by another program (its lock file or TIOCEXCL) and
            // a device this user may not open alike; the file's access rights tell them apart.
#ifndef Q_OS_WIN
            if (::access(QFile::encodeName(m_path).constData(), R_OK | W_OK) != 0 && errno == EACCES)
                return OpenResult::NoPermission;
#endif
            return OpenResult::AlreadyInUse;
        default: return OpenResult::Failed;
        }
    }
    // Set the line after every open: a device keeps whatever the last program left.
    const bool ok = m_port->setBaudRate(QSerialPort::Baud9600) && m_port->setParity(QSerialPort::NoParity)
                    && m_port->setDataBits(QSerialPort::Data8) && m_port->setStopBits(QSerialPort::OneStop)
                    && m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        m_openError = m_port->errorString();
        m_port->close();
        m_port->clearError();
        return OpenResult::Failed;
    }
    return OpenResult::Opened;
}

void QtSerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

qint64 QtSerialPort::bytesAvailable() const
{
    return m_port->bytesAvailable();
}

QByteArray QtSerialPort::readAll()
{
    return m_port->readAll();
}

void QtSerialPort::clearInput()
{
    m_port->readAll();
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Input);
}

qint64 QtSerialPort::write(const QByteArray &data)
{
    return m_port->write(data);
}

QString QtSerialPort::errorString() const
{
    return m_openError.isEmpty() ? m_port->errorString() : m_openError;
}

QString QtSerialPort::deviceGroup() const
{
#ifndef Q_OS_WIN
    struct stat info = {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0)
        return {};
    if (const struct group *g = ::getgrgid(info.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
#endif
    return {};
}

void QtSerialPort::onError(int error)
{
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (e != QSerialPort::ReadError && e != QSerialPort::ResourceError && e != QSerialPort::WriteError)
        return;
    // Qt 6.4 keeps its read notifier armed on a dead descriptor and reports the same error
    // in a tight loop; closing here stops the flood. The owner reopens on its own schedule.
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
    if (!m_failedSignalled) {
        m_failedSignalled = true;
        emit failed();
    }
}

} // namespace ui
