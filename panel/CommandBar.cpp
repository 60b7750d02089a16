#include "panel/CommandBar.h"

#include "files/FileFormat.h"
#include "files/GridFile.h"
#include "core/AppState.h"
#include "core/Text.h"
#include "link/LivePoll.h"
#include "link/Views.h"
#include "panel/PopupPanels.h"
#include "panel/Recorder.h"
#include "ui/ToolbarIcons.h"
#include "panel/WindowRegistry.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QToolBar>
#include <cmath>
#include <optional>

namespace panel {

namespace {

struct ButtonDef
{
    const char *key;
    const char *tip;
};

// Position matters: the recording state borrows the picture of button 8.
constexpr ButtonDef Buttons[] = {
    {"Save", "Save As"},
    {"Open", "Open File"},
    {"StartRealTime", "Start Real Time List or Graph"},
    {"List", "List Display"},
    {"Graph", "Graph Display"},
    {"Sample", "PC Sampling"},
    {"Memory", "Data Logger"},
    {"Stop", "Stop Recording"},
    {"ReSave", ""},
    {"Help", "Help..."},
};

} // namespace

std::optional<int32_t> parseSampleSeconds(const QString &answer)
{
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    if (value > 86400.0)
        return 86400;
    const double whole = core::roundHalfEven(value);
    if (whole < 1.0)
        return 1;
    return static_cast<int32_t>(std::min(whole, 86400.0));
}

CommandBar::CommandBar(QMainWindow &window, CommandContext context)
    : QObject(&window)
    , m_window(window)
    , m_ctx(std::move(context))
{
    m_toolBar = new QToolBar(&window);
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    int position = 1;
    for (const auto &def : Buttons) {
        const QString key = QString::fromLatin1(def.key);
        const QString tip = QString::fromLatin1(def.tip);
        // The tip doubles as the action's text, so keyboard and screen-reader users reach
        // the buttons by name.
        auto *action = m_toolBar->addAction(ui::toolbarIcon(position), tip.isEmpty() ? key : tip);
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [this, key] { click(key); });
        m_buttons.append(action);
        ++position;
    }
    window.addToolBar(Qt::TopToolBarArea, m_toolBar);
    showSaveIdle();
}

QAction *CommandBar::button(int position) const
{
    return m_buttons.value(position - 1);
}

void CommandBar::showSaveIdle()
{
    button(1)->setIcon(ui::saveButtonIcon(false));
    button(1)->setToolTip(QStringLiteral("Save As"));
    button(1)->setText(QStringLiteral("Save As"));
}

void CommandBar::showSaveRecording()
{
    button(1)->setIcon(ui::saveButtonIcon(true));
    button(1)->setToolTip(QStringLiteral("Stop Recording"));
    button(1)->setText(QStringLiteral("Stop Recording"));
}

void CommandBar::click(const QString &key)
{
    auto &s = m_ctx.state;
    if (key == QLatin1String("Save")) {
        save();
    } else if (key == QLatin1String("Open")) {
        if (!open())
            return;
    } else if (key == QLatin1String("StartRealTime")) {
        startRealTime();
    } else if (key == QLatin1String("Graph")) {
        meter::startGraphs(s, m_ctx.views, m_ctx.poll.intervalMs());
    } else if (key == QLatin1String("List")) {
        meter::startList(s, m_ctx.views);
    } else if (key == QLatin1String("Sample")) {
        sample();
    } else if (key == QLatin1String("Memory")) {
        m_ctx.poll.setEnabled(false);
        // A running download enables the poll again when it ends.
        if (s.DownloadBusy)
            return;
        if (m_ctx.startDownload) {
            m_ctx.startDownload();
            return;
        }
    } else if (key == QLatin1String("Help")) {
        m_ctx.helpChooser.show();
        m_ctx.helpChooser.raise();
    }
    m_ctx.poll.setEnabled(true);
}

bool CommandBar::save()
{
    auto &s = m_ctx.state;
    if (s.Recording) {
        m_ctx.recorder.stopRecording();
        showSaveIdle();
        m_ctx.lblRec.hide();
        m_ctx.lblCount.setText(QString());
        return true;
    }
    files::SaveDialog(m_ctx.dialogs, &m_window, s);
    if (!s.SaveChosen)
        return false;
    const QString path = s.SavePath;
    QString error;
    if (!m_ctx.recorder.startRecording(path, &error)) {
        s.SaveChosen = false;
        m_ctx.dialogs.message(&m_window, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                              QStringLiteral("Cannot record to \"%1\":\n%2").arg(path, error));
        return false;
    }
    m_ctx.lblFileName.setText(QFileInfo(path).fileName());
    showSaveRecording();
    m_ctx.lblRec.show();
    return true;
}

bool CommandBar::open()
{
    if (m_ctx.state.Recording) {
        m_ctx.dialogs.message(&m_window, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"),
                              QStringLiteral("Recording Mode!\n\rPlease stop recording!"));
        return false;
    }
    const QString path = m_ctx.dialogs.openFileName(&m_window, files::FileFilter);
    if (path.isEmpty())
        return true;
    if (m_ctx.openFileList)
        m_ctx.openFileList(path);
    return true;
}

void CommandBar::startRealTime()
{
    auto &s = m_ctx.state;
    m_ctx.realTimeChooser.show();
    m_ctx.realTimeChooser.raise();
    if (s.ListOpen)
        m_ctx.views.closeList();
    if (s.GraphOn) {
        m_ctx.views.closeOhmGraph();
        m_ctx.views.closeVoltGraph();
    }
}

void CommandBar::sample()
{
    auto &s = m_ctx.state;
    const auto answer = m_ctx.dialogs.inputText(
        &m_window, QStringLiteral("Input Sampling Time"),
        QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) "), QString::number(s.SampleSeconds));
    if (!answer || answer->isEmpty())
        return;
    const auto seconds = parseSampleSeconds(*answer);
    if (!seconds)
        return;
    m_ctx.recorder.setSampleSeconds(*seconds);
}

} // namespace panel
