#pragma once

#include "ui/SerialPort.h"

#include <QString>

namespace meter {

// Why a port did not open, in words a user can act on: the device tried, the reason, and
// the fix where there is one. systemReason is the port's own error text, group the
// device's owning group (empty when unknown).
QString openFailureDetails(const QString &devicePath, ui::SerialPort::OpenResult result, const QString &systemReason,
                           const QString &group);

} // namespace meter
