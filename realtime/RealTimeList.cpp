#include "realtime/RealTimeList.h"

#include "core/AppState.h"
#include "files/GridFile.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QCloseEvent>
#include <QTimer>

namespace realtime {

namespace {

// Rows a window shows before it has to scroll to keep the newest in sight.
constexpr int VisibleRows = 19;

} // namespace

RealTimeList::RealTimeList(core::AppState &state, ui::Dialogs &dialogs, QWidget &mainWindow, QWidget *parent)
    : ui::ListWindow(ui::listTitles(), ui::listSizingTexts(), parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("List"));
    setWindowTitle(QStringLiteral("Real Time List"));
    addButton(QStringLiteral("Save"), QStringLiteral("Save"), ui::Tool::Save);
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
    addButton(QStringLiteral("stop"), QStringLiteral("Stop"), ui::Tool::Stop);
    // The list starts again whenever the meter changes range: its rows are all of the present one.
    enableTableTools(dialogs, [this] { return core::ohmRangeLabel(m_state.reading); });
    placeBeside(mainWindow);
    m_state.ListOpen = true;
}

void RealTimeList::appendRow(const QString &row)
{
    grid().addRow(row);
    // Scrolling lays the view out; rows that come together are followed once.
    if (grid().rows() - 1 > VisibleRows && !m_scrollPending) {
        m_scrollPending = true;
        QTimer::singleShot(0, this, [this] {
            m_scrollPending = false;
            gridView().scrollToBottom();
        });
    }
}

void RealTimeList::buttonClick(const QString &key)
{
    if (key == QLatin1String("Save"))
        save();
    else if (key == QLatin1String("Print"))
        emit printRequested();
    else if (key == QLatin1String("stop"))
        m_state.ListOn = false;
}

void RealTimeList::save()
{
    if (refusedWhileRecording(m_state.Recording, m_dialogs))
        return;
    // The file names the ranges the rows were taken in; the window keeps its own titles.
    setRangeHeader(core::ohmRangeLabel(m_state.reading), core::voltRangeLabel(m_state.reading));
    if (files::SaveDialog(m_dialogs, &m_mainWindow, m_state))
        files::WriteGridFile(*this, grid(), m_state, m_dialogs);
    setRangeHeader(QStringLiteral("Ohm"), QStringLiteral("Voltage"));
    gridView().setColumnWidthFromText(3, ui::listSizingTexts().at(3));
    gridView().setColumnWidthFromText(4, ui::listSizingTexts().at(4));
}

void RealTimeList::closeEvent(QCloseEvent *event)
{
    m_state.ListRowCount = 0;
    m_state.ListOn = false;
    m_state.ListOpen = false;
    ui::ListWindow::closeEvent(event);
}

} // namespace realtime
