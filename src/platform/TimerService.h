#pragma once

#include <functional>
#include <memory>

namespace tavlo {

// A window timer: while enabled with a positive interval it calls its handler
// every interval milliseconds. Setting the interval or switching it on starts
// the count again; switching on a timer that is already on changes nothing.
// Ticks run on the UI thread, between other events, never nested.
class Timer {
public:
    virtual ~Timer() = default;

    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;

    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void fire()
    {
        if (m_handler)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

class TimerService {
public:
    virtual ~TimerService() = default;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

}  // namespace tavlo
