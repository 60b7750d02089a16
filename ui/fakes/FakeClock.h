#pragma once

#include "ui/Clock.h"

namespace ui {

class FakeClock final : public Clock
{
public:
    QDateTime wall = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    qint64 mono = 0;

    QDateTime now() const override { return wall; }
    qint64 monotonicMs() const override { return mono; }
    void advanceMs(qint64 ms)
    {
        mono += ms;
        wall = wall.addMSecs(ms);
    }
};

} // namespace ui
