#pragma once

#include "playback/WindowRig.h"

#include <vector>

namespace tavlo::test {

// Both player windows wired as the program wires them, music playing a long
// list and the insert window holding two inserts.
struct BreakRig {
    WindowRig r;
    QStringList music;
    QStringList ads;

    explicit BreakRig(int inserts = 2, double insertSeconds = 60)
    {
        for (int i = 1; i <= 4; ++i)
            music << r.add(QStringLiteral("m%1").arg(i), 300);
        for (int i = 1; i <= inserts; ++i)
            ads << r.addInsert(QStringLiteral("ad%1").arg(i), insertSeconds);
    }
    MusicWindow& m() const { return *r.w; }
    InsertWindow& in() const { return *r.ins; }
    static int fader(const PlayerWindow& w) { return w.channelFaders[static_cast<size_t>(w.channelInPlay())]->value(); }
    // Something a listener hears from this window.
    bool audible(const PlayerWindow& w) const
    {
        for (const Player* p : {w.playerIn(0), w.playerIn(1)}) {
            FakeStream* s = p ? r.stream(p->fileName()) : nullptr;
            if (s && s->audible())
                return true;
        }
        return false;
    }

    // The insert window's ramp: c, the insert and music faders, ms from now.
    struct Tick {
        int c, insert, music;
        std::int64_t ms;
    };
    std::vector<Tick> recordRamp()
    {
        const std::int64_t from = r.time.elapsedMs();
        return r.recordTicks(in(), in().rampStep(), from,
                             [&](int c) { return Tick{c, fader(in()), fader(m()), r.time.elapsedMs() - from}; });
    }
};

}  // namespace tavlo::test
