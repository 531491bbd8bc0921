// The sound card's mixer behind the music window's MIC and Line switches:
// the switches at start-up, what they write, a card lacking a control and a
// machine without a card.
#include "mixer/SoundCardMixer.h"
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace tavlo;
using namespace tavlo::test;

namespace {

using Key = std::pair<MixerLine, MixerKind>;
const Key kMicMute{MixerLine::Microphone, MixerKind::Mute}, kLineMute{MixerLine::LineIn, MixerKind::Mute};

// A card with every control on every line but those removed from `values`;
// it counts what is asked of it.
struct FakeMixerCard : MixerCard {
    bool present = true;
    std::map<Key, qint32> values;
    int lookups = 0, writes = 0;
    FakeMixerCard()
    {
        for (int l = 0; l < kMixerLines; ++l)
            for (int k = 0; k < kMixerKinds; ++k)
                values[{static_cast<MixerLine>(l), static_cast<MixerKind>(k)}] = 0;
    }
    bool open() override { return present; }
    Control lookup(MixerLine line, MixerKind kind) override
    {
        ++lookups;
        return !values.count({line, kind}) ? Control{} : Control{true, 0, kind == MixerKind::Mute ? 1 : 65535};
    }
    qint32 read(MixerLine line, MixerKind kind) override { return values.at({line, kind}); }
    bool write(MixerLine line, MixerKind kind, qint32 value) override
    {
        ++writes;
        values.at({line, kind}) = value;
        return true;
    }
};

// The station started on the test's card.
struct MixerWindow {
    SoundCardMixer mixer;
    WindowRig rig;
    MusicWindow& w = *rig.w;
    explicit MixerWindow(FakeMixerCard& card) : mixer(card), rig(mixer) {}
    std::pair<int, int> switches() const { return {w.micSwitch->value(), w.lineSwitch->value()}; }
};

}  // namespace

TEST(SoundCardMixer, SwitchesFollowTheCardsMutesAndAMissingControlOrCardIsLeftAlone)
{
    FakeMixerCard card;
    card.values[kMicMute] = 1;
    {
        MixerWindow m(card);
        // Ticked means audible: the muted microphone starts unticked, the line ticked.
        EXPECT_EQ(m.switches(), std::pair(0, 1));
        m.w.micSwitch->setValue(1);
        m.w.lineSwitch->setValue(0);
        EXPECT_EQ(std::pair(card.values[kMicMute], card.values[kLineMute]), std::pair(0, 1));
        EXPECT_EQ(MixerWindow(card).switches(), std::pair(1, 0));  // after a restart
    }
    // Without a line mute: ticked, and its switch writes to no other control.
    card.values.erase(kLineMute);
    MixerWindow m(card);
    EXPECT_EQ(m.switches(), std::pair(1, 1));
    const int writes = card.writes;
    m.w.lineSwitch->setValue(0);
    m.w.lineSwitch->setValue(1);
    EXPECT_EQ(std::pair(card.writes, m.mixer.lineMute()), std::pair(writes, false));

    // Without a card: nothing looked up, nothing muted as far as anyone can tell.
    FakeMixerCard none;
    none.present = false;
    none.values[kMicMute] = 1;
    MixerWindow n(none);
    EXPECT_EQ(n.switches(), std::pair(1, 1));
    n.w.micSwitch->setValue(0);
    EXPECT_FALSE(n.mixer.setValue(MixerLine::Master, MixerKind::Level, 10));
    EXPECT_EQ(std::tuple(n.mixer.isOpen(), none.lookups, none.writes, n.mixer.value(MixerLine::Master, MixerKind::Level), n.mixer.micMute()),
              std::tuple(false, 0, 0, 0, false));
}
