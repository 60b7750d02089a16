#pragma once

#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingPrinter.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The main window on a fake port that opens as COM 1, with scripted dialogs, a recording
// shell and a clock the test moves; recording printers, or the system's.
struct FakePanelRig
{
    QTemporaryDir dir;
    core::AppState state;
    ui::FakeSerialPort port;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    ui::FakePrintService printers;
    std::unique_ptr<panel::Panel> panel;

    enum class Printers { Recording, System };
    explicit FakePanelRig(Printers use = Printers::Recording)
    {
        state.ComPortNumber = 1;
        port.openResults.insert(QStringLiteral("/dev/ttyS0"), ui::SerialPort::OpenResult::Opened);
        panel::PanelServices services{port, dialogs, shell, clock, {}, 1000, dir.path()};
        if (use == Printers::Recording)
            services.printService = &printers;
        panel = std::make_unique<panel::Panel>(state, services);
        panel->load();
    }

    // Writes the bytes to a file of the rig's folder, opens it through the tool bar's Open
    // File and waits until the File List has read it; null when that fails.
    files::FileListWindow *openInFileList(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return nullptr;
        file.close();
        dialogs.openAnswers.enqueue(file.fileName());
        panel->commands().click(QStringLiteral("Open"));
        files::FileListWindow *list = panel->views().window<panel::Role::FileList>();
        if (!list || !QTest::qWaitFor([list] { return !list->isLoading(); }, 10000))
            return nullptr;
        return list;
    }
};
