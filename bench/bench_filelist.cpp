// Opening a full recording (69,999 lines: the header and 69,998 samples) into the File
// List, from load() to the final caption. Goals: at most 300 ms, at most 30 MB more memory.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "ui/GridModel.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

constexpr int Lines = 69999;
constexpr int Runs = 5;

QByteArray recording()
{
    QByteArray bytes("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n");
    for (int n = 1; n < Lines; ++n) {
        const int s = n * 2;
        bytes +=
            QByteArray::number(n) + "\t2024/03/05\t" + QByteArray::number(10 + s / 3600 % 14).rightJustified(2, '0')
            + ':' + QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ':'
            + QByteArray::number(s % 60).rightJustified(2, '0') + '\t' + QByteArray::number(12 + n % 80 / 100.0, 'f', 2)
            + '\t' + QByteArray::number(3.6 + n % 200 / 1000.0, 'f', 3) + "\r\n";
    }
    return bytes;
}

struct Run
{
    double ms = 0;
    qint64 extraBytes = 0;
    int rows = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);

    // On the disk beside the program rather than in a memory file system.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("full.Dvm"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(recording()) < 0)
            qFatal("cannot write %s", qPrintable(path));
    }

    core::AppState state;
    ui::ScriptedDialogs dialogs;
    std::vector<Run> runs;
    std::unique_ptr<files::FileListWindow> window;
    QElapsedTimer clock;
    qint64 before = 0;

    // Each run opens the file into a fresh window, as the command bar's Open does.
    std::function<void()> next = [&] {
        window = std::make_unique<files::FileListWindow>(state, dialogs);
        window->show();
        QObject::connect(window.get(), &files::FileListWindow::finished, window.get(), [&](bool ok) {
            const double ms = clock.nsecsElapsed() / 1e6;
            if (!ok)
                qFatal("the file did not load");
            runs.push_back({ms, bench::residentBytes() - before, window->grid().rows()});
            if (static_cast<int>(runs.size()) == Runs)
                QTimer::singleShot(0, &app, &QCoreApplication::quit);
            else
                QTimer::singleShot(0, &app, [&] {
                    window.reset();
                    next();
                });
        });
        // Let the new window settle before the clock starts.
        QTimer::singleShot(0, window.get(), [&] {
            before = bench::residentBytes();
            clock.start();
            window->load(path);
        });
    };
    next();
    app.exec();

    std::vector<double> times;
    for (const Run &run : runs)
        times.push_back(run.ms);
    bench::print("filelist_open_69999_lines_first", runs.front().ms, "ms");
    bench::print("filelist_open_69999_lines_median", bench::median(times), "ms");
    bench::print("filelist_open_69999_lines_extra_memory_first", runs.front().extraBytes / 1048576.0, "MB");
    bench::print("filelist_open_69999_lines_rows", runs.front().rows, "rows");
    return 0;
}
