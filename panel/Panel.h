#pragma once

#include "link/LivePoll.h"
#include "panel/WindowRegistry.h"

#include <QMainWindow>

namespace ui {
class Clock;
class Dialogs;
class SerialPort;
class Shell;
} // namespace ui

namespace meter {
struct AppState;
}

namespace panel {

class MeterFace;

// Services the main window works with; owned by main() (or a test).
struct PanelServices
{
    ui::SerialPort &comm1;
    ui::Dialogs &dialogs;
    ui::Shell &shell;
    ui::Clock &clock;
    meter::PollTimings pollTimings = {};
};

// The main window: the meter's face with the live reading, the link state, and the
// owner of the serial link and its poll.
class Panel : public QMainWindow
{
    Q_OBJECT
public:
    Panel(meter::AppState &state, PanelServices services, QWidget *parent = nullptr);
    ~Panel() override;

    // Opens the port and starts the poll. On failure says so and closes the window,
    // which ends the program; returns false then.
    bool load();

    void NoDataRoutine(); // shows the lost link
    meter::LivePoll &poll() { return m_poll; }
    WindowRegistry &views() { return m_views; }
    MeterFace &face() { return *m_face; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showReading();
    void showLinkBack();
    QString portText() const;

    meter::AppState &m_state;
    PanelServices m_services;
    meter::LivePoll m_poll;
    WindowRegistry m_views;

    MeterFace *m_face = nullptr;
};

} // namespace panel
