#pragma once

#include <QFrame>
#include <QList>

class QRadioButton;

namespace panel {

// SSPRealTime: the raised panel that chooses between the real-time list and graphs.
class RealTimeChooser : public QFrame
{
    Q_OBJECT
public:
    explicit RealTimeChooser(QWidget *parent);
    void choose(int index); // 0 "List", 1 "Graph"

signals:
    void listChosen();
    void graphChosen();

private:
    QList<QRadioButton *> m_options;
};

// SSPHelp: the raised panel that chooses the language of the manual.
class HelpChooser : public QFrame
{
    Q_OBJECT
public:
    explicit HelpChooser(QWidget *parent);
    void choose(int index); // 0 "English" .. 6 "Chinese"

    // The manual of a language, relative to the program's folder.
    static QString manualFile(int index);

signals:
    void languageChosen(int index);

private:
    QList<QRadioButton *> m_options;
};

} // namespace panel
