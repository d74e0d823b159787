// Runs the one letter build on a worker thread, so that a long text leaves
// the window answering. One build at a time: a new request cancels the
// running build and starts once it has stopped (the latest request wins).
// A cancelled or superseded build hands nothing over, so the letters shown
// before it stay. No Qt here: the owner says how the worker wakes it (the
// desktop program posts a queued call), and tests drive it without a window.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "GlyphOutline.h"
#include "Text3D.h"
#include "TextSettings.h"

class LetterBuildRunner {
 public:
  struct Request {
    std::string text;
    std::shared_ptr<const CGlyphOutline> outline;
    TextSettings settings;
    std::vector<PieceAttributes> carryOver;
  };

  // What the owner hears, on its own thread, from Deliver.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void StageStarted(BuildStage stage) = 0;
    virtual void Progress(std::size_t done, std::size_t total) = 0;
    // The letters of the latest request; null when its build failed
    // (out of memory), and then the old letters stay.
    virtual void Finished(std::unique_ptr<CText3D> letters) = 0;
  };

  // wake is called on the worker thread whenever Deliver has news; it must
  // only arrange for Deliver to run on the owner's thread.
  explicit LetterBuildRunner(std::function<void()> wake);
  // Cancels whatever runs and waits for the worker to stop.
  ~LetterBuildRunner();
  LetterBuildRunner(const LetterBuildRunner&) = delete;
  LetterBuildRunner& operator=(const LetterBuildRunner&) = delete;

  // Cancels the running build, if any, and queues this one.
  void Start(Request request);
  // Cancels the running or queued build: nothing of it is handed over.
  void Cancel();
  // A build was started and its letters are not yet handed over.
  bool Busy() const;
  // Waits up to limit for the latest request's build to finish; true when
  // it has (its letters then wait for Deliver) or nothing is asked for.
  bool WaitFor(std::chrono::milliseconds limit);
  // On the owner's thread: hands over the news of the latest request since
  // the last call, in order; news of cancelled builds is dropped.
  void Deliver(Listener& listener);

 private:
  struct News {
    unsigned job = 0;
    enum class Kind { Stage, Progress, Finished } kind = Kind::Stage;
    BuildStage stage = BuildStage::Loading;
    std::size_t done = 0;
    std::size_t total = 0;
    std::unique_ptr<CText3D> letters;
  };
  class JobObserver;
  void Work();
  void Post(News news);

  std::function<void()> m_wake;
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::optional<Request> m_next;
  std::shared_ptr<std::atomic<bool>> m_cancelRunning;
  std::vector<News> m_news;
  unsigned m_lastJob = 0;    // the id of the newest request
  unsigned m_wanted = 0;     // the request whose news is handed over, 0 for none
  bool m_finished = false;   // the wanted request's letters are in m_news
  bool m_stop = false;
  std::thread m_worker;
};
