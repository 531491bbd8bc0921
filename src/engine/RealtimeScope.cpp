#include "engine/RealtimeScope.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace tavlo {

namespace {
thread_local bool t_realtime = false;
}

RealtimeScope::RealtimeScope() : m_outer(t_realtime) { t_realtime = true; }
RealtimeScope::~RealtimeScope() { t_realtime = m_outer; }
bool RealtimeScope::active() { return t_realtime; }

}  // namespace tavlo

#if !defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

namespace {

[[noreturn]] void trapRealtimeAllocation()
{
    std::fputs("tavlo: memory allocated on the audio thread\n", stderr);
    std::abort();
}

void* allocate(std::size_t size)
{
    if (tavlo::RealtimeScope::active())
        trapRealtimeAllocation();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

}  // namespace

// Replaced only in Debug builds; operator delete stays the library's (free).
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }

#endif
