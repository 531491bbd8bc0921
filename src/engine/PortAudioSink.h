#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tavlo {

class Mixer;

// The sound card through PortAudio's default output device, 32-bit float
// stereo; the mixer runs in PortAudio's callback.
// Threading: open, deviceNames and destruction on the UI thread.
class PortAudioSink {
public:
    // Opens and starts the default output. Null when there is none, with
    // PortAudio's error code and text in *why.
    static std::unique_ptr<PortAudioSink> open(Mixer& mixer, int sampleRate, int blockFrames, QString* why);
    // Names of PortAudio's output devices, in its order.
    static QStringList deviceNames();

    ~PortAudioSink();
    PortAudioSink(const PortAudioSink&) = delete;
    PortAudioSink& operator=(const PortAudioSink&) = delete;

    QString deviceName() const { return m_deviceName; }

private:
    PortAudioSink() = default;

    Mixer* m_mixer = nullptr;
    void* m_stream = nullptr;
    QString m_deviceName;
};

}  // namespace tavlo
