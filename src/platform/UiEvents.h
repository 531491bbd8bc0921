#pragma once

namespace tavlo {

// Lets the user interface catch up in the middle of a long operation that runs
// on its own thread (a long playlist loading, the list's total being added
// up): repaints, clicks and timer ticks waiting in the queue are handled, then
// the operation goes on. Whatever runs in there may change the window, so the
// caller re-reads what it holds afterwards.
// UI thread only.
class UiEvents {
public:
    virtual ~UiEvents() = default;
    virtual void processPending() = 0;
};

// For runs without an event loop to feed: nothing is waiting.
class NoUiEvents : public UiEvents {
public:
    void processPending() override {}
};

inline UiEvents& noUiEvents()
{
    static NoUiEvents none;
    return none;
}

}  // namespace tavlo
