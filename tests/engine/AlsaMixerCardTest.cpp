// The ALSA mixer on whatever this machine has: with no sound card it opens
// nothing and says nothing, and a device without mixer elements gives the
// quiet defaults too; the input meter without a recording device says so in
// its message box only.
#include "mixer/SoundCardMixer.h"
#include "fakes/FakeMediaService.h"
#include "fakes/FakeServices.h"
#include "platform/SimulatedTime.h"
#include "engine/AlsaInputCapture.h"
#include "engine/AlsaMixerCard.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>


using namespace tavlo;

namespace {

// Everything ALSA writes to stderr while f runs.
template <typename F>
std::string stderrOf(F f)
{
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(AlsaMixerCard, OpensTheFirstCardOrNothingAndStaysQuiet)
{
    int card = -1;
    const bool haveCard = snd_card_next(&card) == 0 && card >= 0;
    std::string said = stderrOf([&] {
        AlsaMixerCard alsa;
        SoundCardMixer v(alsa);
        EXPECT_EQ(v.isOpen(), haveCard);
        if (!haveCard) {
            EXPECT_EQ(std::tuple(v.VolumeLevel(), v.VolumeMax(), v.MikrofonMute(), v.LineMute()),
                      std::tuple(0, 0, false, false));
            v.setLineMute(true);
            EXPECT_FALSE(v.LineMute());
        } else {
            // A real card: a mute written reads back, and is put back as it was.
            const bool was = v.MikrofonMute();
            if (v.record(MixerLine::Microphone, MixerKind::Mute).found) {
                v.setMikrofonMute(!was);
                EXPECT_EQ(v.MikrofonMute(), !was);
                v.setMikrofonMute(was);
            }
        }
    });
    EXPECT_EQ(said, std::string());

    // Devices that are no card: opened or not, they offer none of the six lines.
    for (const char* device : {"null", "nosuchdevice"}) {
        said = stderrOf([&] {
            AlsaMixerCard alsa{QString::fromLatin1(device)};
            SoundCardMixer v(alsa);
            EXPECT_FALSE(v.record(MixerLine::LineIn, MixerKind::Mute).found) << device;
            EXPECT_EQ(std::tuple(v.LineLevel(), v.LineMute()), std::tuple(0, false)) << device;
            v.setLineMute(true);
            EXPECT_FALSE(v.LineMute()) << device;
        });
        EXPECT_EQ(said, std::string()) << device;
    }
}

TEST(AlsaInputCapture, WithoutARecordingDeviceEveryInputReadSaysSoTwiceAndNothingOnStderr)
{
    int card = -1;
    if (snd_card_next(&card) == 0 && card >= 0)
        GTEST_SKIP() << "this machine has a sound card";
    tavlo::test::FakeDialogs dialogs;
    SimulatedTime time;
    tavlo::test::FakeMediaService media(time);
    // The first card (none here), and devices named outright that need one.
    for (const QString& device : {QString(), QStringLiteral("hw:0")}) {
        dialogs.informed.clear();
        const std::string said = stderrOf([&] {
            AlsaMixerCard mixerCard;
            AlsaInputCapture capture(device);
            SoundCardMixer v(mixerCard);
            v.setMeters(capture, media, dialogs, QStringLiteral("TAVLO Broadcast"));
            EXPECT_EQ(v.CurrentVolumeMeterInput(), 0);
            EXPECT_EQ(v.CurrentVolumeMeterInput(), 0);
            EXPECT_FALSE(v.isCapturing());
        });
        EXPECT_EQ(said, std::string()) << device.toStdString();
        ASSERT_EQ(dialogs.informed.size(), 4) << device.toStdString();
        EXPECT_TRUE(dialogs.informed[0].startsWith(QStringLiteral("TAVLO Broadcast - Mixercontrol Fehler: ")))
            << dialogs.informed[0].toStdString();
        EXPECT_GT(dialogs.informed[0].size(), 40);  // the system's reason follows the title
    }
}

TEST(AlsaInputCapture, ALSAsNullDeviceRecordsSilenceAndStaysOpenAcrossReads)
{
    // ALSA's "null" plugin records zeros on any machine: the real capture
    // path, opened once, read without blocking, at the meter's floor.
    tavlo::test::FakeDialogs dialogs;
    SimulatedTime time;
    tavlo::test::FakeMediaService media(time);
    AlsaMixerCard mixerCard{QStringLiteral("null")};
    AlsaInputCapture capture{QStringLiteral("null")};
    SoundCardMixer v(mixerCard);
    v.setMeters(capture, media, dialogs, QStringLiteral("TAVLO Broadcast"));
    for (int read = 0; read < 3; ++read)
        EXPECT_EQ(v.CurrentVolumeMeterInput(), 0) << read;
    EXPECT_TRUE(v.isCapturing());
    EXPECT_TRUE(dialogs.informed.isEmpty()) << dialogs.informed.join(QLatin1Char('\n')).toStdString();
    const qint16* samples = nullptr;
    int count = -1;
    EXPECT_TRUE(capture.takeSamples(samples, count));
    EXPECT_GE(count, 0);
}
