#include "panel/Panel.h"

#include "link/AppState.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/SerialPort.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>

namespace panel {

Panel::Panel(meter::AppState &state, PanelServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_poll(services.comm1, state.reading, services.pollTimings)
{
    setObjectName(QStringLiteral("Panel"));
    setWindowTitle(QStringLiteral("Dorvel   V10.05"));

    auto *face = new QWidget(this);
    auto *grid = new QGridLayout(face);

    m_valOhm = new QLabel(face);
    m_valOhm->setObjectName(QStringLiteral("ValOhm"));
    m_valOhm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valOhm->setFont(QFont(QStringLiteral("Times New Roman"), 36, QFont::Bold));
    m_valOhm->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    m_valOhm->setMinimumWidth(220);

    m_lblMOhm = new QLabel(QStringLiteral("m"), face);
    m_lblMOhm->setObjectName(QStringLiteral("LblMOhm"));
    m_lblMOhm->setFont(QFont(QStringLiteral("MS Sans Serif"), 8, QFont::Bold));
    m_lblMOhm->setVisible(false);

    auto *lblOhm = new QLabel(QStringLiteral("\u03A9"), face);
    lblOhm->setObjectName(QStringLiteral("Image1"));

    m_valVoltage = new QLabel(face);
    m_valVoltage->setObjectName(QStringLiteral("ValVoltage"));
    m_valVoltage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_valVoltage->setFont(QFont(QStringLiteral("Times New Roman"), 24, QFont::Bold));

    auto *lblV = new QLabel(QStringLiteral("V"), face);
    lblV->setObjectName(QStringLiteral("LblV"));

    m_lblCom = new QLabel(QStringLiteral("COM1"), face);
    m_lblCom->setObjectName(QStringLiteral("LblCom"));
    m_lblCom->setFont(QFont(QStringLiteral("Times New Roman"), 16, QFont::Bold));

    grid->addWidget(m_valOhm, 0, 0);
    grid->addWidget(m_lblMOhm, 0, 1);
    grid->addWidget(lblOhm, 0, 2);
    grid->addWidget(m_valVoltage, 1, 0);
    grid->addWidget(lblV, 1, 2);
    grid->addWidget(m_lblCom, 2, 0, 1, 3);
    setCentralWidget(face);

    connect(&m_poll, &meter::LivePoll::readingDecoded, this, &Panel::showReading);
    connect(&m_poll, &meter::LivePoll::linkLost, this, &Panel::NoDataRoutine);
    connect(&m_poll, &meter::LivePoll::linkBack, this, &Panel::showLinkBack);
}

Panel::~Panel() = default;

bool Panel::load()
{
    move(0, 0);
    auto &port = m_services.comm1;
    port.setPortName(m_state.ComPortPath.isEmpty() ? ui::systemPathForCom(m_state.ComPortNumber)
                                                   : m_state.ComPortPath);
    const bool opened = port.isOpen() || port.open() == ui::SerialPort::OpenResult::Opened;
    if (!opened || (m_state.ComPortPath.isEmpty() && m_state.ComPortNumber < 1)) {
        m_services.dialogs.message(this, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                                   QStringLiteral("COM Port Open Error !!!"));
        port.close();
        close();
        return false;
    }
    m_lblCom->setText(QStringLiteral("Com") + portText());

    m_state.Recording = false;
    m_state.SampleSeconds = 2;
    m_state.SampleClock = m_services.clock.now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    m_poll.setEnabled(true);
    m_state.MemoryOpen = false;
    m_state.DownloadBusy = false;
    return true;
}

void Panel::NoDataRoutine()
{
    m_lblCom->setText(QStringLiteral("No COM"));
}

void Panel::showLinkBack()
{
    m_lblCom->setText(QStringLiteral("COM") + portText());
}

void Panel::showReading()
{
    const auto &r = m_state.reading;
    m_valOhm->setText(r.OhmText);
    m_valVoltage->setText(r.VoltText);
    m_lblMOhm->setVisible(r.OhmInMilli);
    meter::restartViewsOnRangeChange(m_state, m_views, m_poll.intervalMs());
}

QString Panel::portText() const
{
    return ui::linkLabelSuffix(m_state.ComPortNumber, m_state.ComPortPath);
}

void Panel::closeEvent(QCloseEvent *event)
{
    // The main window ends the program: every other window goes with it, and the port
    // is released.
    m_poll.setEnabled(false);
    m_views.closeAll();
    m_services.comm1.close();
    event->accept();
}

} // namespace panel
