#include "ui/ScreenFit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace ui {

QPoint fittedTopLeft(const QRect &frame, const QRect &available)
{
    QPoint at = frame.topLeft();
    if (frame.right() > available.right())
        at.setX(std::max(available.left(), frame.left() - (frame.right() - available.right())));
    if (frame.bottom() > available.bottom())
        at.setY(std::max(available.top(), frame.top() - (frame.bottom() - available.bottom())));
    return at;
}

namespace {

// The window's frame: its own once it has been shown, else the window's size with the
// decorations another window shown by the same desktop has (before the first show the
// window manager has not framed it yet, and the frame would be taken for the bare window).
QRect expectedFrame(const QWidget &window)
{
    QMargins margins;
    if (const QWindow *handle = window.windowHandle(); handle && window.isVisible())
        margins = handle->frameMargins();
    if (margins.isNull() && !window.isVisible()) {
        const auto windows = QApplication::topLevelWidgets();
        for (const QWidget *other : windows) {
            if (other != &window && other->isVisible() && other->windowHandle()
                && !other->windowHandle()->frameMargins().isNull()) {
                margins = other->windowHandle()->frameMargins();
                break;
            }
        }
    }
    if (window.isVisible())
        return window.frameGeometry();
    // move() places the frame's top-left corner at pos().
    return QRect(window.pos(), window.size().grownBy(margins));
}

} // namespace

void keepOnScreen(QWidget &window)
{
    const QRect frame = expectedFrame(window);
    // The screen the window is placed on, which may not be the one it was created on.
    const QScreen *screen = QGuiApplication::screenAt(frame.topLeft());
    if (!screen)
        screen = window.screen();
    if (!screen)
        return;
    const QPoint at = fittedTopLeft(frame, screen->availableGeometry());
    if (at != frame.topLeft())
        window.move(at);
}

} // namespace ui
