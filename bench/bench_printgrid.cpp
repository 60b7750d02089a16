// Printing a full recording's File List (69,999 rows below the header) to a PDF file
// through the Qt printer. Goal: at most 3 s and at most 50 MB of memory growth.
// Pass a file name to keep the PDF.
#include "BenchSupport.h"
#include "meter/LivePoll.h"
#include "printing/Printing.h"
#include "ui/GridModel.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

namespace {
constexpr int Rows = 69999;
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString pdf = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("list.pdf"));

    ui::GridModel grid(5);
    grid.setHeader({QStringLiteral("No.s"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Ohm"),
                    QStringLiteral("Voltage")});
    QList<QString> lines;
    for (int n = 1; n <= Rows; ++n)
        lines << QStringLiteral("%1\t2024/03/05\t10:%2:%3\t%4\t%5")
                     .arg(n)
                     .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(n % 60, 2, 10, QLatin1Char('0'))
                     .arg(12 + n % 80 / 100.0, 0, 'f', 2)
                     .arg(3.6 + n % 200 / 1000.0, 0, 'f', 3);
    grid.addRows(lines);
    lines.clear();

    ui::FakeSerialPort port;
    core::Reading reading;
    meter::LivePoll poll(port, reading);
    ui::ScriptedDialogs dialogs;
    dialogs.printAnswers.enqueue(true);
    dialogs.onPrintSetup = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
    };
    ui::QtPrintService service;
    printing::Printing desk(dialogs, service, [&poll] { return std::make_shared<meter::PollPause>(poll.pause()); });

    const qint64 before = bench::residentBytes();
    qint64 peak = before;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { peak = std::max(peak, bench::residentBytes()); });
    sampler.start(10);
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&desk, &printing::Printing::finished, [&](bool done) {
        ok = done;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    desk.PrintGrid(nullptr, grid);
    loop.exec();
    const double ms = clock.elapsed();
    peak = std::max(peak, bench::residentBytes());
    if (!ok)
        qFatal("the print failed");
    bench::print("print_grid_69999_rows", ms, "ms");
    bench::print("print_grid_memory_growth", (peak - before) / 1048576.0, "MB");
    bench::print("print_grid_pdf_size", QFileInfo(pdf).size() / 1048576.0, "MB");
    return 0;
}
