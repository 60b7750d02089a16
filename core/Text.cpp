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

// "yyyy/MM/dd HH:mm:ss" read and written by position: the sample step runs this every
// second, and Qt's format parser or QDateTime with its zone machinery cost more than the
// rest of the step together.
struct Clock
{
    QDate date;
    qint64 secondOfDay = 0;
};

std::optional<Clock> readClock(const QString &clock)
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
    return Clock{date, h * 3600 + m * 60 + sec};
}

void putDigits(QChar *at, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = QChar(u'0' + value % 10);
}

} // namespace

QString addSeconds(const QString &clock, qint64 seconds)
{
    const std::optional<Clock> time = readClock(clock);
    if (!time)
        return clock;
    constexpr qint64 Day = 86400;
    const qint64 total = time->secondOfDay + seconds;
    qint64 days = total / Day;
    qint64 second = total % Day;
    if (second < 0) {
        second += Day;
        --days;
    }
    const QDate d = time->date.addDays(days);
    if (!d.isValid() || d.year() < 0 || d.year() > 9999)
        return clock;
    const int h = static_cast<int>(second / 3600), m = static_cast<int>(second / 60 % 60),
              sec = static_cast<int>(second % 60);
    QString later = clock; // the separators stay where they are
    QChar *out = later.data();
    putDigits(out, d.year(), 4);
    putDigits(out + 5, d.month(), 2);
    putDigits(out + 8, d.day(), 2);
    putDigits(out + 11, h, 2);
    putDigits(out + 14, m, 2);
    putDigits(out + 17, sec, 2);
    return later;
}

QStringView clockDate(QStringView clock)
{
    return clock.left(10);
}

QStringView clockTime(QStringView clock)
{
    return clock.mid(11, 8);
}

} // namespace core
