#include "panel/CommandBar.h"

#include "core/AppState.h"
#include "core/Text.h"
#include "files/FileFormat.h"
#include "files/GridFile.h"
#include "meter/LivePoll.h"
#include "panel/PopupPanels.h"
#include "panel/Recorder.h"
#include "panel/WindowRegistry.h"
#include "realtime/Views.h"
#include "ui/Dialogs.h"
#include "ui/ToolbarIcons.h"

#include <QAction>
#include <QDir>
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
    QKeyCombination shortcut = {};
    // Buttons 8 and 9 have no action of their own: they stay in the bar's model (button 1
    // borrows the picture of 8) but are not shown, so nobody clicks a button that does nothing.
    bool shown = true;
};

// Position matters: the recording state borrows the picture of button 8.
constexpr ButtonDef Buttons[] = {
    // Ctrl+S belongs to the bar, not to button 1: it starts a recording but never stops one.
    {"Save", "Save As"},
    {"Open", "Open File", Qt::CTRL | Qt::Key_O},
    {"StartRealTime", "Start Real Time List or Graph"},
    {"List", "List Display"},
    {"Graph", "Graph Display"},
    {"Sample", "PC Sampling"},
    {"Memory", "Data Logger"},
    {"Stop", "Stop Recording", {}, false},
    {"ReSave", "", {}, false},
    {"Help", "Help...", QKeyCombination(Qt::Key_F1)},
    {"Sort", "Cell Sorting", Qt::CTRL | Qt::Key_T},
};

// The tip with the button's shortcut after it, as desktop tool bars show them.
void setTip(QAction *action, const QString &tip)
{
    action->setText(tip);
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    action->setToolTip(keys.isEmpty() || tip.isEmpty() ? tip : tip + QLatin1String(" (") + keys + QLatin1Char(')'));
}

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
        if (def.shortcut != QKeyCombination())
            action->setShortcut(QKeySequence(def.shortcut));
        if (!tip.isEmpty())
            setTip(action, tip);
        action->setVisible(def.shown);
        connect(action, &QAction::triggered, this, [this, key] { click(key); });
        m_buttons.append(action);
        ++position;
    }
    window.addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_saveKey = new QAction(QStringLiteral("Save As"), &window);
    m_saveKey->setObjectName(QStringLiteral("SaveKey"));
    m_saveKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    window.addAction(m_saveKey);
    connect(m_saveKey, &QAction::triggered, this, &CommandBar::saveKey);
    showSaveIdle();

    // Quitting closes the main window, which ends the program as its close does.
    auto *quit = new QAction(QStringLiteral("Quit"), &window);
    quit->setObjectName(QStringLiteral("Quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    window.addAction(quit);
    connect(quit, &QAction::triggered, &window, &QWidget::close);
}

QAction *CommandBar::button(int position) const
{
    return m_buttons.value(position - 1);
}

void CommandBar::showSaveIdle()
{
    button(1)->setIcon(ui::saveButtonIcon(false));
    setTip(button(1), QStringLiteral("Save As"));
    const QString keys = m_saveKey->shortcut().toString(QKeySequence::NativeText);
    button(1)->setToolTip(QStringLiteral("Save As (%1)").arg(keys));
}

void CommandBar::showSaveRecording()
{
    button(1)->setIcon(ui::saveButtonIcon(true));
    setTip(button(1), QStringLiteral("Stop Recording"));
}

void CommandBar::saveKey()
{
    // Saving out of habit must not end an overnight recording.
    if (m_ctx.state.Recording) {
        m_ctx.dialogs.notice(
            &m_window, QStringLiteral("Dorvel"),
            QStringLiteral("Recording into %1. Press Stop Recording (the first tool-bar button) to stop.")
                .arg(QDir::toNativeSeparators(m_ctx.recorder.recordingPath())));
        return;
    }
    click(QStringLiteral("Save"));
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
        realtime::startGraphs(s, m_ctx.views, m_ctx.poll.intervalMs());
    } else if (key == QLatin1String("List")) {
        realtime::startList(s, m_ctx.views);
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
        // F1 (or the button) again puts the panel away.
        if (!m_ctx.helpChooser.isHidden()) {
            m_ctx.helpChooser.hide();
        } else {
            m_ctx.helpChooser.show();
            m_ctx.helpChooser.raise();
        }
    } else if (key == QLatin1String("Sort")) {
        if (m_ctx.openSorting)
            m_ctx.openSorting();
    }
    m_ctx.poll.setEnabled(true);
}

bool CommandBar::save()
{
    auto &s = m_ctx.state;
    if (s.Recording) {
        m_ctx.recorder.stopRecording();
        showSaveIdle();
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
    showSaveRecording();
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
