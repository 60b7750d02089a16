#pragma once

#include "core/AppState.h"
#include "panel/Panel.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QLabel>
#include <QTemporaryDir>
#include <memory>

// The main window on fakes: COM n opens, dialogs are scripted, the shell records and the
// clock stands still; the program's folder is a fresh one, the data folder "share" in it.
struct FakePanelRig
{
    QTemporaryDir dir;
    core::AppState state;
    ui::FakeSerialPort port;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    std::unique_ptr<panel::Panel> panel;

    explicit FakePanelRig(int comPort = 1, meter::PollTimings timings = {})
    {
        state.ComPortNumber = static_cast<int16_t>(comPort);
        port.openResults.insert(QStringLiteral("/dev/ttyS%1").arg(comPort - 1), ui::SerialPort::OpenResult::Opened);
        panel = std::make_unique<panel::Panel>(state, panel::PanelServices{port, dialogs, shell, clock, timings, 1000,
                                                                           dir.path(), dir.filePath("share")});
    }
    QLabel *labelWidget(const char *name) const { return panel->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString label(const char *name) const { return labelWidget(name)->text(); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};
