#pragma once

#include "platform/MixerCard.h"

#include <QString>

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace tavlo {

// The first sound card's mixer through ALSA's simple mixer elements:
// "Master", "Mic", "Line", "CD", "Synth" and "PCM" play the six lines; a level
// is the element's playback volume (its capture volume when it has none), a
// mute the inverse of its playback switch, bass and treble the card's "Bass"
// and "Treble" elements on the master line. Faders and pans have no ALSA
// counterpart and are never found. Without a card nothing is opened and
// nothing is printed. UI thread only.
class AlsaMixerCard : public MixerCard {
public:
    // The device to open; empty means the first card the system lists.
    explicit AlsaMixerCard(QString device = QString());
    ~AlsaMixerCard() override;
    AlsaMixerCard(const AlsaMixerCard&) = delete;
    AlsaMixerCard& operator=(const AlsaMixerCard&) = delete;

    bool open() override;
    Control lookup(MixerLine line, MixerKind kind) override;
    qint32 read(MixerLine line, MixerKind kind) override;
    bool write(MixerLine line, MixerKind kind, qint32 value) override;

private:
    snd_mixer_elem_t* element(MixerLine line, MixerKind kind) const;

    QString m_device;
    snd_mixer_t* m_mixer = nullptr;
};

}  // namespace tavlo
