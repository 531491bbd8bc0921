#pragma once

// What the window-on-engine tests share: the services of a station whose
// engine writes a WAV file and whose timers follow audio time, tones made by
// sox, and the measures taken on what was rendered.

#include "../engine/OfflineRig.h"
#include "app/Station.h"
#include "fakes/FakeServices.h"
#include "fakes/TestFolderReader.h"
#include "fakes/TestFiles.h"
#include "platform/AppServices.h"
#include "platform/MixerDevice.h"
#include "platform/SimulatedTime.h"

#include <QByteArray>
#include <QStringList>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace tavlo::test {

constexpr int kRate = 44100;
// A master volume of 64 leaves the channel fader at 21: 21² hundredths of a dB down.
inline const double kMasterGain = std::pow(10.0, -441 / 2000.0);

inline bool sox(const QStringList& args) { return runTool("sox", args); }

// `seconds` of a sine at `hz`, on the left (side 0) or right (side 1) only,
// after `padSeconds` of silence.
inline bool makeTone(const QString& path, double seconds, double hz, double amplitude, int side, double padSeconds = 0)
{
    const QString left = side == 0 ? QStringLiteral("1") : QStringLiteral("0");
    const QString right = side == 0 ? QStringLiteral("0") : QStringLiteral("1");
    QStringList args{QStringLiteral("-n"), QStringLiteral("-r"), QString::number(kRate), QStringLiteral("-c"),
                     QStringLiteral("2"), path, QStringLiteral("synth"), QString::number(seconds),
                     QStringLiteral("sine"), QString::number(hz), QStringLiteral("vol"), QString::number(amplitude),
                     QStringLiteral("remix"), left, right};
    if (padSeconds > 0)
        args << QStringLiteral("pad") << QString::number(padSeconds) << QStringLiteral("0");
    return sox(args);
}

// A station on the offline engine: its windows on `services`, not started
// until the test has set them up. run() renders in 10 ms blocks and lets the
// timers fire between them.
struct EngineStation {
    OfflineRig rig;
    SimulatedTime time;
    FakeRandom random;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    NullMixerDevice mixer;
    AppServices services;
    FakeHttpClient http;
    TestFolderReader folders;
    Station station{services, http, folders};

    // Songs measured by `loudness`, when given, else never trimmed.
    explicit EngineStation(const char* name, LoudnessService& loudness = noLoudness())
        : rig(name),
          services{rig.engine(), time,       time,       random, settings, dialogs, mixer,
                   noUiEvents(), noScreen(), noShell(), loudness}
    {
    }

    std::int64_t frame() { return rig.engine().framesRendered(); }
    // `between` runs after each block's timers: what it sees or does takes
    // effect from frame() on.
    void run(double seconds, const std::function<void()>& between = {})
    {
        const auto blocks = static_cast<int>(std::lround(seconds * 100));
        for (int i = 0; i < blocks; ++i) {
            rig.engine().renderOffline(kRate / 100);
            time.advance(10);
            if (between)
                between();
        }
    }
    // Everything rendered since the last call, interleaved stereo.
    std::vector<float> take() { return rig.render(0); }
};

inline double rmsAt(const std::vector<float>& s, int channel, double fromSec, double toSec)
{
    return OfflineRig::rms(s, channel, static_cast<std::size_t>(fromSec * kRate),
                           static_cast<std::size_t>(toSec * kRate));
}

inline float largestStep(const std::vector<float>& s, int channel)
{
    float worst = 0;
    for (std::size_t i = 1; i < s.size() / 2; ++i)
        worst = std::max(worst, std::abs(s[2 * i + channel] - s[2 * (i - 1) + channel]));
    return worst;
}

// The largest step a sine of `hz` and `amplitude` makes at the master level,
// with 5% to spare: anything beyond it is a click.
inline double toneStep(double hz, double amplitude) { return 2 * M_PI * hz / kRate * amplitude * kMasterGain * 1.05; }

}  // namespace tavlo::test
