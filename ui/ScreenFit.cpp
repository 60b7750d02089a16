#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

void keepOnScreen(QWidget &window)
{
    QScreen *screen = QGuiApplication::screenAt(window.frameGeometry().center());
    if (!screen)
        screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    const QSize border = frame.size() - window.size();
    if (frame.width() > area.width() || frame.height() > area.height()) {
        window.resize(std::min(window.width(), area.width() - border.width()),
                      std::min(window.height(), area.height() - border.height()));
        frame = window.frameGeometry();
    }
    QPoint topLeft = frame.topLeft();
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
    window.move(topLeft);
}

} // namespace ui
