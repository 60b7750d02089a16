#include "plot/PlotWindow.h"

#include "ui/ListWindow.h"
#include "ui/ScreenFit.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

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
    setAccessibleName(QStringLiteral("Plot"));
    setFixedSize(int(WidthTwips / TwipsPerPixel), int(HeightTwips / TwipsPerPixel));
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::PreventContextMenu); // the right button draws a zoom band
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void PlotCanvas::setPlot(const ListPlot &plot)
{
    m_plot = plot;
    m_hasPlot = true;
    m_rows = {};
    m_crosshairRow = 0;
    update();
}

void PlotCanvas::setPlot(const PlotResult &result)
{
    m_rows = result.rows;
    m_home = result.view;
    m_view = result.view;
    m_plot = result.plot;
    m_hasPlot = true;
    m_crosshairRow = 0;
    update();
}

void PlotCanvas::setView(const PlotView &view)
{
    if (!zoomable() || view == m_view)
        return;
    m_view = view;
    m_plot = plotOfView(m_rows, m_view);
    if (m_crosshairRow > 0)
        followPointer(m_pointer);
    update();
}

void PlotCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.save();
    p.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    paintPlot(p, plot(), devicePixelRatioF() / TwipsPerPixel, true);
    p.restore();
    if (m_drag == Drag::Band && !m_band.isEmpty()) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(QColor(0, 0, 255, 24));
        p.drawRect(m_band);
    }
    paintCrosshair(p);
}

namespace {

QPointF twipsOf(const QPointF &pixels)
{
    return pixels * PlotCanvas::TwipsPerPixel;
}

} // namespace

void PlotCanvas::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (!zoomable() || notches == 0) {
        event->ignore();
        return;
    }
    // A notch forward shows 4/5 of what was shown; back shows 5/4.
    const double factor = std::pow(0.8, notches);
    const QPointF at = twipsOf(event->position());
    if (event->modifiers() & Qt::ControlModifier)
        setView(zoomValues(m_view, at.y(), factor));
    else
        setView(zoomTime(m_view, rowAt(m_view, at.x()), factor, m_rows.count()));
    event->accept();
}

void PlotCanvas::mousePressEvent(QMouseEvent *event)
{
    if (!zoomable())
        return;
    m_pressAt = event->position();
    m_viewAtPress = m_view;
    const bool band = event->button() == Qt::RightButton
                      || (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    m_drag = band ? Drag::Band : event->button() == Qt::LeftButton ? Drag::Pan : Drag::None;
    m_band = QRectF();
    if (m_drag == Drag::Pan)
        setCursor(Qt::ClosedHandCursor);
}

void PlotCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == Drag::Pan) {
        const double rows = -(event->position().x() - m_pressAt.x()) * TwipsPerPixel / (frame::Right - frame::Left)
                            * (m_viewAtPress.to - m_viewAtPress.from);
        setView(panTime(m_viewAtPress, rows, m_rows.count()));
    } else if (m_drag == Drag::Band) {
        m_band = QRectF(m_pressAt, event->position()).normalized();
        update();
    }
    followPointer(event->position());
}

void PlotCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    unsetCursor();
    if (drag == Drag::Band) {
        m_band = QRectF(m_pressAt, event->position()).normalized();
        // A click without a drag is no band.
        if (m_band.width() >= 3) {
            const QRectF twips(twipsOf(m_band.topLeft()), twipsOf(m_band.bottomRight()));
            setView(zoomToBand(m_view, twips, m_rows.count(), 3 * TwipsPerPixel));
        }
        m_band = QRectF();
        update();
    }
}

void PlotCanvas::mouseDoubleClickEvent(QMouseEvent *)
{
    goHome();
}

void PlotCanvas::keyPressEvent(QKeyEvent *event)
{
    if (!zoomable()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const double middle = (m_view.from + m_view.to) / 2;
    const double span = m_view.to - m_view.from;
    const bool values = event->modifiers() & Qt::ControlModifier;
    // The middle of the upper half: values zoom about the middle of their scales.
    const double valueMiddle = (frame::TopLine + frame::Zero) / 2;
    switch (event->key()) {
    case Qt::Key_Home: goHome(); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        setView(values ? zoomValues(m_view, valueMiddle, 0.8) : zoomTime(m_view, middle, 0.8, m_rows.count()));
        break;
    case Qt::Key_Minus:
        setView(values ? zoomValues(m_view, valueMiddle, 1.25) : zoomTime(m_view, middle, 1.25, m_rows.count()));
        break;
    case Qt::Key_Left: setView(panTime(m_view, -span / 10, m_rows.count())); break;
    case Qt::Key_Right: setView(panTime(m_view, span / 10, m_rows.count())); break;
    default: QWidget::keyPressEvent(event);
    }
}

void PlotCanvas::leaveEvent(QEvent *)
{
    m_crosshairRow = 0;
    update();
}

void PlotCanvas::followPointer(const QPointF &at)
{
    m_pointer = at;
    const QPointF twips = twipsOf(at);
    const bool inFrame = twips.x() >= frame::Left && twips.x() <= frame::Right && twips.y() >= frame::AxisTop
                         && twips.y() <= frame::AxisBottom;
    m_crosshairRow = zoomable() && inFrame ? nearestRow(m_view, twips.x(), m_rows.count()) : 0;
    update();
}

QString PlotCanvas::crosshairLabel() const
{
    return m_crosshairRow > 0 ? crosshairText(m_rows, m_crosshairRow) : QString();
}

QRectF PlotCanvas::crosshairLabelRect() const
{
    if (m_crosshairRow <= 0)
        return {};
    const QFontMetricsF metrics(font());
    const QStringList lines = crosshairLabel().split(QLatin1Char('\n'));
    double textWidth = 0;
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const QSizeF size(textWidth + 8, metrics.height() * lines.size() + 4);
    // Beside the row's vertical, never on it: the row's points lie on that line, so a label
    // to one side of it cannot cover them. Right of it, or left near the right edge.
    const double x = xOfRow(m_view, m_crosshairRow) / TwipsPerPixel;
    const double gap = 8;
    const double left = x + gap + size.width() <= width() ? x + gap : x - gap - size.width();
    const double top = std::clamp(m_pointer.y() - size.height() - gap, 0.0, height() - size.height());
    return QRectF(QPointF(left, top), size);
}

void PlotCanvas::paintCrosshair(QPainter &p) const
{
    if (m_crosshairRow <= 0)
        return;
    const int r = m_crosshairRow;
    const double x = xOfRow(m_view, r) / TwipsPerPixel;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(96, 96, 96), 1, Qt::DotLine));
    p.drawLine(QPointF(x, frame::AxisTop / TwipsPerPixel), QPointF(x, frame::AxisBottom / TwipsPerPixel));
    const double ohmY = ohmHeightOf(m_rows.ohm[r - 1], m_rows.ohmMark[r - 1], m_view.ohmMin, m_view.ohmMax);
    const double voltY = voltHeightOf(m_rows.volt[r - 1], m_rows.voltMark[r - 1], m_view.voltMin, m_view.voltMax);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Blue, 1.5));
    p.drawEllipse(QPointF(x, ohmY / TwipsPerPixel), 3.5, 3.5);
    p.setPen(QPen(Qt::darkGreen, 1.5));
    p.drawEllipse(QPointF(x, voltY / TwipsPerPixel), 3.5, 3.5);

    const QRectF box = crosshairLabelRect();
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(QColor(255, 255, 225, 235));
    p.drawRect(box);
    p.setPen(Qt::black);
    p.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, crosshairLabel());
    p.restore();
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
    // The keys of the zoom reach the canvas as soon as the window is up.
    setFocusProxy(m_canvas);
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
