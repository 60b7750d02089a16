#include "sorting/HistogramView.h"

#include "sorting/CellTable.h"

#include <QPainter>

namespace sorting {

namespace {

QColor binColour(const Profile &profile, double middle)
{
    for (qsizetype i = 0; i < profile.grades.size(); ++i)
        if (middle <= profile.grades[i].limitMilliOhm)
            return gradeColour(int(i));
    return gradeColour(MaxGrades);
}

} // namespace

void drawHistogram(QPainter &p, const QRect &area, const Histogram &h, const Profile &profile)
{
    p.save();
    p.fillRect(area, Qt::white);
    const QFontMetrics fm(p.font());
    const int left = area.left() + fm.horizontalAdvance(QStringLiteral("0000")) + 6;
    const int bottom = area.bottom() - fm.height() - 4;
    const int top = area.top() + fm.height() + 4;
    const int right = area.right() - 8;
    if (right <= left || bottom <= top || h.bins.isEmpty()) {
        p.restore();
        return;
    }
    const QRect plot(QPoint(left, top), QPoint(right, bottom));
    const int highest = std::max(1, h.highest());
    const double binPixels = double(plot.width()) / h.bins.size();
    for (qsizetype i = 0; i < h.bins.size(); ++i) {
        if (h.bins[i] == 0)
            continue;
        const int height = int(std::lround(double(h.bins[i]) / highest * plot.height()));
        const QRectF bar(plot.left() + i * binPixels + 0.5, plot.bottom() - height + 1, binPixels - 1, height);
        p.fillRect(bar, binColour(profile, (i + 0.5) * h.binWidth()));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    // The count at the top of the scale and the resistance at both ends.
    p.drawText(QRect(area.left(), plot.top() - fm.height() / 2, left - area.left() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QString::number(highest));
    p.drawText(QRect(area.left(), plot.bottom() - fm.height() / 2, left - area.left() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    p.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), fm.height()), Qt::AlignRight,
               numberText(h.top) + QStringLiteral(" mOhm"));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    for (const Grade &g : profile.grades) {
        const int x = plot.left() + int(std::lround(g.limitMilliOhm / h.top * plot.width()));
        p.drawLine(x, plot.top(), x, plot.bottom());
        const QString label = g.name + QStringLiteral(" ≤ ") + numberText(g.limitMilliOhm);
        const int half = fm.horizontalAdvance(label) / 2 + 2;
        p.drawText(QRect(x - half, area.top(), 2 * half, fm.height()), Qt::AlignHCenter, label);
    }
    p.restore();
}

HistogramView::HistogramView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Histogram"));
    setAccessibleName(QStringLiteral("Histogram"));
    setMinimumSize(240, 160);
}

void HistogramView::setData(const Histogram &histogram, const Profile &profile)
{
    m_histogram = histogram;
    m_profile = profile;
    update();
}

void HistogramView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawHistogram(p, rect(), m_histogram, m_profile);
}

} // namespace sorting
