// Independent pieces of work done on several threads, with their results
// taken up one by one in their original order on the calling thread: long
// texts finish their letters on every core while the file is still written
// front to back, exactly as a single thread would write it.
#pragma once

#include <cstddef>
#include <functional>

// Runs make(i) for every i in [0, n) on up to `threads` worker threads and
// take(i) on the calling thread in increasing i, each as soon as make(i) has
// returned. No item is made more than `window` places ahead of the next one
// to be taken, which bounds what the results in waiting hold. make must be
// safe to run for different items at once; take runs on one thread only.
// With threads <= 1, or a single item, everything runs on the calling
// thread. An exception thrown by make(i) or take(i) stops the run: every
// item before i is still taken, none after it, and the exception is
// rethrown once every worker has stopped, as a single thread would have
// gone through the items.
void RunInOrder(std::size_t n, unsigned threads, std::size_t window,
                const std::function<void(std::size_t)>& make,
                const std::function<void(std::size_t)>& take);
