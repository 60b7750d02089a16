#pragma once

#include "plot/PlotMath.h"

#include <QImage>
#include <QWidget>

class QPainter;
class QToolBar;

namespace plot {

// Paints the plot's frame, labels and curves, in twips, onto a painter whose one unit is
// one twip. `columnsPerTwip` is the painter's device pixels per twip; with `reduce` the
// curves are cut down to what that raster shows, else every segment is drawn.
void paintPlot(QPainter &p, const ListPlot *plot, double columnsPerTwip, bool reduce);

// The plotted area, 15 twips a logical pixel.
class PlotCanvas final : public QWidget
{
    Q_OBJECT
public:
    explicit PlotCanvas(QWidget *parent = nullptr);

    void setPlot(const ListPlot &plot);
    const ListPlot *plot() const { return m_hasPlot ? &m_plot : nullptr; }
    // The canvas alone at `scale` device pixels a logical pixel, as it is printed.
    QImage picture(qreal scale) const;
    // The same with every segment drawn, for comparison.
    QImage fullPicture(qreal scale) const;

    static constexpr double TwipsPerPixel = 15;
    static constexpr double WidthTwips = 6450;
    static constexpr double HeightTwips = 7450;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage render(qreal scale, bool reduce) const;

    ListPlot m_plot;
    bool m_hasPlot = false;
};

// The "Plot Data/File" window: the fixed frame and, once a list is drawn into it, the
// labels and the two curves. Its tool bar asks for the range window and for printing.
class PlotWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit PlotWindow(QWidget *parent = nullptr);

    // At the top left corner of the screen it is on.
    void placeAtScreenCorner();
    void setPlot(const ListPlot &plot) { m_canvas->setPlot(plot); }
    PlotCanvas &canvas() { return *m_canvas; }
    // The window's picture without its tool bar: frame, labels and curves.
    QImage picture() const;

    // "Limit", "Print"; any other key does nothing.
    void buttonClick(const QString &key);

signals:
    void limitRequested();
    void printRequested();

private:
    QToolBar *m_toolbar = nullptr;
    PlotCanvas *m_canvas = nullptr;
};

} // namespace plot
