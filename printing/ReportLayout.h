#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace printing {

// A printed report: a title, a few lines about what it covers, a small table of figures, a
// picture, then a table of rows whose header is repeated on every page. Every page ends
// with "Page n of m".
struct Report
{
    QString title;
    QStringList lines;          // under the title: what, where, when
    QList<QStringList> figures; // label and values, in columns
    QImage picture;
    QStringList columns;
    QList<QStringList> rows;
};

// One thing drawn on a page, in twips from the printable page's top-left corner.
struct ReportItem
{
    enum class Kind { Text, Line, Picture };
    Kind kind = Kind::Text;
    int points = 10; // font size of a text
    int x = 0;
    int y = 0;
    int x2 = 0; // the end of a line
    int y2 = 0;
    QString text;
    QRect target; // where the picture goes
};

using ReportPage = QList<ReportItem>;

inline constexpr int ReportTitlePoints = 16;
inline constexpr int ReportTextPoints = 10;

// The pages of a report on a printable page of the given size in twips. Pure: tests check
// the positions without a printer.
QList<ReportPage> layoutReport(const Report &report, int pageWidth, int pageHeight);

} // namespace printing
