#pragma once

#include "core/Csv.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace ui {

// The five measurement columns every list shows and saves: number, date, time, ohm, voltage.
// Widget-free, so the command line writes and converts lists exactly as the windows do.

// The column titles of the lists the program fills itself (the real-time and logger lists).
QStringList listTitles();

// The resistance unit of a list's range as its texts name it: "40m", "40mOhm" and
// "400m Ohm" are milliohm ranges, "4", "4Ohm" and "40 Ohm" ohm ones; none is milliohm.
QString ohmUnitOfRange(const QString &range);

// The spreadsheet columns of a list and the list columns each is made of (the date and the
// time column make one date-and-time column). firstTitle names the number column.
QList<core::CsvColumn> listCsvColumns(const QString &firstTitle, const QString &ohmUnit);
QList<QList<int>> listCsvSources();

// A spreadsheet cell made of several list cells: their trimmed texts, one blank between.
// text(col) gives nothing for a list cell that is not part of it (one not selected).
QString joinedCell(const QList<int> &sources, const std::function<std::optional<QString>(int col)> &text);

} // namespace ui
