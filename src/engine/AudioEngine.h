#pragma once

#include "platform/MediaService.h"
#include "engine/NullSink.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace tavlo {

class Mixer;
class PortAudioSink;
class Reader;
class StreamTap;
class Voice;
class WavFileSink;

// The program's media service: opens MP3 and WAV files as voices and mixes
// them to one output.
//
//   decoders --(reader thread)--> per-voice rings --(audio thread)--> Mixer --> sink
//
// The UI thread talks to the audio thread only through atomics and a
// lock-free command queue; the audio thread never blocks, locks, allocates or
// touches a file. Voices are freed on the reader thread after the mixer has
// let go of them.
//
// Threading: every public member from the UI thread (the thread that made
// the engine). Streams must be destroyed before their engine.
class AudioEngine : public MediaService {
public:
    // Default: PortAudio's default device, else the null sink.
    enum class OutputKind { Default, Null, Offline };
    struct Options {
        OutputKind output = OutputKind::Default;
        QString wavPath;         // Offline: the WAV file written
        int wavBits = 16;        // Offline: 16 (PCM) or 32 (float, for tests that measure)
        int sampleRate = 44100;  // output rate
        int blockFrames = 512;
        // Where the mixed output also goes, for the stream encoder; it must
        // outlive the engine.
        StreamTap* streamTap = nullptr;
    };

    explicit AudioEngine(Options options);
    ~AudioEngine() override;  // stops output, closes the WAV file
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // A new voice, stopped at 0, volume 0, balance 0, rate 1.
    OpenResult open(const QString& path) override;
    // PortAudio's output device names, then "Null output", then "WAV file writer".
    QStringList outputNames() const override;
    float takeOutputPeak(int channel, PeakReader reader = PeakReader::Meter) override;
    QString activeOutputName() const { return m_outputName; }
    int sampleRate() const { return m_options.sampleRate; }

    // Offline only: mixes `frames` frames into the WAV file on the calling
    // thread. The decoding those frames need is done first, on this thread,
    // so offline output is deterministic and never underruns.
    void renderOffline(int frames);
    std::int64_t framesRendered() const;
    // The null output's own count of its blocks (zeros on other outputs).
    OutputCounts outputCounts() const;
    bool outputRealtime() const;

private:
    friend class EngineStream;
    bool makeRoom();
    void release(Voice* voice);
    bool post(bool add, Voice* voice);
    void wakeReader();

    Options m_options;
    QString m_outputName;
    mutable QStringList m_outputNames;
    std::unique_ptr<Mixer> m_mixer;
    std::unique_ptr<Reader> m_reader;
    std::unique_ptr<WavFileSink> m_wav;
    std::unique_ptr<NullSink> m_null;
    std::unique_ptr<PortAudioSink> m_portAudio;
};

}  // namespace tavlo
