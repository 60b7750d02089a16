#include "printing/Printing.h"

#include "ui/Dialogs.h"
#include "ui/GridModel.h"

#include <QGuiApplication>
#include <QWidget>

namespace printing {

namespace {
const QString Title = QStringLiteral("Dorvel");
}

QRect picturePlacement(const QSize &picture, int pageWidth, int pageHeight)
{
    if (picture.isEmpty() || pageWidth <= 0 || pageHeight <= 0)
        return {};
    const double byWidth = double(pageWidth) / picture.width();
    const double byHeight = double(pageHeight) / picture.height();
    const double scale = std::min(byWidth, byHeight);
    const int w = static_cast<int>(picture.width() * scale);
    const int h = static_cast<int>(picture.height() * scale);
    return QRect((pageWidth - w) / 2, 0, w, h);
}

struct Printing::Job
{
    Job(Hold held, const ui::GridModel &grid)
        : pause(std::move(held))
        , grid(&grid)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Job() { QGuiApplication::restoreOverrideCursor(); }

    Hold pause;
    QPointer<const ui::GridModel> grid;
    QPointer<QWidget> window;
    std::unique_ptr<ui::PagePrinter> printer;
    GridLayout layout;
    int row = 0;
};

Printing::Printing(ui::Dialogs &dialogs, ui::PrintService &service, HoldWhilePrinting hold, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
    , m_service(service)
    , m_hold(std::move(hold))
{
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &Printing::printSlice);
}

Printing::~Printing() = default;

void Printing::PrintGrid(QWidget *window, const ui::GridModel &grid)
{
    if (m_job) {
        m_dialogs.message(window, ui::Dialogs::Icon::Information, Title,
                          QStringLiteral("A list is being printed. Please wait until it has finished."));
        return;
    }
    // The poll is off from before the dialog until the document is sent.
    m_job = std::make_unique<Job>(m_hold(), grid);
    m_job->window = window;
    auto started = m_service.choose(window, m_dialogs, window ? window->windowTitle() : Title);
    if (!started.printer) {
        finish(false, started.error);
        return;
    }
    m_job->printer = std::move(started.printer);
    auto &printer = *m_job->printer;
    m_job->layout = layoutGrid(grid.rows(), grid.cols(), printer.pageWidth(), printer.pageHeight());
    printer.setScale(m_job->layout.scale);
    printer.setFontSize(PrintFontPoints);
    const PageNumber number = pageNumber(m_job->layout, 0);
    printer.text(number.x, number.y, number.text);
    m_slice.start();
}

void Printing::printSlice()
{
    Job &job = *m_job;
    if (!job.grid) {
        finish(false, QStringLiteral("The list was closed before it had been printed completely."));
        return;
    }
    auto &printer = *job.printer;
    const GridLayout &layout = job.layout;
    QElapsedTimer spent;
    spent.start();
    while (job.row < layout.rows) {
        const int page = layout.pageOf(job.row);
        if (page > 0 && layout.pageFirstRow[page] == job.row) {
            if (!printer.newPage()) {
                finish(false, printer.errorString());
                return;
            }
            const PageNumber number = pageNumber(layout, page);
            printer.text(number.x, number.y, number.text);
        }
        const RowItems items = rowItems(layout, job.row);
        // The order of the ruled table: the rule above, each cell and its left rule, the
        // right edge and the rule below.
        printer.line(items.lines[0].x1, items.lines[0].y1, items.lines[0].x2, items.lines[0].y2);
        for (size_t c = 0; c < items.texts.size(); ++c) {
            const CellText &t = items.texts[c];
            printer.text(t.x, t.y, cellText(job.grid->text(t.row, t.col)));
            const Line &l = items.lines[c + 1];
            printer.line(l.x1, l.y1, l.x2, l.y2);
        }
        for (size_t i = items.texts.size() + 1; i < items.lines.size(); ++i)
            printer.line(items.lines[i].x1, items.lines[i].y1, items.lines[i].x2, items.lines[i].y2);
        ++job.row;
        if (spent.elapsed() >= m_sliceMs)
            return; // the timer brings the next slice after the events waiting
    }
    finish(printer.end(), printer.errorString());
}

void Printing::finish(bool ok, const QString &error)
{
    m_slice.stop();
    std::unique_ptr<Job> job = std::move(m_job);
    if (!ok && job && job->printer && job->row < job->layout.rows)
        job->printer->abandon(); // pages already produced go out to a printer
    const QPointer<QWidget> window = job ? job->window : nullptr;
    job.reset(); // the poll runs again and the pointer is normal before any message
    // A print that silently produced nothing would look like success.
    if (!ok && !error.isEmpty())
        m_dialogs.message(window, ui::Dialogs::Icon::Critical, Title,
                          QStringLiteral("The list could not be printed.\n%1").arg(error));
    emit finished(ok);
}

void Printing::printPicture(QWidget *window, const QImage &picture)
{
    if (m_job) {
        m_dialogs.message(window, ui::Dialogs::Icon::Information, Title,
                          QStringLiteral("A list is being printed. Please wait until it has finished."));
        return;
    }
    auto started = m_service.defaultPrinter(window, m_dialogs, window ? window->windowTitle() : Title);
    bool ok = false;
    QString error = started.error;
    if (started.printer) {
        auto &printer = *started.printer;
        printer.picture(picturePlacement(picture.size(), printer.pageWidth(), printer.pageHeight()), picture);
        ok = printer.end();
        if (!ok)
            error = printer.errorString();
    }
    if (!ok && !error.isEmpty())
        m_dialogs.message(window, ui::Dialogs::Icon::Critical, Title,
                          QStringLiteral("The picture could not be printed.\n%1").arg(error));
    emit finished(ok);
}

void Printing::printReport(QWidget *window, const Report &report)
{
    if (m_job) {
        m_dialogs.message(window, ui::Dialogs::Icon::Information, Title,
                          QStringLiteral("A list is being printed. Please wait until it has finished."));
        return;
    }
    const Hold pause = m_hold();
    auto started = m_service.choose(window, m_dialogs, window ? window->windowTitle() : Title);
    bool ok = false;
    QString error = started.error;
    if (started.printer) {
        auto &printer = *started.printer;
        const QList<ReportPage> pages = layoutReport(report, printer.pageWidth(), printer.pageHeight());
        ok = true;
        int points = 0;
        for (qsizetype n = 0; n < pages.size() && ok; ++n) {
            if (n > 0 && !printer.newPage()) {
                ok = false;
                break;
            }
            for (const ReportItem &item : pages[n]) {
                switch (item.kind) {
                case ReportItem::Kind::Text:
                    if (item.points != points) {
                        points = item.points;
                        printer.setFontSize(points);
                    }
                    printer.text(item.x, item.y, item.text);
                    break;
                case ReportItem::Kind::Line: printer.line(item.x, item.y, item.x2, item.y2); break;
                case ReportItem::Kind::Picture: printer.picture(item.target, report.picture); break;
                }
            }
        }
        ok = printer.end() && ok;
        if (!ok)
            error = printer.errorString();
    }
    if (!ok && !error.isEmpty())
        m_dialogs.message(window, ui::Dialogs::Icon::Critical, Title,
                          QStringLiteral("The report could not be printed.\n%1").arg(error));
    emit finished(ok);
}

} // namespace printing
