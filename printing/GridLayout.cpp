#include "printing/GridLayout.h"

#include <algorithm>

namespace printing {

namespace {
constexpr int Left = 500;
constexpr int ColumnPitch = 2125;
constexpr int TextOffset = 100; // a column's text starts this far left of its rule
constexpr int RowPitch = 400;
constexpr int FirstPageTop = 850;
constexpr int LaterPageTop = 450;
constexpr int PageFull = 15550;
constexpr int RuleAbove = 100;
constexpr int RuleBelow = 300;
constexpr int NumberY = 15950;

// Rows on a page that starts at `top`: the row at `top` and every 400 twips below it,
// up to and including the first at or beyond the page-full line.
constexpr int rowsPerPage(int top)
{
    return (PageFull - top + RowPitch - 1) / RowPitch + 1;
}
constexpr int FirstPageRows = rowsPerPage(FirstPageTop);
constexpr int LaterPageRows = rowsPerPage(LaterPageTop);
static_assert(FirstPageRows == 38 && LaterPageRows == 39);
} // namespace

GridLayout layoutGrid(int rows, int cols, int printableWidth, int printableHeight)
{
    GridLayout l;
    l.rows = std::max(rows, 0);
    l.cols = std::max(cols, 0);
    l.scale = printableHeight >= LayoutHeight || printableHeight <= 0 ? 1.0 : double(printableHeight) / LayoutHeight;
    l.pageWidth = static_cast<int>(printableWidth / l.scale);
    l.pageHeight = static_cast<int>(printableHeight / l.scale);
    // Page 1 always prints, with its number, even for a grid without rows.
    l.pageFirstRow.push_back(0);
    for (int first = FirstPageRows; first < l.rows; first += LaterPageRows)
        l.pageFirstRow.push_back(first);
    return l;
}

int GridLayout::pageOf(int row) const
{
    if (row < FirstPageRows)
        return 0;
    return 1 + (row - FirstPageRows) / LaterPageRows;
}

int GridLayout::lastRowOf(int page) const
{
    const int next = page + 1 < pageCount() ? pageFirstRow[page + 1] : rows;
    return next - 1;
}

int GridLayout::rowY(int row) const
{
    const int page = pageOf(row);
    const int top = page == 0 ? FirstPageTop : LaterPageTop;
    return top + (row - pageFirstRow[page]) * RowPitch;
}

PageNumber pageNumber(const GridLayout &layout, int page)
{
    return {(layout.pageWidth - Left) / 2, NumberY, QStringLiteral("P-%1").arg(page + 1)};
}

RowItems rowItems(const GridLayout &l, int row)
{
    RowItems items;
    const int y = l.rowY(row);
    const int right = l.rightEdge();
    items.lines.reserve(l.cols + 3);
    items.texts.reserve(l.cols);
    items.lines.push_back({Left, y - RuleAbove, right, y - RuleAbove});
    for (int c = 0; c < l.cols; ++c) {
        const int rule = Left + ColumnPitch * c;
        items.texts.push_back({row, c, rule - TextOffset, y});
        items.lines.push_back({rule, y - RuleAbove, rule, y + RuleBelow});
    }
    items.lines.push_back({right, y - RuleAbove, right, y + RuleBelow});
    items.lines.push_back({Left, y + RuleBelow, right, y + RuleBelow});
    return items;
}

QString cellText(const QString &content)
{
    return QStringLiteral("      ") + content;
}

} // namespace printing
