#include "engine/Mixer.h"

#include "engine/RealtimeScope.h"
#include "engine/SampleOps.h"
#include "engine/StreamTap.h"
#include "engine/Voice.h"

#include <algorithm>
#include <cstring>

namespace tavlo {

Mixer::Mixer(int maxBlockFrames)
    : m_maxBlock(std::max(maxBlockFrames, 16))
    , m_commands(256)
    // Room for every voice there can be, so the audio thread never finds it full.
    , m_retired(kMaxVoices * 2)
{
}

void Mixer::applyCommands()
{
    Command command;
    while (m_commands.pop(command)) {
        if (command.kind == Command::Kind::Add) {
            if (m_voiceCount < kMaxVoices) {
                m_leaving[m_voiceCount] = false;
                m_voices[m_voiceCount++] = command.voice;
            } else {
                m_retired.push(command.voice);
            }
            continue;
        }
        Voice** found = std::find(m_voices, m_voices + m_voiceCount, command.voice);
        if (found == m_voices + m_voiceCount) {
            // Never taken in (the mix was full); the engine caps voices so
            // this push never fails.
            m_retired.push(command.voice);
            continue;
        }
        const int i = static_cast<int>(found - m_voices);
        command.voice->leave();
        if (command.voice->audible())
            m_leaving[i] = true;  // retired once faded out, in process()
        else
            retireAt(i);
    }
}

void Mixer::retireLeaving()
{
    for (int i = m_voiceCount; i-- > 0;) {
        if (m_leaving[i])
            retireAt(i);
    }
}

void Mixer::retireAt(int index)
{
    Voice* voice = m_voices[index];
    m_voices[index] = m_voices[--m_voiceCount];
    m_leaving[index] = m_leaving[m_voiceCount];
    m_voices[m_voiceCount] = nullptr;
    m_leaving[m_voiceCount] = false;
    // Freed on the other side.
    m_retired.push(voice);
}

void Mixer::process(float* out, int frames)
{
    RealtimeScope realtime;
    applyCommands();
    std::memset(out, 0, sizeof(float) * 2 * static_cast<std::size_t>(std::max(frames, 0)));
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
    for (int offset = 0; offset < frames; offset += m_maxBlock) {
        const int n = std::min(m_maxBlock, frames - offset);
        float* block = out + 2 * offset;
        for (int v = 0; v < m_voiceCount; ++v)
            m_voices[v]->mixInto(block, n);
        float l = 0.0f;
        float r = 0.0f;
        sample_ops::peakStereo(block, n, &l, &r);
        peakLeft = std::max(peakLeft, l);
        peakRight = std::max(peakRight, r);
    }
    for (int i = m_voiceCount; i-- > 0;) {
        if (m_leaving[i] && !m_voices[i]->audible())
            retireAt(i);
    }
    if (m_tap)
        m_tap->write(out, frames);
    for (auto& reader : m_peak) {
        notePeak(reader[0], peakLeft);
        notePeak(reader[1], peakRight);
    }
    m_frames.fetch_add(frames, std::memory_order_relaxed);
}

Voice* Mixer::takeRetired()
{
    Voice* voice = nullptr;
    return m_retired.pop(voice) ? voice : nullptr;
}

void Mixer::notePeak(std::atomic<float>& peak, float value)
{
    float seen = peak.load(std::memory_order_relaxed);
    while (value > seen && !peak.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

float Mixer::takePeak(int channel, int reader)
{
    if (channel < 0 || channel > 1 || reader < 0 || reader >= MediaService::kPeakReaders)
        return 0.0f;
    return m_peak[reader][channel].exchange(0.0f, std::memory_order_relaxed);
}

}  // namespace tavlo
