#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace sorting {

struct Grade
{
    QString name;
    double limitMilliOhm = 0; // upper limit: a cell on the limit gets this grade
    bool operator==(const Grade &) const = default;
};

// How cells are graded: up to four grades by resistance, best first with rising limits;
// anything above the last limit is "Reject R", a voltage outside the window "Reject V".
struct Profile
{
    QString name;
    QList<Grade> grades;
    double minVolts = 0;
    double maxVolts = 0;
    bool operator==(const Profile &) const = default;
};

inline constexpr int MaxGrades = 4;
inline const QString RejectR = QStringLiteral("Reject R");
inline const QString RejectV = QStringLiteral("Reject V");

QList<Profile> builtinProfiles();

// The grade's name, or "Reject V" / "Reject R". A voltage outside the window rejects the
// cell whatever its resistance.
QString gradeOf(const Profile &profile, double milliOhm, double volts);
bool isReject(const QString &grade);
// 0 for the best grade, 1, 2, 3 for the next; MaxGrades for "Reject R", MaxGrades + 1 for
// "Reject V" and for a grade the profile does not have.
int gradeIndex(const Profile &profile, const QString &grade);

// What is wrong with a profile, or an empty text: a name, one to four grades with names
// of their own and rising positive limits, and a voltage window with min below max.
QString profileProblem(const Profile &profile);

// The profile file: small TAB-separated text the user saves and opens.
//   Dorvel sorting profile
//   Name    Li-ion 18650 (used)
//   Grade   A   50
//   Voltage 2.5 4.25
QByteArray profileFileText(const Profile &profile);
// The profile lines of a session head are the same lines without the first.
QStringList profileLines(const Profile &profile);
// Reads the lines back; *error says what is wrong when it returns nullopt.
std::optional<Profile> profileFromLines(const QStringList &lines, QString *error);
std::optional<Profile> readProfileFile(const QByteArray &bytes, QString *error);

// A number as the files write it: '.' as the point, no exponent, no trailing zeros.
QString numberText(double value);

} // namespace sorting
