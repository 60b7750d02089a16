#include "core/Text.h"

#include <QDateTime>
#include <cmath>
#include <optional>

namespace core {

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

double numberOfText(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    double value = 0;
    for (; i < n && isDigit(text[i]); ++i)
        value = value * 10 + (text[i].unicode() - '0');
    if (i < n && text[i] == QLatin1Char('.')) {
        double scale = 0.1;
        for (++i; i < n && isDigit(text[i]); ++i) {
            value += (text[i].unicode() - '0') * scale;
            scale /= 10;
        }
    }
    return negative ? -value : value;
}

double roundHalfEven(double value)
{
    // std::nearbyint follows the rounding mode, which a library may have changed.
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

// "yyyy/MM/dd HH:mm:ss" read by position: the sample step runs this every second, and
// Qt's format-string parser costs more than the rest of the step together.
std::optional<QDateTime> readClock(const QString &clock)
{
    if (clock.size() != 19 || clock[4] != u'/' || clock[7] != u'/' || clock[10] != u' ' || clock[13] != u':'
        || clock[16] != u':')
        return std::nullopt;
    const auto field = [&clock](int at, int length) {
        int value = 0;
        for (int i = at; i < at + length; ++i) {
            const QChar c = clock[i];
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c.unicode() - u'0');
        }
        return value;
    };
    const QDate date(field(0, 4), field(5, 2), field(8, 2));
    const int h = field(11, 2), m = field(14, 2), sec = field(17, 2);
    if (!date.isValid() || !QTime::isValid(h, m, sec))
        return std::nullopt;
    return QDateTime(date, QTime(h, m, sec), Qt::UTC);
}

} // namespace

QString addSeconds(const QString &clock, qint64 seconds)
{
    const std::optional<QDateTime> time = readClock(clock);
    if (!time)
        return clock;
    const QDateTime later = time->addSecs(seconds);
    const QDate d = later.date();
    const QTime t = later.time();
    const auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    return QString::number(d.year()).rightJustified(4, u'0') + u'/' + two(d.month()) + u'/' + two(d.day()) + u' '
        + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

QString clockDate(const QString &clock)
{
    return clock.left(10);
}

QString clockTime(const QString &clock)
{
    return clock.mid(11, 8);
}

} // namespace core
