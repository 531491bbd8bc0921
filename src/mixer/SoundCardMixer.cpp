#include "mixer/SoundCardMixer.h"

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
