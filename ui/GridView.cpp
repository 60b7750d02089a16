#include "ui/GridView.h"

#include "ui/GridModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace ui {

namespace {

// Draws the cells of the fixed first column like header sections, so the fixed column
// reads as part of the frame and not as data.
class FixedColumnDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (!style) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionHeader header;
        header.initFrom(widget);
        header.rect = option.rect;
        header.orientation = Qt::Vertical;
        header.position = QStyleOptionHeader::Middle;
        header.section = index.row();
        header.text = index.data().toString();
        header.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        header.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (option.state & QStyle::State_Selected)
            header.state |= QStyle::State_On;
        // Some styles leave a clip on the painter after a header section, which would hide
        // every cell painted after this one.
        painter->save();
        style->drawControl(QStyle::CE_Header, &header, painter, widget);
        painter->restore();
    }
};

} // namespace

GridView::GridView(GridModel &grid, QWidget *parent)
    : QTableView(parent)
    , m_grid(grid)
{
    setModel(&grid);
    setItemDelegateForColumn(0, new FixedColumnDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The top row is a row number, as in the lists' scrolling rules.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);

    // Row heights are fixed: sizing tens of thousands of rows to their contents costs
    // seconds, and every row holds one line of text anyway. Column 0 carries the row
    // numbers, so the view's own row numbers stay hidden.
    QHeaderView *rowsHeader = verticalHeader();
    rowsHeader->setMinimumSectionSize(1);
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(fontMetrics().height() + 6);
    rowsHeader->hide();

    QHeaderView *colsHeader = horizontalHeader();
    colsHeader->setSectionResizeMode(QHeaderView::Interactive);
    colsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    colsHeader->setHighlightSections(false);
    colsHeader->setStretchLastSection(false);

    connect(this, &QTableView::clicked, this,
            [this](const QModelIndex &index) { emit cellClicked(index.row() + 1, index.column()); });
    connect(colsHeader, &QHeaderView::sectionClicked, this, [this](int section) {
        m_row = 0;
        m_col = section;
        emit cellClicked(0, section);
    });
}

void GridView::setColumnWidthFromText(int col, const QString &sizingText)
{
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    setColumnWidth(col, fontMetrics().horizontalAdvance(sizingText) + 2 * margin);
}

void GridView::setTopRow(int row)
{
    // Rows appended a moment ago are not in the scroll range until the view lays itself
    // out; do that now so a new last row can be scrolled to at once.
    updateGeometries();
    verticalScrollBar()->setValue(std::max(row, 1) - 1);
}

int GridView::topRow() const
{
    return verticalScrollBar()->value() + 1;
}

void GridView::setCurrentRow(int row)
{
    m_row = std::clamp(row, 0, m_grid.rows() - 1);
    selectCurrent();
}

void GridView::setCurrentCol(int col)
{
    m_col = std::clamp(col, 0, m_grid.cols() - 1);
    selectCurrent();
}

// Rows or columns cut away since take the current cell back with them.
int GridView::currentRow() const
{
    return std::min(m_row, m_grid.rows() - 1);
}

int GridView::currentCol() const
{
    return std::min(m_col, m_grid.cols() - 1);
}

void GridView::selectCurrent()
{
    if (m_row < 1)
        return;
    const int row = m_row;
    const int col = m_col;
    selectionModel()->setCurrentIndex(m_grid.index(row - 1, col),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The view may report the change through currentChanged(); the cell set here stands.
    m_row = row;
    m_col = col;
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid()) {
        m_row = current.row() + 1;
        m_col = current.column();
    }
}

} // namespace ui
