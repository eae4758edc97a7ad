#pragma once
#include <cstdint>

namespace kv {

// Milliseconds since an arbitrary fixed moment, from a monotonic clock; wraps at 2^32 like a tick count.
uint32_t GetTickCount();

// Sleeps the calling thread for the given number of milliseconds.
void Sleep(uint32_t milliseconds);

}  // namespace kv
