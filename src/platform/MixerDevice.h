#pragma once

namespace tavlo {

// The sound card's capture switches the music window shows as MIC and Line.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;
    virtual bool micMute() const = 0;
    virtual void setMicMute(bool mute) = 0;
    virtual bool lineMute() const = 0;
    virtual void setLineMute(bool mute) = 0;
};

// Stands in until a sound card's mixer is wired up: remembers what it is told.
class NullMixerDevice : public MixerDevice {
public:
    bool micMute() const override { return m_mic; }
    void setMicMute(bool mute) override { m_mic = mute; }
    bool lineMute() const override { return m_line; }
    void setLineMute(bool mute) override { m_line = mute; }

private:
    bool m_mic = false;
    bool m_line = false;
};

}  // namespace tavlo
