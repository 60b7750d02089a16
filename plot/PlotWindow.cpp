#include "plot/PlotWindow.h"

#include "ui/ListWindow.h"
#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace plot {

namespace {

const QColor Blue(0, 0, 255);
const QColor Green(0, 255, 0);
const QColor DarkGrey(64, 64, 64);

// Pens keep their width in device pixels whatever the twip scale: a frame line is two
// pixels, a grid line one.
QPen pixelPen(const QColor &colour, qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style, Qt::FlatCap);
    pen.setCosmetic(true);
    return pen;
}

enum class Align { Left, Right, Centre };

// A label's text with its top at y; x is its left edge, right edge or centre.
void label(QPainter &p, double x, double y, const QString &text, Align align, const QColor &colour = Qt::black)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(p.font(), p.device());
    const double width = metrics.horizontalAdvance(text);
    double left = x;
    if (align == Align::Right)
        left = x - width;
    else if (align == Align::Centre)
        left = x - width / 2;
    p.setPen(colour);
    p.drawText(QPointF(left, y + metrics.ascent()), text);
}

void line(QPainter &p, double x1, double y1, double x2, double y2)
{
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

} // namespace

void paintPlot(QPainter &p, const ListPlot *plot, double columnsPerTwip, bool reduce)
{
    using namespace frame;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(pixelPen(Qt::black, 2));
    line(p, Left, AxisTop, Left, AxisBottom);
    line(p, Right, AxisTop, Right, AxisBottom);
    line(p, Left, Zero, Right, Zero);
    p.setPen(pixelPen(Qt::red, 1, Qt::DashLine));
    line(p, Left, TopLine, Right, TopLine);
    line(p, Left, BottomLine, Right, BottomLine);
    p.setPen(pixelPen(Qt::black, 1, Qt::DotLine));
    line(p, Left, UpperGrid, Right, UpperGrid);
    line(p, Left, LowerGrid, Right, LowerGrid);
    p.setPen(pixelPen(DarkGrey, 1, Qt::DotLine));
    line(p, Middle, AxisTop, Middle, AxisBottom);

    // An 8.25 point font is 11 pixels at 96 dpi, 165 twips.
    QFont font = p.font();
    font.setPixelSize(165);
    p.setFont(font);
    label(p, 5760, 3840, QStringLiteral("TIME"), Align::Left);
    label(p, 120, 3600, QStringLiteral("+"), Align::Left);
    label(p, 120, 3720, QStringLiteral("-"), Align::Left);

    if (plot) {
        const ScaleLabels &s = plot->scale;
        label(p, 930, 960, s.valTop, Align::Right);
        label(p, 930, 2400, s.valMid, Align::Right);
        label(p, 930, 3960, s.zero, Align::Right);
        label(p, 5040, 960, s.upTop, Align::Left);
        label(p, 5040, 2400, s.upMid, Align::Left);
        label(p, 5040, 3840, s.up0, Align::Left);
        label(p, 5040, 5400, s.midUp, Align::Left);
        label(p, 5040, 6960, s.topUp, Align::Left);
        if (plot->hasCurves) {
            label(p, 1080, 4080, plot->time1, Align::Left);
            label(p, 2970, 4080, plot->time2, Align::Centre);
            label(p, 4920, 4080, plot->time3, Align::Right);
            label(p, 1050, 480, plot->ohmName, Align::Left, Blue);
            label(p, 5010, 480, plot->voltName, Align::Left, Green);
            const auto curve = [&](const QVector<QPointF> &points, const QColor &colour) {
                // Round joins: a turn ends half a pen beyond its point, however many segments meet there.
                QPen pen = pixelPen(colour, 1);
                pen.setCapStyle(Qt::RoundCap);
                pen.setJoinStyle(Qt::RoundJoin);
                p.setPen(pen);
                // A curve denser than the raster is a band of solid colour: drawn aliased, the
                // few strokes of its reduced form light exactly the pixels all its segments do,
                // where antialiased fringes would add up differently. A sparse curve is smooth.
                const bool dense = double(points.size()) > (frame::Right - frame::Left) * columnsPerTwip;
                p.setRenderHint(QPainter::Antialiasing, !dense);
                const QVector<QPointF> drawn = reduce ? reduceToColumns(points, columnsPerTwip) : points;
                p.drawPolyline(drawn.constData(), int(drawn.size()));
            };
            curve(plot->ohmCurve, Blue);
            curve(plot->voltCurve, Green);
        }
    }
    p.restore();
}

PlotCanvas::PlotCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Plot"));
    setFixedSize(int(WidthTwips / TwipsPerPixel), int(HeightTwips / TwipsPerPixel));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void PlotCanvas::setPlot(const ListPlot &plot)
{
    m_plot = plot;
    m_hasPlot = true;
    update();
}

void PlotCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    paintPlot(p, plot(), devicePixelRatioF() / TwipsPerPixel, true);
}

QImage PlotCanvas::render(qreal scale, bool reduce) const
{
    QImage image(size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    paintPlot(p, plot(), scale / TwipsPerPixel, reduce);
    return image;
}

QImage PlotCanvas::picture(qreal scale) const
{
    return render(scale, true);
}

QImage PlotCanvas::fullPicture(qreal scale) const
{
    return render(scale, false);
}

PlotWindow::PlotWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ListPlot2"));
    setWindowTitle(QStringLiteral("Plot Data/File"));
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(24, 24));
    ui::addToolButton(*m_toolbar, QStringLiteral("Limit"), QStringLiteral("Limit"), ui::Tool::Limit);
    ui::addToolButton(*m_toolbar, QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
    connect(m_toolbar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { buttonClick(ui::toolButtonKey(action)); });

    m_canvas = new PlotCanvas(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_canvas);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PlotWindow::placeAtScreenCorner()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    move(screen ? screen->availableGeometry().topLeft() : QPoint(0, 0));
    ui::keepOnScreen(*this);
}

QImage PlotWindow::picture() const
{
    // Three device pixels a logical one: sharp on paper without a page-sized image.
    return m_canvas->picture(3);
}

void PlotWindow::buttonClick(const QString &key)
{
    if (key == QLatin1String("Limit"))
        emit limitRequested();
    else if (key == QLatin1String("Print"))
        emit printRequested();
}

} // namespace plot
