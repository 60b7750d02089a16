// The logger: the block scan of a full memory image, the listing of the largest block a
// full memory can hold into the Data List, and (with DORVEL_BENCH_FULL_DOWNLOAD=1, about
// 50 s of wire time) a full download from the simulator at 9600 baud with its CPU cost.
// Prints: logger_scan_full_image, logger_list_largest_block, and with the download
// logger_download_wire, logger_download_after_last_byte, logger_download_cpu.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "logger/DataListWindow.h"
#include "logger/MemoryImage.h"
#include "logger/MemoryWindow.h"
#include "logger/StartTime.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "support/SimPanelRig.h"
#include "ui/GridModel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

// One block filling the memory: 9625 records of 5 bytes after its header unit.
QByteArray fullImage()
{
    QByteArray memory = QByteArray::fromHex("0055AA0001");
    const int records = (logger::MemoryEnd - logger::MemoryBase - 5) / 5;
    for (int i = 0; i < records; ++i) {
        const int ohm = 2500 + i % 100;
        const int volt = 3700 - i % 300;
        memory.append(char(ohm >> 8)).append(char(ohm & 0xFF)).append(char(volt >> 8)).append(char(volt & 0xFF));
        memory.append(char(0x03));
    }
    const int P = logger::MemoryBase + int(memory.size());
    QByteArray answer;
    answer.append(char(0)).append(char(P >> 8)).append(char(P & 0xFF));
    answer += memory;
    answer.append(char(0x03));
    return logger::closeImage(answer, int(answer.size()));
}

void benchScanAndListing()
{
    const QByteArray image = fullImage();
    std::vector<double> scans;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        const logger::BlockScan scan = logger::scanBlocks(image);
        scans.push_back(t.nsecsElapsed() / 1e3);
        if (scan.blocks.size() != 1)
            std::fprintf(stderr, "scan found %d blocks\n", int(scan.blocks.size()));
    }
    bench::print("logger_scan_full_image", bench::median(scans), "us");

    core::AppState state;
    ui::ScriptedDialogs dialogs;
    QWidget mainWindow;
    std::vector<double> listings;
    int rows = 0;
    for (int i = 0; i < 10; ++i) {
        logger::DataListWindow list(state, dialogs, mainWindow);
        list.show();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        const auto segment = logger::blockSegment(image, 1);
        list.addRecords(logger::datedRows(*segment, QStringLiteral("2024/12/31 23:00:00")));
        QCoreApplication::processEvents(); // the rows drawn once
        listings.push_back(t.nsecsElapsed() / 1e6);
        rows = list.grid().rows() - 1;
    }
    bench::print("logger_list_largest_block", bench::median(listings), "ms");
    bench::print("logger_list_largest_block_rows", rows, "rows");
}

int benchFullDownload(QApplication &app)
{
    SimPanelRig rig({QStringLiteral("--cmd"), QStringLiteral("memory-full")});
    if (!rig.start()) {
        std::fprintf(stderr, "the simulator or its port did not start\n");
        return 1;
    }
    core::AppState &state = rig.state;
    panel::Panel &window = *rig.panel;
    window.show();
    QElapsedTimer wall;
    qint64 cpuStart = 0;
    QTimer done;
    QTimer::singleShot(1000, [&] {
        cpuStart = bench::cpuMicros();
        wall.start();
        window.commands().button(7)->trigger();
        done.start(5);
    });
    // The last bytes as they reach the program, and the download's end.
    qint64 lastByteNs = -1;
    qint64 endNs = -1;
    QObject::connect(&rig.port, &ui::SerialPort::readyRead, [&] {
        if (state.DownloadBusy)
            lastByteNs = wall.nsecsElapsed();
    });
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (auto *memory = window.views().window<panel::Role::Memory>(); memory && endNs < 0) {
            QObject::connect(&memory->download(), &logger::MemoryDownload::finished,
                             [&] { endNs = wall.nsecsElapsed(); });
            endNs = 0;
        }
        if (state.DownloadBusy)
            return;
        done.stop();
        const double seconds = endNs / 1e9;
        const double cpu = double(bench::cpuMicros() - cpuStart) / (seconds * 1e6) * 100.0;
        // A 9600-baud line carries 960 bytes a second; the image is the answer less its
        // closing byte, plus the five bytes copied to its end.
        const double wire = double(state.MemoryImage.size() - 5 + 1) / 960.0;
        bench::print("logger_download_nominal_wire", wire, "s");
        bench::print("logger_download_total", seconds, "s");
        if (lastByteNs >= 0)
            bench::print("logger_download_after_last_byte", (endNs - lastByteNs) / 1e3, "us");
        bench::print("logger_download_blocks", state.BlockNo - 1, "blocks");
        bench::print("logger_download_cpu", cpu, "%");
        app.quit();
    });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchScanAndListing();
    if (qEnvironmentVariableIntValue("DORVEL_BENCH_FULL_DOWNLOAD") == 1)
        return benchFullDownload(app);
    return 0;
}
