#include "panel/Panel.h"

#include "link/AppState.h"
#include "panel/MeterFace.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/SerialPort.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace panel {

Panel::Panel(meter::AppState &state, PanelServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_poll(services.comm1, state.reading, services.pollTimings)
{
    setObjectName(QStringLiteral("Panel"));
    setWindowTitle(QStringLiteral("Dorvel   V10.05"));

    // The face has one size; the window keeps a margin of desk around it.
    auto *desk = new QWidget(this);
    auto *layout = new QVBoxLayout(desk);
    layout->setContentsMargins(8, 8, 8, 8);
    m_face = new MeterFace(desk);
    layout->addWidget(m_face, 0, Qt::AlignCenter);
    setCentralWidget(desk);

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
    m_face->lblCom()->setText(QStringLiteral("Com") + portText());

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
    m_face->lblCom()->setText(QStringLiteral("No COM"));
}

void Panel::showLinkBack()
{
    m_face->lblCom()->setText(QStringLiteral("COM") + portText());
}

void Panel::showReading()
{
    const auto &r = m_state.reading;
    m_face->valOhm()->setText(r.OhmText);
    m_face->valVoltage()->setText(r.VoltText);
    m_face->lblMOhm()->setVisible(r.OhmInMilli);
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
