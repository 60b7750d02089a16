#pragma once

#include "ui/PortNames.h"

namespace ui {

class FakePortEnumerator final : public PortEnumerator
{
public:
    QList<SerialPortDescription> present;
    QList<SerialPortDescription> ports() const override { return present; }
};

} // namespace ui
