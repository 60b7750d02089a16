#include "plot/PlotRangeWindow.h"

#include "core/AppState.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace plot {

namespace {

QLabel *panel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(3);
    return label;
}

QLineEdit *entryBox(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
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
    m_from = entryBox(QStringLiteral("TxtT1"), this);
    m_to = entryBox(QStringLiteral("TxtT2"), this);
    grid->addWidget(fromPanel, 0, 0);
    grid->addWidget(m_from, 0, 1);
    grid->addWidget(toPanel, 1, 0);
    grid->addWidget(m_to, 1, 1);

    grid->addWidget(panel(QStringLiteral("SSPanel5"), QStringLiteral("Units"), this), 2, 0);
    grid->addWidget(panel(QStringLiteral("SSPanel2"), QStringLiteral("Min. Limitation"), this), 2, 1);
    grid->addWidget(panel(QStringLiteral("SSPanel3"), QStringLiteral("Max. Limitation"), this), 2, 2);
    QLabel *ohms = panel(QStringLiteral("SSPanel6"), QStringLiteral("Ohms"), this);
    m_ohmMin = entryBox(QStringLiteral("TxtR1"), this);
    m_ohmMax = entryBox(QStringLiteral("TxtR2"), this);
    grid->addWidget(ohms, 3, 0);
    grid->addWidget(m_ohmMin, 3, 1);
    grid->addWidget(m_ohmMax, 3, 2);
    QLabel *volts = panel(QStringLiteral("SSPanel7"), QStringLiteral("Volts"), this);
    m_voltMin = entryBox(QStringLiteral("UpTxtR1"), this);
    m_voltMax = entryBox(QStringLiteral("UpTxtR2"), this);
    grid->addWidget(volts, 4, 0);
    grid->addWidget(m_voltMin, 4, 1);
    grid->addWidget(m_voltMax, 4, 2);

    // Screen readers name each box by its row and column.
    fromPanel->setBuddy(m_from);
    toPanel->setBuddy(m_to);
    ohms->setBuddy(m_ohmMin);
    volts->setBuddy(m_voltMin);
    m_ohmMin->setAccessibleName(QStringLiteral("Ohms Min. Limitation"));
    m_ohmMax->setAccessibleName(QStringLiteral("Ohms Max. Limitation"));
    m_voltMin->setAccessibleName(QStringLiteral("Volts Min. Limitation"));
    m_voltMax->setAccessibleName(QStringLiteral("Volts Max. Limitation"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOk"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    grid->addWidget(ok, 5, 2);
    connect(ok, &QPushButton::clicked, this, &PlotRangeWindow::okPressed);
    // Return in any box is OK, as in a dialog.
    for (QLineEdit *edit : {m_from, m_to, m_ohmMin, m_ohmMax, m_voltMin, m_voltMax})
        connect(edit, &QLineEdit::returnPressed, this, &PlotRangeWindow::okPressed);
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
