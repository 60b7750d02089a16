#include "ui/ToolbarIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {

namespace {

// Every picture is drawn on a 24 by 24 grid and scaled to the size asked for.
constexpr qreal Grid = 24.0;

const QColor Outline(40, 44, 52);

QPen line(const QColor &colour, qreal width = 1.2)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawDisk(QPainter &p, const QRectF &r)
{
    // A floppy disk on a 18-unit square, scaled into r.
    p.save();
    p.translate(r.topLeft());
    p.scale(r.width() / 18.0, r.height() / 18.0);
    QLinearGradient body(0, 0, 0, 18);
    body.setColorAt(0, QColor(74, 124, 200));
    body.setColorAt(1, QColor(36, 78, 150));
    p.setPen(line(QColor(20, 40, 80), 1.0));
    p.setBrush(body);
    const QPointF outline[] = {{0.5, 1.5},   {1.5, 0.5},   {15, 0.5},   {17.5, 3},
                               {17.5, 16.5}, {16.5, 17.5}, {1.5, 17.5}, {0.5, 16.5}};
    p.drawPolygon(outline, int(std::size(outline)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 218, 224));
    p.drawRect(QRectF(4, 0.5, 9.5, 5.5)); // the metal shutter
    p.setBrush(QColor(36, 78, 150));
    p.drawRect(QRectF(10, 1.5, 2.2, 3.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3, 9, 12, 8.5), 1, 1); // the label
    p.setPen(line(QColor(150, 160, 176), 0.9));
    p.drawLine(QPointF(5, 12), QPointF(13, 12));
    p.drawLine(QPointF(5, 14.5), QPointF(13, 14.5));
    p.restore();
}

void drawOpen(QPainter &p)
{
    p.setPen(line(QColor(128, 90, 12), 1.0));
    p.setBrush(QColor(214, 160, 34));
    const QPointF back[] = {{2, 5}, {8, 5}, {10, 7}, {19, 7}, {19, 20}, {2, 20}};
    p.drawPolygon(back, int(std::size(back)));
    QLinearGradient front(0, 10, 0, 20);
    front.setColorAt(0, QColor(252, 214, 96));
    front.setColorAt(1, QColor(238, 180, 42));
    p.setBrush(front);
    const QPointF flap[] = {{5, 10.5}, {22.5, 10.5}, {19, 20}, {2, 20}};
    p.drawPolygon(flap, int(std::size(flap)));
}

void drawStartRealTime(QPainter &p)
{
    QLinearGradient ball(0, 2, 0, 22);
    ball.setColorAt(0, QColor(86, 196, 104));
    ball.setColorAt(1, QColor(28, 128, 52));
    p.setPen(line(QColor(18, 84, 34), 1.0));
    p.setBrush(ball);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF play[] = {{9.5, 7}, {17.5, 12}, {9.5, 17}};
    p.drawPolygon(play, 3);
}

void drawList(QPainter &p)
{
    p.setPen(line(Outline, 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 2.5, 17, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(58, 110, 190));
    p.drawRect(QRectF(4, 3, 16, 4));
    p.setPen(line(QColor(130, 140, 156), 1.0));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(6, 10 + i * 3.3), QPointF(18, 10 + i * 3.3));
    p.drawLine(QPointF(9, 8.5), QPointF(9, 20));
}

void drawGraph(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2.5, 18, 17.5));
    const QPointF ohm[] = {{5, 15}, {9, 8}, {13, 11}, {17, 5}, {21, 7}};
    p.setPen(line(QColor(214, 40, 32), 1.6));
    p.drawPolyline(ohm, 5);
    const QPointF volt[] = {{5, 17.5}, {9, 15.5}, {13, 16.5}, {17, 13}, {21, 14}};
    p.setPen(line(QColor(30, 80, 210), 1.6));
    p.drawPolyline(volt, 5);
    p.setPen(line(Outline, 1.4));
    const QPointF axes[] = {{3.5, 2}, {3.5, 20.5}, {22.5, 20.5}};
    p.drawPolyline(axes, 3);
}

void drawSample(QPainter &p)
{
    p.setPen(line(Outline, 1.4));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 12), 9.8, 9.8);
    p.setPen(line(Outline, 1.2));
    for (const QPointF &d : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)})
        p.drawLine(QPointF(12, 12) + d * 6.6, QPointF(12, 12) + d * 8.4);
    p.setPen(line(Outline, 1.6));
    p.drawLine(QPointF(12, 12), QPointF(12, 5.8));
    p.setPen(line(QColor(214, 40, 32), 1.4));
    p.drawLine(QPointF(12, 12), QPointF(16.5, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(12, 12), 1.3, 1.3);
}

void drawMemory(QPainter &p)
{
    p.setPen(line(QColor(150, 154, 160), 1.4));
    for (int i = 0; i < 4; ++i) {
        const qreal y = 6.5 + i * 3.7;
        p.drawLine(QPointF(2.5, y), QPointF(6, y));
        p.drawLine(QPointF(18, y), QPointF(21.5, y));
    }
    p.setPen(line(QColor(10, 10, 12), 1.0));
    p.setBrush(QColor(46, 48, 54));
    p.drawRoundedRect(QRectF(5.5, 3, 13, 18), 1.5, 1.5);
    // The logger's content comes down to the PC.
    p.setPen(line(QColor(120, 220, 120), 1.8));
    p.drawLine(QPointF(12, 7), QPointF(12, 16));
    const QPointF head[] = {{8.8, 12.8}, {12, 16.3}, {15.2, 12.8}};
    p.drawPolyline(head, 3);
}

void drawStop(QPainter &p)
{
    QLinearGradient red(0, 4, 0, 20);
    red.setColorAt(0, QColor(240, 76, 62));
    red.setColorAt(1, QColor(176, 26, 20));
    p.setPen(line(QColor(110, 14, 10), 1.0));
    p.setBrush(red);
    p.drawRoundedRect(QRectF(4.5, 4.5, 15, 15), 2.5, 2.5);
}

void drawReSave(QPainter &p)
{
    drawDisk(p, QRectF(1, 1, 16, 16));
    // A turning arrow: save once more.
    p.setBrush(Qt::NoBrush);
    p.setPen(line(QColor(18, 90, 34), 4.0));
    p.drawArc(QRectF(11, 11, 10, 10), 90 * 16, 270 * 16);
    p.setPen(line(QColor(70, 190, 90), 2.0));
    p.drawArc(QRectF(11, 11, 10, 10), 90 * 16, 270 * 16);
    p.setPen(line(QColor(18, 90, 34), 0.8));
    p.setBrush(QColor(70, 190, 90));
    const QPointF head[] = {{16, 8.2}, {20, 11}, {16, 13.8}};
    p.drawPolygon(head, 3);
}

void drawHelp(QPainter &p)
{
    QLinearGradient ball(0, 2, 0, 22);
    ball.setColorAt(0, QColor(84, 144, 226));
    ball.setColorAt(1, QColor(30, 84, 170));
    p.setPen(line(QColor(20, 54, 120), 1.0));
    p.setBrush(ball);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    QPainterPath hook;
    const QRectF bend(8.4, 5.2, 7.2, 7.2);
    hook.arcMoveTo(bend, 160);
    hook.arcTo(bend, 160, -250);
    hook.lineTo(12, 14.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(Qt::white, 2.4));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 18.2), 1.5, 1.5);
}

// Two curves over a pair of axes.
void drawPlot(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 2, 20, 20));
    p.setPen(line(Outline, 1.5));
    p.drawLine(QPointF(4, 3), QPointF(4, 20));
    p.drawLine(QPointF(4, 20), QPointF(21, 20));
    p.setPen(line(QColor(0, 0, 200), 1.6));
    p.drawPolyline(QPolygonF({QPointF(5, 16), QPointF(9, 9), QPointF(13, 12), QPointF(17, 5), QPointF(21, 7)}));
    p.setPen(line(QColor(0, 150, 0), 1.6));
    p.drawPolyline(QPolygonF({QPointF(5, 18), QPointF(10, 15), QPointF(15, 16), QPointF(21, 13)}));
}

// A printer with a sheet going in and a printed sheet coming out.
void drawPrint(QPainter &p)
{
    p.setPen(line(Outline, 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 2.5, 9, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QPointF(18, 12), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 15.5, 11, 6));
    p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
}

// The disk with a pencil: save under a name chosen now.
void drawSaveAs(QPainter &p)
{
    drawDisk(p, QRectF(1, 1, 17, 17));
    p.setPen(line(QColor(90, 60, 10), 0.9));
    p.setBrush(QColor(240, 190, 60));
    const QPointF pencil[] = {{13, 21}, {12.5, 17.5}, {19.5, 10.5}, {23, 14}, {16, 21}};
    p.drawPolygon(pencil, int(std::size(pencil)));
}

// Two limit lines with arrows between them: the range of the axes.
void drawLimit(QPainter &p)
{
    p.setPen(line(QColor(200, 0, 0), 1.8));
    p.drawLine(QPointF(3, 4), QPointF(21, 4));
    p.drawLine(QPointF(3, 20), QPointF(21, 20));
    p.setPen(line(Outline, 1.5));
    p.drawLine(QPointF(12, 7), QPointF(12, 17));
    p.setBrush(Outline);
    const QPointF up[] = {{12, 6}, {9, 10}, {15, 10}};
    const QPointF down[] = {{12, 18}, {9, 14}, {15, 14}};
    p.drawPolygon(up, 3);
    p.drawPolygon(down, 3);
}

void drawSort(QPainter &p)
{
    // Three cells standing in a row, their caps coloured as their grades, a tick over the first.
    const QColor caps[] = {QColor(0, 158, 115), QColor(240, 228, 66), QColor(214, 39, 40)};
    for (int i = 0; i < 3; ++i) {
        const qreal x = 2.5 + i * 7;
        QLinearGradient body(x, 0, x + 5.5, 0);
        body.setColorAt(0, QColor(120, 128, 140));
        body.setColorAt(0.5, QColor(214, 220, 228));
        body.setColorAt(1, QColor(110, 118, 130));
        p.setPen(line(Outline, 0.9));
        p.setBrush(body);
        p.drawRoundedRect(QRectF(x, 9, 5.5, 13), 1, 1);
        p.setBrush(caps[i]);
        p.drawRect(QRectF(x, 9, 5.5, 3.2));
        p.setPen(Qt::NoPen);
        p.setBrush(Outline);
        p.drawRect(QRectF(x + 1.75, 7.8, 2, 1.2));
    }
    p.setPen(line(QColor(0, 120, 86), 1.8));
    p.drawLine(QPointF(2.5, 3.8), QPointF(4.8, 6));
    p.drawLine(QPointF(4.8, 6), QPointF(9, 1.8));
}

void draw(QPainter &p, Tool tool)
{
    switch (tool) {
    case Tool::Save: drawDisk(p, QRectF(3, 3, 18, 18)); break;
    case Tool::Open: drawOpen(p); break;
    case Tool::StartRealTime: drawStartRealTime(p); break;
    case Tool::List: drawList(p); break;
    case Tool::Graph: drawGraph(p); break;
    case Tool::Sample: drawSample(p); break;
    case Tool::Memory: drawMemory(p); break;
    case Tool::Stop: drawStop(p); break;
    case Tool::ReSave: drawReSave(p); break;
    case Tool::Help: drawHelp(p); break;
    case Tool::Plot: drawPlot(p); break;
    case Tool::Print: drawPrint(p); break;
    case Tool::SaveAs: drawSaveAs(p); break;
    case Tool::Limit: drawLimit(p); break;
    case Tool::Sort: drawSort(p); break;
    }
}

QPixmap render(Tool tool, int side)
{
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / Grid, side / Grid);
    draw(p, tool);
    return pm;
}

} // namespace

QIcon toolIcon(Tool tool)
{
    QIcon icon;
    // Drawn at each size rather than scaled, so thin lines stay sharp.
    for (int side : {16, 24, 32, 48})
        icon.addPixmap(render(tool, side));
    return icon;
}

QIcon toolbarIcon(int position)
{
    static constexpr Tool ByPosition[] = {Tool::Save,   Tool::Open,   Tool::StartRealTime, Tool::List,
                                          Tool::Graph,  Tool::Sample, Tool::Memory,        Tool::Stop,
                                          Tool::ReSave, Tool::Help,   Tool::Sort};
    if (position < 1 || position > 11)
        return {};
    return toolIcon(ByPosition[position - 1]);
}

QIcon saveButtonIcon(bool recording)
{
    return toolIcon(recording ? Tool::Stop : Tool::Save);
}

} // namespace ui
