#pragma once

#include "app/AppServices.h"
#include "app/frmPlayer.h"
#include "fakes/FakeMediaService.h"
#include "fakes/FakeServices.h"
#include "platform/MixerDevice.h"
#include "platform/SimulatedTime.h"
#include "platform/TimerService.h"
#include "playlist/PlaylistModel.h"

#include <memory>
#include <vector>

namespace tavlo::test {

// The music window on simulated time and fake media, started as the program
// starts it (first-start settings, nothing on the command line).
struct WindowRig {
    SimulatedTime time;
    FakeMediaService media{time};
    FakeRandom random;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    NullMixerDevice mixer;
    AppServices services{media, time, time, random, settings, dialogs, mixer};
    std::unique_ptr<frmPlayer> w = std::make_unique<frmPlayer>(services);

    explicit WindowRig(bool load = true)
    {
        w->setProgramFolder(QStringLiteral("/opt/tavlo"));
        if (load)
            w->Form_Load();
    }

    // A playable file of that length, added at the end of the list.
    QString add(const QString& name, double seconds)
    {
        const QString path = QStringLiteral("/music/") + name + QStringLiteral(".mp3");
        media.addFile(path, seconds);
        w->AddFileToList(path, 0, *w->lstClipList);
        return path;
    }

    // The newest stream open on `path`, or null.
    FakeStream* stream(const QString& path) const
    {
        FakeStream* found = nullptr;
        for (FakeStream* s : media.streams())
            if (s->path() == path)
                found = s;
        return found;
    }
    QString pathInPlay() const
    {
        Player* p = w->Players[static_cast<size_t>(w->ChannelPlaying)].get();
        return p ? p->FileName() : QString();
    }
    FakeStream* inPlay() const { return stream(pathInPlay()); }
    int fader(int channel) const { return w->vscVolume[static_cast<size_t>(channel)]->value(); }
    int incoming() const { return w->ChannelPlaying; }
    int outgoing() const { return 1 - w->ChannelPlaying; }

    // Steps time timer by timer until `done` holds; false if it never did.
    template <typename Pred>
    bool runUntil(Pred done, std::int64_t limitMs = 600000)
    {
        const std::int64_t end = time.elapsedMs() + limitMs;
        while (!done()) {
            if (time.elapsedMs() >= end || !time.step(end - time.elapsedMs()))
                return false;
        }
        return true;
    }

    // One entry per ramp tick of the change under way: its count S, the two
    // faders after it, and when it ran (ms after `from`). The end tick is S 0.
    struct RampTick {
        int S;
        int in;
        int out;
        std::int64_t ms;
    };
    std::vector<RampTick> recordRamp(std::int64_t from, std::int64_t limitMs = 20000)
    {
        std::vector<RampTick> ticks;
        int last = w->DoingTransition;
        const std::int64_t end = time.elapsedMs() + limitMs;
        while (time.elapsedMs() < end && time.step(end - time.elapsedMs())) {
            if (w->DoingTransition != last) {
                last = w->DoingTransition;
                ticks.push_back({last, fader(incoming()), fader(outgoing()), time.elapsedMs() - from});
                if (last == 0)
                    break;
            }
        }
        return ticks;
    }
};

}  // namespace tavlo::test
