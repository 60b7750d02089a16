#pragma once

#include <QColor>
#include <QPixmap>

namespace panel {

// The symbols printed on the meter's case. They stand on the dark front plate, so they are
// drawn in light strokes with a few signal colours.
enum class FaceSymbol {
    Battery,
    Resistance,
    DcVolts,
    Probe,
    Link,
    Memory,
    Warning,
    DoubleInsulation,
    AutoOff,
    Power,
    Temperature,
    Backlight, // drawn dark: it sits on a light key
};

// A square picture of the symbol, side in device-independent pixels, drawn for a screen of
// the given pixel ratio so it stays sharp on high-density screens.
QPixmap faceSymbol(FaceSymbol symbol, int side, qreal pixelRatio);

// The Ohm sign that follows the resistance reading on the display.
QPixmap ohmSign(QSize size, const QColor &colour, qreal pixelRatio);

} // namespace panel
