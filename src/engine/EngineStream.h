#pragma once

#include "platform/MediaService.h"

#include <memory>

namespace tavlo {

class AudioEngine;
class Voice;

// What the player holds for one opened file: a handle on a voice of the
// engine. It keeps the values it was given (volume, balance, rate) for the
// getters and passes them on as atomics; position is an atomic load.
// Threading: UI thread only.
class EngineStream : public MediaStream {
public:
    EngineStream(AudioEngine& engine, std::shared_ptr<Voice> voice);
    ~EngineStream() override;
    EngineStream(const EngineStream&) = delete;
    EngineStream& operator=(const EngineStream&) = delete;

    double duration() const override;
    void run() override;
    void pause() override;
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;
    void setVolume(int hundredthsDb) override;
    int volume() const override { return m_volume; }
    void setBalance(int hundredthsDb) override;
    int balance() const override { return m_balance; }
    void setRate(double factor) override;
    double rate() const override { return m_rate; }
    void setTrim(int hundredthsDb) override;

private:
    AudioEngine& m_engine;
    std::shared_ptr<Voice> m_voice;
    int m_volume = 0;
    int m_balance = 0;
    double m_rate = 1.0;
    int m_trim = 0;
};

}  // namespace tavlo
