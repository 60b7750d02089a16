#include "realtime/RealTimeRange.h"

#include "core/AppState.h"
#include "ui/RangeEntry.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace realtime {

namespace {

using ui::okButton;

QLabel *captionPanel(const QString &name, const QString &caption, QWidget *parent)
{
    return ui::captionPanel(name, caption, 2, parent);
}

QLineEdit *entryBox(const QString &name, const QString &accessibleName, const QString &text, QWidget *parent)
{
    QLineEdit *edit = ui::entryBox(name, accessibleName, parent);
    edit->setText(text);
    return edit;
}

// The window is laid out in twips, 15 to the pixel, as the graph windows are.
using ui::TwipsPerPixel;
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

// A frame with "Max." and "Min." panels over their boxes, positions within the frame.
QGroupBox *limitFrame(const QString &name, const QString &caption, const QString &maxPanel, const QString &minPanel,
                      QLineEdit *max, QLineEdit *min, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    QLabel *maxLabel = captionPanel(maxPanel, QStringLiteral("Max."), frame);
    QLabel *minLabel = captionPanel(minPanel, QStringLiteral("Min."), frame);
    maxLabel->setBuddy(max);
    minLabel->setBuddy(min);
    max->setParent(frame);
    min->setParent(frame);
    maxLabel->setGeometry(twips(120, 360, 735, 375));
    minLabel->setGeometry(twips(960, 360, 735, 375));
    max->setGeometry(twips(120, 720, 735, 285));
    min->setGeometry(twips(960, 720, 735, 285));
    return frame;
}

} // namespace

RealTimeRange::RealTimeRange(const core::AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("RealTimeRange"));
    setWindowTitle(QStringLiteral("Real Time Range"));
    // The boxes are 19 pixels high: the small dialog font they were sized for.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    const GraphRangeTexts t = graphRangeTexts(state);
    m_xMax = entryBox(QStringLiteral("TextXMax"), QStringLiteral("Ohm Max."), t.ohmMax, this);
    m_xMin = entryBox(QStringLiteral("TextXMin"), QStringLiteral("Ohm Min."), t.ohmMin, this);
    m_yMax = entryBox(QStringLiteral("TextYMax"), QStringLiteral("Voltage Max."), t.voltMax, this);
    m_yMin = entryBox(QStringLiteral("TextYMin"), QStringLiteral("Voltage Min."), t.voltMin, this);
    m_counts = entryBox(QStringLiteral("TextCounts"), QStringLiteral("Counts"), t.counts, this);

    QGroupBox *frameX = limitFrame(QStringLiteral("FrameX"), QStringLiteral("Ohm"), QStringLiteral("SSPanel1"),
                                   QStringLiteral("SSPanel2"), m_xMax, m_xMin, this);
    frameX->setGeometry(twips(120, 0, 1815, 1095));
    QGroupBox *frameY = limitFrame(QStringLiteral("FrameY"), QStringLiteral("Voltage"), QStringLiteral("SSPanel4"),
                                   QStringLiteral("SSPanel5"), m_yMax, m_yMin, this);
    frameY->setGeometry(twips(120, 1200, 1815, 1095));
    auto *countsPanel = captionPanel(QStringLiteral("SSPanel13"), QStringLiteral("Counts"), this);
    countsPanel->setBuddy(m_counts);
    countsPanel->setGeometry(twips(2040, 360, 735, 375));
    m_counts->setGeometry(twips(2040, 720, 735, 315));

    QPushButton *ok = okButton(QStringLiteral("CmdOK"), {m_xMax, m_xMin, m_yMax, m_yMin, m_counts}, this,
                               [this] { emit okPressed(); });
    ok->setGeometry(twips(2040, 1680, 735, 495));
    // The tab order follows the eye: the resistance pair, the voltage pair, Counts, OK.
    setTabOrder(m_xMax, m_xMin);
    setTabOrder(m_xMin, m_yMax);
    setTabOrder(m_yMax, m_yMin);
    setTabOrder(m_yMin, m_counts);
    setTabOrder(m_counts, ok);
    setFixedSize(twips(0, 0, 2850, 2355).size());
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
