#include "logger/DataListWindow.h"

#include "core/AppState.h"
#include "files/GridFile.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"

namespace logger {

namespace {

QStringList titles()
{
    return {QStringLiteral("No.s"), QStringLiteral("   Date"), QStringLiteral("   Time"), QStringLiteral("Ohm"),
            QStringLiteral("Voltage")};
}

QStringList sizingTexts()
{
    return {QStringLiteral(" 000000 "), QStringLiteral(" 0000/00/00 "), QStringLiteral(" 000:00:00 "),
            QStringLiteral("AAAAAAAA"), QStringLiteral("AVOLTAGE")};
}

// Rows added between two updates of the caption's running count.
constexpr int CountBatch = 1000;

} // namespace

DataListWindow::DataListWindow(core::AppState &state, ui::Dialogs &dialogs, QWidget &mainWindow, QWidget *parent)
    : ui::ListWindow(titles(), sizingTexts(), parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("DataList"));
    setWindowTitle(QStringLiteral("Data List"));
    addButton(QStringLiteral("Save"), QStringLiteral("Save As"), ui::Tool::SaveAs);
    addButton(QStringLiteral("Plot"), QStringLiteral("Plot"), ui::Tool::Plot);
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
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
    if (m_state.Recording) {
        m_dialogs.message(this, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                          QStringLiteral("Aready in recording mode, close it and try again !"));
        return;
    }
    const bool chosen = files::SaveDialog(m_dialogs, &m_mainWindow, m_state);
    // The file's header line names the block's ranges, so that it opens under them again.
    setRangeHeader(m_state.BlockOhmRangeText, m_state.BlockVoltRangeText);
    if (chosen)
        files::WriteGridFile(*this, grid(), m_state, m_dialogs);
    setRangeHeader(QStringLiteral(" Ohm"), QStringLiteral(" Voltage"));
}

void DataListWindow::setRangeHeader(const QString &ohm, const QString &volt)
{
    grid().setText(0, 3, ohm);
    grid().setText(0, 4, volt);
}

} // namespace logger
