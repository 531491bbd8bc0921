#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tavlo {

// Where a song's sound is, found from its audio, in seconds of the file:
// where it first rises out of silence, where its ending has fallen well under
// the song's own loudness for good (the next song may start there, over the
// fade), and where it last falls into silence.
struct CuePoints {
    double cueIn = 0;
    double segue = 0;
    double cueOut = 0;
};

// How loud a file is as a whole (EBU R128): its integrated loudness and its
// true peak, both measured on the two channels the engine plays, and its cue
// points, found in the same decode.
struct LoudnessMeasurement {
    enum class State {
        NotReady,      // not measured yet (asked for or not)
        Unmeasurable,  // silent, or not readable as audio: plays untouched
        Measured,
    };
    State state = State::NotReady;
    double integratedLufs = 0.0;
    double truePeakDbtp = 0.0;
    std::optional<CuePoints> cues = std::nullopt;  // none for a file with no sound in it
};

// Measures songs ahead of their turn so a player window can play each at one
// loudness. Measuring is slow (a whole file decoded), so it is asked for
// early and looked up when the song loads; a lookup never waits unless the
// implementation was made to (the offline render, which must be repeatable).
// UI thread only.
class LoudnessService {
public:
    virtual ~LoudnessService() = default;
    // Paths to measure, most urgent first; they go ahead of anything asked
    // for before. Paths already measured cost nothing.
    virtual void measure(const QStringList& paths) = 0;
    virtual LoudnessMeasurement lookup(const QString& path) = 0;
};

// For windows made without a loudness service: nothing is ever measured.
class NoLoudness : public LoudnessService {
public:
    void measure(const QStringList&) override {}
    LoudnessMeasurement lookup(const QString&) override { return {}; }
};

inline LoudnessService& noLoudness()
{
    static NoLoudness none;
    return none;
}

}  // namespace tavlo
