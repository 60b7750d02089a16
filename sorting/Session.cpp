#include "sorting/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace sorting {

namespace {

const QLatin1String Magic("Dorvel cell sorting session");
const QLatin1String Version("1");
const QLatin1String Columns("Cell\tDate\tTime\tmOhm\tVoltage\tGrade\tCapture\tDisplay\tRange");
const QLatin1String LineEnd("\r\n");
constexpr int CellFields = 9;

bool sync(QFile &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int digits(QStringView s, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "2024/03/05" and "14:07:11" read by position: Qt's format parser would take most of the
// time of reopening a large session.
QDateTime stampOf(QStringView date, QStringView time)
{
    if (date.size() != 10 || date[4] != u'/' || date[7] != u'/' || time.size() != 8 || time[2] != u':'
        || time[5] != u':')
        return {};
    const int n[6] = {digits(date, 0, 4), digits(date, 5, 2), digits(date, 8, 2),
                      digits(time, 0, 2), digits(time, 3, 2), digits(time, 6, 2)};
    if (std::any_of(std::begin(n), std::end(n), [](int v) { return v < 0; }))
        return {};
    const QDate d(n[0], n[1], n[2]);
    const QTime t(n[3], n[4], n[5]);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

std::optional<Cell> cellOf(const QString &line)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    if (f.size() != CellFields || f[0].isEmpty())
        return std::nullopt;
    Cell c;
    c.id = f[0];
    c.when = stampOf(f[1], f[2]);
    const auto ohm = number(f[3]);
    const auto volts = number(f[4]);
    if (!c.when.isValid() || !ohm || !volts || f[5].isEmpty()
        || (f[6] != QLatin1String("auto") && f[6] != QLatin1String("manual")))
        return std::nullopt;
    c.milliOhm = *ohm;
    c.voltText = f[4];
    c.volts = *volts;
    c.grade = f[5];
    c.manual = f[6] == QLatin1String("manual");
    c.ohmText = f[7];
    c.ohmRange = f[8];
    return c;
}

} // namespace

QByteArray sessionHead(const Profile &profile)
{
    QStringList lines;
    lines << Magic + QLatin1Char('\t') + Version;
    lines << profileLines(profile);
    lines << Columns;
    return (lines.join(LineEnd) + LineEnd).toUtf8();
}

QByteArray cellLine(const Cell &c)
{
    const QStringList f = {c.id,
                           c.when.toString(QStringLiteral("yyyy/MM/dd")),
                           c.when.toString(QStringLiteral("HH:mm:ss")),
                           numberText(c.milliOhm),
                           c.voltText,
                           c.grade,
                           c.manual ? QStringLiteral("manual") : QStringLiteral("auto"),
                           c.ohmText,
                           c.ohmRange};
    return (f.join(QLatin1Char('\t')) + LineEnd).toUtf8();
}

QByteArray sessionText(const Profile &profile, const QList<Cell> &cells)
{
    QByteArray text = sessionHead(profile);
    text.reserve(text.size() + cells.size() * 64);
    for (const Cell &c : cells)
        text += cellLine(c);
    return text;
}

std::optional<SessionContent> readSession(const QByteArray &bytes, QString *error)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (lines.isEmpty() || lines.first().section(QLatin1Char('\t'), 0, 0) != Magic) {
        *error = QStringLiteral("it is not a cell sorting session (its first line is not \"%1\")").arg(Magic);
        return std::nullopt;
    }
    const int columns = int(lines.indexOf(Columns));
    if (columns < 0) {
        *error = QStringLiteral("its column line \"Cell, Date, Time, ...\" is missing");
        return std::nullopt;
    }
    QString profileError;
    const auto profile = profileFromLines(lines.mid(1, columns - 1), &profileError);
    if (!profile) {
        *error = QStringLiteral("its profile cannot be read: ") + profileError;
        return std::nullopt;
    }
    SessionContent content;
    content.profile = *profile;
    content.endsWithLine = bytes.endsWith('\n');
    content.cells.reserve(lines.size() - columns);
    for (qsizetype i = columns + 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        if (auto cell = cellOf(lines[i]))
            content.cells.append(std::move(*cell));
        else
            ++content.damagedLines;
    }
    return content;
}

std::optional<SessionContent> readSessionFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return readSession(file.readAll(), error);
}

QString nextAutomaticId(const QList<Cell> &cells, const QString &prefix)
{
    const QRegularExpression pattern(QLatin1Char('^') + QRegularExpression::escape(prefix)
                                     + QStringLiteral("(\\d{4,})$"));
    int highest = 0;
    for (const Cell &c : cells) {
        const auto match = pattern.match(c.id);
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toInt());
    }
    return prefix + QStringLiteral("%1").arg(highest + 1, 4, 10, QLatin1Char('0'));
}

QString defaultSessionPath(const QString &documentsFolder, const QDateTime &start)
{
    return QDir(documentsFolder)
        .filePath(QStringLiteral("Dorvel sessions/") + start.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))
                  + QStringLiteral(".tsv"));
}

bool SessionFile::rewrite(const QString &path, const Profile &profile, const QList<Cell> &cells, QString *error)
{
    m_file.close();
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("the folder %1 cannot be made").arg(info.absolutePath());
        return false;
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(sessionText(profile, cells)) < 0 || !save.commit()) {
        *error = save.errorString();
        return false;
    }
    m_path = path;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = m_file.errorString();
        return false;
    }
    return true;
}

bool SessionFile::reopen(const QString &path, QString *error)
{
    m_file.close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = m_file.errorString();
        return false;
    }
    m_path = path;
    return true;
}

bool SessionFile::append(const Cell &cell, QString *error)
{
    const QByteArray line = cellLine(cell);
    if (!m_file.isOpen() || m_file.write(line) != line.size() || !sync(m_file)) {
        *error = m_file.isOpen() ? m_file.errorString() : QStringLiteral("the session file is not open");
        return false;
    }
    return true;
}

} // namespace sorting
