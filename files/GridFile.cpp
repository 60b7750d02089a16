#include "files/GridFile.h"

#include "files/FileFormat.h"
#include "core/AppState.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QWidget>

namespace files {

namespace {

// A caption set for every row of a 43,749-row list costs more than the writing itself;
// every thousandth row and the last one show the progress just as well.
constexpr int CaptionEvery = 1000;
// Rows are gathered into blocks of about this size before they go to the file.
constexpr qsizetype BlockBytes = 256 * 1024;

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

void appendLatin1(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *to = out.data() + at;
    for (const QChar c : text)
        *to++ = c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
}

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

bool writeGrid(const ui::GridModel &grid, QIODevice &device, const std::function<void(int rows)> &progress)
{
    QByteArray block;
    block.reserve(BlockBytes + 4096);
    const int rows = grid.rows();
    const int cols = grid.cols();
    for (int r = 0; r < rows; ++r) {
        if (progress && (r % CaptionEvery == 0 || r == rows - 1))
            progress(r);
        for (int c = 0; c < cols; ++c) {
            appendLatin1(block, grid.cell(r, c));
            block.append('\t');
        }
        block.append("\r\n", 2);
        if (block.size() >= BlockBytes || r == rows - 1) {
            if (device.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return true;
}

bool WriteGridFile(QWidget &window, const ui::GridModel &grid, const QString &path, QString *error)
{
    BusyCaption busy(window);
    QSaveFile file(path);
    const auto failed = [&file, error] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    const auto caption = [&window](int rows) {
        window.setWindowTitle(QString::number(rows) + QLatin1String("Records Completed"));
    };
    if (!writeGrid(grid, file, caption))
        return failed();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool WriteGridFile(QWidget &window, const ui::GridModel &grid, core::AppState &state,
                   ui::Dialogs &dialogs)
{
    QString reason;
    const bool ok = WriteGridFile(window, grid, state.SavePath, &reason);
    state.SaveChosen = false;
    if (!ok)
        showFileError(dialogs, &window, cannotWriteText(state.SavePath, reason));
    return ok;
}

QString cannotWriteText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be written:\n%2").arg(QDir::toNativeSeparators(path), reason);
}

QString cannotReadText(const QString &path, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be read:\n%2").arg(QDir::toNativeSeparators(path), reason);
}

void showFileError(ui::Dialogs &dialogs, QWidget *parent, const QString &text)
{
    dialogs.message(parent, ui::Dialogs::Icon::Critical, QStringLiteral("Dorvel"), text);
}

} // namespace files
