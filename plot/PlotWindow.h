#pragma once

#include "plot/PlotView.h"
#include "ui/Twips.h"

#include <QImage>
#include <QWidget>

class QPainter;
class QToolBar;

namespace plot {

// Paints the plot's frame, labels and curves, in twips, onto a painter whose one unit is
// one twip. `columnsPerTwip` is the painter's device pixels per twip; with `reduce` the
// curves are cut down to what that raster shows, else every segment is drawn.
void paintPlot(QPainter &p, const ListPlot *plot, double columnsPerTwip, bool reduce);

// The plotted area, 15 twips a logical pixel. It opens on the settings' view; the wheel
// zooms the time axis around the pointer (with Ctrl the value scales), a drag pans, a drag
// with Shift or the right button zooms into its rectangle, Home or a double click goes back.
// The keys do the same without a mouse: + and - zoom, the arrows pan, Ctrl with + and -
// zooms the values. A crosshair names the row nearest the pointer.
class PlotCanvas final : public QWidget
{
    Q_OBJECT
public:
    explicit PlotCanvas(QWidget *parent = nullptr);

    // A plot without rows behind it: drawn as it is, nothing to zoom.
    void setPlot(const ListPlot &plot);
    // A list's plot: drawn on its view, zoomable.
    void setPlot(const PlotResult &result);
    const ListPlot *plot() const { return m_hasPlot ? &m_plot : nullptr; }
    const PlotView &view() const { return m_view; }
    const PlotView &homeView() const { return m_home; }
    void setView(const PlotView &view);
    void goHome() { setView(m_home); }
    // The row the crosshair names, 0 when it shows none.
    int crosshairRow() const { return m_crosshairRow; }
    QString crosshairLabel() const;
    // Where the crosshair's label is drawn, in logical pixels.
    QRectF crosshairLabelRect() const;
    // The canvas alone at `scale` device pixels a logical pixel, as it is printed.
    QImage picture(qreal scale) const;
    // The same with every segment drawn, for comparison.
    QImage fullPicture(qreal scale) const;

    static constexpr double TwipsPerPixel = ui::TwipsPerPixel; // a double for the drawing's arithmetic
    static constexpr double WidthTwips = 6450;
    static constexpr double HeightTwips = 7450;

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class Drag { None, Pan, Band };
    QImage render(qreal scale, bool reduce) const;
    bool zoomable() const { return m_rows.count() >= 2 && m_plot.hasCurves; }
    void followPointer(const QPointF &at);
    void paintCrosshair(QPainter &p) const;

    ListPlot m_plot;
    bool m_hasPlot = false;
    PlotRows m_rows;
    PlotView m_home;
    PlotView m_view;
    Drag m_drag = Drag::None;
    QPointF m_pressAt;
    PlotView m_viewAtPress;
    QRectF m_band; // logical pixels
    int m_crosshairRow = 0;
    QPointF m_pointer;
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
    void setPlot(const PlotResult &result) { m_canvas->setPlot(result); }
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
