#pragma once

#include "core/AppState.h"
#include "panel/Panel.h"
#include "support/MeterSimProcess.h"
#include "ui/Clock.h"
#include "ui/QtSerialPort.h"
#include "ui/fakes/CountingTone.h"
#include "ui/fakes/PdfPrintService.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QLabel>
#include <QTemporaryDir>
#include <memory>

// The simulator on a pseudo-terminal, the real serial port and the main window, with
// scripted dialogs and shell.
struct SimPanelRig
{
    QTemporaryDir dir;
    MeterSimProcess sim;
    core::AppState state;
    ui::QtSerialPort port;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::SystemClock clock;
    ui::CountingTone tone;
    ui::PdfPrintService printing; // PDF files only, never a printer of this machine
    std::unique_ptr<panel::Panel> panel;

    explicit SimPanelRig(QStringList simArgs = {})
        : sim(dir.filePath(QStringLiteral("meter")), std::move(simArgs))
    {
    }

    bool start(meter::PollTimings timings = {}, int sampleTickMs = 1000)
    {
        if (!sim.start())
            return false;
        state.ComPortPath = sim.linkPath();
        panel = std::make_unique<panel::Panel>(
            state,
            panel::PanelServices{
                port, dialogs, shell, clock, timings, sampleTickMs, dir.path(), {}, &printing, &tone, dir.path()});
        return panel->load();
    }
    QLabel *labelWidget(const char *name) const { return panel->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString label(const char *name) const { return labelWidget(name)->text(); }
};
