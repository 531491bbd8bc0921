#include "engine/PortAudioSink.h"

#include "engine/AlsaQuiet.h"

#include "engine/Mixer.h"

#include <portaudio.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tavlo {

namespace {

// PortAudio probes every host API it was built with. ALSA reports each
// missing device on stderr (its handler is replaceable), and the JACK client
// library prints its failure to find a server (it has no switch we can reach
// without linking it), so stderr is pointed at /dev/null for the probe. None
// of that is news to an operator: the engine says in one line what it ended
// up using.
template <typename F>
auto withStderrMuted(F work)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    auto result = work();
    if (saved >= 0 && null >= 0) {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
    }
    if (null >= 0)
        close(null);
    if (saved >= 0)
        close(saved);
    return result;
}

PaError initialize()
{
    silenceAlsaErrors();
    // Probing JACK must not start a JACK server on a machine without one.
    setenv("JACK_NO_START_SERVER", "1", 0);
    return withStderrMuted([] { return Pa_Initialize(); });
}

void terminate()
{
    withStderrMuted([] { return Pa_Terminate(); });
}

int paCallback(const void* input, void* output, unsigned long frames, const PaStreamCallbackTimeInfo* timeInfo,
               PaStreamCallbackFlags flags, void* self)
{
    (void)input;
    (void)timeInfo;
    (void)flags;
    auto* mixer = static_cast<Mixer*>(self);
    auto* out = static_cast<float*>(output);
    mixer->process(out, static_cast<int>(frames));
    // The one place a loud sum is clipped on its way to the card.
    for (unsigned long i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    return paContinue;
}

}  // namespace

std::unique_ptr<PortAudioSink> PortAudioSink::open(Mixer& mixer, int sampleRate, int blockFrames, QString* why)
{
    PaError err = initialize();
    if (err != paNoError) {
        *why = QStringLiteral("PortAudio error %1: %2").arg(err).arg(QString::fromUtf8(Pa_GetErrorText(err)));
        return nullptr;
    }
    std::unique_ptr<PortAudioSink> sink(new PortAudioSink);
    sink->m_mixer = &mixer;
    PaStream* stream = nullptr;
    err = withStderrMuted([&] {
        return Pa_OpenDefaultStream(&stream, 0, 2, paFloat32, sampleRate, static_cast<unsigned long>(blockFrames),
                                    &paCallback, &mixer);
    });
    if (err == paNoError) {
        err = Pa_StartStream(stream);
        if (err != paNoError)
            Pa_CloseStream(stream);
    }
    if (err != paNoError) {
        *why = QStringLiteral("PortAudio error %1: %2").arg(err).arg(QString::fromUtf8(Pa_GetErrorText(err)));
        terminate();
        return nullptr;
    }
    sink->m_stream = stream;
    if (const PaDeviceInfo* info = Pa_GetDeviceInfo(Pa_GetDefaultOutputDevice()))
        sink->m_deviceName = QString::fromUtf8(info->name);
    return sink;
}

PortAudioSink::~PortAudioSink()
{
    auto* stream = static_cast<PaStream*>(m_stream);
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    terminate();
}

QStringList PortAudioSink::deviceNames()
{
    QStringList names;
    if (initialize() != paNoError)
        return names;
    const int count = Pa_GetDeviceCount();
    for (int i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info && info->maxOutputChannels > 0)
            names.append(QString::fromUtf8(info->name));
    }
    terminate();
    return names;
}

}  // namespace tavlo
