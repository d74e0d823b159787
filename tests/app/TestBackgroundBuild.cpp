// Letters built on the worker thread: the latest request wins and a
// cancelled build never hands its letters over.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QTest>

#include "AppTestSupport.h"
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

// The layout view with no in-place wait: every build runs on the worker
// and the window keeps the letters it shows until one is handed over.
TEST(BackgroundBuild, LayoutViewKeepsItsLettersUntilTheLatestBuildEnds) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->SetInPlaceWait(std::chrono::milliseconds(0));
  std::vector<int> progress;
  QObject::connect(view, &CZarnView::BuildProgress, [&progress](int percent) { progress.push_back(percent); });
  const std::string text = LongText();
  const std::u32string longText(text.begin(), text.end());

  // Escape cancels: the letters, their text and the text asked for are the old ones.
  const CText3D* before = view->CurrentText();
  view->SetCharacters(longText);
  EXPECT_TRUE(view->Building());
  EXPECT_EQ(view->Characters(), longText);
  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_FALSE(view->Building());
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 300) QApplication::processEvents();
  EXPECT_EQ(view->CurrentText(), before);
  EXPECT_EQ(view->Characters(), U"Glyphkiln");
  ASSERT_GE(progress.size(), 2u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), -1);

  // The latest text wins, with an edit made while it was being built.
  progress.clear();
  view->SetCharacters(longText);
  view->SetCharacters(U"Kiln");
  view->ApplyColour(0x0000FF);
  EXPECT_EQ(view->CurrentText(), before);
  view->FinishBuild();
  ASSERT_NE(view->CurrentText(), before);
  EXPECT_EQ(view->Text(), "Kiln");
  EXPECT_EQ(view->CurrentText()->text, "Kiln");
  for (const CLetter& letter : view->CurrentText()->letters) {
    for (const auto& piece : letter.pieces) EXPECT_EQ(piece->colour, 0x0000FF);
  }
  EXPECT_EQ(progress.back(), -1);

  // The event loop alone hands a build over.
  view->SetCharacters(U"Zarn");
  waited.restart();
  while (view->Building() && waited.elapsed() < 60000) QApplication::processEvents();
  EXPECT_EQ(view->Text(), "Zarn");
}
