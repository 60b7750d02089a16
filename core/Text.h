#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

namespace core {

// The number a text stands for, as every entry box and reading text is read: the leading
// number, "." as the decimal point whatever the locale, leading blanks skipped, an optional
// sign, reading stops at the first character that cannot continue the number. A text that
// does not begin with a number ("OL", "----", "-OL", "", "abc") is 0.
double numberOfText(QStringView text);

// Rounds to the nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// The clock texts of samples and records: "yyyy/mm/dd hh:nn:ss".
inline constexpr QLatin1String ClockFormat{"yyyy/MM/dd HH:mm:ss"};

// The clock `seconds` later (or earlier), with calendar arithmetic and no time zone: a
// step never skips or repeats an hour. An unreadable clock stays as it is.
QString addSeconds(const QString &clock, qint64 seconds);
// The date ("yyyy/mm/dd") and the time ("hh:nn:ss") of a clock text, as views into it.
QStringView clockDate(QStringView clock);
QStringView clockTime(QStringView clock);

} // namespace core
