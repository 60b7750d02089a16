#include "launcher/PictureBox.h"

#include "launcher/Medium.h"

#include <QPainter>
#include <utility>

namespace launcher {

PictureBox::PictureBox(Fallback fallback, QWidget *parent)
    : QWidget(parent)
    , m_fallback(std::move(fallback))
{
}

bool PictureBox::load(const QString &path)
{
    // A file that is there but is no picture (cut short, wrong format) counts as missing
    // rather than leaving the box blank.
    m_picture = isFile(path) ? QPixmap(path) : QPixmap();
    update();
    return hasPicture();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (hasPicture()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_picture);
        return;
    }
    painter.fillRect(rect(), m_fallback.colour);
    if (m_fallback.text.isEmpty())
        return;
    QFont big = font();
    big.setPointSize(m_fallback.pointSize);
    painter.setFont(big);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_fallback.text);
}

} // namespace launcher
