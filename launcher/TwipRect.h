#pragma once

#include "ui/Twips.h"

#include <QRect>

namespace launcher {

// A place in twips (1440 to the inch), the unit the launcher's windows are laid out in.
struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline QRect toPixels(const TwipRect &r, const QPaintDevice &device)
{
    return QRect(ui::twipsToPixelsX(r.left, device), ui::twipsToPixelsY(r.top, device),
                 ui::twipsToPixelsX(r.width, device), ui::twipsToPixelsY(r.height, device));
}

} // namespace launcher
