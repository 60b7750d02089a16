#pragma once

#include "ui/Tone.h"

#include <memory>

class QSoundEffect;

namespace ui {

// The capture tone: a short bundled sound played through Qt Multimedia. Without an audio
// device (a server, a headless machine) the effect fails to load and play() stays silent;
// nothing waits for it.
class SoundTone final : public Tone
{
public:
    SoundTone();
    ~SoundTone() override;
    void play() override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace ui
