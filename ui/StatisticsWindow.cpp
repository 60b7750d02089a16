#include "ui/StatisticsWindow.h"

#include <QAbstractItemModel>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

namespace {

const QStringList Figures{QStringLiteral("Numbers"),
                          QStringLiteral("Minimum"),
                          QStringLiteral("Maximum"),
                          QStringLiteral("Mean"),
                          QStringLiteral("Standard deviation"),
                          QStringLiteral("OL"),
                          QStringLiteral("-OL"),
                          QStringLiteral("----")};

// Figures as the list writes its readings: the extremes with the readings' decimals, the
// mean with one more, the deviation with two more.
QString number(double value, int decimals)
{
    return QString::number(value, 'f', std::min(decimals, 9));
}

} // namespace

StatisticsWindow::StatisticsWindow(QAbstractItemModel &model, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
{
    setObjectName(QStringLiteral("Statistics"));
    setWindowTitle(QStringLiteral("Statistics"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    m_scope = new QLabel(this);
    m_scope->setObjectName(QStringLiteral("Scope"));
    layout->addWidget(m_scope);
    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(18);
    layout->addLayout(m_grid);
    layout->addStretch(1);
    const QStringList columns{QStringLiteral("Resistance"), QStringLiteral("Voltage")};
    for (int c = 0; c < 2; ++c) {
        auto *title = new QLabel(this);
        title->setObjectName(columns[c]);
        m_grid->addWidget(title, 0, c + 1, Qt::AlignRight);
    }
    for (int f = 0; f < Figures.size(); ++f) {
        m_grid->addWidget(new QLabel(Figures[f], this), f + 1, 0);
        for (int c = 0; c < 2; ++c) {
            auto *value = new QLabel(this);
            value->setObjectName(Figures[f] + QLatin1Char(' ') + columns[c]);
            value->setAccessibleName(Figures[f] + QLatin1Char(' ') + columns[c]);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            m_grid->addWidget(value, f + 1, c + 1, Qt::AlignRight);
        }
    }
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        if (!m_selection) {
            addRows(first, last);
            display();
        }
    });
    // A table cut back or refilled: the rows counted may be gone.
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &StatisticsWindow::recount);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &StatisticsWindow::recount);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &StatisticsWindow::recount);
}

void StatisticsWindow::setScope(const TableDescription &table, const std::optional<SelectedCells> &selection)
{
    m_table = table;
    m_selection = selection;
    recount();
}

void StatisticsWindow::recount()
{
    m_ohm = {};
    m_volt = {};
    m_rows = 0;
    if (!m_selection) {
        addRows(0, m_model.rowCount() - 1);
    } else {
        // Rows past the table's end went with a cut; the rest are counted as selected.
        const int count = m_model.rowCount();
        for (size_t k = 0; k < m_selection->rows.size(); ++k) {
            const int row = m_selection->rows[k];
            if (row >= count)
                break;
            ++m_rows;
            const quint64 columns = m_selection->columns[k];
            const int number = m_table.rowNumber ? m_table.rowNumber(row) : row + 1;
            if (m_table.ohmColumn >= 0 && (columns >> m_table.ohmColumn & 1))
                addCell(m_ohm, row, m_table.ohmColumn, number);
            if (m_table.voltColumn >= 0 && (columns >> m_table.voltColumn & 1))
                addCell(m_volt, row, m_table.voltColumn, number);
        }
    }
    display();
}

void StatisticsWindow::addRows(int first, int last)
{
    if (!m_table.text)
        return;
    for (int row = first; row <= last; ++row) {
        ++m_rows;
        const int number = m_table.rowNumber ? m_table.rowNumber(row) : row + 1;
        addCell(m_ohm, row, m_table.ohmColumn, number);
        addCell(m_volt, row, m_table.voltColumn, number);
    }
}

void StatisticsWindow::addCell(core::ReadingColumn &column, int row, int col, int number)
{
    if (col < 0)
        return;
    if (m_table.view)
        column.add(m_table.view(row, col), number);
    else
        column.add(m_table.text(row, col), number);
}

void StatisticsWindow::display()
{
    m_scope->setText(m_selection ? QStringLiteral("Selection: %1 rows").arg(m_rows)
                                 : QStringLiteral("All %1 rows").arg(m_rows));
    findChild<QLabel *>(QStringLiteral("Resistance"))
        ->setText(QStringLiteral("<b>Resistance (%1)</b>").arg(m_table.ohmUnit.toHtmlEscaped()));
    findChild<QLabel *>(QStringLiteral("Voltage"))->setText(QStringLiteral("<b>Voltage (V)</b>"));
    const auto fill = [&](const QString &column, const core::ReadingColumn &c) {
        const core::Running &n = c.numbers;
        const bool any = n.count() > 0;
        const QString none = QStringLiteral("-");
        const QStringList values{
            QString::number(n.count()),
            any ? QStringLiteral("%1 (row %2)").arg(number(n.min(), c.decimals)).arg(n.minAt()) : none,
            any ? QStringLiteral("%1 (row %2)").arg(number(n.max(), c.decimals)).arg(n.maxAt()) : none,
            any ? number(n.mean(), c.decimals + 1) : none,
            n.count() > 1 ? number(n.deviation(), c.decimals + 2) : none,
            QString::number(c.overloads),
            QString::number(c.negativeOverloads),
            QString::number(c.noReadings)};
        for (int f = 0; f < Figures.size(); ++f)
            findChild<QLabel *>(Figures[f] + QLatin1Char(' ') + column)->setText(values[f]);
    };
    fill(QStringLiteral("Resistance"), m_ohm);
    fill(QStringLiteral("Voltage"), m_volt);
}

QString StatisticsWindow::shown(const QString &figure, const QString &column) const
{
    const auto *label = findChild<QLabel *>(figure + QLatin1Char(' ') + column);
    return label ? label->text() : QString();
}

} // namespace ui
