#include "engine/EngineStream.h"

#include "engine/AudioEngine.h"
#include "engine/Voice.h"

#include <cmath>

namespace tavlo {

EngineStream::EngineStream(AudioEngine& engine, std::shared_ptr<Voice> voice)
    : m_engine(engine), m_voice(std::move(voice))
{
}

EngineStream::~EngineStream()
{
    m_voice->setState(Voice::State::Stopped);
    m_engine.release(m_voice.get());
}

double EngineStream::duration() const
{
    return static_cast<double>(m_voice->lengthFrames()) / m_voice->fileRate();
}

void EngineStream::run()
{
    m_voice->setState(Voice::State::Running);
}

void EngineStream::pause()
{
    m_voice->setState(Voice::State::Paused);
}

void EngineStream::stop()
{
    // Keeps the position: a later run() carries on from there.
    m_voice->setState(Voice::State::Stopped);
}

double EngineStream::position() const
{
    return static_cast<double>(m_voice->positionFrames()) / m_voice->fileRate();
}

void EngineStream::setPosition(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    m_voice->requestSeek(std::llround(std::max(seconds, 0.0) * m_voice->fileRate()));
    m_engine.wakeReader();
}

void EngineStream::setVolume(int hundredthsDb)
{
    m_volume = hundredthsDb;
    m_voice->setLevels(m_volume, m_balance, m_trim);
}

void EngineStream::setBalance(int hundredthsDb)
{
    m_balance = hundredthsDb;
    m_voice->setLevels(m_volume, m_balance, m_trim);
}

void EngineStream::setTrim(int hundredthsDb)
{
    m_trim = hundredthsDb;
    m_voice->setLevels(m_volume, m_balance, m_trim);
}

void EngineStream::setRate(double factor)
{
    if (!std::isfinite(factor) || factor <= 0.0)
        return;
    m_rate = factor;
    m_voice->setRate(factor);
}

}  // namespace tavlo
