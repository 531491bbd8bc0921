#include "engine/Reader.h"

#include "engine/Mixer.h"
#include "engine/Voice.h"

#include <algorithm>
#include <chrono>

namespace tavlo {

namespace {
constexpr auto kIdleRound = std::chrono::milliseconds(50);
constexpr auto kSeekRound = std::chrono::milliseconds(2);
}  // namespace

Reader::Reader(Mixer& mixer) : m_mixer(mixer) {}

Reader::~Reader()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
}

void Reader::start()
{
    m_thread = std::thread([this] { run(); });
}

void Reader::add(std::shared_ptr<Voice> voice)
{
    std::lock_guard lock(m_mutex);
    m_voices.push_back(std::move(voice));
}

int Reader::count() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_voices.size());
}

void Reader::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void Reader::collectRetired()
{
    while (Voice* gone = m_mixer.takeRetired()) {
        std::shared_ptr<Voice> last;  // freed outside the lock
        std::lock_guard lock(m_mutex);
        auto it = std::find_if(m_voices.begin(), m_voices.end(), [gone](const auto& v) { return v.get() == gone; });
        if (it != m_voices.end()) {
            last = std::move(*it);
            m_voices.erase(it);
        }
    }
}

void Reader::prepare()
{
    collectRetired();
    std::lock_guard lock(m_mutex);
    for (const auto& voice : m_voices) {
        // Acknowledge a seek, let the consumer drop the old audio, then
        // decode from the new place: the three steps of the handshake, done
        // in a row because this thread plays both parts.
        if (voice->produce()) {
            voice->sync();
            voice->produce();
        }
    }
}

void Reader::run()
{
    std::vector<std::shared_ptr<Voice>> round;
    round.reserve(Mixer::kMaxVoices);
    for (;;) {
        collectRetired();
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                return;
            round = m_voices;
        }
        bool seekWaiting = false;
        for (const auto& voice : round)
            seekWaiting = voice->produce() || seekWaiting;
        round.clear();
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, seekWaiting ? kSeekRound : kIdleRound, [this] { return m_stop || m_woken; });
        m_woken = false;
    }
}

}  // namespace tavlo
