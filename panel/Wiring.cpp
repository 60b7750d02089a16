#include "panel/Wiring.h"

#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "panel/WindowRegistry.h"
#include "plot/PlotMath.h"
#include "plot/PlotRangeWindow.h"
#include "plot/PlotWindow.h"
#include "printing/Printing.h"
#include "realtime/RealTimeGraph.h"
#include "realtime/RealTimeList.h"
#include "realtime/RealTimeRange.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"
#include "ui/ListWindow.h"

namespace panel {

Wiring::Wiring(WiringContext context, QObject *parent)
    : QObject(parent)
    , m_ctx(context)
{
    wireFiles();
    wireList();
    wirePlot();
    wireGraphs();
}

void Wiring::wireFiles()
{
    m_ctx.views.setFactory<Role::FileList>([this] {
        auto *list = new files::FileListWindow(m_ctx.state, m_ctx.dialogs);
        connect(list, &files::FileListWindow::printRequested, this,
                [this, list] { m_ctx.printing.PrintGrid(list, list->grid()); });
        connect(list, &files::FileListWindow::plotRequested, this, [this, list] {
            plotList(list->grid(), false, m_ctx.state.FileOhmRange, m_ctx.state.FileVoltRange);
        });
        return list;
    });
}

void Wiring::wireList()
{
    m_ctx.views.setFactory<Role::List>([this] {
        auto *list = new realtime::RealTimeList(m_ctx.state, m_ctx.dialogs, m_ctx.mainWindow);
        connect(list, &realtime::RealTimeList::printRequested, this,
                [this, list] { m_ctx.printing.PrintGrid(list, list->grid()); });
        return list;
    });
}

void Wiring::wirePlot()
{
    m_ctx.views.setFactory<Role::ListPlot2>([this] {
        auto *window = new plot::PlotWindow;
        connect(window, &plot::PlotWindow::limitRequested, this, [this] { m_ctx.views.show(Role::Plot2Range); });
        connect(window, &plot::PlotWindow::printRequested, this,
                [this, window] { m_ctx.printing.printPicture(window, window->picture()); });
        return window;
    });
    m_ctx.views.setFactory<Role::Plot2Range>([this] {
        auto *window = new plot::PlotRangeWindow(m_ctx.state);
        connect(window, &plot::PlotRangeWindow::okPressed, this, &Wiring::rangeOk);
        return window;
    });
}

void Wiring::wireGraphs()
{
    const auto graph = [this](realtime::GraphKind kind) {
        const Role twin = kind == realtime::GraphKind::Ohm ? Role::RealTimeY : Role::RealTimeX;
        auto *window = new realtime::RealTimeGraph(kind, m_ctx.state, m_ctx.clock,
                                                   [this, twin] { return m_ctx.views.isVisible(twin); });
        window->placeBy(m_ctx.mainWindow);
        connect(window, &realtime::RealTimeGraph::limitRequested, this,
                [this] { m_ctx.views.show(Role::RealTimeRange); });
        connect(window, &realtime::RealTimeGraph::printRequested, this,
                [this, window] { m_ctx.printing.printPicture(window, window->picture()); });
        // The voltage graph's Stop halts both traces; the resistance graph's only its own.
        if (kind == realtime::GraphKind::Volt)
            connect(window, &realtime::RealTimeGraph::stopPressed, this, [this] {
                if (auto *ohm = m_ctx.views.window<Role::RealTimeX>())
                    ohm->stopSweep();
            });
        return window;
    };
    m_ctx.views.setFactory<Role::RealTimeX>([graph] { return graph(realtime::GraphKind::Ohm); });
    m_ctx.views.setFactory<Role::RealTimeY>([graph] { return graph(realtime::GraphKind::Volt); });
    m_ctx.views.setSweepStarter([](QWidget *window, int intervalMs) {
        if (auto *graph = qobject_cast<realtime::RealTimeGraph *>(window))
            graph->startSweep(intervalMs);
    });
    m_ctx.views.setFactory<Role::RealTimeRange>([this] {
        auto *window = new realtime::RealTimeRange(m_ctx.state);
        connect(window, &realtime::RealTimeRange::okPressed, this, &Wiring::graphRangeOk);
        return window;
    });
}

void Wiring::graphRangeOk()
{
    auto *range = m_ctx.views.window<Role::RealTimeRange>();
    if (!range)
        return;
    const realtime::GraphRangeEntry entry = range->entry();
    if (const auto failure = realtime::graphRangeFailure(entry, m_ctx.state.reading)) {
        m_ctx.dialogs.message(range, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"), *failure);
        return;
    }
    // Closing both clears GraphOn: the graphs then keep these limits through range changes.
    if (m_ctx.views.isVisible(Role::RealTimeX))
        m_ctx.views.close(Role::RealTimeX);
    if (m_ctx.views.isVisible(Role::RealTimeY))
        m_ctx.views.close(Role::RealTimeY);
    realtime::applyGraphRange(m_ctx.state, entry);
    m_ctx.views.showGraphs(m_ctx.poll.intervalMs());
    m_ctx.views.close(Role::RealTimeRange);
}

void Wiring::plotList(const ui::GridModel &grid, bool fromLogger, const QString &ohmRangeText,
                      const QString &voltRangeText)
{
    plot::setPlotFromList(m_ctx.state, fromLogger, ohmRangeText, voltRangeText, grid.rows());
    openPlot(&grid);
}

void Wiring::openPlot(const ui::GridModel *grid)
{
    m_ctx.views.close(Role::ListPlot2);
    plot::PlotResult result;
    if (grid)
        result = plot::drawListPlot(*grid, m_ctx.state);
    if (result.failure) {
        m_ctx.dialogs.message(&m_ctx.mainWindow, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"),
                              *result.failure);
        return;
    }
    auto *window = m_ctx.views.show<Role::ListPlot2>();
    window->placeAtScreenCorner();
    if (grid)
        window->setPlot(result.plot);
}

void Wiring::rangeOk()
{
    auto *range = m_ctx.views.window<Role::Plot2Range>();
    if (!range)
        return;
    m_ctx.views.close(Role::ListPlot2);
    const plot::RangeEntry entry = range->entry();
    if (!plot::rangeAcceptable(entry, m_ctx.state)) {
        m_ctx.dialogs.message(range, ui::Dialogs::Icon::Information, QStringLiteral("Dorvel"),
                              QStringLiteral("Invalid, Try again!"));
        return;
    }
    plot::applyRange(m_ctx.state, entry);
    // The list the settings came from; it may have been closed since.
    const ui::GridModel *grid = nullptr;
    if (m_ctx.state.PlotFromLogger || m_ctx.state.PlotFromFile) {
        const Role from = m_ctx.state.PlotFromLogger ? Role::DataList : Role::FileList;
        auto *list = qobject_cast<ui::ListWindow *>(m_ctx.views.window(from));
        if (!list) {
            m_ctx.dialogs.message(range, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"),
                                  QStringLiteral("The list that was plotted has been closed: open it and press Plot again."));
            return;
        }
        grid = &list->grid();
    }
    openPlot(grid);
    m_ctx.views.close(Role::Plot2Range);
}

void Wiring::openFileList(const QString &path)
{
    // A fresh window for every file: it starts from its load values.
    if (m_ctx.views.isVisible(Role::FileList))
        m_ctx.views.close(Role::FileList);
    auto *list = m_ctx.views.show<Role::FileList>();
    list->placeBeside(m_ctx.mainWindow);
    list->load(path);
}

bool Wiring::appendListRow(const QString &row)
{
    // Rows come only while ListOn is set, which an open list window implies; without one
    // there is nothing to fail.
    if (auto *list = m_ctx.views.window<Role::List>())
        list->appendRow(row);
    return true;
}

} // namespace panel
