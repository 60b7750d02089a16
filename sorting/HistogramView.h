#pragma once

#include "sorting/Statistics.h"

#include <QImage>
#include <QWidget>

namespace sorting {

// Draws the histogram of the accepted cells' resistance with the grade limits as dashed
// lines, bars coloured by the grade their middle falls in. Used on screen and for the
// printed report.
void drawHistogram(QPainter &p, const QRect &area, const Histogram &h, const Profile &profile);

class HistogramView final : public QWidget
{
    Q_OBJECT
public:
    explicit HistogramView(QWidget *parent = nullptr);
    void setData(const Histogram &histogram, const Profile &profile);
    const Histogram &histogram() const { return m_histogram; }
    QSize sizeHint() const override { return {360, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Histogram m_histogram;
    Profile m_profile;
};

} // namespace sorting
