// Letters built on the worker thread: the latest request wins and a
// cancelled build never hands its letters over.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "Font.h"
#include "LetterBuildRunner.h"
#include "Text3D.h"

namespace {

struct Heard : LetterBuildRunner::Listener {
  void StageStarted(BuildStage stage) override { stages.push_back(stage); }
  void Progress(std::size_t done, std::size_t total) override {
    if (!progress.empty()) {
      EXPECT_GT(done, progress.back()) << "progress only grows";
    }
    EXPECT_LE(done, total);
    progress.push_back(done);
  }
  void Finished(std::unique_ptr<CText3D> letters) override { finished.push_back(std::move(letters)); }
  std::vector<BuildStage> stages;
  std::vector<std::size_t> progress;
  std::vector<std::unique_ptr<CText3D>> finished;
};

LetterBuildRunner::Request RequestFor(const std::string& text, const Font& font) {
  auto outline = std::make_shared<CGlyphOutline>();
  ExtractGlyphOutlines(*outline, text, font);
  return {text, outline, TextSettings{}, {}};
}

std::string LongText() {
  std::string text;
  while (text.size() < 1500) text += "Quartz glyph kiln ";
  return text;
}

}  // namespace

TEST(BackgroundBuild, OnlyTheLatestRequestIsHandedOver) {
  const std::unique_ptr<Font> font = Font::OpenFile(GLYPHKILN_DEJAVU_SANS);
  ASSERT_NE(font, nullptr);
  std::atomic<int> wakes = 0;
  LetterBuildRunner runner([&wakes] { ++wakes; });
  // Each case: the requests in order, then whether the last one is
  // cancelled before anything is handed over.
  struct Case {
    std::vector<std::string> texts;
    bool cancelLast;
  };
  const Case cases[] = {{{"ab"}, false},
                        {{LongText(), "Kiln"}, false},
                        {{LongText(), LongText() + "x", "Zarn"}, false},
                        {{LongText()}, true},
                        {{"Kiln", LongText()}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texts.back().substr(0, 10));
    for (const std::string& text : c.texts) runner.Start(RequestFor(text, *font));
    EXPECT_TRUE(runner.Busy());
    if (c.cancelLast) runner.Cancel();
    ASSERT_TRUE(runner.WaitFor(std::chrono::minutes(5)));
    Heard heard;
    runner.Deliver(heard);
    EXPECT_FALSE(runner.Busy());
    if (c.cancelLast) {
      EXPECT_TRUE(heard.finished.empty());
      EXPECT_TRUE(heard.stages.empty());
      // Whatever the cancelled build still does never surfaces: the next
      // request is the only one heard.
      runner.Start(RequestFor("ok", *font));
      ASSERT_TRUE(runner.WaitFor(std::chrono::minutes(5)));
      runner.Deliver(heard);
      ASSERT_EQ(heard.finished.size(), 1u);
      EXPECT_EQ(heard.finished[0]->text, "ok");
      continue;
    }
    ASSERT_EQ(heard.finished.size(), 1u);
    ASSERT_NE(heard.finished[0], nullptr);
    EXPECT_EQ(heard.finished[0]->text, c.texts.back());
    ASSERT_FALSE(heard.stages.empty());
    EXPECT_EQ(heard.stages.front(), BuildStage::Loading);
    EXPECT_EQ(heard.stages.back(), BuildStage::Finished);
    EXPECT_GT(wakes.load(), 0);
  }
}
