#include "engine/AlsaMixerCard.h"

#include "engine/AlsaQuiet.h"

#include <alsa/asoundlib.h>

namespace tavlo {

namespace {

const char* elementName(MixerLine line, MixerKind kind)
{
    if (kind == MixerKind::Bass)
        return line == MixerLine::Master ? "Bass" : nullptr;
    if (kind == MixerKind::Treble)
        return line == MixerLine::Master ? "Treble" : nullptr;
    if (kind == MixerKind::Fader || kind == MixerKind::Pan)
        return nullptr;
    switch (line) {
    case MixerLine::Master: return "Master";
    case MixerLine::Microphone: return "Mic";
    case MixerLine::LineIn: return "Line";
    case MixerLine::CompactDisc: return "CD";
    case MixerLine::Synthesizer: return "Synth";
    case MixerLine::Wave: return "PCM";
    }
    return nullptr;
}

}  // namespace

AlsaMixerCard::AlsaMixerCard(QString device) : m_device(std::move(device)) {}

AlsaMixerCard::~AlsaMixerCard()
{
    if (m_mixer)
        snd_mixer_close(m_mixer);
}

bool AlsaMixerCard::open()
{
    silenceAlsaErrors();
    const QString device = alsaDeviceOrFirstCard(m_device, "hw");
    if (device.isEmpty())
        return false;  // no card: nothing to open
    if (snd_mixer_open(&m_mixer, 0) < 0) {
        m_mixer = nullptr;
        return false;
    }
    const QByteArray name = device.toLocal8Bit();
    if (snd_mixer_attach(m_mixer, name.constData()) < 0 || snd_mixer_selem_register(m_mixer, nullptr, nullptr) < 0
        || snd_mixer_load(m_mixer) < 0) {
        snd_mixer_close(m_mixer);
        m_mixer = nullptr;
        return false;
    }
    return true;
}

snd_mixer_elem_t* AlsaMixerCard::element(MixerLine line, MixerKind kind) const
{
    const char* name = elementName(line, kind);
    if (!m_mixer || !name)
        return nullptr;
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    return snd_mixer_find_selem(m_mixer, id);
}

MixerCard::Control AlsaMixerCard::lookup(MixerLine line, MixerKind kind)
{
    snd_mixer_elem_t* e = element(line, kind);
    if (!e)
        return {};
    if (kind == MixerKind::Mute)
        return snd_mixer_selem_has_playback_switch(e) ? Control{true, 0, 1} : Control{};
    long min = 0, max = 0;
    if (snd_mixer_selem_has_playback_volume(e))
        snd_mixer_selem_get_playback_volume_range(e, &min, &max);
    else if (snd_mixer_selem_has_capture_volume(e))
        snd_mixer_selem_get_capture_volume_range(e, &min, &max);
    else
        return {};
    return {true, static_cast<qint32>(min), static_cast<qint32>(max)};
}

qint32 AlsaMixerCard::read(MixerLine line, MixerKind kind)
{
    snd_mixer_elem_t* e = element(line, kind);
    if (!e)
        return 0;
    snd_mixer_handle_events(m_mixer);  // another program may have moved it
    if (kind == MixerKind::Mute) {
        int on = 1;
        if (!snd_mixer_selem_has_playback_switch(e))
            return 0;
        snd_mixer_selem_get_playback_switch(e, SND_MIXER_SCHN_FRONT_LEFT, &on);
        return on ? 0 : 1;
    }
    long v = 0;
    if (snd_mixer_selem_has_playback_volume(e))
        snd_mixer_selem_get_playback_volume(e, SND_MIXER_SCHN_FRONT_LEFT, &v);
    else if (snd_mixer_selem_has_capture_volume(e))
        snd_mixer_selem_get_capture_volume(e, SND_MIXER_SCHN_FRONT_LEFT, &v);
    return static_cast<qint32>(v);
}

bool AlsaMixerCard::write(MixerLine line, MixerKind kind, qint32 value)
{
    snd_mixer_elem_t* e = element(line, kind);
    if (!e)
        return false;
    if (kind == MixerKind::Mute)
        return snd_mixer_selem_has_playback_switch(e) && snd_mixer_selem_set_playback_switch_all(e, value ? 0 : 1) >= 0;
    if (snd_mixer_selem_has_playback_volume(e))
        return snd_mixer_selem_set_playback_volume_all(e, value) >= 0;
    if (snd_mixer_selem_has_capture_volume(e))
        return snd_mixer_selem_set_capture_volume_all(e, value) >= 0;
    return false;
}

}  // namespace tavlo
