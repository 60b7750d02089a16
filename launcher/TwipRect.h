#pragma once

#include "ui/Twips.h"

#include <QRect>

namespace launcher {

// A place in twips (1440 to the inch), as the launcher's windows were designed.
struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Each edge is converted on its own so that neighbours designed to touch still touch.
inline QRect toPixels(const TwipRect &r, const QPaintDevice &device)
{
    return QRect(ui::twipsToPixelsX(r.left, device), ui::twipsToPixelsY(r.top, device),
                 ui::twipsToPixelsX(r.width, device), ui::twipsToPixelsY(r.height, device));
}

} // namespace launcher
