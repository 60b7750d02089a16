#include "files/GridFile.h"

#include "core/AppState.h"
#include "files/FileFormat.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace files {

namespace {

// Restores the busy pointer and the caption on every way out of the writer.
class BusyCaption
{
public:
    explicit BusyCaption(QWidget &window)
        : m_window(window)
        , m_caption(window.windowTitle())
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCaption()
    {
        m_window.setWindowTitle(m_caption);
        QGuiApplication::restoreOverrideCursor();
    }
    BusyCaption(const BusyCaption &) = delete;
    BusyCaption &operator=(const BusyCaption &) = delete;

private:
    QWidget &m_window;
    QString m_caption;
};

} // namespace

bool SaveDialog(ui::Dialogs &dialogs, QWidget *parent, core::AppState &state)
{
    const QString chosen = dialogs.saveFileName(parent, FileFilter);
    if (chosen.isEmpty()) {
        state.SaveChosen = false;
        return false;
    }
    state.SavePath = chosen;
    state.SaveChosen = !QFileInfo(chosen).fileName().isEmpty();
    return state.SaveChosen;
}

bool WriteGridFile(QWidget &window, const ui::GridModel &grid, const QString &path, QString *error)
{
    BusyCaption busy(window);
    return saveGrid(grid, path, error, [&window](int rows) {
        window.setWindowTitle(QString::number(rows) + QLatin1String("Records Completed"));
    });
}

bool WriteGridFile(QWidget &window, const ui::GridModel &grid, core::AppState &state, ui::Dialogs &dialogs)
{
    QString reason;
    const bool ok = WriteGridFile(window, grid, state.SavePath, &reason);
    state.SaveChosen = false;
    if (!ok)
        showFileError(dialogs, &window, cannotWriteText(state.SavePath, reason));
    return ok;
}

void showFileError(ui::Dialogs &dialogs, QWidget *parent, const QString &text)
{
    dialogs.message(parent, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"), text);
}

} // namespace files
