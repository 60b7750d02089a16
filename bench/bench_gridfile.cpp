// Saving a full real-time list (43,749 rows below its header) with WriteGridFile.
// Goal: at most 300 ms.
#include "BenchSupport.h"
#include "files/GridFile.h"
#include "ui/GridModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

namespace {

constexpr int Rows = 43749;
constexpr int Runs = 5;

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Real Time List"));
    window.show();
    ui::GridModel grid(5);
    grid.setHeader({QStringLiteral("No.s"), QStringLiteral("   Date"), QStringLiteral("   Time"),
                    QStringLiteral("40mOhm"), QStringLiteral("4Voltage")});
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

    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const QString path = dir.filePath(QStringLiteral("list%1.Dvm").arg(run % 2));
        QString error;
        QElapsedTimer clock;
        clock.start();
        if (!files::WriteGridFile(window, grid, path, &error))
            qFatal("save failed: %s", qPrintable(error));
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    bench::print("writegridfile_43749_rows_first", times.front(), "ms");
    bench::print("writegridfile_43749_rows_median", bench::median(times), "ms");
    bench::print("writegridfile_43749_rows_size", QFileInfo(dir.filePath(QStringLiteral("list0.Dvm"))).size() / 1024.0,
                 "KB");
    return 0;
}
