#include "engine/AudioEngine.h"

#include "engine/Decoder.h"
#include "engine/EngineStream.h"
#include "engine/Mixer.h"
#include "engine/NullSink.h"
#include "engine/PortAudioSink.h"
#include "engine/Reader.h"
#include "engine/Voice.h"
#include "engine/WavFileSink.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace tavlo {

namespace {
const QString kNullName = QStringLiteral("Null output");
const QString kWavName = QStringLiteral("WAV file writer");
}  // namespace

AudioEngine::AudioEngine(Options options)
    : m_options(std::move(options))
{
    if (m_options.sampleRate <= 0)
        m_options.sampleRate = 44100;
    if (m_options.blockFrames <= 0)
        m_options.blockFrames = 512;
    m_mixer = std::make_unique<Mixer>(m_options.blockFrames);
    m_mixer->setTap(m_options.streamTap);
    m_reader = std::make_unique<Reader>(*m_mixer);

    switch (m_options.output) {
    case OutputKind::Offline:
        m_outputName = kWavName;
        m_wav = WavFileSink::open(m_options.wavPath, m_options.wavBits, m_options.sampleRate, m_options.blockFrames);
        if (!m_wav)
            std::fprintf(stderr, "tavlo: cannot write the WAV file %s\n", qPrintable(m_options.wavPath));
        return;  // no threads: the caller renders
    case OutputKind::Default: {
        QString why;
        m_portAudio = PortAudioSink::open(*m_mixer, m_options.sampleRate, m_options.blockFrames, &why);
        if (m_portAudio) {
            m_outputName = m_portAudio->deviceName();
            break;
        }
        std::fprintf(stderr, "tavlo: no audio device (%s); playing to the null output\n", qPrintable(why));
        [[fallthrough]];
    }
    case OutputKind::Null:
        m_outputName = kNullName;
        m_null = std::make_unique<NullSink>(*m_mixer, m_options.sampleRate, m_options.blockFrames);
        break;
    }
    m_reader->start();
}

AudioEngine::~AudioEngine()
{
    // Silence first, so no callback runs while the voices go.
    m_portAudio.reset();
    m_null.reset();
    m_reader.reset();
    m_wav.reset();
}

OutputCounts AudioEngine::outputCounts() const
{
    return m_null ? m_null->counts() : OutputCounts{};
}

bool AudioEngine::outputRealtime() const
{
    return m_null && m_null->realtime();
}

OpenResult AudioEngine::open(const QString& path)
{
    OpenResult result;
    std::unique_ptr<Decoder> decoder = Decoder::open(path, &result.error);
    if (!decoder)
        return result;
    if (m_options.output == OutputKind::Offline) {
        if (!m_wav) {
            result.error = media_error::NoOutput;
            return result;
        }
    }
    if (!makeRoom()) {
        result.error = media_error::NoOutput;
        return result;
    }
    auto voice = std::make_shared<Voice>(std::move(decoder), m_options.sampleRate, m_mixer->maxBlockFrames());
    if (!post(true, voice.get())) {
        result.error = media_error::NoOutput;
        return result;
    }
    m_reader->add(voice);
    m_reader->wake();
    result.stream = std::make_unique<EngineStream>(*this, std::move(voice));
    return result;
}

bool AudioEngine::makeRoom()
{
    // Players replaced in a quick loop (a total of a long list opens one a
    // row) leave voices that the audio thread has not let go of yet: give it
    // a moment to do so rather than refuse the song.
    for (int waited = 0; m_reader->count() >= Mixer::kMaxVoices; ++waited) {
        if (m_options.output == OutputKind::Offline) {
            if (waited > 1)
                return false;
            // This thread is the audio thread when rendering offline. Voices
            // still fading out would only finish in the next render: when
            // they are what fills the mix, their fades are cut short.
            m_mixer->applyCommands();
            if (waited == 1)
                m_mixer->retireLeaving();
            m_reader->collectRetired();
        } else {
            if (waited >= 200)
                return false;  // the output has stopped calling back
            m_reader->wake();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

void AudioEngine::release(Voice* voice)
{
    // If the output has stalled the voice stays, stopped and silent, rather
    // than the caller waiting on it.
    post(false, voice);
}

bool AudioEngine::post(bool add, Voice* voice)
{
    const Mixer::Command command{add ? Mixer::Command::Kind::Add : Mixer::Command::Kind::Remove, voice};
    for (int waited = 0; !m_mixer->post(command); ++waited) {
        if (m_options.output == OutputKind::Offline) {
            m_mixer->applyCommands();  // this thread is the audio thread when rendering offline
        } else {
            // The audio thread empties the queue every block; a queue full
            // for this long means the output has stopped calling back, and
            // the UI must not hang on it.
            if (waited >= 200)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

void AudioEngine::wakeReader()
{
    m_reader->wake();
}

QStringList AudioEngine::outputNames() const
{
    if (m_outputNames.isEmpty()) {
        m_outputNames = PortAudioSink::deviceNames();
        m_outputNames << kNullName << kWavName;
    }
    return m_outputNames;
}

void AudioEngine::renderOffline(int frames)
{
    if (!m_wav)
        return;
    while (frames > 0) {
        const int n = std::min(frames, m_mixer->maxBlockFrames());
        m_reader->prepare();
        m_wav->renderBlock(*m_mixer, n);
        frames -= n;
    }
    m_wav->flush();
}

std::int64_t AudioEngine::framesRendered() const
{
    return m_mixer->framesProcessed();
}

float AudioEngine::takeOutputPeak(int channel, PeakReader reader)
{
    return m_mixer->takePeak(channel, static_cast<int>(reader));
}

}  // namespace tavlo
