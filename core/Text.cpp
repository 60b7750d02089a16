#include "core/Text.h"

#include <QDateTime>
#include <cmath>

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

QString addSeconds(const QString &clock, qint64 seconds)
{
    const QDateTime time(QDate::fromString(clockDate(clock), QStringLiteral("yyyy/MM/dd")),
                         QTime::fromString(clockTime(clock), QStringLiteral("HH:mm:ss")), Qt::UTC);
    if (!time.isValid())
        return clock;
    return time.addSecs(seconds).toString(ClockFormat);
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
