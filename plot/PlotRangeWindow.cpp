#include "plot/PlotRangeWindow.h"

#include "core/AppState.h"
#include "ui/RangeEntry.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace plot {

namespace {

QLabel *panel(const QString &name, const QString &caption, QWidget *parent)
{
    return ui::captionPanel(name, caption, 3, parent);
}

QLineEdit *entryBox(const QString &name, const QString &accessibleName, QWidget *parent)
{
    QLineEdit *edit = ui::entryBox(name, accessibleName, parent);
    // Wide enough for "69999" or "400.5" and a little more.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    return edit;
}

} // namespace

PlotRangeWindow::PlotRangeWindow(const core::AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
{
    setObjectName(QStringLiteral("Plot2Range"));
    setWindowTitle(QStringLiteral("Plot Range"));

    auto *grid = new QGridLayout(this);
    QLabel *fromPanel = panel(QStringLiteral("SSPanel1"), QStringLiteral("From No.s"), this);
    QLabel *toPanel = panel(QStringLiteral("SSPanel4"), QStringLiteral("To No.s"), this);
    m_from = entryBox(QStringLiteral("TxtT1"), QString(), this);
    m_to = entryBox(QStringLiteral("TxtT2"), QString(), this);
    grid->addWidget(fromPanel, 0, 0);
    grid->addWidget(m_from, 0, 1);
    grid->addWidget(toPanel, 1, 0);
    grid->addWidget(m_to, 1, 1);

    grid->addWidget(panel(QStringLiteral("SSPanel5"), QStringLiteral("Units"), this), 2, 0);
    grid->addWidget(panel(QStringLiteral("SSPanel2"), QStringLiteral("Min. Limitation"), this), 2, 1);
    grid->addWidget(panel(QStringLiteral("SSPanel3"), QStringLiteral("Max. Limitation"), this), 2, 2);
    QLabel *ohms = panel(QStringLiteral("SSPanel6"), QStringLiteral("Ohms"), this);
    m_ohmMin = entryBox(QStringLiteral("TxtR1"), QStringLiteral("Ohms Min. Limitation"), this);
    m_ohmMax = entryBox(QStringLiteral("TxtR2"), QStringLiteral("Ohms Max. Limitation"), this);
    grid->addWidget(ohms, 3, 0);
    grid->addWidget(m_ohmMin, 3, 1);
    grid->addWidget(m_ohmMax, 3, 2);
    QLabel *volts = panel(QStringLiteral("SSPanel7"), QStringLiteral("Volts"), this);
    m_voltMin = entryBox(QStringLiteral("UpTxtR1"), QStringLiteral("Volts Min. Limitation"), this);
    m_voltMax = entryBox(QStringLiteral("UpTxtR2"), QStringLiteral("Volts Max. Limitation"), this);
    grid->addWidget(volts, 4, 0);
    grid->addWidget(m_voltMin, 4, 1);
    grid->addWidget(m_voltMax, 4, 2);

    // Screen readers name each box by its row and column.
    fromPanel->setBuddy(m_from);
    toPanel->setBuddy(m_to);
    ohms->setBuddy(m_ohmMin);
    volts->setBuddy(m_voltMin);

    grid->addWidget(ui::okButton(QStringLiteral("CmdOk"), {m_from, m_to, m_ohmMin, m_ohmMax, m_voltMin, m_voltMax},
                                 this, [this] { emit okPressed(); }),
                    5, 2);
}

void PlotRangeWindow::fill()
{
    m_from->setText(numberLabel(m_state.PlotFrom));
    m_to->setText(numberLabel(m_state.PlotTo));
    m_ohmMin->setText(numberLabel(m_state.PlotOhmMin));
    m_ohmMax->setText(numberLabel(m_state.PlotOhmMax));
    m_voltMin->setText(numberLabel(m_state.PlotVoltMin));
    m_voltMax->setText(numberLabel(m_state.PlotVoltMax));
}

RangeEntry PlotRangeWindow::entry() const
{
    return readRangeEntry(m_from->text(), m_to->text(), m_ohmMin->text(), m_ohmMax->text(), m_voltMin->text(),
                          m_voltMax->text());
}

QLineEdit &PlotRangeWindow::box(const QString &name) const
{
    return *findChild<QLineEdit *>(name);
}

void PlotRangeWindow::showEvent(QShowEvent *event)
{
    fill();
    QWidget::showEvent(event);
}

void PlotRangeWindow::resizeEvent(QResizeEvent *event)
{
    fill();
    QWidget::resizeEvent(event);
}

} // namespace plot
