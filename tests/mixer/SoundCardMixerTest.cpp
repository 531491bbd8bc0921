// The sound card's mixer behind the music window's MIC and Line switches:
// the switches at start-up, what they write, a card lacking a control and a
// machine without a card; the level meters.
#include "platform/InputCapture.h"
#include "mixer/SoundCardMixer.h"
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

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

// A recording device that can be missing, and hands out what the test records.
struct FakeCapture : InputCapture {
    bool present = true;
    int opens = 0, closes = 0;
    std::vector<qint16> recorded, handedOut;
    bool open(QString& error) override
    {
        ++opens;
        error = present ? QString() : QStringLiteral("No such device");
        return present;
    }
    void close() override { ++closes; }
    bool takeSamples(const qint16*& samples, int& count) override
    {
        handedOut = std::exchange(recorded, {});
        samples = handedOut.data();
        count = static_cast<int>(handedOut.size());
        return true;
    }
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
    EXPECT_EQ(std::pair(card.writes, m.mixer.LineMute()), std::pair(writes, false));

    // Without a card: nothing looked up, nothing muted as far as anyone can tell.
    FakeMixerCard none;
    none.present = false;
    none.values[kMicMute] = 1;
    MixerWindow n(none);
    EXPECT_EQ(n.switches(), std::pair(1, 1));
    n.w.micSwitch->setValue(0);
    EXPECT_FALSE(n.mixer.setVolumeLevel(10));
    EXPECT_EQ(std::tuple(n.mixer.isOpen(), none.lookups, none.writes, n.mixer.VolumeLevel(), n.mixer.MikrofonMute()),
              std::tuple(false, 0, 0, 0, false));
}

TEST(SoundCardMixer, MetersReadMagnitudesStartTheCaptureOnceAndReportAMissingDeviceTwice)
{
    FakeMixerCard card;
    FakeCapture capture;
    WindowRig rig(false);
    {
        SoundCardMixer v(card);
        v.setMeters(capture, rig.media, rig.dialogs, QStringLiteral("TAVLO Broadcast"));
        EXPECT_FALSE(v.isCapturing());
        capture.recorded = {-5, -20000, 100};
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 20000);
        capture.recorded = {-32768, 3};
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 32767);
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 32767);  // nothing new recorded: the last value stands
        // The output meter reads the engine's peak, the louder channel.
        rig.media.outputPeak[0] = 0.25f;
        rig.media.outputPeak[1] = 0.5f;
        EXPECT_EQ(v.CurrentVolumeMeterOutput(), 16384);
        EXPECT_EQ(std::tuple(capture.opens, capture.closes, rig.dialogs.informed.size()), std::tuple(1, 0, 0));
    }
    EXPECT_EQ(capture.closes, 1);  // stopped with the mixer object

    FakeCapture missing;
    missing.present = false;
    SoundCardMixer v(card);
    v.setMeters(missing, rig.media, rig.dialogs, QStringLiteral("TAVLO Broadcast"));
    EXPECT_EQ(v.CurrentVolumeMeterInput(), 0);
    const QString message = QStringLiteral("TAVLO Broadcast - Mixercontrol Fehler: No such device");
    EXPECT_EQ(rig.dialogs.informed, QStringList({message, message}));
    EXPECT_EQ(std::pair(missing.opens, v.isCapturing()), std::pair(2, false));
}
