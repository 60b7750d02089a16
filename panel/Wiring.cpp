#include "panel/Wiring.h"

#include "core/AppState.h"
#include "core/Text.h"
#include "files/FileListWindow.h"
#include "logger/DataListWindow.h"
#include "logger/MemoryImage.h"
#include "logger/MemoryWindow.h"
#include "logger/StartTime.h"
#include "meter/LivePoll.h"
#include "packs/PackBuilderWindow.h"
#include "panel/WindowRegistry.h"
#include "plot/PlotMath.h"
#include "plot/PlotRangeWindow.h"
#include "plot/PlotWindow.h"
#include "printing/Printing.h"
#include "realtime/RealTimeGraph.h"
#include "realtime/RealTimeList.h"
#include "realtime/RealTimeRange.h"
#include "sorting/SortingWindow.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/ListWindow.h"
#include "ui/ScreenFit.h"

#include <cmath>

namespace panel {

Wiring::Wiring(WiringContext context, QObject *parent)
    : QObject(parent)
    , m_ctx(context)
{
    wireFiles();
    wireList();
    wirePlot();
    wireGraphs();
    wireLogger();
    wireSorting();
}

void Wiring::wireSorting()
{
    m_ctx.views.setFactory<Role::Sorting>([this] {
        auto *window = new sorting::SortingWindow(sorting::SortingContext{
            m_ctx.state, m_ctx.poll, m_ctx.dialogs, m_ctx.clock, m_ctx.tone, m_ctx.documentsFolder});
        window->placeBeside(m_ctx.mainWindow);
        connect(window, &sorting::SortingWindow::printRequested, this,
                [this, window] { m_ctx.printing.printReport(window, window->report()); });
        connect(window, &sorting::SortingWindow::buildPacksRequested, this, &Wiring::openPackBuilder);
        return window;
    });
    m_ctx.views.setFactory<Role::PackBuilder>([this] {
        auto *window = new packs::PackBuilderWindow(m_ctx.dialogs, packs::readSessionCells);
        window->setPrinter([this](QWidget *from, const QString &title, const QStringList &summary,
                                  const QStringList &titles, const std::vector<QStringList> &rows) {
            printing::Report report;
            report.title = title;
            report.lines = summary;
            report.columns = titles;
            report.rows = QList<QStringList>(rows.begin(), rows.end());
            m_ctx.printing.printReport(from, report);
        });
        const QRect main = m_ctx.mainWindow.frameGeometry();
        window->move(main.x() + main.width(), main.y());
        return window;
    });
}

void Wiring::openPackBuilder(const QString &session)
{
    QString error;
    std::optional<packs::SessionCells> cells = packs::readSessionCells(session, error);
    auto *sorting = m_ctx.views.window<Role::Sorting>();
    if (!cells) {
        m_ctx.dialogs.message(sorting, ui::Dialogs::Icon::Warning, QStringLiteral("Pack Builder"), error);
        return;
    }
    auto *window = m_ctx.views.show<Role::PackBuilder>();
    window->setSession(session, std::move(*cells));
    ui::keepOnScreen(*window);
}

void Wiring::openSorting()
{
    m_ctx.views.show<Role::Sorting>();
}

void Wiring::wireFiles()
{
    m_ctx.views.setFactory<Role::FileList>([this] {
        auto *list = new files::FileListWindow(m_ctx.state, m_ctx.dialogs);
        connect(list, &files::FileListWindow::printRequested, this,
                [this, list] { m_ctx.printing.PrintGrid(list, list->grid()); });
        connect(list, &files::FileListWindow::plotRequested, this,
                [this, list] { plotList(list->grid(), false, m_ctx.state.FileOhmRange, m_ctx.state.FileVoltRange); });
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
        m_ctx.dialogs.message(&m_ctx.mainWindow, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"), *result.failure);
        return;
    }
    auto *window = m_ctx.views.show<Role::ListPlot2>();
    window->placeAtScreenCorner();
    if (grid)
        window->setPlot(result);
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
            m_ctx.dialogs.message(
                range, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"),
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

void Wiring::appendListRow(const QString &row)
{
    // Rows come only while ListOn is set, and closing the list clears it.
    if (auto *list = m_ctx.views.window<Role::List>())
        list->appendRow(row);
}

void Wiring::wireLogger()
{
    m_ctx.views.setFactory<Role::Memory>([this] {
        auto *memory = new logger::MemoryWindow(m_ctx.state, m_ctx.comm1, m_ctx.poll);
        memory->placeBeside(m_ctx.mainWindow);
        connect(memory, &logger::MemoryWindow::blockClicked, this,
                [this, memory](int row) { listBlock(*memory, row); });
        return memory;
    });
    m_ctx.views.setFactory<Role::DataList>([this] {
        auto *list = new logger::DataListWindow(m_ctx.state, m_ctx.dialogs, m_ctx.mainWindow);
        connect(list, &logger::DataListWindow::printRequested, this,
                [this, list] { m_ctx.printing.PrintGrid(list, list->grid()); });
        connect(list, &logger::DataListWindow::plotRequested, this, [this, list] {
            plotList(list->grid(), true, m_ctx.state.BlockOhmRangeText, m_ctx.state.BlockVoltRangeText);
        });
        return list;
    });
}

void Wiring::startDownload()
{
    if (m_ctx.state.DownloadBusy)
        return;
    // Each download starts from a fresh window, with its load values.
    if (m_ctx.state.MemoryOpen)
        m_ctx.views.close(Role::Memory);
    auto *memory = m_ctx.views.show<Role::Memory>();
    memory->download().start();
}

void Wiring::listBlock(logger::MemoryWindow &memory, int row)
{
    {
        // The records are decoded while no live reading is taken; the poll comes back on
        // every way out of the listing.
        const meter::PollPause pause = m_ctx.poll.pause();
        fillDataList(memory, row);
    }
    m_ctx.poll.setEnabled(true);
    if (m_ctx.restoreLinkLabel)
        m_ctx.restoreLinkLabel();
}

void Wiring::fillDataList(logger::MemoryWindow &memory, int row)
{
    auto &s = m_ctx.state;
    if (m_ctx.views.window(Role::DataList))
        m_ctx.views.close(Role::DataList);
    const ui::GridModel &blocks = memory.blocks();
    s.BlockNo = core::numberOfText(blocks.text(row, 0));
    // The header row's "No.s" reads as 0 and names no block.
    if (s.BlockNo < 1 || s.BlockNo > logger::MaxBlocks || s.BlockNo != std::floor(s.BlockNo))
        return;
    const auto segment = logger::blockSegment(s.MemoryImage, int(s.BlockNo));
    if (!segment)
        return;

    QString start;
    for (;;) {
        const auto answer = m_ctx.dialogs.inputText(&memory, logger::startTimeTitle(), logger::startTimePrompt(),
                                                    m_ctx.clock.now().toString(core::ClockFormat));
        if (!answer || answer->isEmpty())
            return;
        const logger::StartTime parsed = logger::parseStartTime(*answer, m_ctx.clock.now().date());
        if (parsed.kind == logger::StartTime::Kind::Invalid) {
            if (!parsed.failure.isEmpty())
                m_ctx.dialogs.message(&memory, ui::Dialogs::Icon::Information, QStringLiteral("Dorvel"),
                                      parsed.failure);
            return;
        }
        if (parsed.kind == logger::StartTime::Kind::Accepted) {
            start = parsed.clock;
            break;
        }
        m_ctx.dialogs.message(&memory, ui::Dialogs::Icon::Information, QStringLiteral("Dorvel"),
                              logger::startTimeRetry());
    }

    s.BlockRecords = logger::segmentRecords(*segment);
    auto *list = m_ctx.views.show<Role::DataList>();
    s.BlockOhmRangeText = blocks.text(row, 1);
    s.BlockVoltRangeText = blocks.text(row, 2);
    list->addRecords(logger::datedRows(*segment, start));
}

} // namespace panel
