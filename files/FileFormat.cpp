#include "files/FileFormat.h"

#include "core/Reading.h"
#include "core/Text.h"

#include <algorithm>
#include <cstring>

namespace files {

namespace {

const QLatin1Char Tab('\t');

} // namespace

QString recorderHeader(const core::Reading &reading)
{
    return QLatin1String("No.s\tDate\tTime\t") + core::ohmRangeLabel(reading) + Tab + core::voltRangeLabel(reading);
}

QString sampleText(const QString &sampleClock, const core::Reading &reading)
{
    // Built in one buffer: the sample step makes one of these every step.
    QString text;
    text.reserve(sampleClock.size() + reading.OhmText.size() + reading.VoltText.size() + 3);
    text.append(core::clockDate(sampleClock)).append(Tab).append(core::clockTime(sampleClock));
    text.append(Tab).append(reading.OhmText).append(Tab).append(reading.VoltText);
    return text;
}

QString dataLine(int number, const QString &sampleText)
{
    return QString::number(number) + Tab + sampleText;
}

HeaderRanges findHeaderRanges(const QString &headerLine)
{
    const auto has = [&headerLine](const char *spaced, const char *joined) {
        return headerLine.contains(QLatin1String(spaced)) || headerLine.contains(QLatin1String(joined));
    };
    HeaderRanges ranges;
    // "400mOhm" does not contain "40mOhm", and "4Ohm" is only looked for once neither
    // milliohm form is there; the order is what tells the labels apart.
    if (has("40m Ohm", "40mOhm"))
        ranges.ohm = QStringLiteral("40m");
    else if (has("400m Ohm", "400mOhm"))
        ranges.ohm = QStringLiteral("400m");
    else if (has("4 Ohm", "4Ohm"))
        ranges.ohm = QStringLiteral("4");
    else if (has("40 Ohm", "40Ohm"))
        ranges.ohm = QStringLiteral("40");

    if (has("40 Voltage", "40Voltage"))
        ranges.volt = QStringLiteral("40");
    else if (has("4 Voltage", "4Voltage"))
        ranges.volt = QStringLiteral("4");
    return ranges;
}

void LineSplitter::append(QByteArrayView bytes)
{
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_scanned -= m_pos;
        m_pos = 0;
    }
    m_buffer.append(bytes);
}

bool LineSplitter::nextLine(QString &line)
{
    // A line that runs over many pieces is searched for its end only in the new bytes,
    // so a file without line ends costs linear time, not quadratic.
    const qsizetype from = std::max(m_pos, m_scanned);
    const char *data = m_buffer.constData();
    const auto *lf = static_cast<const char *>(
        from < m_buffer.size() ? std::memchr(data + from, '\n', static_cast<size_t>(m_buffer.size() - from)) : nullptr);
    if (!lf) {
        m_scanned = m_buffer.size();
        return false;
    }
    const char *begin = data + m_pos;
    const char *end = lf;
    if (end > begin && end[-1] == '\r')
        --end;
    line = QString::fromLatin1(begin, end - begin);
    m_pos = lf - data + 1;
    m_scanned = m_pos;
    return true;
}

bool LineSplitter::takeRest(QString &line)
{
    qsizetype end = m_buffer.size();
    if (end > m_pos && m_buffer.at(end - 1) == '\r')
        --end;
    const bool any = end > m_pos;
    if (any)
        line = QString::fromLatin1(m_buffer.constData() + m_pos, end - m_pos);
    m_buffer.clear();
    m_pos = 0;
    m_scanned = 0;
    return any;
}

QStringList splitLines(QByteArrayView bytes)
{
    LineSplitter splitter;
    splitter.append(bytes);
    QStringList lines;
    QString line;
    while (splitter.nextLine(line))
        lines.append(line);
    if (splitter.takeRest(line))
        lines.append(line);
    return lines;
}

QByteArray encodeLine(QStringView line)
{
    QByteArray out(line.size(), Qt::Uninitialized);
    char *to = out.data();
    for (const QChar c : line)
        *to++ = c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    return out;
}

} // namespace files
