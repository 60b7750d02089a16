#pragma once

#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/PdfPrintService.h"
#include "ui/fakes/RecordingPrinter.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The main window on fakes, not yet loaded: COM n opens, dialogs are scripted, the shell
// records and the clock moves only when the test moves it; the program's folder is a fresh
// one, the data folder "share" in it. Prints go to recording printers, or, for a test that
// asks for Qt's printing by name, to the PDF file its scripted print dialog names: never to
// a printer of the machine the tests run on.
struct FakePanelRig
{
    QTemporaryDir dir;
    core::AppState state;
    ui::FakeSerialPort port;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    ui::FakePrintService printers;
    ui::PdfPrintService pdfPrinting;
    std::unique_ptr<panel::Panel> panel;

    enum class Printers { Recording, QtToPdf };
    explicit FakePanelRig(int comPort = 1, meter::PollTimings timings = {}, Printers use = Printers::Recording)
    {
        state.ComPortNumber = static_cast<int16_t>(comPort);
        port.openResults.insert(QStringLiteral("/dev/ttyS%1").arg(comPort - 1), ui::SerialPort::OpenResult::Opened);
        panel::PanelServices services{port, dialogs, shell, clock, timings, 1000, dir.path(), dir.filePath("share")};
        services.documentsFolder = dir.path();
        services.printService = use == Printers::QtToPdf ? static_cast<ui::PrintService *>(&pdfPrinting) : &printers;
        panel = std::make_unique<panel::Panel>(state, services);
    }
    QLabel *labelWidget(const char *name) const { return panel->findChild<QLabel *>(QString::fromLatin1(name)); }
    QString label(const char *name) const { return labelWidget(name)->text(); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

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
