#include "cli/Output.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

QString csvCell(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString ohmUnit(const core::Reading &r)
{
    return r.OhmInMilli ? QStringLiteral("mOhm") : QStringLiteral("Ohm");
}

} // namespace

bool writeOut(const QByteArray &bytes)
{
    return writeAll(STDOUT_FILENO, bytes);
}

void writeError(const QString &line)
{
    writeAll(STDERR_FILENO, (line + QLatin1Char('\n')).toLocal8Bit());
}

void writeErrorRaw(const QByteArray &bytes)
{
    writeAll(STDERR_FILENO, bytes);
}

void reportFailure(const QString &text)
{
    writeError(QStringLiteral("dorvel-cli: ") + text);
}

bool stdoutIsPipe()
{
    struct stat st = {};
    return ::fstat(STDOUT_FILENO, &st) == 0 && S_ISFIFO(st.st_mode);
}

bool stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<Format> formatOf(const QString &name, bool csvAllowed)
{
    if (name == QLatin1String("text"))
        return Format::Text;
    if (name == QLatin1String("json"))
        return Format::Json;
    if (csvAllowed && name == QLatin1String("csv"))
        return Format::Csv;
    return std::nullopt;
}

QString numberText(const QString &display)
{
    // A plain decimal: an optional minus, digits, and a point with digits after it or none.
    const auto digitsFrom = [&](qsizetype i) {
        const qsizetype start = i;
        while (i < display.size() && display.at(i).isDigit() && display.at(i).unicode() < 0x80)
            ++i;
        return i - start;
    };
    qsizetype i = display.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype whole = digitsFrom(i);
    if (whole == 0)
        return QString();
    i += whole;
    if (i < display.size() && display.at(i) == QLatin1Char('.')) {
        const qsizetype fraction = digitsFrom(i + 1);
        if (fraction == 0)
            return QString();
        i += 1 + fraction;
    }
    return i == display.size() ? display : QString();
}

QString jsonString(const QString &text)
{
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c != QLatin1Char('"') && c != QLatin1Char('\\');
    });
    if (plain)
        return QLatin1Char('"') + text + QLatin1Char('"');
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString jsonNumber(const QString &display)
{
    const QString n = numberText(display);
    return n.isEmpty() ? QStringLiteral("null") : n;
}

QString isoStamp(const QDateTime &when)
{
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString readingCsvHeader()
{
    return QStringLiteral("time,resistance_text,resistance,resistance_unit,voltage_text,voltage,voltage_unit,"
                          "resistance_range,voltage_range\n");
}

QString readingLine(Format format, const QDateTime &when, const core::Reading &r)
{
    const QString stamp = isoStamp(when);
    const QString ohmRange = core::ohmRangeLabel(r);
    const QString voltRange = core::voltRangeLabel(r);
    switch (format) {
    case Format::Text:
        // Fixed columns for the eye: the texts are at most five characters.
        return QStringLiteral("%1  %2 %3  %4 V  %5 %6\n")
            .arg(stamp, r.OhmText.rightJustified(5), ohmUnit(r).leftJustified(4), r.VoltText.rightJustified(6),
                 ohmRange, voltRange);
    case Format::Csv:
        return QStringList{stamp,
                           csvCell(r.OhmText),
                           numberText(r.OhmText),
                           ohmUnit(r),
                           csvCell(r.VoltText),
                           numberText(r.VoltText),
                           QStringLiteral("V"),
                           ohmRange,
                           voltRange}
                   .join(QLatin1Char(','))
               + QLatin1Char('\n');
    case Format::Json:
        return QStringLiteral("{\"time\":%1,\"resistance_text\":%2,\"resistance\":%3,\"resistance_unit\":%4,"
                              "\"voltage_text\":%5,\"voltage\":%6,\"voltage_unit\":\"V\","
                              "\"resistance_range\":%7,\"voltage_range\":%8}\n")
            .arg(jsonString(stamp), jsonString(r.OhmText), jsonNumber(r.OhmText), jsonString(ohmUnit(r)),
                 jsonString(r.VoltText), jsonNumber(r.VoltText), jsonString(ohmRange), jsonString(voltRange));
    }
    return {};
}

} // namespace cli
