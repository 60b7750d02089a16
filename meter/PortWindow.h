#pragma once

#include <QWidget>

class QComboBox;
class QProgressBar;
class QPushButton;

namespace ui {
class Dialogs;
class PortEnumerator;
class SerialPort;
class Shell;
} // namespace ui

namespace core {
struct AppState;
}

namespace meter {

// The first window: the user picks the meter's port and presses OK.
class PortWindow : public QWidget
{
    Q_OBJECT
public:
    PortWindow(core::AppState &state, ui::SerialPort &probe, const ui::PortEnumerator &ports, ui::Dialogs &dialogs,
               ui::Shell &shell, QWidget *parent = nullptr);

    // Pre-fills the field, as if typed (a device path given on the command line).
    void setChoiceText(const QString &text);

    void ok();
    void autoScan();
    void reset();
    void deviceManager();

signals:
    // OK was pressed and ComPortNumber / ComPortPath hold the choice.
    void portChosen();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    core::AppState &m_state;
    ui::SerialPort &m_probe;
    const ui::PortEnumerator &m_ports;
    ui::Dialogs &m_dialogs;
    ui::Shell &m_shell;
    QComboBox *m_txtCom = nullptr;
    QPushButton *m_cmdOk = nullptr;
    QPushButton *m_btnAutoScan = nullptr;
    QPushButton *m_btnReset = nullptr;
    QPushButton *m_btnDeviceManager = nullptr;
    QProgressBar *m_progress = nullptr;
};

} // namespace meter
