#include "ui/GridModel.h"

#include <algorithm>

namespace ui {

namespace {

// Cells and rows of a measurement file are tiny; a length that does not fit 32 bits
// cannot come from a real file, and QString would not hold it anyway.
uint32_t narrow(qsizetype n)
{
    return static_cast<uint32_t>(std::clamp<qsizetype>(n, 0, UINT32_MAX));
}

template <typename T>
void releaseSpare(std::vector<T> &v)
{
    // After a large list is cut back, give the memory back rather than keep it for a
    // refill that may never come.
    if (v.capacity() > 1024 && v.capacity() / 4 > v.size())
        v.shrink_to_fit();
}

} // namespace

GridModel::GridModel(int cols, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cols(std::max(1, cols))
{
    m_rows.emplace_back();
    m_spans.resize(static_cast<size_t>(m_cols));
}

void GridModel::setRows(int rows)
{
    rows = std::max(1, rows);
    const int old = this->rows();
    if (rows < old) {
        beginRemoveRows(QModelIndex(), rows - 1, old - 2);
        m_rows.resize(static_cast<size_t>(rows));
        m_spans.resize(static_cast<size_t>(rows) * m_cols);
        releaseSpare(m_rows);
        releaseSpare(m_spans);
        endRemoveRows();
    } else if (rows > old) {
        beginInsertRows(QModelIndex(), old - 1, rows - 2);
        m_rows.resize(static_cast<size_t>(rows));
        m_spans.resize(static_cast<size_t>(rows) * m_cols);
        endInsertRows();
    }
}

void GridModel::setCols(int cols)
{
    cols = std::max(1, cols);
    if (cols == m_cols)
        return;
    std::vector<Span> spans(static_cast<size_t>(rows()) * cols);
    const int keep = std::min(cols, m_cols);
    for (int r = 0; r < rows(); ++r)
        std::copy_n(spansOf(r), keep, spans.data() + static_cast<size_t>(r) * cols);
    if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        m_spans.swap(spans);
        m_cols = cols;
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
        m_spans.swap(spans);
        m_cols = cols;
        endRemoveColumns();
    }
}

GridSnapshot GridModel::snapshot() const
{
    GridSnapshot copy;
    copy.m_cols = m_cols;
    copy.m_rows = m_rows;
    copy.m_spans = m_spans;
    return copy;
}

QStringView GridModel::cell(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        return {};
    const Span s = spansOf(row)[col];
    return QStringView(m_rows[static_cast<size_t>(row)]).mid(s.start, s.length);
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        return;
    // Rebuild the row: rows are a few dozen characters, and this keeps the cells of an
    // appended line and of a changed row in the same form.
    QString joined;
    std::vector<Span> spans(static_cast<size_t>(m_cols));
    for (int c = 0; c < m_cols; ++c) {
        const QStringView piece = c == col ? QStringView(text) : cell(row, c);
        spans[static_cast<size_t>(c)] = {narrow(joined.size()), narrow(piece.size())};
        joined += piece;
    }
    m_rows[static_cast<size_t>(row)] = joined;
    std::copy(spans.begin(), spans.end(), spansOf(row));
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex at = index(row - 1, col);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

void GridModel::setHeader(const QStringList &titles)
{
    for (int c = 0; c < std::min<int>(m_cols, static_cast<int>(titles.size())); ++c)
        setText(0, c, titles.at(c));
}

void GridModel::appendSplit(const QString &line)
{
    m_rows.push_back(line);
    const size_t base = m_spans.size();
    m_spans.resize(base + static_cast<size_t>(m_cols));
    Span *spans = m_spans.data() + base;
    qsizetype start = 0;
    for (int c = 0; c < m_cols; ++c) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        const qsizetype end = tab < 0 ? line.size() : tab;
        spans[c] = {narrow(start), narrow(end - start)};
        if (tab < 0)
            break;
        start = tab + 1;
    }
}

void GridModel::addRow(const QString &tabSeparated)
{
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at);
    appendSplit(tabSeparated);
    endInsertRows();
}

void GridModel::addRows(const QList<QString> &tabSeparated)
{
    if (tabSeparated.isEmpty())
        return;
    const int at = rowCount();
    beginInsertRows(QModelIndex(), at, at + static_cast<int>(tabSeparated.size()) - 1);
    for (const QString &line : tabSeparated)
        appendSplit(line);
    endInsertRows();
}

void GridModel::reserveRows(qsizetype rows)
{
    m_rows.reserve(static_cast<size_t>(rows));
    m_spans.reserve(static_cast<size_t>(rows) * static_cast<size_t>(m_cols));
}

void GridModel::squeeze()
{
    // Room that came close to the need stays: copying the whole grid would cost more than
    // the little it gives back.
    if (m_rows.capacity() - m_rows.size() > m_rows.size() / 8) {
        m_rows.shrink_to_fit();
        m_spans.shrink_to_fit();
    }
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows() - 1;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row() + 1, index.column());
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return text(0, section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace ui
