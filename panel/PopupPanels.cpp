#include "panel/PopupPanels.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace panel {

namespace {

void makeRaisedPanel(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setAutoFillBackground(true);
    frame->hide();
}

// A chosen option is cleared again, so the panel looks the same the next time it shows.
void clear(QRadioButton *option)
{
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

} // namespace

RealTimeChooser::RealTimeChooser(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("SSPRealTime"));
    makeRaisedPanel(this);
    auto *layout = new QVBoxLayout(this);
    for (const char *caption : {"List", "Graph"}) {
        auto *option = new QRadioButton(QString::fromLatin1(caption), this);
        option->setObjectName(QStringLiteral("OptItem%1").arg(m_options.size()));
        const int index = static_cast<int>(m_options.size());
        connect(option, &QRadioButton::clicked, this, [this, index] { choose(index); });
        m_options.append(option);
        layout->addWidget(option);
    }
    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("BtnExit"));
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(exit);
    adjustSize();
}

void RealTimeChooser::choose(int index)
{
    hide();
    if (index == 1)
        emit graphChosen();
    else if (index == 0)
        emit listChosen();
    if (index >= 0 && index < m_options.size())
        clear(m_options[index]);
}

HelpChooser::HelpChooser(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("SSPHelp"));
    makeRaisedPanel(this);
    auto *layout = new QVBoxLayout(this);
    const char *languages[] = {"English", "French", "German", "Italian", "Portuguese", "Spanish", "Chinese"};
    for (const char *caption : languages) {
        auto *option = new QRadioButton(QString::fromLatin1(caption), this);
        const int index = static_cast<int>(m_options.size());
        option->setObjectName(QStringLiteral("Option1_%1").arg(index));
        connect(option, &QRadioButton::clicked, this, [this, index] { choose(index); });
        m_options.append(option);
        layout->addWidget(option);
    }
    adjustSize();
}

void HelpChooser::choose(int index)
{
    hide();
    if (index < 0 || index >= m_options.size())
        return;
    clear(m_options[index]);
    emit languageChosen(index);
}

QString HelpChooser::manualFile(int index)
{
    static const char *const codes[] = {"EN", "FR", "DE", "IT", "BPT", "ES", "CN"};
    return QStringLiteral("help/Dorvel-SW-HELP-%1_V1.1.pdf").arg(QLatin1String(codes[index]));
}

} // namespace panel
