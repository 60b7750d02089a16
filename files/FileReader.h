#pragma once

#include "files/FileFormat.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QIODevice;

namespace ui {
class GridModel;
}

namespace files {

// Reads a measurement file into a grid a slice at a time, handing control back to the
// event loop between slices so the windows stay live while a long file loads.
//
// The first line is the header: it is not added to the grid; the range labels it names
// are in ranges() (the window stores them, labels it does not name keep their values).
// Every further line becomes a row, split at TAB only.
class FileReader final : public QObject
{
    Q_OBJECT
public:
    explicit FileReader(ui::GridModel &grid, QObject *parent = nullptr);
    ~FileReader() override;

    // Starts reading the file at path; a read already running is cancelled. The file is
    // opened on the first slice, so every outcome comes through finished().
    void start(const QString &path);
    // The same for a device that is already open for reading.
    void start(std::unique_ptr<QIODevice> device);
    // Stops without finished(); the rows read so far stay.
    void cancel();

    bool isReading() const { return m_reading; }
    // Lines read so far, the header line included.
    int linesRead() const { return m_lines; }
    // The range labels of the header of the file last read; empty before its header.
    const HeaderRanges &ranges() const { return m_ranges; }

    // At most this many lines per slice and this many bytes per read.
    void setSlice(int lines, qint64 blockBytes);

signals:
    void progress(int linesRead);
    // ok false: the file could not be opened or read, for the given reason.
    void finished(bool ok, const QString &reason);

private:
    void readSlice();
    bool openDevice(QString *reason);
    void reserveForTheRest();
    void finish(bool ok, const QString &reason);

    ui::GridModel &m_grid;
    HeaderRanges m_ranges;
    QTimer m_slice;
    QString m_path;
    std::unique_ptr<QIODevice> m_device;
    LineSplitter m_splitter;
    QByteArray m_block;
    bool m_reading = false;
    bool m_atEnd = false;
    int m_lines = 0;
    bool m_reserved = false;
    int m_sliceLines = 8192;
    qint64 m_blockBytes = 64 * 1024;
};

} // namespace files
