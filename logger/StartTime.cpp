#include "logger/StartTime.h"

#include "core/Reading.h"
#include "core/Text.h"
#include "logger/MemoryImage.h"

#include <QDateTime>
#include <optional>
#include <utility>

namespace logger {

namespace {

// 1-based position of the first `c` in s after position `after`, or 0.
qsizetype positionAfter(const QString &s, QChar c, qsizetype after)
{
    const qsizetype found = s.indexOf(c, after);
    return found < 0 ? 0 : found + 1 - after;
}

// The characters from 1-based start, at most length of them; empty past the end.
QString part(const QString &s, qsizetype start, qsizetype length)
{
    return s.mid(start - 1, length);
}

// A field written back in decimal with leading zeros, its last `width` characters kept.
QString padded(double value, int width)
{
    const QString digits = QString::number(value, 'g', 15);
    return (QString(width, QLatin1Char('0')) + digits).right(width);
}

// Two-digit clock fields without a "yyyy/mm/dd hh:nn:ss" parse per record: a listing of
// the largest block formats thousands of them.
void appendTwo(QString &out, int value)
{
    out += QLatin1Char(char('0' + value / 10));
    out += QLatin1Char(char('0' + value % 10));
}

QString dateText(const QDate &d)
{
    QString out;
    out.reserve(10);
    const int y = d.year();
    appendTwo(out, (y / 100) % 100);
    appendTwo(out, y % 100);
    out += QLatin1Char('/');
    appendTwo(out, d.month());
    out += QLatin1Char('/');
    appendTwo(out, d.day());
    return out;
}

QString timeText(int secondsOfDay)
{
    QString out;
    out.reserve(8);
    appendTwo(out, secondsOfDay / 3600);
    out += QLatin1Char(':');
    appendTwo(out, secondsOfDay / 60 % 60);
    out += QLatin1Char(':');
    appendTwo(out, secondsOfDay % 60);
    return out;
}

// A "yyyy/mm/dd hh:nn:ss" text as a calendar day and a second of the day, read strictly and
// without a time zone, so a start inside a daylight-saving gap is still a start.
std::optional<std::pair<QDate, int>> clockOf(const QString &clock)
{
    if (clock.size() != 19 || clock.at(10) != QLatin1Char(' '))
        return std::nullopt;
    const QDate date = QDate::fromString(clock.left(10), QStringLiteral("yyyy/MM/dd"));
    const QTime time = QTime::fromString(clock.mid(11), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return std::make_pair(date, time.msecsSinceStartOfDay() / 1000);
}

} // namespace

QString startTimeTitle()
{
    return QStringLiteral("Input Starting Time");
}

QString startTimePrompt()
{
    return QStringLiteral("Enter the STARTING TIME of recording\r\n (yyyy/mm/dd hh:nn:ss) ");
}

QString startTimeRetry()
{
    return QStringLiteral("Invalid, comply with the data format properly\r\n");
}

StartTime parseStartTime(const QString &s, const QDate &today)
{
    const qsizetype p1 = positionAfter(s, QLatin1Char('/'), 0);
    const qsizetype p2 = p1 + positionAfter(s, QLatin1Char('/'), p1);
    const qsizetype p3 = p2 + positionAfter(s, QLatin1Char(':'), p2);
    const qsizetype p4 = p3 + positionAfter(s, QLatin1Char(':'), p3);
    StartTime result;
    if (p1 == 0 || p2 == 0 || p3 == 0 || p4 == 0) {
        result.kind = StartTime::Kind::AskAgain;
        return result;
    }
    // The hour is the two characters before the first ":"; one found within the first two
    // characters leaves no room for it.
    if (p3 - 2 < 1)
        return result;

    const auto number = [](const QString &field) { return core::numberOfText(field); };
    double year = number(s.left(p1 - 1));
    double month = number(part(s, p1 + 1, p2 - p1));
    double day = number(part(s, p2 + 1, 2));
    const double hour = number(part(s, p3 - 2, 2));
    const double minute = number(part(s, p3 + 1, p4 - p3));
    const double second = number(part(s, p4 + 1, 2));
    if (year == 0)
        year = today.year();
    if (month == 0)
        month = today.month();
    if (day == 0)
        day = today.day();

    QString yearText = padded(year, 4);
    const double shortYear = number(yearText);
    if (shortYear >= 1 && shortYear <= 99)
        yearText = padded(shortYear + 2000, 4);
    const QString text = yearText + QLatin1Char('/') + padded(month, 2) + QLatin1Char('/') + padded(day, 2)
                         + QLatin1Char(' ') + padded(hour, 2) + QLatin1Char(':') + padded(minute, 2) + QLatin1Char(':')
                         + padded(second, 2);
    const auto start = clockOf(text);
    if (!start) {
        // Nothing is listed; a silent nothing would look like a broken program.
        result.failure = text + QStringLiteral(" is not a date and time of the calendar.");
        return result;
    }
    result.kind = StartTime::Kind::Accepted;
    result.clock = dateText(start->first) + QLatin1Char(' ') + timeText(start->second);
    return result;
}

QList<QString> datedRows(QByteArrayView segment, const QString &startClock)
{
    QList<QString> rows;
    const int records = segmentRecords(segment);
    const auto start = clockOf(startClock);
    if (records == 0 || !start)
        return rows;
    rows.reserve(records);
    const auto *bytes = reinterpret_cast<const uint8_t *>(segment.data());
    const qint64 interval = bytes[0];
    // Days and seconds counted apart: calendar days have no time zone, so no step skips
    // or repeats an hour.
    const qint64 startDay = start->first.toJulianDay();
    const qint64 startSecond = start->second;
    core::Reading reading;
    qint64 cachedDay = -1;
    QString cachedDate;
    for (int k = 1; k <= records; ++k) {
        core::DecodeRecord(reading, bytes + 1 + 5 * (k - 1));
        const qint64 total = startSecond + (k - 1) * interval;
        const qint64 day = startDay + total / 86400;
        if (day != cachedDay) {
            cachedDay = day;
            cachedDate = dateText(QDate::fromJulianDay(day));
        }
        rows.append(QString::number(k) + QLatin1Char('\t') + cachedDate + QLatin1Char('\t')
                    + timeText(int(total % 86400)) + QLatin1Char('\t') + reading.OhmText + QLatin1Char('\t')
                    + reading.VoltText);
    }
    return rows;
}

} // namespace logger
