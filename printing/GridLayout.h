#pragma once

#include <QString>
#include <vector>

namespace printing {

// The ruled table a list grid prints as, in twips from the top-left of the printable
// page. Rows sit 400 twips apart from y = 850 on the first page and from y = 450 on later
// ones; a row at 15550 or lower is the last of its page, so the first page takes 38 rows
// and every later one 39. Each row is boxed from y - 100 to y + 300; column c's rule is at
// 500 + 2125 c and its text at 400 + 2125 c; "P-n" sits at the foot of every page.
struct GridLayout
{
    int rows = 0;
    int cols = 0;
    // The layout's page, in layout twips: the printable page divided by the scale.
    int pageWidth = 0;
    int pageHeight = 0;
    // Below 1 where the printable page is shorter than the layout needs (a Letter sheet).
    double scale = 1.0;
    // The grid row that opens each page.
    std::vector<int> pageFirstRow;

    int pageCount() const { return static_cast<int>(pageFirstRow.size()); }
    int lastRowOf(int page) const;
    int pageOf(int row) const;
    int rowY(int row) const;
    int rightEdge() const { return pageWidth - 850; }
};

struct Line
{
    int x1, y1, x2, y2;
    bool operator==(const Line &) const = default;
};

struct CellText
{
    int row, col; // the grid cell, printed after six blanks
    int x, y;     // top-left of the text
    bool operator==(const CellText &) const = default;
};

struct PageNumber
{
    int x, y;
    QString text;
};

struct RowItems
{
    std::vector<Line> lines;
    std::vector<CellText> texts;
};

constexpr int PrintFontPoints = 11;
// The last printed line ends this far down the layout's page: the page number at 15950
// and its line of text.
constexpr int LayoutHeight = 16250;

GridLayout layoutGrid(int rows, int cols, int printableWidth, int printableHeight);
PageNumber pageNumber(const GridLayout &layout, int page);
// Everything one row prints, in the order the table is drawn: the rule above it, then
// each cell's text and its left rule, then the right edge and the rule below.
RowItems rowItems(const GridLayout &layout, int row);
// The text a cell prints: six blanks in front of its content.
QString cellText(const QString &content);

} // namespace printing
