#pragma once

#include <QPaintDevice>
#include <cmath>

namespace ui {

// Window geometry is designed in twips, 1440 to the inch; the screen's logical DPI
// turns them into pixels.
inline constexpr double TwipsPerInch = 1440.0;
// Twips a pixel at 96 DPI: the fixed sizes of the graphs, the plot and Real Time Range
// are designed at that scale.
inline constexpr int TwipsPerPixel = 15;

inline int twipsToPixelsX(int twips, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(twips * device.logicalDpiX() / TwipsPerInch));
}

inline int twipsToPixelsY(int twips, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(twips * device.logicalDpiY() / TwipsPerInch));
}

inline int pixelsToTwipsX(int pixels, const QPaintDevice &device)
{
    return static_cast<int>(std::lround(pixels * TwipsPerInch / device.logicalDpiX()));
}

} // namespace ui
