#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>
#include <functional>

namespace core {

// Spreadsheet CSV of any table the program shows: the list windows, the cell-sorting table,
// the command line's conversions. Widget-free; saving the bytes is the caller's business.
struct CsvOptions
{
    QChar separator = QLatin1Char(',');
    QChar decimal = QLatin1Char('.');
    // UTF-8 with a byte-order mark: without it spreadsheet programs read "Ω" and accents
    // in the system's 8-bit code page.
    bool byteOrderMark = true;
    // "OL", "-OL" and "----" as texts; by default they are empty cells, so that a column of
    // numbers stays a column of numbers.
    bool keepMarkers = false;
};

// A locale whose decimal sign is a comma gets semicolon and comma, any other comma and point.
CsvOptions csvDefaults(const QLocale &locale);

struct CsvColumn
{
    enum class Kind {
        Text,     // written as it is, quoted where needed
        Number,   // a display text with "." as its point ("25.19", "-1.234", "OL")
        DateTime, // a clock "yyyy/mm/dd hh:nn:ss", written "yyyy-mm-dd hh:nn:ss"
    };
    QString title;
    Kind kind = Kind::Text;
    QString unit; // a number column's unit, named in its header: "Resistance (mOhm)"
};

// The header cell of a column: its title, with the unit in brackets when it has one.
QString csvHeader(const CsvColumn &column);

// One field as written: numbers with the chosen decimal sign, markers emptied, dates with
// dashes, and quotes around a field holding the separator, a quote, a line end or an edge
// blank (quotes inside doubled).
QString csvField(const CsvColumn &column, const QString &text, const CsvOptions &options);

// The whole document: the byte-order mark (if asked), the header line, one line per row,
// CR LF after every line. cell(row, column) gives the display text of a cell.
QByteArray csvDocument(const QList<CsvColumn> &columns, int rowCount,
                       const std::function<QString(int row, int column)> &cell, const CsvOptions &options);

} // namespace core
