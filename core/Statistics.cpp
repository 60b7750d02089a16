#include "core/Statistics.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace core {

namespace {

// A reading text as a number when the whole text is one: "25.19", "-1.234", "1500". Short
// decimals are read directly: their digits as a whole number divided by a power of ten,
// both exact in a double, so the one rounding is the division's and the value is the one a
// full parser gives, at a tenth of its cost. Anything else goes to the full parser.
std::optional<double> numberIn(QStringView text)
{
    static constexpr double Tens[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')))
        ++i;
    qint64 digits = 0;
    int count = 0, decimals = 0;
    bool point = false, simple = i < text.size();
    for (; i < text.size() && simple; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            // Past fifteen digits the full parser takes over; no need to go on counting them in.
            if (++count <= 15)
                digits = digits * 10 + (c - u'0');
            decimals += point;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            simple = false;
        }
    }
    if (simple && count > 0 && count <= 15) {
        const double value = double(digits) / Tens[decimals];
        return negative ? -value : value;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (ok && std::isfinite(value))
        return value;
    return std::nullopt;
}

} // namespace

void Running::add(double value, int position)
{
    ++m_count;
    if (value < m_min) {
        m_min = value;
        m_minAt = position;
    }
    if (value > m_max) {
        m_max = value;
        m_maxAt = position;
    }
    const double delta = value - m_mean;
    m_mean += delta / m_count;
    m_m2 += delta * (value - m_mean);
}

double Running::deviation() const
{
    return m_count > 1 ? std::sqrt(m_m2 / (m_count - 1)) : 0.0;
}

void ReadingColumn::add(QStringView text, int position)
{
    text = text.trimmed();
    if (text == QLatin1String("OL")) {
        ++overloads;
        return;
    }
    if (text == QLatin1String("-OL")) {
        ++negativeOverloads;
        return;
    }
    if (text == QLatin1String("----")) {
        ++noReadings;
        return;
    }
    // A cell holds a number when all of it is one: "25.19", "-1.234". Words hold none.
    if (const std::optional<double> value = numberIn(text)) {
        numbers.add(*value, position);
        if (const qsizetype point = text.indexOf(QLatin1Char('.')); point >= 0)
            decimals = std::max(decimals, int(text.size() - point - 1));
    }
}

} // namespace core
