#pragma once

#include <QIcon>
#include <QImage>

namespace ui {

// The program's icon: the tester's case with its display showing a charged cell. The
// installed scalable icon (packaging/org.dorvel.Dorvel.svg) is the same drawing.
QImage appIconImage(int size);
QIcon appIcon();

} // namespace ui
