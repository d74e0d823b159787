#include "RunInOrder.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class OrderedRun {
 public:
  OrderedRun(std::size_t n, std::size_t window, const std::function<void(std::size_t)>& make)
      : m_n(n), m_window(std::max<std::size_t>(window, 1)), m_make(make), m_done(n, 0) {}

  // A worker: claims the next item while it lies within the window, makes
  // it and marks it done, until every item is claimed or the run stops.
  void Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      ++m_waitingWorkers;
      m_room.wait(lock, [this] { return m_stop || m_next >= m_n || m_next < m_taken + m_window; });
      --m_waitingWorkers;
      if (m_stop || m_next >= m_n) return;
      if (!MakeOne(lock, m_next++)) return;
    }
  }

  // The calling thread: takes each item in turn. While the next one is not
  // made yet it makes an unclaimed one itself rather than sleep, so that
  // it is one of the threads the run has. Every item before a failed one
  // is still taken: it was claimed before the failed one, so it is made.
  void Take(const std::function<void(std::size_t)>& take) {
    for (std::size_t i = 0; i < m_n; ++i) {
      {
        std::unique_lock lock(m_mutex);
        while (m_done[i] == 0 && i < m_failedAt) {
          if (m_stop || m_next >= m_n || m_next >= m_taken + m_window) {
            m_made.wait(lock, [this, i] { return m_done[i] != 0 || i >= m_failedAt; });
            continue;
          }
          MakeOne(lock, m_next++);
        }
        if (i >= m_failedAt) return;
      }
      try {
        take(i);
      } catch (...) {
        std::lock_guard lock(m_mutex);
        Fail(i, std::current_exception());
        return;
      }
      std::lock_guard lock(m_mutex);
      m_taken = i + 1;
      // Waiting workers are woken once half the window is free again, not
      // for every item: a wake-up per item costs more than a short letter.
      if (m_waitingWorkers > 0 && (m_taken - m_roomAt >= (m_window + 1) / 2 || m_taken == m_n)) {
        m_roomAt = m_taken;
        m_room.notify_all();
      }
    }
  }

  void Stop() {
    std::lock_guard lock(m_mutex);
    m_stop = true;
    m_room.notify_all();
  }

  void RethrowFailure() const {
    if (m_failure) std::rethrow_exception(m_failure);
  }

 private:
  // Makes item i with the mutex released and marks it done; false when
  // make threw, and the run then stops.
  bool MakeOne(std::unique_lock<std::mutex>& lock, std::size_t i) {
    lock.unlock();
    try {
      m_make(i);
    } catch (...) {
      lock.lock();
      Fail(i, std::current_exception());
      return false;
    }
    lock.lock();
    m_done[i] = 1;
    // Only the item the caller waits for wakes it.
    if (i == m_taken) m_made.notify_one();
    return true;
  }

  // Called with the mutex held; keeps the failure of the earliest item,
  // the one a single thread would have met first.
  void Fail(std::size_t i, std::exception_ptr failure) {
    if (i < m_failedAt) {
      m_failedAt = i;
      m_failure = std::move(failure);
    }
    m_stop = true;
    m_room.notify_all();
    m_made.notify_one();
  }

  const std::size_t m_n;
  const std::size_t m_window;
  const std::function<void(std::size_t)>& m_make;
  std::mutex m_mutex;
  std::condition_variable m_made;  // the caller waits for the next item
  std::condition_variable m_room;  // workers wait for the window to move
  int m_waitingWorkers = 0;
  std::vector<char> m_done;  // per item: made
  std::size_t m_next = 0;    // the next item to claim
  std::size_t m_taken = 0;   // items taken so far
  std::size_t m_roomAt = 0;  // m_taken when waiting workers were last woken
  bool m_stop = false;          // no more items are claimed
  std::size_t m_failedAt = SIZE_MAX;  // the earliest item whose make or take threw
  std::exception_ptr m_failure;
};

}  // namespace

void RunInOrder(std::size_t n, unsigned threads, std::size_t window,
                const std::function<void(std::size_t)>& make,
                const std::function<void(std::size_t)>& take) {
  if (threads <= 1 || n <= 1) {
    for (std::size_t i = 0; i < n; ++i) {
      make(i);
      take(i);
    }
    return;
  }
  OrderedRun run(n, window, make);
  std::vector<std::thread> workers;
  // The calling thread makes items too, between the ones it takes.
  const std::size_t count = std::min<std::size_t>(threads - 1, n);
  workers.reserve(count);
  try {
    for (std::size_t t = 0; t < count; ++t) workers.emplace_back([&run] { run.Work(); });
    run.Take(take);
  } catch (...) {
    // A thread that could not be started: the ones running are stopped.
    run.Stop();
    for (std::thread& worker : workers) worker.join();
    throw;
  }
  run.Stop();
  for (std::thread& worker : workers) worker.join();
  run.RethrowFailure();
}
