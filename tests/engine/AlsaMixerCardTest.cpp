// The ALSA mixer on whatever this machine has: with no sound card it opens
// nothing and says nothing, and a device without mixer elements gives the
// quiet defaults too.
#include "mixer/SoundCardMixer.h"
#include "engine/AlsaMixerCard.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
            EXPECT_EQ(std::tuple(v.value(MixerLine::Master, MixerKind::Level), v.record(MixerLine::Master, MixerKind::Level).max, v.micMute(), v.lineMute()),
                      std::tuple(0, 0, false, false));
            v.setLineMute(true);
            EXPECT_FALSE(v.lineMute());
        } else {
            // A real card: a mute written reads back, and is put back as it was.
            const bool was = v.micMute();
            if (v.record(MixerLine::Microphone, MixerKind::Mute).found) {
                v.setMicMute(!was);
                EXPECT_EQ(v.micMute(), !was);
                v.setMicMute(was);
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
            EXPECT_EQ(std::tuple(v.value(MixerLine::LineIn, MixerKind::Level), v.lineMute()), std::tuple(0, false)) << device;
            v.setLineMute(true);
            EXPECT_FALSE(v.lineMute()) << device;
        });
        EXPECT_EQ(said, std::string()) << device;
    }
}
