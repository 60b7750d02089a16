#pragma once

#include "printing/GridLayout.h"
#include "printing/ReportLayout.h"
#include "ui/Printer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace ui {
class Dialogs;
class GridModel;
} // namespace ui

namespace printing {

// Picture printing: the whole width of the page, aspect kept, at the top; a picture
// taller than the page is fitted to its height instead.
QRect picturePlacement(const QSize &picture, int pageWidth, int pageHeight);

// The one print desk of the program: every list window prints its grid here and every
// graph its picture. A grid prints in slices on the event loop, so the sampling recorder
// keeps every step during a long print; the live poll stays paused until the end.
class Printing : public QObject
{
    Q_OBJECT
public:
    // What a print holds from its start to its end, and lets go of then: in the program, a
    // pause of the live poll.
    using Hold = std::shared_ptr<void>;
    using HoldWhilePrinting = std::function<Hold()>;

    Printing(ui::Dialogs &dialogs, ui::PrintService &service, HoldWhilePrinting hold, QObject *parent = nullptr);
    ~Printing() override;

    // Asks for a printer and prints every row of the grid, header included, as a ruled
    // table. Returns at once; finished() tells the end. Refused while a print runs.
    void PrintGrid(QWidget *window, const ui::GridModel &grid);
    // Prints a window's picture on the default printer (the dialog where there is none).
    void printPicture(QWidget *window, const QImage &picture);
    // Asks for a printer (or a PDF file) and prints the report's pages; the live poll rests
    // meanwhile.
    void printReport(QWidget *window, const Report &report);

    bool isBusy() const { return m_job != nullptr; }
    // Time one slice may take before the event loop gets its turn.
    void setSliceMs(int ms) { m_sliceMs = ms; }

signals:
    // ok false on cancel or failure.
    void finished(bool ok);

private:
    struct Job;
    void printSlice();
    void finish(bool ok, const QString &error);

    ui::Dialogs &m_dialogs;
    ui::PrintService &m_service;
    HoldWhilePrinting m_hold;
    std::unique_ptr<Job> m_job;
    QTimer m_slice;
    int m_sliceMs = 20;
};

} // namespace printing
