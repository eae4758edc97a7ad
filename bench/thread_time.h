#pragma once
// The processor time of the calling thread, for benchmarks that time several readers in turn in
// one iteration: on a shared machine it leaves out the time other processes take.
#include <ctime>

namespace kv::bench {

inline double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace kv::bench
