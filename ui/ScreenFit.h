#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace ui {

// Where a window's frame goes so that it lies within the available area: moved left and up
// just enough, its size unchanged; a frame that fits already stays where it is. A frame
// larger than the area is put at its left or top edge, so the title bar and the close
// button can still be reached.
QPoint fittedTopLeft(const QRect &frame, const QRect &available);

// Moves a top-level window that reaches past the available area of its screen (the desktop
// without panels and docks) back onto it. Called after a window has been placed.
void keepOnScreen(QWidget &window);

} // namespace ui
