#pragma once

#include "ui/Tone.h"

namespace ui {

// Counts the tones a test would have heard.
class CountingTone final : public Tone
{
public:
    int played = 0;
    void play() override { ++played; }
};

} // namespace ui
