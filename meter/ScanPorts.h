#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace ui {
class SerialPort;
class PortEnumerator;
} // namespace ui

namespace meter {

// "COM  1" .. "COM  16": the letters, two blanks, the number.
QString comEntry(int n);
// The number of an entry exactly as listed, or 0 for any other text.
int comEntryNumber(const QString &text);

// Probes COM 1..16 with the given port and returns the list entries of those that opened
// or are held by another program, then (on Linux) the USB/ACM adapters present, by path.
// progress(n, 16) is called before each probe.
QList<QString> ScanPorts(ui::SerialPort &probe, const ui::PortEnumerator &present,
                         const std::function<void(int, int)> &progress = {});

} // namespace meter
