#pragma once

class QWidget;

namespace ui {

// Moves a top-level window, frame included, into the available area of the screen it is
// mostly on (or the primary one), shrinking it only when it is larger than that area.
void keepOnScreen(QWidget &window);

} // namespace ui
