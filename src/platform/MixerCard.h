#pragma once

#include <QtGlobal>

namespace tavlo {

// The six lines the station's mixer object knows, whatever the card calls them.
enum class MixerLine { Master, Microphone, LineIn, CompactDisc, Synthesizer, Wave };
// The controls looked up on every line, in the order they are looked up.
enum class MixerKind { Level, Mute, Fader, Bass, Treble, Pan };

inline constexpr int kMixerLines = 6;
inline constexpr int kMixerKinds = 6;

// One sound card's mixer, as the platform offers it. UI thread only.
// Values are the card's own; a mute control reads 1 when the line is muted.
class MixerCard {
public:
    struct Control {
        bool found = false;
        qint32 min = 0;
        qint32 max = 0;
    };

    virtual ~MixerCard() = default;
    // Opens the first card's mixer; false when there is none.
    virtual bool open() = 0;
    virtual Control lookup(MixerLine line, MixerKind kind) = 0;
    // Only ever asked about controls whose lookup found them.
    virtual qint32 read(MixerLine line, MixerKind kind) = 0;
    virtual bool write(MixerLine line, MixerKind kind, qint32 value) = 0;
};

}  // namespace tavlo
