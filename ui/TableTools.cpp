#include "ui/TableTools.h"

#include "ui/Dialogs.h"
#include "ui/ScreenFit.h"
#include "ui/StatisticsWindow.h"
#include "ui/WholeFile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QTableView>
#include <bit>

namespace ui {

namespace {

QAction *addAction(QTableView &view, const QString &text, const QKeySequence &key)
{
    auto *action = new QAction(text, &view);
    action->setShortcut(key);
    // The keys belong to the table: a window may hold other widgets with keys of their own.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setShortcutVisibleInContextMenu(true);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QLatin1String("...")),
                                                     key.toString(QKeySequence::NativeText)));
    view.addAction(action);
    return action;
}

} // namespace

TableTools::TableTools(QTableView &view, Dialogs &dialogs, Describe describe, Export offer)
    : QObject(&view)
    , m_view(view)
    , m_dialogs(dialogs)
    , m_describe(std::move(describe))
{
    m_view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view.setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view.setContextMenuPolicy(Qt::ActionsContextMenu);
    m_copy = addAction(m_view, QStringLiteral("Copy"), QKeySequence::Copy);
    m_selectAll = addAction(m_view, QStringLiteral("Select All"), QKeySequence::SelectAll);
    auto *separator = new QAction(&m_view);
    separator->setSeparator(true);
    m_view.addAction(separator);
    if (offer == Export::Offered) {
        m_export = addAction(m_view, QStringLiteral("Export CSV..."), QKeySequence(Qt::CTRL | Qt::Key_E));
        connect(m_export, &QAction::triggered, this, &TableTools::exportCsv);
    }
    m_stats = addAction(m_view, QStringLiteral("Statistics..."), QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_copy, &QAction::triggered, this, &TableTools::copy);
    connect(m_selectAll, &QAction::triggered, this, &TableTools::selectAll);
    connect(m_stats, &QAction::triggered, this, &TableTools::showStatistics);
    m_view.installEventFilter(this);
}

TableTools::~TableTools()
{
    if (m_statistics)
        m_statistics->close();
}

bool TableTools::eventFilter(QObject *watched, QEvent *event)
{
    // The spreadsheet keys for a whole row and a whole column: Shift+Space and Ctrl+Space.
    if (watched == &m_view && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QModelIndex current = m_view.currentIndex();
        if (key->key() == Qt::Key_Space && current.isValid()) {
            if (key->modifiers() == Qt::ShiftModifier) {
                m_view.selectRow(current.row());
                return true;
            }
            if (key->modifiers() == Qt::ControlModifier) {
                m_view.selectColumn(current.column());
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

SelectedCells TableTools::selection() const
{
    SelectedCells cells;
    const QAbstractItemModel *model = m_view.model();
    const QItemSelectionModel *selected = m_view.selectionModel();
    if (!model || !selected)
        return cells;
    const int rows = model->rowCount();
    const int cols = std::min(model->columnCount(), 64);
    // One mask of columns a row, built from the selection's ranges rather than by asking
    // about each cell: selecting 70,000 rows is one range.
    std::vector<quint64> mask(static_cast<size_t>(rows), 0);
    std::vector<int> perColumn(static_cast<size_t>(cols), 0);
    const QItemSelection ranges = selected->selection();
    for (const QItemSelectionRange &range : ranges) {
        quint64 bits = 0;
        for (int c = range.left(); c <= std::min(range.right(), cols - 1); ++c)
            bits |= quint64(1) << c;
        for (int r = range.top(); r <= std::min(range.bottom(), rows - 1); ++r)
            mask[static_cast<size_t>(r)] |= bits;
    }
    for (int r = 0; r < rows; ++r) {
        const quint64 bits = mask[static_cast<size_t>(r)];
        if (!bits)
            continue;
        cells.rows.push_back(r);
        cells.columns.push_back(bits);
        cells.anyColumn |= bits;
        for (int c = 0; c < cols; ++c)
            perColumn[static_cast<size_t>(c)] += int(bits >> c & 1);
    }
    cells.wholeColumns = cells.anyColumn != 0;
    for (int c = 0; c < cols; ++c)
        if ((cells.anyColumn >> c & 1) && perColumn[static_cast<size_t>(c)] != rows)
            cells.wholeColumns = false;
    return cells;
}

QString TableTools::selectionText() const
{
    const SelectedCells cells = selection();
    if (cells.rows.empty())
        return {};
    const TableDescription table = m_describe();
    const QAbstractItemModel *model = m_view.model();
    std::vector<int> columns;
    for (int c = 0; c < 64; ++c)
        if (cells.anyColumn >> c & 1)
            columns.push_back(c);
    QString text;
    text.reserve(qsizetype(cells.rows.size() * columns.size() * 10));
    const QLatin1String lineEnd("\r\n");
    if (cells.wholeColumns) {
        for (size_t k = 0; k < columns.size(); ++k) {
            if (k)
                text += QLatin1Char('\t');
            text += model->headerData(columns[k], Qt::Horizontal).toString().trimmed();
        }
        text += lineEnd;
    }
    // A row selected in only some of the columns leaves the others empty, so every line has
    // as many cells and the spreadsheet keeps them in their columns.
    for (size_t k = 0; k < cells.rows.size(); ++k) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c)
                text += QLatin1Char('\t');
            if (cells.columns[k] >> columns[c] & 1)
                text += table.text(cells.rows[k], columns[c]);
        }
        text += lineEnd;
    }
    return text;
}

void TableTools::copy()
{
    const QString text = selectionText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void TableTools::selectAll()
{
    m_view.selectAll();
}

namespace {

// One cell selected is where the cursor happens to be, not a choice of rows: the commands
// that work on "the selection, or every row" take every row then.
bool chosen(const SelectedCells &cells)
{
    return cells.rows.size() > 1 || (cells.rows.size() == 1 && std::popcount(cells.anyColumn) > 1);
}

} // namespace

QByteArray TableTools::csvBytes(const core::CsvOptions &options) const
{
    const TableDescription table = m_describe();
    const SelectedCells cells = selection();
    const bool all = !chosen(cells);
    const int rowCount = m_view.model() ? m_view.model()->rowCount() : 0;
    // The spreadsheet columns made of selected columns; every one for every row.
    QList<int> wanted;
    for (int c = 0; c < table.csvColumns.size(); ++c) {
        bool in = all;
        for (int source : table.csvSources.value(c))
            in = in || (cells.anyColumn >> source & 1);
        if (in)
            wanted << c;
    }
    QList<core::CsvColumn> columns;
    for (int c : wanted)
        columns << table.csvColumns[c];
    const auto cell = [&](int row, int column) {
        const int modelRow = all ? row : cells.rows[size_t(row)];
        const quint64 selected = all ? ~quint64(0) : cells.columns[size_t(row)];
        return joinedCell(table.csvSources.value(wanted[column]), [&](int source) -> std::optional<QString> {
            if (!(selected >> source & 1))
                return std::nullopt;
            return table.text(modelRow, source);
        });
    };
    return core::csvDocument(columns, all ? rowCount : int(cells.rows.size()), cell, options);
}

QString exportCsvFile(QWidget *parent, Dialogs &dialogs, bool offerMarkers,
                      const std::function<QByteArray(const core::CsvOptions &)> &bytes)
{
    const core::CsvOptions defaults = core::csvDefaults(QLocale());
    const auto choice = dialogs.csvChoice(parent, {defaults.separator, defaults.decimal, false}, offerMarkers);
    if (!choice)
        return {};
    const QString path = dialogs.saveFileName(parent, QStringLiteral("CSV (*.csv)|*.csv|All Files (*.*)|*.*|"));
    if (path.isEmpty())
        return {};
    core::CsvOptions options;
    options.separator = choice->separator;
    options.decimal = choice->decimal;
    options.keepMarkers = choice->keepMarkers;
    QString error;
    if (!saveWholeFile(path, bytes(options), &error)) {
        dialogs.message(parent, Dialogs::Icon::Critical, parent ? parent->window()->windowTitle() : QString(),
                        QStringLiteral("\"%1\" cannot be written: %2").arg(QDir::toNativeSeparators(path), error));
        return {};
    }
    return path;
}

bool TableTools::exportCsv()
{
    return !exportCsvFile(m_view.window(), m_dialogs, true, [this](const core::CsvOptions &options) {
                return csvBytes(options);
            }).isEmpty();
}

StatisticsWindow *TableTools::statisticsWindow() const
{
    return m_statistics;
}

StatisticsWindow *TableTools::showStatistics()
{
    if (!m_view.model())
        return nullptr;
    const SelectedCells cells = selection();
    if (!m_statistics) {
        m_statistics = new StatisticsWindow(*m_view.model(), m_view.window());
        const QRect list = m_view.window()->frameGeometry();
        m_statistics->move(list.topRight());
    }
    m_statistics->setScope(m_describe(), chosen(cells) ? std::optional<SelectedCells>(cells) : std::nullopt);
    m_statistics->show();
    keepOnScreen(*m_statistics);
    m_statistics->raise();
    m_statistics->activateWindow();
    return m_statistics;
}

} // namespace ui
