#pragma once

#include "platform/Loudness.h"

#include <QHash>
#include <QStringList>

namespace tavlo::test {

// Measurements a test sets by path; everything else is not ready. Records
// every request to measure, one entry per call.
class FakeLoudness : public LoudnessService {
public:
    void measure(const QStringList& paths) override { requests << paths; }
    LoudnessMeasurement lookup(const QString& path) override { return known.value(path); }

    void set(const QString& path, double lufs, double truePeak)
    {
        known.insert(path, {LoudnessMeasurement::State::Measured, lufs, truePeak});
    }
    // Measured at -14 LUFS, with these cue points.
    void setCues(const QString& path, const CuePoints& cues)
    {
        known.insert(path, {LoudnessMeasurement::State::Measured, -14, -1, cues});
    }
    QHash<QString, LoudnessMeasurement> known;
    QList<QStringList> requests;
};

}  // namespace tavlo::test
