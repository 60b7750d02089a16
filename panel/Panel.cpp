#include "panel/Panel.h"

#include "core/AppState.h"
#include "files/FileFormat.h"
#include "meter/PortFailure.h"
#include "panel/CommandBar.h"
#include "panel/MeterFace.h"
#include "panel/PopupPanels.h"
#include "panel/Wiring.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/SerialPort.h"
#include "ui/Shell.h"
#include "ui/Tone.h"

#include <QStandardPaths>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

namespace panel {

Panel::Panel(core::AppState &state, PanelServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_poll(services.comm1, state.reading, services.pollTimings)
    , m_recorder(state, services.clock, *this)
    , m_printing(services.dialogs, services.printService ? *services.printService : m_systemPrinters,
                 [this] { return std::make_shared<meter::PollPause>(m_poll.pause()); })
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

    // The two pop-up panels lie over the face, hidden until the command bar shows them.
    m_realTime = new RealTimeChooser(desk);
    m_realTime->move(m_face->geometry().left() + 200, 150);
    m_help = new HelpChooser(desk);
    m_help->move(m_face->geometry().left() + 70, 110);
    connect(m_realTime, &RealTimeChooser::listChosen, this, [this] { realtime::startList(m_state, m_views); });
    connect(m_realTime, &RealTimeChooser::graphChosen, this,
            [this] { realtime::startGraphs(m_state, m_views, m_poll.intervalMs()); });
    connect(m_help, &HelpChooser::languageChosen, this, &Panel::openManual);
    // Esc puts a pop-up panel away, as the chooser's Exit does.
    auto *closePanels = new QAction(QStringLiteral("Close Panel"), this);
    closePanels->setObjectName(QStringLiteral("ClosePanel"));
    closePanels->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(closePanels);
    connect(closePanels, &QAction::triggered, this, [this] {
        m_realTime->hide();
        m_help->hide();
    });

    m_commands = new CommandBar(
        *this, CommandContext{m_state, m_services.dialogs, m_poll, m_views, m_recorder, *m_realTime, *m_help,
                              [this](const QString &path) { openFileList(path); },
                              [this] { m_wiring->startDownload(); }, [this] { m_wiring->openSorting(); }});

    if (!m_services.tone) {
        m_silentTone = std::make_unique<ui::SilentTone>();
        m_services.tone = m_silentTone.get();
    }
    if (m_services.documentsFolder.isEmpty())
        m_services.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_wiring = new Wiring(WiringContext{m_state, m_services.dialogs, m_views, m_printing, m_poll, *this,
                                        m_services.comm1, m_services.clock, [this] { restoreLinkLabel(); },
                                        *m_services.tone, m_services.documentsFolder},
                          this);

    connect(&m_poll, &meter::LivePoll::readingDecoded, this, &Panel::showReading);
    connect(&m_poll, &meter::LivePoll::linkLost, this, &Panel::NoDataRoutine);
    connect(&m_poll, &meter::LivePoll::linkBack, this, &Panel::showLinkBack);
}

Panel::~Panel()
{
    // The secondary windows are top-level and hold references into this window's state.
    m_views.destroyAll();
}

bool Panel::load()
{
    move(0, 0);
    auto &port = m_services.comm1;
    port.setPortName(m_state.ComPortPath.isEmpty() ? ui::systemPathForCom(m_state.ComPortNumber) : m_state.ComPortPath);
    // Port 0 means no port was ever chosen: nothing to open.
    const bool chosen = !m_state.ComPortPath.isEmpty() || m_state.ComPortNumber >= 1;
    auto result = ui::SerialPort::OpenResult::Opened;
    if (chosen && !port.isOpen())
        result = port.open();
    if (!chosen || result != ui::SerialPort::OpenResult::Opened) {
        const QString message = QStringLiteral("COM Port Open Error !!!");
        const QString details =
            chosen ? meter::openFailureDetails(port.portName(), result, port.errorString(), port.deviceGroup())
                   : QStringLiteral("No port was chosen.");
        // Started from a terminal or a script, the reason goes where it can be read later.
        QTextStream(stderr) << "dorvel: " << message << '\n' << details << '\n';
        m_services.dialogs.detailedMessage(this, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"), message,
                                           details);
        port.close();
        close();
        return false;
    }
    m_face->setLinkText(QStringLiteral("Com") + portText());

    m_state.Recording = false;
    m_state.SampleSeconds = 2;
    m_state.SampleClock = m_services.clock.now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    m_poll.setEnabled(true);
    m_recorder.startTimer(m_services.sampleTickMs);
    m_state.MemoryOpen = false;
    m_state.DownloadBusy = false;
    return true;
}

void Panel::NoDataRoutine()
{
    m_face->setLinkText(QStringLiteral("No COM"));
    m_face->setReadingStale(true);
}

void Panel::restoreLinkLabel()
{
    // Only while the link is up: a poll that waits for a silent meter keeps "No COM".
    const auto phase = m_poll.phase();
    if (phase == meter::LivePoll::Phase::Idle || phase == meter::LivePoll::Phase::Waiting)
        showLinkBack();
}

void Panel::showLinkBack()
{
    m_face->setLinkText(QStringLiteral("COM") + portText());
}

void Panel::showReading(const core::Reading &r)
{
    m_state.ReadingAtMs = m_services.clock.monotonicMs();
    m_face->setReadingStale(false);
    m_face->valOhm()->setText(r.OhmText);
    m_face->valVoltage()->setText(r.VoltText);
    m_face->lblMOhm()->setVisible(r.OhmInMilli);
    realtime::restartViewsOnRangeChange(m_state, m_views, m_poll.intervalMs());
}

void Panel::openManual(int language)
{
    const QString dir =
        m_services.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_services.programDir;
    const QString dataDir =
        m_services.dataDir.isEmpty()
            ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(DORVEL_DATA_FROM_BIN))
            : m_services.dataDir;
    QString path = QDir(dir).filePath(HelpChooser::manualFile(language));
    if (const QString installed = QDir(dataDir).filePath(HelpChooser::manualFile(language));
        !QFileInfo::exists(path) && QFileInfo::exists(installed))
        path = installed;
    // A click that does nothing looks like a dead button: say what is missing.
    if (!QFileInfo::exists(path)) {
        m_services.dialogs.message(
            this, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"),
            QStringLiteral("The manual \"%1\" was not found.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!m_services.shell.openDocument(path))
        m_services.dialogs.message(
            this, ui::Dialogs::Icon::Warning, QStringLiteral("Dorvel"),
            QStringLiteral("No program could show the manual \"%1\".").arg(QDir::toNativeSeparators(path)));
}

void Panel::openFileList(const QString &path)
{
    m_wiring->openFileList(path);
}

void Panel::setRecLabel(const QString &text)
{
    m_face->lblRec()->setText(text);
}

void Panel::setCountLabel(const QString &text)
{
    m_face->lblCount()->setText(text);
}

void Panel::setRecShown(bool shown)
{
    m_face->lblRec()->setVisible(shown);
}

void Panel::setFileNameLabel(const QString &text)
{
    m_face->lblFileName()->setText(text);
}

void Panel::showSaveIdle()
{
    m_commands->showSaveIdle();
}

void Panel::appendListRow(const QString &row)
{
    m_wiring->appendListRow(row);
}

void Panel::reportWriteFailure(const QString &path, const QString &reason)
{
    m_services.dialogs.message(this, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                               QStringLiteral("Recording stopped: \"%1\" could not be written.\n%2")
                                   .arg(QDir::toNativeSeparators(path), reason));
}

void Panel::showNotice(const QString &text)
{
    m_services.dialogs.notice(this, QStringLiteral("Dorvel"), text);
}

QString Panel::portText() const
{
    return ui::linkLabelSuffix(m_state.ComPortNumber, m_state.ComPortPath);
}

void Panel::closeEvent(QCloseEvent *event)
{
    // The main window ends the program: every other window goes with it, and the port
    // is released.
    m_recorder.stopTimer();
    if (m_state.Recording)
        m_recorder.stopRecording();
    m_views.closeAll();
    // After the windows: a download that ends with its window lets the poll run again.
    m_poll.setEnabled(false);
    m_services.comm1.close();
    event->accept();
}

} // namespace panel
