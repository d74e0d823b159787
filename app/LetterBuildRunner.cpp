// The letter build on its worker thread.
#include "LetterBuildRunner.h"

#include <exception>
#include <utility>

// Passes the build's stages and progress on as news of one job, the
// progress only when its percentage changes (a long text has thousands of
// letters and every piece of news may wake the owner).
class LetterBuildRunner::JobObserver : public BuildObserver {
 public:
  JobObserver(LetterBuildRunner& runner, unsigned job) : m_runner(runner), m_job(job) {}
  void StageStarted(BuildStage stage) override {
    News news;
    news.job = m_job;
    news.kind = News::Kind::Stage;
    news.stage = stage;
    // Finished is said together with the letters, after them being ready.
    if (stage != BuildStage::Finished) m_runner.Post(std::move(news));
  }
  void LettersDone(std::size_t done, std::size_t total) override {
    const std::size_t percent = total ? done * 100 / total : 100;
    if (percent == m_percent) return;
    m_percent = percent;
    News news;
    news.job = m_job;
    news.kind = News::Kind::Progress;
    news.done = done;
    news.total = total;
    m_runner.Post(std::move(news));
  }

 private:
  LetterBuildRunner& m_runner;
  unsigned m_job;
  std::size_t m_percent = static_cast<std::size_t>(-1);
};

LetterBuildRunner::LetterBuildRunner(std::function<void()> wake)
    : m_wake(std::move(wake)), m_worker([this] { Work(); }) {}

LetterBuildRunner::~LetterBuildRunner() {
  {
    const std::lock_guard lock(m_mutex);
    m_stop = true;
    m_next.reset();
    if (m_cancelRunning) m_cancelRunning->store(true);
  }
  m_changed.notify_all();
  m_worker.join();
}

void LetterBuildRunner::Start(Request request) {
  {
    const std::lock_guard lock(m_mutex);
    if (m_cancelRunning) m_cancelRunning->store(true);
    m_next = std::move(request);
    m_wanted = ++m_lastJob;
    m_finished = false;
    std::erase_if(m_news, [this](const News& news) { return news.job != m_wanted; });
  }
  m_changed.notify_all();
}

void LetterBuildRunner::Cancel() {
  const std::lock_guard lock(m_mutex);
  if (m_cancelRunning) m_cancelRunning->store(true);
  m_next.reset();
  m_wanted = 0;
  m_finished = false;
  m_news.clear();
}

bool LetterBuildRunner::Busy() const {
  const std::lock_guard lock(m_mutex);
  return m_wanted != 0;
}

bool LetterBuildRunner::WaitFor(std::chrono::milliseconds limit) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, limit, [this] { return m_wanted == 0 || m_finished; });
}

void LetterBuildRunner::Post(News news) {
  bool wake = false;
  {
    const std::lock_guard lock(m_mutex);
    if (news.job != m_wanted) return;
    wake = m_news.empty();
    if (news.kind == News::Kind::Finished) m_finished = true;
    m_news.push_back(std::move(news));
  }
  m_changed.notify_all();
  if (wake && m_wake) m_wake();
}

void LetterBuildRunner::Deliver(Listener& listener) {
  std::vector<News> news;
  {
    const std::lock_guard lock(m_mutex);
    news.swap(m_news);
  }
  for (News& item : news) {
    // The listener may start a new build or cancel while it hears the news;
    // what follows for the old request is then no longer wanted.
    {
      const std::lock_guard lock(m_mutex);
      if (item.job != m_wanted) continue;
      if (item.kind == News::Kind::Finished) {
        m_wanted = 0;
        m_finished = false;
      }
    }
    switch (item.kind) {
      case News::Kind::Stage: listener.StageStarted(item.stage); break;
      case News::Kind::Progress: listener.Progress(item.done, item.total); break;
      case News::Kind::Finished:
        listener.Finished(std::move(item.letters));
        listener.StageStarted(BuildStage::Finished);
        break;
    }
  }
}

void LetterBuildRunner::Work() {
  for (;;) {
    Request request;
    unsigned job = 0;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    {
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [this] { return m_stop || m_next.has_value(); });
      if (m_stop) return;
      request = std::move(*m_next);
      m_next.reset();
      job = m_lastJob;
      m_cancelRunning = cancel;
    }
    JobObserver observer(*this, job);
    BuildOptions options;
    options.observer = &observer;
    options.carryOver = &request.carryOver;
    options.cancel = cancel.get();
    std::unique_ptr<CText3D> letters;
    try {
      letters = BuildText3D(request.text, *request.outline, request.settings, options);
    } catch (const std::exception&) {
      letters.reset();  // out of memory on a huge text: the old letters stay
    }
    {
      const std::lock_guard lock(m_mutex);
      m_cancelRunning.reset();
    }
    // Null when cancelled (then no longer wanted, and dropped) or failed.
    News news;
    news.job = job;
    news.kind = News::Kind::Finished;
    news.letters = std::move(letters);
    Post(std::move(news));
    m_changed.notify_all();
  }
}
