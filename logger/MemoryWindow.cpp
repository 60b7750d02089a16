#include "logger/MemoryWindow.h"

#include "core/AppState.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/ScreenFit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace logger {

namespace {

// A raised caption panel over its value.
QLabel *captionPanel(const QString &name, const QString &text, QWidget *parent)
{
    auto *panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMargin(3);
    return panel;
}

QLabel *valueLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(3);
    return label;
}

ui::GridView *fixedGrid(ui::GridModel &model, const QString &name, const QStringList &sizingTexts, QWidget *parent)
{
    auto *view = new ui::GridView(model, parent);
    view->setObjectName(name);
    int width = 2 * view->frameWidth();
    for (int c = 0; c < sizingTexts.size(); ++c) {
        view->setColumnWidthFromText(c, sizingTexts.at(c));
        width += view->columnWidth(c);
    }
    view->setMinimumWidth(width);
    view->setMaximumWidth(width + 24);
    return view;
}

} // namespace

MemoryWindow::MemoryWindow(core::AppState &state, ui::SerialPort &port, meter::LivePoll &poll, DownloadTimings timings,
                           QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
{
    setObjectName(QStringLiteral("Memory"));
    setWindowTitle(QStringLiteral("Data Logger"));

    m_blocks = new ui::GridModel(5, this);
    m_blocks->setHeader({QStringLiteral("No.s"), QStringLiteral("Ohm Range"), QStringLiteral("V Range"),
                         QStringLiteral("Sampling"), QStringLiteral("Records")});
    m_blockView = fixedGrid(*m_blocks, QStringLiteral("GridSet"),
                            {QStringLiteral(" 000 "), QStringLiteral("AOhm RangeA"), QStringLiteral("AV RangeA"),
                             QStringLiteral(" Sampling "), QStringLiteral(" Records ")},
                            this);
    connect(m_blockView, &ui::GridView::cellClicked, this, [this](int row, int) { emit blockClicked(row); });

    // The limits grid is part of the meter's window but holds nothing the logger sends.
    m_limits = new ui::GridModel(5, this);
    m_limits->setHeader({QStringLiteral("No"), QStringLiteral("(m)Ohm High"), QStringLiteral("(m)Ohm Low"),
                         QStringLiteral("m/Ohm"), QStringLiteral("Voltage")});
    auto *limitView = fixedGrid(*m_limits, QStringLiteral("Grid"),
                                {QStringLiteral("AAA"), QStringLiteral("A(m)Ohm High"), QStringLiteral("A(m)Ohm Low"),
                                 QStringLiteral("AmOhm"), QStringLiteral("AVoltage")},
                                this);
    limitView->setMaximumHeight(limitView->horizontalHeader()->sizeHint().height()
                                + 6 * limitView->verticalHeader()->defaultSectionSize());

    auto *compare = new QPushButton(QStringLiteral("Compare"), this);
    compare->setObjectName(QStringLiteral("CmdCompare"));
    // Comparing against the limits is not a function of this program: shown, not pressable.
    compare->setEnabled(false);

    m_remain = valueLabel(QStringLiteral("LblRemain"), QStringLiteral("48.0 K"), this);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("LblMessage"));

    auto *sizes = new QGridLayout;
    sizes->addWidget(captionPanel(QStringLiteral("SSPanel1"), QStringLiteral("Memory Size"), this), 0, 0);
    sizes->addWidget(valueLabel(QStringLiteral("LblSize"), QStringLiteral("48.0 K"), this), 1, 0);
    sizes->addWidget(captionPanel(QStringLiteral("SSPanel2"), QStringLiteral("Remained"), this), 0, 1);
    sizes->addWidget(m_remain, 1, 1);
    sizes->addWidget(m_message, 0, 2, 2, 1);
    sizes->setColumnStretch(2, 1);

    auto *limitsColumn = new QVBoxLayout;
    limitsColumn->addWidget(limitView);
    limitsColumn->addWidget(compare, 0, Qt::AlignLeft);
    limitsColumn->addStretch(1);

    auto *grids = new QHBoxLayout;
    grids->addWidget(m_blockView, 1);
    grids->addLayout(limitsColumn);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sizes);
    layout->addLayout(grids, 1);
    resize(sizeHint().width(), 360);

    m_download = new MemoryDownload(port, poll, state, timings, this);
    connect(m_download, &MemoryDownload::message, m_message, &QLabel::setText);
    connect(m_download, &MemoryDownload::remain, m_remain, &QLabel::setText);
    connect(m_download, &MemoryDownload::blocksFound, this, [this](const QStringList &rows) {
        m_blocks->clearToHeader();
        m_blocks->addRows(rows);
    });
    m_state.MemoryOpen = true;
}

MemoryWindow::~MemoryWindow() = default;

void MemoryWindow::placeBeside(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    move(main.x() + main.width(), main.y());
    ui::keepOnScreen(*this);
}

void MemoryWindow::closeEvent(QCloseEvent *event)
{
    m_download->abandon();
    m_state.MemoryOpen = false;
    QWidget::closeEvent(event);
}

} // namespace logger
