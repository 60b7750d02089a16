#include "meter/PortWindow.h"

#include "core/AppState.h"
#include "meter/ScanPorts.h"
#include "ui/DeviceManager.h"
#include "ui/Dialogs.h"
#include "ui/ScreenFit.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace meter {

PortWindow::PortWindow(core::AppState &state, ui::SerialPort &probe, const ui::PortEnumerator &ports,
                       ui::Dialogs &dialogs, ui::Shell &shell, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_probe(probe)
    , m_ports(ports)
    , m_dialogs(dialogs)
    , m_shell(shell)
{
    setObjectName(QStringLiteral("Port"));
    setWindowTitle(QStringLiteral("COM Port"));

    m_txtCom = new QComboBox(this);
    m_txtCom->setObjectName(QStringLiteral("TxtCOM"));
    m_txtCom->setEditable(true);
    m_txtCom->setInsertPolicy(QComboBox::NoInsert);
    // The typed text is compared with the list as typed: a completion would turn "com  1"
    // into "COM  1", or "COM  1" into "COM  10", behind the user's back.
    m_txtCom->setCompleter(nullptr);
    m_txtCom->setMinimumContentsLength(24);
    m_txtCom->setEditText(QStringLiteral("COM1"));

    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("CmdOK"));
    m_cmdOk->setDefault(true);
    m_btnAutoScan = new QPushButton(QStringLiteral("AutoScan"), this);
    m_btnAutoScan->setObjectName(QStringLiteral("BtnAutoScan"));
    m_btnReset = new QPushButton(QStringLiteral("Reset"), this);
    m_btnReset->setObjectName(QStringLiteral("BtnReset"));
    m_btnDeviceManager = new QPushButton(QStringLiteral("Device Manager"), this);
    m_btnDeviceManager->setObjectName(QStringLiteral("BtnDeviceManager"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 16);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_txtCom, 0, 0, 1, 2);
    grid->addWidget(m_cmdOk, 0, 2);
    grid->addWidget(m_btnAutoScan, 1, 0);
    grid->addWidget(m_btnReset, 1, 1);
    grid->addWidget(m_btnDeviceManager, 1, 2);
    grid->addWidget(m_progress, 2, 0, 1, 3);

    setTabOrder(m_cmdOk, m_txtCom);
    setTabOrder(m_txtCom, m_btnDeviceManager);
    setTabOrder(m_btnDeviceManager, m_btnAutoScan);
    setTabOrder(m_btnAutoScan, m_btnReset);

    connect(m_cmdOk, &QPushButton::clicked, this, &PortWindow::ok);
    connect(m_btnAutoScan, &QPushButton::clicked, this, &PortWindow::autoScan);
    connect(m_btnReset, &QPushButton::clicked, this, &PortWindow::reset);
    connect(m_btnDeviceManager, &QPushButton::clicked, this, &PortWindow::deviceManager);

    // Load: place the window, list all sixteen ports, select the first.
    move(ui::twipsToPixelsX(3700, *this), ui::twipsToPixelsY(2700, *this));
    ui::keepOnScreen(*this);
    reset();
    m_txtCom->setCurrentIndex(0);
}

void PortWindow::keyPressEvent(QKeyEvent *event)
{
    // Return chooses, as in a dialog, wherever the focus is.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ok();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PortWindow::setChoiceText(const QString &text)
{
    m_txtCom->setEditText(text);
}

void PortWindow::ok()
{
    const QString text = m_txtCom->currentText();
    if (text == QLatin1String("Auto")) {
        m_state.ComPortNumber = 1;
        m_state.ComPortPath.clear();
    } else if (const int n = comEntryNumber(text); n != 0) {
        m_state.ComPortNumber = static_cast<int16_t>(n);
        m_state.ComPortPath.clear();
    } else if (text.startsWith(QLatin1Char('/'))) {
        // A device path reaches adapters and pseudo-terminals that have no COM number.
        m_state.ComPortPath = text;
    }
    // Any other text leaves the earlier choice in force.
    emit portChosen();
    close();
}

void PortWindow::autoScan()
{
    const QList<QString> found = ScanPorts(m_probe, m_ports, [this](int n, int max) {
        m_progress->setMaximum(max);
        m_progress->setValue(n);
    });
    m_txtCom->clear();
    m_txtCom->addItems(found);
    if (found.isEmpty()) {
        m_txtCom->setCurrentIndex(-1);
        m_txtCom->setEditText(QString());
        m_dialogs.message(this, ui::Dialogs::Icon::Information, windowTitle(),
                          QStringLiteral("No serial port was found."));
        return;
    }
    m_txtCom->setCurrentIndex(0);
}

void PortWindow::reset()
{
    m_txtCom->clear();
    for (int n = 1; n <= 16; ++n)
        m_txtCom->addItem(comEntry(n));
}

void PortWindow::deviceManager()
{
    ui::showDeviceManager(this, m_ports, m_shell, m_dialogs);
}

} // namespace meter
