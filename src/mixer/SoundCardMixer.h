#pragma once

#include "platform/MixerCard.h"
#include "platform/MixerDevice.h"

#include <array>

namespace tavlo {

// The sound card's mixer as the music window owns it: opened once, its
// controls looked up once, then read and written by value. A control the card
// lacks reads 0 (a mute reads false) and ignores writes, so no switch can
// reach another control. UI thread only.
class SoundCardMixer : public MixerDevice {
public:
    explicit SoundCardMixer(MixerCard& card);
    SoundCardMixer(const SoundCardMixer&) = delete;
    SoundCardMixer& operator=(const SoundCardMixer&) = delete;

    bool isOpen() const { return m_open; }
    // What the lookup found for a control (an empty record when it found nothing).
    MixerCard::Control record(MixerLine line, MixerKind kind) const;
    qint32 value(MixerLine line, MixerKind kind) const;
    // Passed on unchanged, without clamping; true when the card took it.
    bool setValue(MixerLine line, MixerKind kind, qint32 value);

    // The music window's MIC and Line switches.
    bool micMute() const override { return value(MixerLine::Microphone, MixerKind::Mute) == 1; }
    void setMicMute(bool mute) override { setValue(MixerLine::Microphone, MixerKind::Mute, mute ? 1 : 0); }
    bool lineMute() const override { return value(MixerLine::LineIn, MixerKind::Mute) == 1; }
    void setLineMute(bool mute) override { setValue(MixerLine::LineIn, MixerKind::Mute, mute ? 1 : 0); }

private:
    static int index(MixerLine line, MixerKind kind)
    {
        return static_cast<int>(kind) * kMixerLines + static_cast<int>(line);
    }

    MixerCard& m_card;
    bool m_open = false;
    std::array<MixerCard::Control, kMixerLines * kMixerKinds> m_records{};
};

}  // namespace tavlo
