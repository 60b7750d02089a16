#include "printing/ReportLayout.h"

#include <algorithm>

namespace printing {

namespace {

// Twips: a 10-point line with its leading, the average width of a character of it, the room
// between table columns.
constexpr int LineHeight = 260;
constexpr int TitleHeight = 480;
constexpr int CharWidth = 120;
constexpr int ColumnGap = 280;

ReportItem text(int x, int y, const QString &t, int points = ReportTextPoints)
{
    ReportItem item;
    item.kind = ReportItem::Kind::Text;
    item.points = points;
    item.x = x;
    item.y = y;
    item.text = t;
    return item;
}

ReportItem line(int x1, int y1, int x2, int y2)
{
    ReportItem item;
    item.kind = ReportItem::Kind::Line;
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    return item;
}

// Column left edges sized to their longest text, shrunk together when the page is narrower.
QList<int> columnLefts(const QStringList &header, const QList<QStringList> &rows, int columns, int pageWidth)
{
    QList<int> widths(columns, 0);
    for (int c = 0; c < columns; ++c)
        widths[c] = int(header.value(c).size());
    for (const QStringList &row : rows)
        for (int c = 0; c < columns && c < row.size(); ++c)
            widths[c] = std::max(widths[c], int(row[c].size()));
    int total = 0;
    for (int &w : widths) {
        w = w * CharWidth + ColumnGap;
        total += w;
    }
    const double scale = total > pageWidth ? double(pageWidth) / total : 1.0;
    QList<int> lefts;
    int x = 0;
    for (int w : widths) {
        lefts << x;
        x += int(w * scale);
    }
    return lefts;
}

} // namespace

QList<ReportPage> layoutReport(const Report &report, int pageWidth, int pageHeight)
{
    QList<ReportPage> pages;
    if (pageWidth <= 0 || pageHeight <= 0)
        return pages;
    const int footY = pageHeight - LineHeight;
    const int bottom = footY - LineHeight; // the last row ends above the foot
    ReportPage page;
    int y = 0;

    page << text(0, y, report.title, ReportTitlePoints);
    y += TitleHeight;
    for (const QString &l : report.lines) {
        page << text(0, y, l);
        y += LineHeight;
    }
    y += LineHeight / 2;
    if (!report.figures.isEmpty()) {
        int columns = 0;
        for (const QStringList &f : report.figures)
            columns = std::max(columns, int(f.size()));
        const QList<int> lefts = columnLefts({}, report.figures, columns, pageWidth);
        for (const QStringList &f : report.figures) {
            for (qsizetype c = 0; c < f.size(); ++c)
                page << text(lefts[c], y, f[c]);
            y += LineHeight;
        }
        y += LineHeight / 2;
    }
    if (!report.picture.isNull()) {
        // At most the page's width and a third of its height, its shape kept.
        const QSize fitted = report.picture.size().scaled(pageWidth, pageHeight / 3, Qt::KeepAspectRatio);
        ReportItem picture;
        picture.kind = ReportItem::Kind::Picture;
        picture.target = QRect(0, y, fitted.width(), fitted.height());
        page << picture;
        y += fitted.height() + LineHeight;
    }

    const int columns = int(report.columns.size());
    const QList<int> lefts = columnLefts(report.columns, report.rows, columns, pageWidth);
    const auto header = [&] {
        for (int c = 0; c < columns; ++c)
            page << text(lefts[c], y, report.columns[c]);
        y += LineHeight;
        page << line(0, y - LineHeight / 8, pageWidth, y - LineHeight / 8);
    };
    if (columns > 0) {
        if (y + 2 * LineHeight > bottom) {
            pages << page;
            page.clear();
            y = 0;
        }
        header();
        for (const QStringList &row : report.rows) {
            if (y + LineHeight > bottom) {
                pages << page;
                page.clear();
                y = 0;
                header();
            }
            for (int c = 0; c < columns && c < row.size(); ++c)
                page << text(lefts[c], y, row[c]);
            y += LineHeight;
        }
    }
    pages << page;

    const int count = int(pages.size());
    for (int n = 0; n < count; ++n) {
        const QString foot = QStringLiteral("Page %1 of %2").arg(n + 1).arg(count);
        pages[n] << text(pageWidth / 2 - int(foot.size()) * CharWidth / 2, footY, foot);
    }
    return pages;
}

} // namespace printing
