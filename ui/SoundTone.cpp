#include "ui/SoundTone.h"

#include <QSoundEffect>
#include <QUrl>

namespace ui {

SoundTone::SoundTone()
    : m_effect(std::make_unique<QSoundEffect>())
{
    m_effect->setSource(QUrl(QStringLiteral("qrc:/dorvel/sounds/capture.wav")));
    m_effect->setVolume(0.6f);
}

SoundTone::~SoundTone() = default;

void SoundTone::play()
{
    // A tone still sounding is cut and started again: every capture is heard.
    if (m_effect->status() != QSoundEffect::Error)
        m_effect->play();
}

} // namespace ui
