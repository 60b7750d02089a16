#include "sorting/Profile.h"

#include <QByteArray>
#include <QStringList>
#include <cmath>

namespace sorting {

namespace {

const QLatin1String ProfileMagic("Dorvel sorting profile");

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString numberText(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QList<Profile> builtinProfiles()
{
    const auto abc = [](double a, double b, double c) {
        return QList<Grade>{{QStringLiteral("A"), a}, {QStringLiteral("B"), b}, {QStringLiteral("C"), c}};
    };
    return {
        {QStringLiteral("Li-ion 18650 (used)"), abc(50, 100, 150), 2.50, 4.25},
        {QStringLiteral("LiFePO4 32650"), abc(10, 15, 20), 2.50, 3.65},
        {QStringLiteral("NiMH AA"), abc(30, 50, 80), 1.00, 1.50},
    };
}

QString gradeOf(const Profile &profile, double milliOhm, double volts)
{
    if (volts < profile.minVolts || volts > profile.maxVolts)
        return RejectV;
    for (const Grade &g : profile.grades)
        if (milliOhm <= g.limitMilliOhm)
            return g.name;
    return RejectR;
}

bool isReject(const QString &grade)
{
    return grade == RejectR || grade == RejectV;
}

int gradeIndex(const Profile &profile, const QString &grade)
{
    for (qsizetype i = 0; i < profile.grades.size(); ++i)
        if (profile.grades[i].name == grade)
            return int(i);
    return grade == RejectR ? MaxGrades : MaxGrades + 1;
}

QString profileProblem(const Profile &p)
{
    if (p.name.trimmed().isEmpty())
        return QStringLiteral("The profile needs a name.");
    if (p.grades.isEmpty() || p.grades.size() > MaxGrades)
        return QStringLiteral("A profile has one to four grades.");
    QStringList seen;
    double previous = 0;
    for (const Grade &g : p.grades) {
        const QString name = g.name.trimmed();
        if (name.isEmpty() || name.contains(QLatin1Char('\t')))
            return QStringLiteral("Every grade needs a name.");
        if (isReject(name) || seen.contains(name))
            return QStringLiteral("The grade name \"%1\" is taken.").arg(name);
        seen.append(name);
        if (!(g.limitMilliOhm > previous))
            return QStringLiteral("Grade \"%1\": the limits must be above 0 and rise from grade to grade.").arg(name);
        previous = g.limitMilliOhm;
    }
    if (!(p.minVolts < p.maxVolts))
        return QStringLiteral("The voltage window needs its minimum below its maximum.");
    return {};
}

QStringList profileLines(const Profile &p)
{
    QStringList lines;
    lines << QStringLiteral("Name\t") + p.name;
    for (const Grade &g : p.grades)
        lines << QStringLiteral("Grade\t%1\t%2").arg(g.name, numberText(g.limitMilliOhm));
    lines << QStringLiteral("Voltage\t%1\t%2").arg(numberText(p.minVolts), numberText(p.maxVolts));
    return lines;
}

QByteArray profileFileText(const Profile &profile)
{
    QStringList lines = profileLines(profile);
    lines.prepend(ProfileMagic);
    return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
}

std::optional<Profile> profileFromLines(const QStringList &lines, QString *error)
{
    Profile p;
    bool haveName = false;
    bool haveVolts = false;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        const QString &key = f[0];
        if (key == QLatin1String("Name") && f.size() == 2) {
            p.name = f[1];
            haveName = true;
        } else if (key == QLatin1String("Grade") && f.size() == 3 && number(f[2])) {
            p.grades.append({f[1], *number(f[2])});
        } else if (key == QLatin1String("Voltage") && f.size() == 3 && number(f[1]) && number(f[2])) {
            p.minVolts = *number(f[1]);
            p.maxVolts = *number(f[2]);
            haveVolts = true;
        } else {
            *error = QStringLiteral("the profile line \"%1\" is not understood").arg(line.left(60));
            return std::nullopt;
        }
    }
    if (!haveName || !haveVolts) {
        *error = QStringLiteral("the profile has no %1 line")
                     .arg(haveName ? QStringLiteral("Voltage") : QStringLiteral("Name"));
        return std::nullopt;
    }
    const QString problem = profileProblem(p);
    if (!problem.isEmpty()) {
        *error = problem;
        return std::nullopt;
    }
    return p;
}

std::optional<Profile> readProfileFile(const QByteArray &bytes, QString *error)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != ProfileMagic) {
        *error = QStringLiteral("it is not a Dorvel sorting profile (its first line is not \"%1\")").arg(ProfileMagic);
        return std::nullopt;
    }
    lines.removeFirst();
    return profileFromLines(lines, error);
}

} // namespace sorting
