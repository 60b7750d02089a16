#pragma once

#include "core/AppState.h"
#include "core/Reading.h"
#include "meter/LivePoll.h"
#include "ui/fakes/CountingTone.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <cstdint>

// What the Cell Sorting window stands on, faked: a poll over a fake port, a clock, dialogs, a
// tone, and a folder for its sessions. Readings are fed as the poll decodes them.
struct SortingFakes
{
    QTemporaryDir dir;
    core::AppState state;
    ui::FakeSerialPort port;
    meter::LivePoll poll{port, state.reading};
    ui::ScriptedDialogs dialogs;
    ui::FakeClock clock;
    ui::CountingTone tone;

    // One live reading as the poll decodes it, 150 ms after the last. Counts in the
    // 40 mOhm / 4 V ranges unless a status is given.
    void reading(int ohmCount, int voltCount, uint8_t status = 0x03)
    {
        const uint8_t payload[5] = {uint8_t(ohmCount >> 8), uint8_t(ohmCount & 0xFF), uint8_t(voltCount >> 8),
                                    uint8_t(voltCount & 0xFF), status};
        core::DecodeRecord(state.reading, payload);
        clock.advanceMs(150);
        emit poll.readingDecoded(state.reading);
    }
};
