#pragma once

namespace tavlo {

// Marks the current thread as running the audio callback for the lifetime of
// the object. In Debug builds (without sanitizers, which bring their own
// allocator) operator new is replaced and aborts when it is called inside
// such a scope, so an allocation that slips into the callback is caught the
// first time a test runs it. Release builds compile this to nothing.
class RealtimeScope {
public:
    RealtimeScope();
    ~RealtimeScope();
    RealtimeScope(const RealtimeScope&) = delete;
    RealtimeScope& operator=(const RealtimeScope&) = delete;

    static bool active();

private:
    bool m_outer;
};

}  // namespace tavlo
