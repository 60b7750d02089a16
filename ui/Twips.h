#pragma once

#include <QPaintDevice>
#include <cmath>

namespace ui {

// Window geometry is designed in twips, 1440 to the inch; the screen's logical DPI
// turns them into pixels (15 twips a pixel at 96 DPI).
inline int twipsToPixelsX(int twips, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(twips * device.logicalDpiX() / 1440.0));
}

inline int twipsToPixelsY(int twips, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(twips * device.logicalDpiY() / 1440.0));
}

inline int pixelsToTwipsX(int pixels, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / device.logicalDpiX()));
}

} // namespace ui
