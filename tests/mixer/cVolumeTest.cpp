// The sound card's mixer behind the music window's MIC and Line switches:
// the switches at start-up, what they write, a card lacking a control and a
// machine without a card.
#include "platform/InputCapture.h"
#include "mixer/cVolume.h"
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>
#include <utility>

using namespace tavlo;
using namespace tavlo::test;

namespace {

using Key = std::pair<MixerLine, MixerKind>;

// A card with every control on every line unless told otherwise; it keeps
// the values and counts what is asked of it.
struct FakeMixerCard : MixerCard {
    bool present = true;
    std::map<Key, qint32> values;
    std::map<Key, Control> controls;
    int lookups = 0;
    int writes = 0;

    FakeMixerCard()
    {
        for (int l = 0; l < kMixerLines; ++l)
            for (int k = 0; k < kMixerKinds; ++k) {
                const Key key{static_cast<MixerLine>(l), static_cast<MixerKind>(k)};
                controls[key] = key.second == MixerKind::Mute ? Control{true, 0, 1} : Control{true, 0, 65535};
                values[key] = 0;
            }
    }
    void remove(MixerLine line, MixerKind kind)
    {
        controls.erase({line, kind});
        values.erase({line, kind});
    }
    bool open() override { return present; }
    Control lookup(MixerLine line, MixerKind kind) override
    {
        ++lookups;
        const auto it = controls.find({line, kind});
        return it == controls.end() ? Control{} : it->second;
    }
    qint32 read(MixerLine line, MixerKind kind) override { return values.at({line, kind}); }
    bool write(MixerLine line, MixerKind kind, qint32 value) override
    {
        ++writes;
        values.at({line, kind}) = value;
        return true;
    }
};

// The music window loaded on a mixer of the test's choosing.
struct MixerWindow {
    WindowRig rig{false};
    cVolume mixer;
    AppServices services;
    frmPlayer w;
    explicit MixerWindow(FakeMixerCard& card)
        : mixer(card),
          services{rig.media, rig.time, rig.time, rig.random, rig.settings, rig.dialogs, mixer, rig.uiEvents},
          w(services)
    {
        w.Form_Load();
    }
    std::pair<int, int> switches() const { return {w.chkMicMute->value(), w.chkLinMute->value()}; }
};

}  // namespace

TEST(cVolume, SwitchesStartFromTheCardsMutesAndWriteTheInverse)
{
    FakeMixerCard card;
    card.values[Key(MixerLine::Microphone, MixerKind::Mute)] = 1;
    MixerWindow m(card);
    // Ticked means audible: the muted microphone starts unticked, the line ticked.
    EXPECT_EQ(m.switches(), std::pair(0, 1));
    EXPECT_EQ(card.values[Key(MixerLine::Microphone, MixerKind::Mute)], 1);

    m.w.chkMicMute->setValue(1);
    EXPECT_EQ(card.values[Key(MixerLine::Microphone, MixerKind::Mute)], 0);
    m.w.chkLinMute->setValue(0);
    EXPECT_EQ(card.values[Key(MixerLine::LineIn, MixerKind::Mute)], 1);

    // After a restart the muted line shows as an unticked switch.
    MixerWindow again(card);
    EXPECT_EQ(again.switches(), std::pair(1, 0));
}

TEST(cVolume, ACardWithoutALineMuteLeavesEveryOtherControlAlone)
{
    FakeMixerCard card;
    card.remove(MixerLine::LineIn, MixerKind::Mute);
    card.values[Key(MixerLine::LineIn, MixerKind::Level)] = 1234;
    card.values[Key(MixerLine::Master, MixerKind::Mute)] = 1;
    MixerWindow m(card);
    EXPECT_EQ(m.switches(), std::pair(1, 1));
    const auto before = card.values;
    const int writesBefore = card.writes;
    m.w.chkLinMute->setValue(0);
    m.w.chkLinMute->setValue(1);
    EXPECT_EQ(card.values, before);
    EXPECT_EQ(card.writes, writesBefore);
    EXPECT_FALSE(m.mixer.LineMute());
}

TEST(cVolume, WithoutACardNothingIsLookedUpAndEverythingReadsZero)
{
    FakeMixerCard card;
    card.present = false;
    card.values[Key(MixerLine::Microphone, MixerKind::Mute)] = 1;
    MixerWindow m(card);
    EXPECT_FALSE(m.mixer.isOpen());
    EXPECT_EQ(std::pair(card.lookups, card.writes), std::pair(0, 0));
    // Nothing muted as far as anyone can tell: both switches ticked.
    EXPECT_EQ(m.switches(), std::pair(1, 1));
    m.w.chkMicMute->setValue(0);
    EXPECT_FALSE(m.mixer.setVolumeLevel(10));
    EXPECT_EQ(card.writes, 0);
    EXPECT_EQ(std::tuple(m.mixer.VolumeLevel(), m.mixer.MikrofonMute()), std::tuple(0, false));
}

namespace {

// A recording device that can be missing, and hands out what the test records.
struct FakeCapture : InputCapture {
    bool present = true;
    int opens = 0;
    int closes = 0;
    std::vector<qint16> recorded;
    std::vector<qint16> handedOut;
    bool open(QString& error) override
    {
        ++opens;
        if (!present)
            error = QStringLiteral("No such device");
        return present;
    }
    void close() override { ++closes; }
    bool takeSamples(const qint16*& samples, int& count) override
    {
        handedOut = std::move(recorded);
        recorded.clear();
        samples = handedOut.data();
        count = static_cast<int>(handedOut.size());
        return true;
    }
};

}  // namespace

TEST(cVolume, InputMeterStartsTheCaptureOnceAndReadsTheLoudestSampleAsAMagnitude)
{
    FakeMixerCard card;
    FakeCapture capture;
    WindowRig rig(false);
    {
        cVolume v(card);
        v.setMeters(capture, rig.media, rig.dialogs, QStringLiteral("TAVLO Broadcast"));
        EXPECT_FALSE(v.isCapturing());
        capture.recorded = {-5, -20000, 100};
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 20000);
        capture.recorded = {-32768, 3};
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 32767);
        // Nothing new recorded: the last value stands.
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 32767);
        EXPECT_EQ(std::pair(capture.opens, capture.closes), std::pair(1, 0));
        EXPECT_TRUE(rig.dialogs.informed.isEmpty());

        // The output meter reads the engine's peak, the louder channel.
        rig.media.outputPeak[0] = 0.25f;
        rig.media.outputPeak[1] = 0.5f;
        EXPECT_EQ(v.CurrentVolumeMeterOutput(), 16384);
        EXPECT_EQ(capture.opens, 1);
    }
    EXPECT_EQ(capture.closes, 1);  // stopped with the mixer object
}

TEST(cVolume, WithoutARecordingDeviceEachInputReadTriesTwiceAndSaysSoTwice)
{
    FakeMixerCard card;
    FakeCapture capture;
    capture.present = false;
    WindowRig rig(false);
    cVolume v(card);
    v.setMeters(capture, rig.media, rig.dialogs, QStringLiteral("TAVLO Broadcast"));
    EXPECT_EQ(v.CurrentVolumeMeterInput(), 0);
    const QString message = QStringLiteral("TAVLO Broadcast - Mixercontrol Fehler: No such device");
    EXPECT_EQ(rig.dialogs.informed, QStringList({message, message}));
    EXPECT_EQ(capture.opens, 2);
    EXPECT_FALSE(v.isCapturing());
}
