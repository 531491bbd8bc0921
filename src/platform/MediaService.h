#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tavlo {

// One opened media file ready to play: what a playback graph is to the player.
// Destroying it stops its sound and releases everything it holds.
// UI thread only; implementations keep the audio thread's side to themselves.
class MediaStream {
public:
    virtual ~MediaStream() = default;

    // Length of the file in seconds, measured when it was opened.
    virtual double duration() const = 0;

    virtual void run() = 0;    // start, or resume after pause
    virtual void pause() = 0;  // keeps the position
    virtual void stop() = 0;

    // Seconds from the start of the file. Reading it must be cheap: the
    // position timers ask several times every 100 ms.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;

    // Hundredths of a decibel: 0 full level, -10000 silence.
    virtual void setVolume(int hundredthsDb) = 0;
    virtual int volume() const = 0;

    // Hundredths of a decibel, -10000..10000: negative attenuates the right
    // channel (favouring the left), +10000 silences the left.
    virtual void setBalance(int hundredthsDb) = 0;
    virtual int balance() const = 0;

    // Playback rate as a factor, 1.0 normal; pitch follows speed.
    virtual void setRate(double factor) = 0;
    virtual double rate() const = 0;

    // A fixed gain in hundredths of a decibel (positive raises) applied on
    // top of volume and balance: the song's loudness correction. Set before
    // the stream first plays; media that cannot apply it ignore it.
    virtual void setTrim(int hundredthsDb) { (void)hundredthsDb; }
};

struct OpenResult {
    std::unique_ptr<MediaStream> stream;  // null when the file could not be opened
    int error = 0;                        // 0 on success, positive otherwise
};

// Builds players for files and names the audio outputs.
class MediaService {
public:
    virtual ~MediaService() = default;
    virtual OpenResult open(const QString& path) = 0;
    virtual QStringList outputNames() const = 0;
    // Who reads the output's level. Each reader keeps a peak of its own, so
    // that no reader's taking resets another's.
    enum class PeakReader { Meter, DeadAirWatch };
    static constexpr int kPeakReaders = 2;
    // The loudest sample sent to the output on that channel (0 left, 1 right)
    // since this reader last took it, linear full scale 1.0. Costs an atomic
    // exchange. Media without an output report silence to the meters and,
    // since they cannot tell, never look silent to the dead-air watch.
    virtual float takeOutputPeak(int channel, PeakReader reader = PeakReader::Meter)
    {
        (void)channel;
        return reader == PeakReader::DeadAirWatch ? 1.0f : 0.0f;
    }
};

// Error codes a MediaService reports; any positive value means failure.
namespace media_error {
constexpr int NoFileName = 1;
constexpr int NotFound = 2;
constexpr int Unreadable = 3;
constexpr int NotAudio = 4;
constexpr int NoOutput = 5;
}  // namespace media_error

}  // namespace tavlo
