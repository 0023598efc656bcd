// Work over many independent items spread over the machine's cores.
#pragma once

#include <cstddef>
#include <functional>

// Calls `work(item, thread)` for every item below `count`, on up to 8 threads (the calling one
// among them), each taking the next item not yet taken; `thread` tells the threads apart
// (0 is the caller's). `between` runs on the calling thread after each of its own items, so a
// window can paint meanwhile. When items fail, the first failure by item order is thrown once
// every thread has ended; a failure of `between` hands out no more items and is thrown first.
void onEveryCore(std::size_t count, const std::function<void(std::size_t item, std::size_t thread)>& work,
                 const std::function<void()>& between = {});

// How many threads onEveryCore runs at most.
std::size_t everyCoreThreads();
