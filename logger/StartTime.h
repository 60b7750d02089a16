#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

namespace logger {

// The start-time dialog's texts.
QString startTimeTitle();  // "Input Starting Time"
QString startTimePrompt(); // "Enter the STARTING TIME of recording" CR LF " (yyyy/mm/dd hh:nn:ss) "
QString startTimeRetry();  // "Invalid, comply with the data format properly" CR LF

// An answer to the start-time dialog, read field by field: the year before the first "/",
// the month up to the second "/", two characters of day after it, two of hour before the
// first ":" after that, the minute up to the next ":", two characters of second after it.
// Each field counts by its leading number; an empty or zero year, month or day is today's;
// a two-digit year, 1 to 99, is 2001 to 2099.
struct StartTime
{
    enum class Kind {
        Accepted, // clock holds the start, "yyyy/mm/dd hh:nn:ss"
        AskAgain, // the separators are missing: show the retry message and ask again
        Invalid,  // no date and time can be made of it: the listing ends
    };
    Kind kind = Kind::Invalid;
    QString clock;
    // Why an Invalid answer lists nothing, when its fields make a date and time that the
    // calendar does not have ("2024/02/30 10:00:00 is not a date and time of the calendar.").
    QString failure;
};
StartTime parseStartTime(const QString &answer, const QDate &today);

// The Data List rows of a block segment (see blockSegment): for record k from 1, "k",
// the date and the time of start + (k - 1) x interval seconds, and the resistance and
// voltage texts as the live display shows them, joined by TAB. startClock is
// "yyyy/mm/dd hh:nn:ss"; the clock runs on through month and year ends and leap days.
QList<QString> datedRows(QByteArrayView segment, const QString &startClock);

} // namespace logger
