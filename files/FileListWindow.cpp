#include "files/FileListWindow.h"

#include "core/AppState.h"
#include "files/FileReader.h"
#include "files/GridFile.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QFileInfo>

namespace files {

namespace {

// Whatever a file's header says, the list shows these titles.
QStringList titles()
{
    return {QStringLiteral("No.s"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Ohm"),
            QStringLiteral("Voltage")};
}

} // namespace

FileListWindow::FileListWindow(core::AppState &state, ui::Dialogs &dialogs, QWidget *parent)
    : ui::ListWindow(titles(), ui::listSizingTexts(), parent)
    , m_state(state)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FileList"));
    setWindowTitle(QStringLiteral("FileList"));
    addButton(QStringLiteral("Plot"), QStringLiteral("Plot"), ui::Tool::Plot);
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
    enableTableTools(dialogs, [this] { return m_state.FileOhmRange; });

    m_reader = new FileReader(grid(), this);
    connect(m_reader, &FileReader::progress, this,
            [this](int lines) { setWindowTitle(QString::number(lines) + QLatin1String(" Records Completed")); });
    connect(m_reader, &FileReader::finished, this, &FileListWindow::readerFinished);
}

FileListWindow::~FileListWindow() = default;

void FileListWindow::load(const QString &path)
{
    m_path = path;
    m_title = QFileInfo(path).fileName();
    grid().clearToHeader();
    grid().setHeader(titles());
    setWindowTitle(m_title);
    m_reader->start(path);
}

bool FileListWindow::isLoading() const
{
    return m_reader->isReading();
}

void FileListWindow::buttonClick(const QString &key)
{
    if (key == QLatin1String("Plot"))
        emit plotRequested();
    else if (key == QLatin1String("Print"))
        emit printRequested();
}

void FileListWindow::readerFinished(bool ok, const QString &reason)
{
    setWindowTitle(m_title);
    // Rows read before a failure stay, and so do the ranges their header named.
    const HeaderRanges &ranges = m_reader->ranges();
    if (ranges.ohm)
        m_state.FileOhmRange = *ranges.ohm;
    if (ranges.volt)
        m_state.FileVoltRange = *ranges.volt;
    if (!ok)
        showFileError(m_dialogs, this, cannotReadText(m_path, reason));
    emit finished(ok);
}

} // namespace files
