#include "realtime/RealTimeRange.h"

#include "core/AppState.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace realtime {

namespace {

QLabel *captionPanel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(2);
    return label;
}

QLineEdit *entryBox(const QString &name, const QString &accessibleName, const QString &text, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    // Room for "864000" or "-40" and a little more.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    return edit;
}

// A frame with "Max." and "Min." panels over their boxes.
QGroupBox *limitFrame(const QString &name, const QString &caption, const QString &maxPanel, const QString &minPanel,
                      QLineEdit *max, QLineEdit *min, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto *grid = new QGridLayout(frame);
    QLabel *maxLabel = captionPanel(maxPanel, QStringLiteral("Max."), frame);
    QLabel *minLabel = captionPanel(minPanel, QStringLiteral("Min."), frame);
    maxLabel->setBuddy(max);
    minLabel->setBuddy(min);
    grid->addWidget(maxLabel, 0, 0);
    grid->addWidget(minLabel, 0, 1);
    grid->addWidget(max, 1, 0);
    grid->addWidget(min, 1, 1);
    return frame;
}

} // namespace

RealTimeRange::RealTimeRange(const core::AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("RealTimeRange"));
    setWindowTitle(QStringLiteral("Real Time Range"));

    const GraphRangeTexts t = graphRangeTexts(state);
    m_xMax = entryBox(QStringLiteral("TextXMax"), QStringLiteral("Ohm Max."), t.ohmMax, this);
    m_xMin = entryBox(QStringLiteral("TextXMin"), QStringLiteral("Ohm Min."), t.ohmMin, this);
    m_yMax = entryBox(QStringLiteral("TextYMax"), QStringLiteral("Voltage Max."), t.voltMax, this);
    m_yMin = entryBox(QStringLiteral("TextYMin"), QStringLiteral("Voltage Min."), t.voltMin, this);
    m_counts = entryBox(QStringLiteral("TextCounts"), QStringLiteral("Counts"), t.counts, this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(limitFrame(QStringLiteral("FrameX"), QStringLiteral("Ohm"), QStringLiteral("SSPanel1"),
                               QStringLiteral("SSPanel2"), m_xMax, m_xMin, this),
                    0, 0, 2, 1);
    grid->addWidget(limitFrame(QStringLiteral("FrameY"), QStringLiteral("Voltage"), QStringLiteral("SSPanel4"),
                               QStringLiteral("SSPanel5"), m_yMax, m_yMin, this),
                    2, 0, 2, 1);
    auto *countsPanel = captionPanel(QStringLiteral("SSPanel13"), QStringLiteral("Counts"), this);
    countsPanel->setBuddy(m_counts);
    grid->addWidget(countsPanel, 0, 1, Qt::AlignBottom);
    grid->addWidget(m_counts, 1, 1, Qt::AlignTop);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    grid->addWidget(ok, 3, 1, Qt::AlignBottom);
    connect(ok, &QPushButton::clicked, this, &RealTimeRange::okPressed);
    // Return in any box is OK, as in a dialog.
    for (QLineEdit *edit : {m_xMax, m_xMin, m_yMax, m_yMin, m_counts})
        connect(edit, &QLineEdit::returnPressed, this, &RealTimeRange::okPressed);
}

GraphRangeEntry RealTimeRange::entry() const
{
    return readGraphRangeEntry(m_xMax->text(), m_xMin->text(), m_yMax->text(), m_yMin->text(), m_counts->text());
}

QLineEdit &RealTimeRange::box(const QString &name) const
{
    return *findChild<QLineEdit *>(name);
}

} // namespace realtime
