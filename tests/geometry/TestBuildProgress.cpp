// The letter build's progress and cancel hooks: progress counts every letter
// of every pass once, up to one total; a cancel heard between letters stops
// the build with no letters; listening changes nothing in the letters.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "GeometryFixtures.h"

namespace {

// Letters of a square with a square hole, side by side.
CGlyphOutline SquaresWithHoles(int letters) {
  StreamBuilder stream;
  for (int n = 0; n < letters; ++n) {
    const double x = n * 1200.0;
    stream.Contour(Rect(x, 0, x + 1000, 1000));
    stream.Contour(Rect(x + 300, 300, x + 700, 700, false));
    stream.EndCharacter();
  }
  return stream.outline;
}

// Records what it hears and sets the cancel flag once cancelAt letters are done.
class Recorder : public BuildObserver {
 public:
  explicit Recorder(std::size_t cancelAt, std::atomic<bool>& cancel) : m_cancelAt(cancelAt), m_cancel(cancel) {}
  void StageStarted(BuildStage stage) override { stages.push_back(stage); }
  void LettersDone(std::size_t done, std::size_t total) override {
    progress.push_back(done);
    totals.push_back(total);
    if (done >= m_cancelAt) m_cancel = true;
  }
  std::vector<BuildStage> stages;
  std::vector<std::size_t> progress;
  std::vector<std::size_t> totals;

 private:
  std::size_t m_cancelAt;
  std::atomic<bool>& m_cancel;
};

}  // namespace

TEST(BuildProgress, CountsEveryLetterOfEveryPassAndCancelsBetweenLetters) {
  constexpr std::size_t kNever = static_cast<std::size_t>(-1);
  struct Case {
    int letters;
    bool contoursOnly;
    std::size_t cancelAt;  // letters done when the cancel comes; kNever for none
  };
  const Case cases[] = {{5, false, kNever}, {5, true, kNever}, {1, false, kNever}, {5, false, 1},
                        {5, false, 7},      {5, false, 19},    {5, true, 9},        {3, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.letters << " letters, contours only " << c.contoursOnly
                                    << ", cancel at " << c.cancelAt);
    const CGlyphOutline outline = SquaresWithHoles(c.letters);
    const std::string text(static_cast<std::size_t>(c.letters), 'o');
    std::atomic<bool> cancel = c.cancelAt == 0;
    Recorder recorder(c.cancelAt, cancel);
    BuildOptions options;
    options.observer = &recorder;
    options.cancel = &cancel;
    options.contoursOnly = c.contoursOnly;
    const auto built = BuildText3D(text, outline, TextSettings{}, options);

    const std::size_t total = static_cast<std::size_t>(c.letters) * (c.contoursOnly ? 2 : 4);
    for (std::size_t i = 0; i < recorder.progress.size(); ++i) {
      EXPECT_EQ(recorder.progress[i], i + 1) << "one step per letter, none skipped";
      EXPECT_EQ(recorder.totals[i], total);
    }
    if (c.cancelAt >= total) {
      ASSERT_NE(built, nullptr);
      EXPECT_EQ(recorder.progress.size(), total);
      ASSERT_FALSE(recorder.stages.empty());
      EXPECT_EQ(recorder.stages.back(), BuildStage::Finished);
      // Listening changes nothing: the same letters as a build nobody watches.
      BuildOptions quiet;
      quiet.contoursOnly = c.contoursOnly;
      const auto plain = BuildText3D(text, outline, TextSettings{}, quiet);
      ASSERT_EQ(plain->letters.size(), built->letters.size());
      for (std::size_t l = 0; l < built->letters.size(); ++l) {
        const auto& a = built->letters[l].pieces;
        const auto& b = plain->letters[l].pieces;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t p = 0; p < a.size(); ++p) {
          EXPECT_EQ(a[p]->mergedOutline, b[p]->mergedOutline);
          EXPECT_EQ(a[p]->vertices.size(), b[p]->vertices.size());
          EXPECT_EQ(a[p]->frontFace, b[p]->frontFace);
        }
      }
    } else {
      EXPECT_EQ(built, nullptr) << "a cancelled build hands over no letters";
      EXPECT_EQ(recorder.progress.size(), c.cancelAt) << "no letter after the cancel";
      EXPECT_TRUE(recorder.stages.empty() || recorder.stages.back() != BuildStage::Finished);
    }
  }
}
