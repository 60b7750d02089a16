#include "sorting/ProfileEditor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace sorting {

namespace {

QLineEdit *field(QWidget *parent, const QString &name, int width)
{
    auto *edit = new QLineEdit(parent);
    edit->setAccessibleName(name);
    edit->setObjectName(name);
    edit->setMaximumWidth(width);
    return edit;
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

ProfileEditor::ProfileEditor(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ProfileEditor"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_name = field(this, QStringLiteral("Profile name"), 1000);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Grade"), this), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("up to mOhm"), this), 1, 2);
    for (int i = 0; i < MaxGrades; ++i) {
        m_gradeNames[i] = field(this, QStringLiteral("Grade %1 name").arg(i + 1), 80);
        m_gradeLimits[i] = field(this, QStringLiteral("Grade %1 limit").arg(i + 1), 80);
        grid->addWidget(new QLabel(QString::number(i + 1), this), 2 + i, 0);
        grid->addWidget(m_gradeNames[i], 2 + i, 1);
        grid->addWidget(m_gradeLimits[i], 2 + i, 2);
    }
    m_minVolts = field(this, QStringLiteral("Minimum V"), 80);
    m_maxVolts = field(this, QStringLiteral("Maximum V"), 80);
    grid->addWidget(new QLabel(QStringLiteral("Voltage"), this), 6, 0);
    grid->addWidget(m_minVolts, 6, 1);
    grid->addWidget(m_maxVolts, 6, 2);
    grid->addWidget(new QLabel(QStringLiteral("V"), this), 6, 3);
    auto *apply = new QPushButton(QStringLiteral("Apply Profile"), this);
    apply->setObjectName(QStringLiteral("CmdApplyProfile"));
    apply->setAccessibleName(apply->text());
    grid->addWidget(apply, 7, 1, 1, 3);
    connect(apply, &QPushButton::clicked, this, &ProfileEditor::applied);
}

void ProfileEditor::showProfile(const Profile &p)
{
    m_name->setText(p.name);
    for (int i = 0; i < MaxGrades; ++i) {
        const bool has = i < p.grades.size();
        m_gradeNames[i]->setText(has ? p.grades[i].name : QString());
        m_gradeLimits[i]->setText(has ? numberText(p.grades[i].limitMilliOhm) : QString());
    }
    m_minVolts->setText(numberText(p.minVolts));
    m_maxVolts->setText(numberText(p.maxVolts));
}

std::optional<Profile> ProfileEditor::profile(QString *problem) const
{
    Profile p;
    p.name = m_name->text().trimmed();
    for (int i = 0; i < MaxGrades; ++i) {
        const QString name = m_gradeNames[i]->text().trimmed();
        const QString limit = m_gradeLimits[i]->text().trimmed();
        if (name.isEmpty() && limit.isEmpty())
            continue;
        const auto value = number(limit);
        if (!value) {
            *problem = QStringLiteral("Grade %1: the limit \"%2\" is not a number.").arg(i + 1).arg(limit);
            return std::nullopt;
        }
        p.grades.append({name, *value});
    }
    const auto lo = number(m_minVolts->text());
    const auto hi = number(m_maxVolts->text());
    if (!lo || !hi) {
        *problem = QStringLiteral("The voltage window needs two numbers.");
        return std::nullopt;
    }
    p.minVolts = *lo;
    p.maxVolts = *hi;
    *problem = profileProblem(p);
    if (!problem->isEmpty())
        return std::nullopt;
    return p;
}

} // namespace sorting
