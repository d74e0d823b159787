// Letters built on the worker thread: the latest request wins, a cancelled
// build never replaces the letters shown, and the window shows a long
// build's progress and takes Escape to cancel it.
#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <atomic>

#include "AppTestSupport.h"
#include "ExtractGlyphOutlines.h"
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

TEST(BackgroundBuild, EscapeCancelsAndTheShownLettersStay) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->SetInPlaceWait(std::chrono::milliseconds(0));
  auto* progress = app.frame->statusBar()->findChild<QProgressBar*>("buildProgress");
  ASSERT_NE(progress, nullptr);
  const CText3D* shown = view->CurrentText();
  const std::string text = view->Text();

  view->SetText(LongText());
  EXPECT_TRUE(view->Building());
  EXPECT_FALSE(progress->isHidden()) << "a build that does not end at once shows its progress";
  EXPECT_EQ(view->CurrentText(), shown);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(view, &escape);
  EXPECT_FALSE(view->Building());
  EXPECT_TRUE(progress->isHidden());
  EXPECT_EQ(app.frame->MessageText(), "Ready");
  view->FinishBuild();
  QApplication::processEvents();
  EXPECT_EQ(view->CurrentText(), shown) << "the old letters stay";
  EXPECT_EQ(view->Text(), text);
}

TEST(BackgroundBuild, EditsDuringABuildStartItAgainWithTheLatestSettings) {
  ProfileScope profile;
  AppWindow app;
  CZarnView* view = app.View();
  view->SetInPlaceWait(std::chrono::milliseconds(0));
  view->SetText(LongText());
  view->SetText("Kiln");
  view->ApplyColour(0x00FF00);
  const FontDescription bold = DescriptionFor("DejaVu Sans", "Bold");
  view->SetFont(bold);
  EXPECT_TRUE(view->Building());
  view->FinishBuild();
  EXPECT_FALSE(view->Building());
  EXPECT_EQ(view->Text(), "Kiln");
  EXPECT_EQ(view->FontSetting().faceName, bold.faceName);
  EXPECT_EQ(view->FontSetting().style, bold.style);
  EXPECT_EQ(view->FontSetting().weight, bold.weight);
  ASSERT_EQ(view->CurrentText()->text, "Kiln");
  int pieces = 0;
  for (; const CLetterPiece* piece = view->CurrentText()->PieceAt(pieces); ++pieces) {
    EXPECT_EQ(piece->colour, 0x00FF00);
  }
  EXPECT_GT(pieces, 0);
  // The examiner draws the new letters, the layout view has their rectangles.
  EXPECT_EQ(static_cast<int>(view->PieceRects().size()), pieces);
}
