// A File List of 69,999 rows as a spreadsheet user works it: copying every row, exporting
// them as CSV and their statistics. Goals: 150 ms, 150 ms and 20 ms.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/StatisticsWindow.h"
#include "ui/TableTools.h"
#include "ui/WholeFile.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    core::AppState state;
    state.FileOhmRange = QStringLiteral("40m");
    ui::ScriptedDialogs dialogs;
    files::FileListWindow list(state, dialogs);
    QList<QString> rows;
    for (int n = 1; n <= 69999; ++n)
        rows << QStringLiteral("%1\t2024/03/05\t%2:%3:%4\t%5\t%6")
                    .arg(n)
                    .arg(10 + n / 3600 % 14, 2, 10, QLatin1Char('0'))
                    .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(n % 60, 2, 10, QLatin1Char('0'))
                    .arg(n % 97 == 0 ? QStringLiteral("OL") : QString::number(20 + 15 * std::sin(n / 900.0), 'f', 2))
                    .arg(3.6 + 0.3 * std::sin(n / 1300.0), 0, 'f', 3);
    list.grid().setHeader({"No.s", "   Date", "   Time", "40mOhm", "4Voltage"});
    list.grid().addRows(rows);
    list.show();
    ui::TableTools &tools = *list.tableTools();
    QTemporaryDir dir;

    std::vector<double> copy, exportTimes, stats;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        tools.selectAll();
        tools.copy();
        copy.push_back(t.nsecsElapsed() / 1e6);
        if (QApplication::clipboard()->text().size() < 69999 * 30)
            qFatal("not every row was copied");
        list.gridView().clearSelection();

        t.restart();
        QString error;
        if (!ui::saveWholeFile(dir.filePath("list.csv"), tools.csvBytes(core::CsvOptions{}), &error))
            qFatal("export failed");
        exportTimes.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        ui::StatisticsWindow *window = tools.showStatistics();
        stats.push_back(t.nsecsElapsed() / 1e6);
        if (window->rows() != 69999)
            qFatal("statistics over the wrong rows");
    }
    bench::print("list_69999_rows_copy_all_median", bench::median(copy), "ms");
    bench::print("list_69999_rows_export_csv_median", bench::median(exportTimes), "ms");
    bench::print("list_69999_rows_statistics_median", bench::median(stats), "ms");
    return 0;
}
