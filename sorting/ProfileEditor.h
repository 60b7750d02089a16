#pragma once

#include "sorting/Profile.h"

#include <QWidget>

class QLineEdit;

namespace sorting {

// The profile's name, up to four grades (name and upper limit in mOhm) and the voltage
// window, edited in place; "Apply Profile" hands the result on. An empty grade row is no
// grade.
class ProfileEditor final : public QWidget
{
    Q_OBJECT
public:
    explicit ProfileEditor(QWidget *parent = nullptr);
    void showProfile(const Profile &profile);
    // What the fields say, or the reason they do not make a profile.
    std::optional<Profile> profile(QString *problem) const;

    QLineEdit *nameField() const { return m_name; }
    QLineEdit *gradeName(int i) const { return m_gradeNames[i]; }
    QLineEdit *gradeLimit(int i) const { return m_gradeLimits[i]; }
    QLineEdit *minVolts() const { return m_minVolts; }
    QLineEdit *maxVolts() const { return m_maxVolts; }

signals:
    void applied();

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_gradeNames[MaxGrades] = {};
    QLineEdit *m_gradeLimits[MaxGrades] = {};
    QLineEdit *m_minVolts = nullptr;
    QLineEdit *m_maxVolts = nullptr;
};

} // namespace sorting
