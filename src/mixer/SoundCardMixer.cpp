#include "mixer/SoundCardMixer.h"

#include "platform/InputCapture.h"
#include "platform/MediaService.h"
#include "platform/UserDialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavlo {

SoundCardMixer::SoundCardMixer(MixerCard& card) : m_card(card)
{
    m_open = m_card.open();
    if (!m_open)
        return;
    // Kind by kind, each on the six lines: the order the records are kept in.
    for (int k = 0; k < kMixerKinds; ++k)
        for (int l = 0; l < kMixerLines; ++l) {
            const auto line = static_cast<MixerLine>(l);
            const auto kind = static_cast<MixerKind>(k);
            m_records[static_cast<size_t>(index(line, kind))] = m_card.lookup(line, kind);
        }
}

SoundCardMixer::~SoundCardMixer()
{
    if (m_capturing)
        StopInputCapture();
}

void SoundCardMixer::setMeters(InputCapture& capture, MediaService& media, UserDialogs& dialogs, QString programTitle)
{
    m_capture = &capture;
    m_media = &media;
    m_dialogs = &dialogs;
    m_title = std::move(programTitle);
}

bool SoundCardMixer::StartInputCapture()
{
    if (m_capturing)
        return true;
    if (!m_capture)
        return false;
    QString error;
    if (!m_capture->open(error)) {
        if (m_dialogs)
            m_dialogs->inform(m_title + QStringLiteral(" - Mixercontrol Fehler"), error);
        return false;
    }
    m_capturing = true;
    return true;
}

void SoundCardMixer::StopInputCapture()
{
    m_capturing = false;
    if (m_capture)
        m_capture->close();
}

qint32 SoundCardMixer::CurrentVolumeMeterInput()
{
    if (!StartInputCapture())
        StartInputCapture();
    if (m_capturing) {
        const qint16* samples = nullptr;
        int count = 0;
        if (m_capture->takeSamples(samples, count) && count > 0) {
            int peak = 0;
            for (int i = 0; i < count; ++i)
                peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
            m_inputValue = peak;
        }
    }
    // -32768 has no positive 16-bit twin: the meter tops out at full scale.
    return std::min<qint32>(std::abs(m_inputValue), 32767);
}

qint32 SoundCardMixer::CurrentVolumeMeterOutput()
{
    if (!m_media)
        return 0;
    using Reader = MediaService::PeakReader;
    const float peak = std::max(m_media->takeOutputPeak(0, Reader::MixerMeter), m_media->takeOutputPeak(1, Reader::MixerMeter));
    return static_cast<qint32>(std::lround(std::min(1.0f, std::fabs(peak)) * 32767.0f));
}

MixerCard::Control SoundCardMixer::record(MixerLine line, MixerKind kind) const
{
    return m_records[static_cast<size_t>(index(line, kind))];
}

qint32 SoundCardMixer::value(MixerLine line, MixerKind kind) const
{
    if (!m_open || !record(line, kind).found)
        return 0;
    return m_card.read(line, kind);
}

bool SoundCardMixer::setValue(MixerLine line, MixerKind kind, qint32 value)
{
    if (!m_open || !record(line, kind).found)
        return false;
    return m_card.write(line, kind, value);
}

}  // namespace tavlo
