#pragma once

namespace ui {

// A short sound that tells a user with eyes on the cells that something happened.
class Tone
{
public:
    virtual ~Tone() = default;
    virtual void play() = 0;
};

// For machines without sound and for tests that do not listen.
class SilentTone final : public Tone
{
public:
    void play() override {}
};

} // namespace ui
