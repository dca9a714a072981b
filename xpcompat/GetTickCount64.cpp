// The threads library imports GetTickCount64, which Windows XP and 2000 lack:
// a program that imports it does not start there. This object defines the
// import's own pointer, so the linker takes it instead of kernel32's entry.
// It calls the system's function where there is one (Vista and later), else
// extends GetTickCount past its wrap.
#include "xpcompat/TickCount.h"

#include <windows.h>

#include <atomic>

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

std::atomic_flag busy = ATOMIC_FLAG_INIT;
uint64_t lastTicks = 0;

// Readings of the 32-bit counter are taken one at a time, so they come in order.
ULONGLONG WINAPI ExtendedTickCount() {
    while (busy.test_and_set(std::memory_order_acquire)) Sleep(0);
    lastTicks = corvane::xpcompat::ExtendTickCount(lastTicks, GetTickCount());
    uint64_t ticks = lastTicks;
    busy.clear(std::memory_order_release);
    return ticks;
}

// Only the 32-bit build answers the import (the 64-bit test build runs where
// the system has the function).
#ifdef __i386__
// The system's GetTickCount64, or the fallback where there is none. Looked up
// once; two threads that race here find the same answer.
std::atomic<TickCount64Fn> chosen{nullptr};

TickCount64Fn ChooseTickCount64() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "GetTickCount64") : nullptr;
    return found ? reinterpret_cast<TickCount64Fn>(reinterpret_cast<void*>(found)) : ExtendedTickCount;
}

ULONGLONG WINAPI TickCount64() {
    TickCount64Fn function = chosen.load(std::memory_order_acquire);
    if (!function) {
        function = ChooseTickCount64();
        chosen.store(function, std::memory_order_release);
    }
    return function();
}
#endif

}  // namespace

namespace corvane::xpcompat {
// The fallback on its own, for tests on systems that have the real function.
uint64_t FallbackTickCount64() { return ExtendedTickCount(); }
}  // namespace corvane::xpcompat

// The name the threads library's calls go through (__declspec(dllimport) of a
// __stdcall function without arguments on x86).
#ifdef __i386__
extern "C" {
__attribute__((used))
ULONGLONG(WINAPI* corvane_GetTickCount64_import)() __asm__("__imp__GetTickCount64@0") = TickCount64;
}
#endif
