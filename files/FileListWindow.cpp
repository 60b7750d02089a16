#include "files/FileListWindow.h"

#include "files/FileReader.h"
#include "files/GridFile.h"
#include "link/AppState.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace files {

namespace {

// Whatever a file's header says, the list shows these titles.
QStringList titles()
{
    return {QStringLiteral("No.s"), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Ohm"),
            QStringLiteral("Voltage")};
}

// Each column is as wide as its sizing text in the window's font.
QStringList sizingTexts()
{
    return {QStringLiteral(" 000000 "), QStringLiteral(" 0000/00/00 "), QStringLiteral(" 000:00:00 "),
            QStringLiteral("AAAAAAAA"), QStringLiteral("AVOLTAGE")};
}

constexpr int IconSize = 24;

QPixmap blankIcon()
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Two curves over a pair of axes.
QIcon plotIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(2, 2, 20, 20), Qt::white);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(4, 3), QPointF(4, 20));
    p.drawLine(QPointF(4, 20), QPointF(21, 20));
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.drawPolyline(QPolygonF({QPointF(5, 16), QPointF(9, 9), QPointF(13, 12), QPointF(17, 5), QPointF(21, 7)}));
    p.setPen(QPen(QColor(0, 0, 200), 1.6));
    p.drawPolyline(QPolygonF({QPointF(5, 18), QPointF(10, 15), QPointF(15, 16), QPointF(21, 13)}));
    return QIcon(pixmap);
}

// A printer with a sheet going in and a printed sheet coming out.
QIcon printIcon()
{
    QPixmap pixmap = blankIcon();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 2.5, 9, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QPointF(18, 12), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 15.5, 11, 6));
    p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
    return QIcon(pixmap);
}

} // namespace

FileListWindow::FileListWindow(meter::AppState &state, ui::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FileList"));
    setWindowTitle(QStringLiteral("FileList"));

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(IconSize, IconSize));
    const auto addButton = [this](const QString &key, const QString &tip, const QIcon &icon) {
        // The tip doubles as the text, so keyboard and screen-reader users find the button by name.
        QAction *action = m_toolbar->addAction(icon, tip);
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(tip);
    };
    addButton(QStringLiteral("Plot"), QStringLiteral("Plot"), plotIcon());
    addButton(QStringLiteral("Print"), QStringLiteral("Print"), printIcon());
    connect(m_toolbar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { buttonClick(action->data().toString()); });

    m_grid = new ui::GridModel(5, this);
    m_grid->setHeader(titles());
    m_view = new ui::GridView(*m_grid, this);
    m_view->setObjectName(QStringLiteral("Grid"));
    int width = 0;
    const QStringList sizing = sizingTexts();
    for (int c = 0; c < sizing.size(); ++c) {
        m_view->setColumnWidthFromText(c, sizing.at(c));
        width += m_view->columnWidth(c);
    }

    m_reader = new FileReader(*m_grid, m_state, this);
    connect(m_reader, &FileReader::progress, this, [this](int lines) {
        setWindowTitle(QString::number(lines) + QLatin1String(" Records Completed"));
    });
    connect(m_reader, &FileReader::finished, this, &FileListWindow::readerFinished);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_view);

    // Room for the five columns and about twenty rows.
    const int frame = 2 * m_view->frameWidth();
    resize(width + frame + m_view->verticalScrollBar()->sizeHint().width(),
           m_toolbar->sizeHint().height() + m_view->horizontalHeader()->sizeHint().height()
               + 20 * m_view->verticalHeader()->defaultSectionSize() + frame);
}

FileListWindow::~FileListWindow() = default;

void FileListWindow::placeBeside(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    move(main.x() + main.width(), main.y());
}

void FileListWindow::load(const QString &path)
{
    m_path = path;
    m_title = QFileInfo(path).fileName();
    m_grid->clearToHeader();
    m_grid->setHeader(titles());
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
    if (!ok)
        showFileError(m_dialogs, this, cannotReadText(m_path, reason));
    emit finished(ok);
}

} // namespace files
