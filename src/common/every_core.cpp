#include "common/every_core.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

std::size_t everyCoreThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

void onEveryCore(std::size_t count, const std::function<void(std::size_t, std::size_t)>& work,
                 const std::function<void()>& between) {
    std::vector<std::exception_ptr> failures(count);
    std::exception_ptr betweenFailed;  // ends the handing out; the threads still end first
    std::atomic<std::size_t> next{0};
    auto run = [&](std::size_t thread) {
        for (std::size_t i; (i = next++) < count;) {
            try {
                work(i, thread);
            } catch (...) {
                failures[i] = std::current_exception();
            }
            if (thread != 0 || !between) continue;
            try {
                between();
            } catch (...) {
                betweenFailed = std::current_exception();
                next = count;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(everyCoreThreads(), count); ++t) helpers.emplace_back(run, t);
    run(0);
    for (std::thread& helper : helpers) helper.join();
    if (betweenFailed) std::rethrow_exception(betweenFailed);
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}
