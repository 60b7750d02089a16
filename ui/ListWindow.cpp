#include "ui/ListWindow.h"

#include "ui/Dialogs.h"

#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/ScreenFit.h"
#include "ui/TableTools.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr int IconSize = 24;
}

QAction *addToolButton(QToolBar &bar, const QString &key, const QString &tip, Tool picture)
{
    QAction *action = bar.addAction(toolIcon(picture), tip);
    action->setObjectName(key);
    action->setData(key);
    action->setToolTip(tip);
    return action;
}

QString toolButtonKey(const QAction *action)
{
    return action ? action->data().toString() : QString();
}

QStringList listSizingTexts()
{
    return {QStringLiteral(" 000000 "), QStringLiteral(" 0000/00/00 "), QStringLiteral(" 000:00:00 "),
            QStringLiteral("AAAAAAAA"), QStringLiteral("AVOLTAGE")};
}

void ListWindow::setRangeHeader(const QString &ohm, const QString &volt)
{
    grid().setText(0, 3, ohm);
    grid().setText(0, 4, volt);
}

bool ListWindow::refusedWhileRecording(bool recording, Dialogs &dialogs)
{
    if (recording)
        dialogs.message(this, Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                        QStringLiteral("Aready in recording mode, close it and try again !"));
    return recording;
}

ListWindow::ListWindow(const QStringList &titles, const QStringList &sizingTexts, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(IconSize, IconSize));
    connect(m_toolbar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { buttonClick(toolButtonKey(action)); });

    m_grid = new GridModel(int(titles.size()), this);
    m_grid->setHeader(titles);
    m_view = new GridView(*m_grid, this);
    m_view->setObjectName(QStringLiteral("Grid"));
    int width = 0;
    for (int c = 0; c < sizingTexts.size(); ++c) {
        m_view->setColumnWidthFromText(c, sizingTexts.at(c));
        width += m_view->columnWidth(c);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_view);

    // Room for the columns and about twenty rows.
    const int frame = 2 * m_view->frameWidth();
    resize(width + frame + m_view->verticalScrollBar()->sizeHint().width(),
           m_toolbar->sizeHint().height() + m_view->horizontalHeader()->sizeHint().height()
               + 20 * m_view->verticalHeader()->defaultSectionSize() + frame);
}

ListWindow::~ListWindow() = default;

void ListWindow::placeBeside(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    move(main.x() + main.width(), main.y());
    keepOnScreen(*this);
}

void ListWindow::enableTableTools(Dialogs &dialogs, std::function<QString()> ohmRange)
{
    GridModel &grid = *m_grid;
    m_tools = new TableTools(*m_view, dialogs, [&grid, ohmRange = std::move(ohmRange)] {
        TableDescription table;
        // View rows are the grid's data rows, which start at grid row 1.
        table.text = [&grid](int row, int col) { return grid.text(row + 1, col); };
        table.view = [&grid](int row, int col) { return grid.cell(row + 1, col); };
        table.ohmUnit = ohmUnitOfRange(ohmRange ? ohmRange() : QString());
        table.csvColumns = listCsvColumns(grid.text(0, 0).trimmed(), table.ohmUnit);
        table.csvSources = listCsvSources();
        table.ohmColumn = 3;
        table.voltColumn = 4;
        table.rowNumber = [](int row) { return row + 1; };
        return table;
    });
    // A click on the fixed first column takes the whole row, as a row header would.
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == 0 && QGuiApplication::keyboardModifiers() == Qt::NoModifier)
            m_view->selectRow(index.row());
    });
}

QAction *ListWindow::button(const QString &key) const
{
    const auto actions = m_toolbar->actions();
    for (QAction *action : actions)
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

QAction *ListWindow::addButton(const QString &key, const QString &tip, Tool picture)
{
    return addToolButton(*m_toolbar, key, tip, picture);
}

} // namespace ui
