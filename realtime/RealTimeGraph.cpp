#include "realtime/RealTimeGraph.h"

#include "core/AppState.h"
#include "ui/Clock.h"
#include "ui/ListWindow.h"
#include "ui/ScreenFit.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <cmath>

namespace realtime {

namespace {

// Grid lines and time marks: colour 7 of the classic 16-colour palette.
const QColor GridColor(192, 192, 192);
const QColor TraceColor(255, 0, 0);

constexpr int ToolbarHeight = 28;
using ui::TwipsPerPixel;
// The frame the outer sizes were designed with: a sizable window's borders and caption.
const QSize DesignFrame(8, 27);

// A box given by two corners, both included, as the pixels it covers.
QRect pixelBox(const QRectF &corners)
{
    const QRectF r = corners.normalized();
    return QRect(QPoint(qRound(r.left()), qRound(r.top())), QPoint(qRound(r.right()), qRound(r.bottom())));
}

QRect fill(QPainter &p, const QRectF &corners, const QColor &colour)
{
    const QRect box = pixelBox(corners);
    p.fillRect(box, colour);
    return box;
}

// Draws with the painter's pen; gives back the pixels it may have touched.
QRect line(QPainter &p, const QLineF &l)
{
    p.drawLine(l);
    return QRectF(l.p1(), l.p2()).normalized().toAlignedRect().adjusted(-2, -2, 2, 2);
}

QRect text(QPainter &p, const QFontMetricsF &metrics, const QPointF &topLeft, const QString &s)
{
    p.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), s);
    return QRectF(topLeft, QSizeF(metrics.horizontalAdvance(s), metrics.height()))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

QPen dotted(const QColor &colour)
{
    return QPen(colour, 1, Qt::DotLine);
}

} // namespace

RealTimeGraph::RealTimeGraph(GraphKind kind, core::AppState &state, const ui::Clock &clock,
                             std::function<bool()> twinShown, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_kind(kind)
    , m_state(state)
    , m_clock(clock)
    , m_twinShown(std::move(twinShown))
{
    const bool ohm = kind == GraphKind::Ohm;
    setObjectName(ohm ? QStringLiteral("RealTimeX") : QStringLiteral("RealTimeY"));
    setWindowTitle(ohm ? QStringLiteral("Real Time Graph - (m) Ohm ") : QStringLiteral("Real Time Graph - Voltage "));
    // paintEvent covers every pixel from the backing store.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(20, 20));
    m_toolbar->setFixedHeight(ToolbarHeight);
    ui::addToolButton(*m_toolbar, QStringLiteral("Limit"), QStringLiteral("Limit"), ui::Tool::Limit);
    ui::addToolButton(*m_toolbar, QStringLiteral("Print"), QStringLiteral("Print"), ui::Tool::Print);
    ui::addToolButton(*m_toolbar, QStringLiteral("stop"), QStringLiteral("Stop"), ui::Tool::Stop);
    connect(m_toolbar, &QToolBar::actionTriggered, this,
            [this](QAction *action) { buttonClick(ui::toolButtonKey(action)); });

    m_timer.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer, &QTimer::timeout, this, &RealTimeGraph::tick);

    // Times New Roman 8.25 point: 11 pixels at the usual 96 dots to the inch.
    m_font = QFont(QStringLiteral("Times New Roman"));
    m_font.setStyleHint(QFont::Serif);
    m_font.setPixelSize(11);

    setMinimumSize((minimumOuterSize(kind) - DesignFrame).expandedTo(QSize(1, 1)));
    resize(designedSize(kind));
    m_sweep.SweepX = -m_state.GraphStep;
}

QSize RealTimeGraph::designedSize(GraphKind kind)
{
    return kind == GraphKind::Ohm ? QSize(4275, 4185) / TwipsPerPixel : QSize(4275, 5460) / TwipsPerPixel;
}

QSize RealTimeGraph::minimumOuterSize(GraphKind kind)
{
    return kind == GraphKind::Ohm ? QSize(1800, 3000) / TwipsPerPixel : QSize(4395, 5865) / TwipsPerPixel;
}

void RealTimeGraph::placeBy(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    const QScreen *screen = mainWindow.screen();
    const int top = screen ? screen->geometry().top() : 0;
    move(m_kind == GraphKind::Ohm ? main.left() : main.left() + main.width(), top);
    ui::keepOnScreen(*this);
}

void RealTimeGraph::startSweep(int intervalMs)
{
    if (!m_store.isNull() && scale() != m_drawnScale)
        redraw();
    m_timer.setInterval(intervalMs);
    m_timer.start();
}

void RealTimeGraph::stopSweep()
{
    m_timer.stop();
}

RealTimeGraph::Scale RealTimeGraph::scale() const
{
    return {topLimit(), bottomLimit(), m_state.GraphStep};
}

int16_t RealTimeGraph::topLimit() const
{
    return m_kind == GraphKind::Ohm ? m_state.GraphOhmMax : m_state.GraphVoltMax;
}

int16_t RealTimeGraph::bottomLimit() const
{
    return m_kind == GraphKind::Ohm ? m_state.GraphOhmMin : m_state.GraphVoltMin;
}

const QString &RealTimeGraph::readingText() const
{
    return m_kind == GraphKind::Ohm ? m_state.reading.OhmText : m_state.reading.VoltText;
}

void RealTimeGraph::redraw()
{
    // A client area without size (minimised as it resized) has no plot: the picture and
    // the shared width stay as they are.
    if (size().isEmpty())
        return;
    m_frame = graphFrame(height());
    m_state.GraphWidth = graphWidthFor(width());
    const float graphWidth = m_state.GraphWidth;

    const qreal dpr = devicePixelRatioF();
    m_store = QPixmap(size() * dpr);
    m_store.setDevicePixelRatio(dpr);
    m_store.fill(Qt::white);
    QPainter p(&m_store);

    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(verticalAxis(m_frame));
    p.drawLine(horizontalAxis(m_frame, graphWidth));
    p.setPen(QPen(Qt::black, 1));
    for (const QLineF &tick : axisTicks(m_kind, m_frame))
        p.drawLine(tick);

    p.setFont(m_font);
    const QFontMetricsF metrics(m_font, &m_store);
    m_drawnScale = scale();
    m_labels = axisLabelTexts(m_kind, topLimit(), bottomLimit());
    for (int j = 0; j < m_labels.size(); ++j) {
        const QString &label = m_labels.at(j);
        text(p, metrics, axisLabelCorner(m_kind, m_frame, j, metrics.horizontalAdvance(label), metrics.height()),
             label);
    }

    fill(p, plotBox(m_frame, graphWidth), Qt::white);
    m_sweep = {};
    m_sweep.SweepX = -m_state.GraphStep;
    m_gridWidth = -1;

    if (m_kind == GraphKind::Ohm)
        m_unit = m_state.reading.OhmInMilli ? QStringLiteral("mOhm") : QStringLiteral("Ohm");
    else
        m_unit = QStringLiteral("Voltage");
    text(p, metrics, unitTextCorner(m_frame), m_unit);
    p.end();
    update();
}

void RealTimeGraph::buildGridLines(float graphWidth)
{
    m_gridWidth = graphWidth;
    m_gridLines.clear();
    const qreal dpr = m_store.devicePixelRatio();
    for (double y : gridLineYs(m_kind, m_frame)) {
        // Whole pixels apart from the store, so the dots fall where a line drawn straight
        // into it would put them.
        const QPoint at(int(m_frame.OriginX) - 2, int(std::floor(y)) - 1);
        QPixmap dots(QSize(int(graphWidth) + 5, 3) * dpr);
        dots.setDevicePixelRatio(dpr);
        dots.fill(Qt::transparent);
        QPainter p(&dots);
        p.setPen(dotted(GridColor));
        p.drawLine(QLineF(m_frame.OriginX - at.x(), y - at.y(), m_frame.OriginX + graphWidth - at.x(), y - at.y()));
        p.end();
        m_gridLines.append({dots, at});
    }
}

void RealTimeGraph::tick()
{
    if (m_store.isNull())
        return;
    const float graphWidth = m_state.GraphWidth;
    // A held reading is not drawn: the pen sweeps on over a gap.
    std::optional<double> y;
    if (core::readingFresh(m_state, m_clock.monotonicMs()))
        y = plotY(m_kind, readingText(), topLimit(), bottomLimit(), m_frame.PlotHeight);
    const SweepStep step = advanceSweep(m_sweep, m_frame, m_state.GraphStep, graphWidth, y);
    // The twin's resize may have changed the width since the last step.
    if (graphWidth != m_gridWidth)
        buildGridLines(graphWidth);

    QPainter p(&m_store);
    QRegion dirty = fill(p, step.wipe, Qt::white);
    if (m_kind == GraphKind::Volt) {
        p.setPen(QPen(Qt::black, 1));
        dirty += line(p, middleLine(m_frame, graphWidth));
    }
    for (const GridLine &grid : std::as_const(m_gridLines)) {
        p.drawPixmap(grid.at, grid.dots);
        dirty += QRect(grid.at, grid.dots.deviceIndependentSize().toSize());
    }
    if (step.segment) {
        p.setPen(QPen(TraceColor, 1));
        dirty += line(p, *step.segment);
    }
    if (step.mark == Mark::Time) {
        p.setPen(dotted(GridColor));
        dirty += line(p, timeMarkLine(m_frame, step.penX));
        m_timeText = m_clock.now().toString(QStringLiteral("HH:mm:ss"));
        p.setFont(m_font);
        const QFontMetricsF metrics(m_font, &m_store);
        const double w = metrics.horizontalAdvance(m_timeText);
        dirty += fill(p, timeTextBox(m_frame, step.penX, w), Qt::white);
        p.setPen(Qt::black);
        dirty += text(p, metrics, timeTextCorner(m_frame, step.penX, w), m_timeText);
    } else if (step.mark == Mark::Short) {
        p.setPen(QPen(GridColor, 1));
        dirty += line(p, shortMarkLine(m_frame, step.penX));
    }
    p.end();
    update(dirty);
}

void RealTimeGraph::buttonClick(const QString &key)
{
    if (key == QLatin1String("Limit")) {
        emit limitRequested();
    } else if (key == QLatin1String("Print")) {
        emit printRequested();
    } else if (key == QLatin1String("stop")) {
        stopSweep();
        emit stopPressed();
    }
}

QImage RealTimeGraph::picture() const
{
    return m_store.toImage();
}

void RealTimeGraph::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // Moved to a screen of another density: the picture starts again at the new one.
    if (!m_store.isNull() && m_store.devicePixelRatio() != devicePixelRatioF()) {
        p.end();
        redraw();
        return;
    }
    if (m_store.isNull()) {
        p.fillRect(event->rect(), Qt::white);
        return;
    }
    const qreal dpr = m_store.devicePixelRatio();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect &r : event->region())
        p.drawPixmap(QRectF(r), m_store, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
}

void RealTimeGraph::resizeEvent(QResizeEvent *event)
{
    m_toolbar->setGeometry(0, 0, width(), ToolbarHeight);
    redraw();
    QWidget::resizeEvent(event);
}

void RealTimeGraph::closeEvent(QCloseEvent *event)
{
    m_timer.stop();
    if (!m_twinShown || !m_twinShown())
        m_state.GraphOn = false;
    QWidget::closeEvent(event);
}

} // namespace realtime
