// Runs an operation for a test on a thread of its own, with a bound: a run
// that does not end in time fails the test program at once with a message,
// rather than hang until the test runner's time-out.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

namespace corvane::testing {

inline void RunWithin(double seconds, const std::function<void()>& work) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    if (done.wait_for(std::chrono::duration<double>(seconds)) != std::future_status::ready) {
        std::fprintf(stderr, "FAILED: the operation did not end within %.0f s\n", seconds);
        std::fflush(stderr);
        std::_Exit(3);
    }
    runner.join();
    done.get();
}

}  // namespace corvane::testing
