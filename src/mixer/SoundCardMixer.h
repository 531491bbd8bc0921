#pragma once

#include "platform/MixerCard.h"
#include "platform/MixerDevice.h"

#include <QString>

#include <array>

namespace tavlo {

class InputCapture;
class MediaService;
class UserDialogs;

// The sound card's mixer as the music window owns it: opened once, its
// controls looked up once, then read and written by value. A control the card
// lacks reads 0 (a mute reads false) and ignores writes, so no switch can
// reach another control. UI thread only.
class SoundCardMixer : public MixerDevice {
public:
    explicit SoundCardMixer(MixerCard& card);
    ~SoundCardMixer() override;
    SoundCardMixer(const SoundCardMixer&) = delete;
    SoundCardMixer& operator=(const SoundCardMixer&) = delete;

    // The level meters: the input from a capture of the first recording
    // device, the output from the engine's own peak. Their errors are shown
    // titled with the program's title.
    void setMeters(InputCapture& capture, MediaService& media, UserDialogs& dialogs, QString programTitle);
    // Sample magnitudes: 0 to 32767 for both meters once they are set up.
    qint32 MaxVolumeMeterInput() const { return m_capture ? 32767 : 0; }
    qint32 MinVolumeMeterInput() const { return 0; }
    qint32 MaxVolumeMeterOutput() const { return m_media ? 32767 : 0; }
    qint32 MinVolumeMeterOutput() const { return 0; }
    // The first read starts the capture (trying twice); the loudest sample
    // recorded since the last read, as an absolute value.
    qint32 CurrentVolumeMeterInput();
    qint32 CurrentVolumeMeterOutput();
    bool isCapturing() const { return m_capturing; }

    bool isOpen() const { return m_open; }
    // What the lookup found for a control (an empty record when it found nothing).
    MixerCard::Control record(MixerLine line, MixerKind kind) const;
    qint32 value(MixerLine line, MixerKind kind) const;
    // Passed on unchanged, without clamping; true when the card took it.
    bool setValue(MixerLine line, MixerKind kind, qint32 value);

    // The properties by their names (master, microphone, line, CD, wave, synthesizer).
    qint32 VolumeMin() const { return record(MixerLine::Master, MixerKind::Level).min; }
    qint32 MicMin() const { return record(MixerLine::Microphone, MixerKind::Level).min; }
    qint32 LineMin() const { return record(MixerLine::LineIn, MixerKind::Level).min; }
    qint32 CDMin() const { return record(MixerLine::CompactDisc, MixerKind::Level).min; }
    qint32 WaveMin() const { return record(MixerLine::Wave, MixerKind::Level).min; }
    qint32 SynMin() const { return record(MixerLine::Synthesizer, MixerKind::Level).min; }
    qint32 VolumeMax() const { return record(MixerLine::Master, MixerKind::Level).max; }
    qint32 MicMax() const { return record(MixerLine::Microphone, MixerKind::Level).max; }
    qint32 LineMax() const { return record(MixerLine::LineIn, MixerKind::Level).max; }
    qint32 CDMax() const { return record(MixerLine::CompactDisc, MixerKind::Level).max; }
    qint32 WaveMax() const { return record(MixerLine::Wave, MixerKind::Level).max; }
    qint32 SynMax() const { return record(MixerLine::Synthesizer, MixerKind::Level).max; }
    qint32 VolFadMin() const { return record(MixerLine::Master, MixerKind::Fader).min; }
    qint32 MicFaderMin() const { return record(MixerLine::Microphone, MixerKind::Fader).min; }
    qint32 LineFaderMin() const { return record(MixerLine::LineIn, MixerKind::Fader).min; }
    qint32 CDFaderMin() const { return record(MixerLine::CompactDisc, MixerKind::Fader).min; }
    qint32 WaveFaderMin() const { return record(MixerLine::Wave, MixerKind::Fader).min; }
    qint32 SynFaderMin() const { return record(MixerLine::Synthesizer, MixerKind::Fader).min; }
    qint32 VolFaderMax() const { return record(MixerLine::Master, MixerKind::Fader).max; }
    qint32 MicFaderMax() const { return record(MixerLine::Microphone, MixerKind::Fader).max; }
    qint32 LineFaderMax() const { return record(MixerLine::LineIn, MixerKind::Fader).max; }
    qint32 CDFaderMax() const { return record(MixerLine::CompactDisc, MixerKind::Fader).max; }
    qint32 WaveFaderMax() const { return record(MixerLine::Wave, MixerKind::Fader).max; }
    qint32 SynFaderMax() const { return record(MixerLine::Synthesizer, MixerKind::Fader).max; }
    qint32 VolTrebleMin() const { return record(MixerLine::Master, MixerKind::Treble).min; }
    qint32 MicTrebleMin() const { return record(MixerLine::Microphone, MixerKind::Treble).min; }
    qint32 LineTrebleMin() const { return record(MixerLine::LineIn, MixerKind::Treble).min; }
    qint32 CDTrebleMin() const { return record(MixerLine::CompactDisc, MixerKind::Treble).min; }
    qint32 WaveTrebleMin() const { return record(MixerLine::Wave, MixerKind::Treble).min; }
    qint32 SynTrebleMin() const { return record(MixerLine::Synthesizer, MixerKind::Treble).min; }
    qint32 VolTrebleMax() const { return record(MixerLine::Master, MixerKind::Treble).max; }
    qint32 MicTrebleMax() const { return record(MixerLine::Microphone, MixerKind::Treble).max; }
    qint32 LineTrebleMax() const { return record(MixerLine::LineIn, MixerKind::Treble).max; }
    qint32 CDTrebleMax() const { return record(MixerLine::CompactDisc, MixerKind::Treble).max; }
    qint32 WaveTrebleMax() const { return record(MixerLine::Wave, MixerKind::Treble).max; }
    qint32 SynTrebleMax() const { return record(MixerLine::Synthesizer, MixerKind::Treble).max; }
    qint32 VolBassMin() const { return record(MixerLine::Master, MixerKind::Bass).min; }
    qint32 MicBassMin() const { return record(MixerLine::Microphone, MixerKind::Bass).min; }
    qint32 LineBassMin() const { return record(MixerLine::LineIn, MixerKind::Bass).min; }
    qint32 CDBassMin() const { return record(MixerLine::CompactDisc, MixerKind::Bass).min; }
    qint32 WaveBassMin() const { return record(MixerLine::Wave, MixerKind::Bass).min; }
    qint32 SynBassMin() const { return record(MixerLine::Synthesizer, MixerKind::Bass).min; }
    qint32 VolBassMax() const { return record(MixerLine::Master, MixerKind::Bass).max; }
    qint32 MicBassMax() const { return record(MixerLine::Microphone, MixerKind::Bass).max; }
    qint32 LineBassMax() const { return record(MixerLine::LineIn, MixerKind::Bass).max; }
    qint32 CDBassMax() const { return record(MixerLine::CompactDisc, MixerKind::Bass).max; }
    qint32 WaveBassMax() const { return record(MixerLine::Wave, MixerKind::Bass).max; }
    qint32 SynBassMax() const { return record(MixerLine::Synthesizer, MixerKind::Bass).max; }
    qint32 VolPanMin() const { return record(MixerLine::Master, MixerKind::Pan).min; }
    qint32 MicPanMin() const { return record(MixerLine::Microphone, MixerKind::Pan).min; }
    qint32 LinePanMin() const { return record(MixerLine::LineIn, MixerKind::Pan).min; }
    qint32 CDPanMin() const { return record(MixerLine::CompactDisc, MixerKind::Pan).min; }
    qint32 WavePanMin() const { return record(MixerLine::Wave, MixerKind::Pan).min; }
    qint32 SynPanMin() const { return record(MixerLine::Synthesizer, MixerKind::Pan).min; }
    qint32 VolPanMax() const { return record(MixerLine::Master, MixerKind::Pan).max; }
    qint32 MicPanMax() const { return record(MixerLine::Microphone, MixerKind::Pan).max; }
    qint32 LinePanMax() const { return record(MixerLine::LineIn, MixerKind::Pan).max; }
    qint32 CDPanMax() const { return record(MixerLine::CompactDisc, MixerKind::Pan).max; }
    qint32 WavePanMax() const { return record(MixerLine::Wave, MixerKind::Pan).max; }
    qint32 SynPanMax() const { return record(MixerLine::Synthesizer, MixerKind::Pan).max; }
    qint32 VolumeLevel() const { return value(MixerLine::Master, MixerKind::Level); }
    bool setVolumeLevel(qint32 v) { return setValue(MixerLine::Master, MixerKind::Level, v); }
    qint32 MicLevel() const { return value(MixerLine::Microphone, MixerKind::Level); }
    bool setMicLevel(qint32 v) { return setValue(MixerLine::Microphone, MixerKind::Level, v); }
    qint32 LineLevel() const { return value(MixerLine::LineIn, MixerKind::Level); }
    bool setLineLevel(qint32 v) { return setValue(MixerLine::LineIn, MixerKind::Level, v); }
    qint32 CDLevel() const { return value(MixerLine::CompactDisc, MixerKind::Level); }
    bool setCDLevel(qint32 v) { return setValue(MixerLine::CompactDisc, MixerKind::Level, v); }
    qint32 WaveLevel() const { return value(MixerLine::Wave, MixerKind::Level); }
    bool setWaveLevel(qint32 v) { return setValue(MixerLine::Wave, MixerKind::Level, v); }
    qint32 SynLevel() const { return value(MixerLine::Synthesizer, MixerKind::Level); }
    bool setSynLevel(qint32 v) { return setValue(MixerLine::Synthesizer, MixerKind::Level, v); }
    qint32 VolumeLevelBass() const { return value(MixerLine::Master, MixerKind::Bass); }
    void setVolumeLevelBass(qint32 v) { setValue(MixerLine::Master, MixerKind::Bass, v); }
    qint32 MicLevelBass() const { return value(MixerLine::Microphone, MixerKind::Bass); }
    void setMicLevelBass(qint32 v) { setValue(MixerLine::Microphone, MixerKind::Bass, v); }
    qint32 LineLevelBass() const { return value(MixerLine::LineIn, MixerKind::Bass); }
    void setLineLevelBass(qint32 v) { setValue(MixerLine::LineIn, MixerKind::Bass, v); }
    qint32 CDLevelBass() const { return value(MixerLine::CompactDisc, MixerKind::Bass); }
    void setCDLevelBass(qint32 v) { setValue(MixerLine::CompactDisc, MixerKind::Bass, v); }
    qint32 WaveLevelBass() const { return value(MixerLine::Wave, MixerKind::Bass); }
    void setWaveLevelBass(qint32 v) { setValue(MixerLine::Wave, MixerKind::Bass, v); }
    qint32 SynLevelBass() const { return value(MixerLine::Synthesizer, MixerKind::Bass); }
    void setSynLevelBass(qint32 v) { setValue(MixerLine::Synthesizer, MixerKind::Bass, v); }
    qint32 VolumeLevelTreble() const { return value(MixerLine::Master, MixerKind::Treble); }
    void setVolumeLevelTreble(qint32 v) { setValue(MixerLine::Master, MixerKind::Treble, v); }
    qint32 MicLevelTreble() const { return value(MixerLine::Microphone, MixerKind::Treble); }
    void setMicLevelTreble(qint32 v) { setValue(MixerLine::Microphone, MixerKind::Treble, v); }
    qint32 LineLevelTreble() const { return value(MixerLine::LineIn, MixerKind::Treble); }
    void setLineLevelTreble(qint32 v) { setValue(MixerLine::LineIn, MixerKind::Treble, v); }
    qint32 CDLevelTreble() const { return value(MixerLine::CompactDisc, MixerKind::Treble); }
    void setCDLevelTreble(qint32 v) { setValue(MixerLine::CompactDisc, MixerKind::Treble, v); }
    qint32 WaveLevelTreble() const { return value(MixerLine::Wave, MixerKind::Treble); }
    void setWaveLevelTreble(qint32 v) { setValue(MixerLine::Wave, MixerKind::Treble, v); }
    qint32 SynLevelTreble() const { return value(MixerLine::Synthesizer, MixerKind::Treble); }
    void setSynLevelTreble(qint32 v) { setValue(MixerLine::Synthesizer, MixerKind::Treble, v); }
    qint32 VolumeLevelPan() const { return value(MixerLine::Master, MixerKind::Pan); }
    void setVolumeLevelPan(qint32 v) { setValue(MixerLine::Master, MixerKind::Pan, v); }
    qint32 MicLevelPan() const { return value(MixerLine::Microphone, MixerKind::Pan); }
    void setMicLevelPan(qint32 v) { setValue(MixerLine::Microphone, MixerKind::Pan, v); }
    qint32 LineLevelPan() const { return value(MixerLine::LineIn, MixerKind::Pan); }
    void setLineLevelPan(qint32 v) { setValue(MixerLine::LineIn, MixerKind::Pan, v); }
    qint32 CDLevelPan() const { return value(MixerLine::CompactDisc, MixerKind::Pan); }
    void setCDLevelPan(qint32 v) { setValue(MixerLine::CompactDisc, MixerKind::Pan, v); }
    qint32 WaveLevelPan() const { return value(MixerLine::Wave, MixerKind::Pan); }
    void setWaveLevelPan(qint32 v) { setValue(MixerLine::Wave, MixerKind::Pan, v); }
    qint32 SynLevelPan() const { return value(MixerLine::Synthesizer, MixerKind::Pan); }
    void setSynLevelPan(qint32 v) { setValue(MixerLine::Synthesizer, MixerKind::Pan, v); }
    qint32 VolumeLevelFader() const { return value(MixerLine::Master, MixerKind::Fader); }
    void setVolumeLevelFader(qint32 v) { setValue(MixerLine::Master, MixerKind::Fader, v); }
    qint32 MicLevelFader() const { return value(MixerLine::Microphone, MixerKind::Fader); }
    void setMicLevelFader(qint32 v) { setValue(MixerLine::Microphone, MixerKind::Fader, v); }
    qint32 LineLevelFader() const { return value(MixerLine::LineIn, MixerKind::Fader); }
    void setLineLevelFader(qint32 v) { setValue(MixerLine::LineIn, MixerKind::Fader, v); }
    qint32 CDLevelFader() const { return value(MixerLine::CompactDisc, MixerKind::Fader); }
    void setCDLevelFader(qint32 v) { setValue(MixerLine::CompactDisc, MixerKind::Fader, v); }
    qint32 WaveLevelFader() const { return value(MixerLine::Wave, MixerKind::Fader); }
    void setWaveLevelFader(qint32 v) { setValue(MixerLine::Wave, MixerKind::Fader, v); }
    qint32 SynLevelFader() const { return value(MixerLine::Synthesizer, MixerKind::Fader); }
    void setSynLevelFader(qint32 v) { setValue(MixerLine::Synthesizer, MixerKind::Fader, v); }
    bool VolumeMute() const { return value(MixerLine::Master, MixerKind::Mute) == 1; }
    void setVolumeMute(bool muted) { setValue(MixerLine::Master, MixerKind::Mute, muted ? 1 : 0); }
    bool MikrofonMute() const { return value(MixerLine::Microphone, MixerKind::Mute) == 1; }
    void setMikrofonMute(bool muted) { setValue(MixerLine::Microphone, MixerKind::Mute, muted ? 1 : 0); }
    bool LineMute() const { return value(MixerLine::LineIn, MixerKind::Mute) == 1; }
    void setLineMute(bool muted) override { setValue(MixerLine::LineIn, MixerKind::Mute, muted ? 1 : 0); }
    bool CompactDiscMute() const { return value(MixerLine::CompactDisc, MixerKind::Mute) == 1; }
    void setCompactDiscMute(bool muted) { setValue(MixerLine::CompactDisc, MixerKind::Mute, muted ? 1 : 0); }
    bool WaveMute() const { return value(MixerLine::Wave, MixerKind::Mute) == 1; }
    void setWaveMute(bool muted) { setValue(MixerLine::Wave, MixerKind::Mute, muted ? 1 : 0); }
    bool SynthesizerMute() const { return value(MixerLine::Synthesizer, MixerKind::Mute) == 1; }
    void setSynthesizerMute(bool muted) { setValue(MixerLine::Synthesizer, MixerKind::Mute, muted ? 1 : 0); }

    // The music window's MIC and Line switches (setLineMute is the property above).
    bool micMute() const override { return MikrofonMute(); }
    void setMicMute(bool mute) override { setMikrofonMute(mute); }
    bool lineMute() const override { return LineMute(); }

private:
    bool StartInputCapture();
    void StopInputCapture();

    static int index(MixerLine line, MixerKind kind)
    {
        return static_cast<int>(kind) * kMixerLines + static_cast<int>(line);
    }

    MixerCard& m_card;
    bool m_open = false;
    std::array<MixerCard::Control, kMixerLines * kMixerKinds> m_records{};
    InputCapture* m_capture = nullptr;
    MediaService* m_media = nullptr;
    UserDialogs* m_dialogs = nullptr;
    QString m_title;
    bool m_capturing = false;
    // What the last meter read found; a read that finds nothing new returns it again.
    qint32 m_inputValue = 0;
};

}  // namespace tavlo
