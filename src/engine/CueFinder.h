#pragma once

#include "engine/StereoFrame.h"
#include "platform/Loudness.h"

#include <optional>
#include <vector>

namespace tavlo {

// Finds a song's cue points from its samples as the loudness analysis
// decodes them, so one decode serves both. It keeps the level of every
// 10 ms (a song of five minutes is 30,000 numbers) and, once the song's
// integrated loudness is known, reads the points off them:
// - silence is anything under the song's loudness less 40 LU, never above
//   -50 (a quiet song's hiss is not its music);
// - cue-in is the start of the first 10 ms above silence, cue-out the end of
//   the last (a pause in the middle is not an end);
// - the segue is the middle of the last 100 ms window still within 12 LU of
//   the song's loudness: from there on the ending is a fade or a tail the
//   next song may play over. A long fade (over 15 s from the last moment at
//   the song's loudness to cue-out) segues no later than 10 s before cue-out.
// - a song quiet throughout (under -30 LUFS: a spoken intro, a soft piece)
//   keeps its whole length.
// The levels are unweighted mean squares on the LUFS scale, close enough to
// tell sound from silence and a fade from the song's body.
// One finder per file; any thread.
class CueFinder {
public:
    explicit CueFinder(int sampleRate);

    void add(const StereoFrame* frames, int count);
    // The points for a song of this integrated loudness; none when nothing
    // in it rises above silence.
    std::optional<CuePoints> points(double integratedLufs) const;

private:
    int m_blockFrames;
    double m_blockSeconds;
    std::vector<float> m_levels;  // mean square of each whole block, both channels summed
    double m_sum = 0;
    int m_inBlock = 0;
    long long m_frames = 0;
    int m_rate;
};

}  // namespace tavlo
