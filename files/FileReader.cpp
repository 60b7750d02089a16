#include "files/FileReader.h"

#include "ui/GridModel.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>

namespace files {

FileReader::FileReader(ui::GridModel &grid, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
{
    m_slice.setSingleShot(true);
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &FileReader::readSlice);
}

FileReader::~FileReader() = default;

void FileReader::start(const QString &path)
{
    cancel();
    m_ranges = {};
    m_path = path;
    m_reading = true;
    m_slice.start();
}

void FileReader::start(std::unique_ptr<QIODevice> device)
{
    cancel();
    m_ranges = {};
    m_device = std::move(device);
    m_reading = true;
    m_slice.start();
}

void FileReader::cancel()
{
    m_slice.stop();
    m_device.reset();
    m_path.clear();
    m_splitter = LineSplitter();
    m_reading = false;
    m_atEnd = false;
    m_lines = 0;
    m_reserved = false;
}

void FileReader::setSlice(int lines, qint64 blockBytes)
{
    m_sliceLines = std::max(1, lines);
    m_blockBytes = std::max<qint64>(1, blockBytes);
}

bool FileReader::openDevice(QString *reason)
{
    // A pipe or a device would block the program in open() or read() waiting for data
    // that may never come; a measurement file is always a plain file.
    const QFileInfo info(m_path);
    if (info.exists() && !info.isDir() && !info.isFile()) {
        *reason = QStringLiteral("Not a regular file");
        return false;
    }
    auto file = std::make_unique<QFile>(m_path);
    if (!file->open(QIODevice::ReadOnly)) {
        *reason = file->errorString();
        return false;
    }
    m_device = std::move(file);
    return true;
}

void FileReader::readSlice()
{
    if (!m_device) {
        QString reason;
        if (!openDevice(&reason)) {
            finish(false, reason);
            return;
        }
    }

    QList<QString> rows;
    QString line;
    bool failed = false;
    QString failure;
    int taken = 0;
    const auto take = [&](const QString &text) {
        if (m_lines == 0) {
            m_ranges = findHeaderRanges(text);
        } else {
            rows.append(text);
        }
        ++m_lines;
        ++taken;
    };
    while (taken < m_sliceLines && !m_atEnd) {
        if (m_splitter.nextLine(line)) {
            take(line);
            continue;
        }
        m_block.resize(m_blockBytes);
        const qint64 got = m_device->read(m_block.data(), m_blockBytes);
        if (got < 0) {
            failed = true;
            failure = m_device->errorString();
            break;
        }
        if (got == 0) {
            m_atEnd = true;
            if (m_splitter.takeRest(line))
                take(line);
            break;
        }
        m_splitter.append(QByteArrayView(m_block.constData(), got));
    }
    m_grid.addRows(rows);
    reserveForTheRest();
    emit progress(m_lines);

    if (failed)
        finish(false, failure);
    else if (m_atEnd)
        finish(true, QString());
    else
        m_slice.start();
}

void FileReader::reserveForTheRest()
{
    // After the first slice, the lines read so far tell how many the rest of the file holds.
    if (m_reserved || m_atEnd || m_lines == 0 || !m_device || m_device->isSequential())
        return;
    m_reserved = true;
    const qint64 read = m_device->pos();
    const qint64 rest = m_device->size() - read;
    if (read <= 0 || rest <= 0)
        return;
    constexpr double Margin = 1.05;
    constexpr qint64 MostRows = 4'000'000; // a reserve, not a limit: rows beyond it still come
    const qint64 expected = static_cast<qint64>(double(rest) * m_lines / double(read) * Margin);
    m_grid.reserveRows(m_grid.rows() + std::min(expected, MostRows));
}

void FileReader::finish(bool ok, const QString &reason)
{
    // Rows came in doubling storage; a finished list keeps only what it holds.
    m_grid.squeeze();
    m_slice.stop();
    m_device.reset();
    m_block = QByteArray();
    m_splitter = LineSplitter();
    m_reading = false;
    m_atEnd = false;
    emit finished(ok, reason);
}

} // namespace files
