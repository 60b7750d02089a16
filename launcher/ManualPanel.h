#pragma once

#include "launcher/TwipRect.h"

#include <QFont>
#include <QFrame>
#include <QList>
#include <QStringList>

class QListWidget;
class QRadioButton;

namespace launcher {

// Where the option after `previous` goes: below it while its top stays under 841 twips,
// otherwise at the head of a new column 2400 twips to the right, level with `first`.
// With options 255 twips high starting at 120 that makes columns of three.
TwipRect nextOptionPlace(const TwipRect &previous, const TwipRect &first);

// The panel of manual options under the launcher's picture (HelpPictureBox): one option
// per manual file found when the panel was opened.
class ManualPanel : public QFrame
{
    Q_OBJECT
public:
    explicit ManualPanel(QWidget *parent = nullptr);

    // One option per file name, in the order given; false when there is no name at all
    // (the options are then left as they were).
    bool fill(const QStringList &fileNames);
    // Leaves only the first option. Safe while one of the removed options is reporting a click.
    void removeExtraOptions();

signals:
    // The caption of the option the user picked.
    void chosen(const QString &caption);

private:
    void dress(QRadioButton *option, const QString &fileName, const TwipRect &place);
    void pick(QRadioButton *option);
    // The window's font, or a smaller one in which every name fits its column.
    QFont fittingFont(const QStringList &fileNames) const;

    QRadioButton *m_first = nullptr;
    QList<QRadioButton *> m_extra; // the options created for the second manual on
    QListWidget *m_names = nullptr;
    QFont m_optionFont;
};

} // namespace launcher
