#include "panel/FaceShape.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace panel {

namespace {

constexpr int BezelWidth = 10; // black frame around the display glass, pixels

void paintJack(QPainter &p, const QPointF &centre, const QColor &collar)
{
    QRadialGradient shine(centre - QPointF(6, 6), 30);
    shine.setColorAt(0, collar.lighter(150));
    shine.setColorAt(1, collar.darker(130));
    p.setPen(QPen(QColor(10, 10, 10), 1.5));
    p.setBrush(shine);
    p.drawEllipse(centre, 22, 22);
    QRadialGradient metal(centre - QPointF(3, 3), 14);
    metal.setColorAt(0, QColor(230, 230, 226));
    metal.setColorAt(1, QColor(120, 122, 124));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawEllipse(centre, 11, 11);
    p.setBrush(QColor(8, 8, 8));
    p.drawEllipse(centre, 6.5, 6.5);
}

} // namespace

FaceShape::FaceShape(Kind kind, const QString &name, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRect FaceShape::glassOf(const QRect &displayGeometry)
{
    return displayGeometry.adjusted(BezelWidth, BezelWidth, -BezelWidth, -BezelWidth);
}

void FaceShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    switch (m_kind) {
    case Kind::Case: paintCase(p); break;
    case Kind::Plate: paintPlate(p); break;
    case Kind::Display: paintDisplay(p); break;
    case Kind::KeyWell: paintKeyWell(p); break;
    case Kind::JackPanel: paintJackPanel(p); break;
    case Kind::Groove: paintGroove(p); break;
    }
}

void FaceShape::paintCase(QPainter &p) const
{
    // The rubber holster: safety yellow, with grip ridges where the hand holds it.
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QLinearGradient body(r.topLeft(), r.topRight());
    body.setColorAt(0, QColor(214, 160, 24));
    body.setColorAt(0.12, QColor(240, 192, 46));
    body.setColorAt(0.88, QColor(236, 186, 40));
    body.setColorAt(1, QColor(200, 146, 18));
    p.setPen(QPen(QColor(112, 80, 8), 2));
    p.setBrush(body);
    p.drawRoundedRect(r, 46, 46);

    p.setPen(QPen(QColor(150, 106, 12), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal top = r.height() * 0.34;
    const qreal bottom = r.height() * 0.66;
    for (qreal y = top; y <= bottom; y += 9) {
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.left() + 12, y));
        p.drawLine(QPointF(r.right() - 12, y), QPointF(r.right() - 4, y));
    }
}

void FaceShape::paintPlate(QPainter &p) const
{
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(78, 84, 92));
    body.setColorAt(1, QColor(44, 48, 53));
    p.setPen(QPen(QColor(22, 24, 26), 2));
    p.setBrush(body);
    p.drawRoundedRect(r, 30, 30);

    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, QColor(150, 156, 164, 200));
    rim.setColorAt(0.25, QColor(150, 156, 164, 0));
    p.setPen(QPen(QBrush(rim), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 28, 28);
}

void FaceShape::paintDisplay(QPainter &p) const
{
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient bezel(r.topLeft(), r.bottomLeft());
    bezel.setColorAt(0, QColor(34, 36, 38));
    bezel.setColorAt(1, QColor(14, 15, 16));
    p.setPen(QPen(QColor(104, 110, 116), 1));
    p.setBrush(bezel);
    p.drawRoundedRect(r, 12, 12);

    const QRectF glass = QRectF(rect()).adjusted(BezelWidth, BezelWidth, -BezelWidth, -BezelWidth);
    QLinearGradient lcd(glass.topLeft(), glass.bottomRight());
    lcd.setColorAt(0, QColor(200, 212, 180));
    lcd.setColorAt(1, QColor(168, 184, 148));
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    p.setBrush(lcd);
    p.drawRoundedRect(glass, 4, 4);

    // The glass sits below the bezel: a soft shadow falls on its top edge.
    QLinearGradient shade(glass.topLeft(), glass.topLeft() + QPointF(0, 8));
    shade.setColorAt(0, QColor(0, 0, 0, 70));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(glass.left() + 1, glass.top() + 1, glass.width() - 2, 8), 3, 3);
}

void FaceShape::paintKeyWell(QPainter &p) const
{
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(112, 118, 126)); // lit lower rim of the recess
    p.drawRoundedRect(r, 14, 14);
    p.setBrush(QColor(18, 20, 22)); // shadowed upper rim
    p.drawRoundedRect(r.adjusted(0, 0, 0, -1.5), 14, 14);
    QLinearGradient floor(r.topLeft(), r.bottomLeft());
    floor.setColorAt(0, QColor(36, 39, 43));
    floor.setColorAt(1, QColor(50, 54, 59));
    p.setBrush(floor);
    p.drawRoundedRect(r.adjusted(1.5, 2, -1.5, -1.5), 13, 13);
}

void FaceShape::paintJackPanel(QPainter &p) const
{
    paintKeyWell(p);
    const qreal cy = height() / 2.0 - 8;
    const QPointF plus(46, cy);
    const QPointF minus(width() - 46, cy);
    paintJack(p, plus, QColor(206, 38, 32));
    paintJack(p, minus, QColor(40, 40, 42));

    QFont f = font();
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(QColor(236, 236, 230));
    p.drawText(QRectF(plus.x() - 20, cy + 26, 40, 22), Qt::AlignCenter, QStringLiteral("+"));
    p.drawText(QRectF(minus.x() - 20, cy + 26, 40, 22), Qt::AlignCenter, QStringLiteral("\u2212"));
}

void FaceShape::paintGroove(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(20, 22, 24));
    p.drawLine(0, 0, width() - 1, 0);
    p.setPen(QColor(104, 110, 118));
    p.drawLine(0, 1, width() - 1, 1);
}

} // namespace panel
