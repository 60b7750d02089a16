#include "logger/DataListWindow.h"

#include "core/AppState.h"
#include "files/GridFile.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"

namespace logger {

namespace {

// Rows added between two updates of the caption's running count.
constexpr int CountBatch = 1000;

} // namespace

DataListWindow::DataListWindow(core::AppState &state, ui::Dialogs &dialogs, QWidget &mainWindow, QWidget *parent)
    : ui::ListWindow(ui::listTitles(), ui::listSizingTexts(), parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("DataList"));
    setWindowTitle(QStringLiteral("Data List"));
    addButton(QStringLiteral("Save"), QStringLiteral("Save As"), ui::Tool::SaveAs);
    addButton(QStringLiteral("Plot"), QStringLiteral("Plot"), ui::Tool::Plot);
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
    enableTableTools(dialogs, [this] { return m_state.BlockOhmRangeText; });
    placeBeside(mainWindow);
}

void DataListWindow::addRecords(const QList<QString> &rows)
{
    for (qsizetype from = 0; from < rows.size(); from += CountBatch) {
        grid().addRows(rows.mid(from, CountBatch));
        setWindowTitle(QString::number(grid().rows() - 1));
    }
    grid().squeeze();
    setWindowTitle(QStringLiteral("Data List"));
}

void DataListWindow::buttonClick(const QString &key)
{
    if (key == QLatin1String("Save"))
        save();
    else if (key == QLatin1String("Plot"))
        emit plotRequested();
    else if (key == QLatin1String("Print"))
        emit printRequested();
}

void DataListWindow::save()
{
    if (refusedWhileRecording(m_state.Recording, m_dialogs))
        return;
    const bool chosen = files::SaveDialog(m_dialogs, &m_mainWindow, m_state);
    // The file's header line names the block's ranges, so that it opens under them again.
    setRangeHeader(m_state.BlockOhmRangeText, m_state.BlockVoltRangeText);
    if (chosen)
        files::WriteGridFile(*this, grid(), m_state, m_dialogs);
    setRangeHeader(QStringLiteral(" Ohm"), QStringLiteral(" Voltage"));
}

} // namespace logger
