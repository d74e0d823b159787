// The renderer view's size: clamped by the binding, rounded by the library,
// and never read past while it changes.
#include "PresentTestSupport.h"

namespace {

class BindingViewSize : public ScratchDirTest {};

TEST_F(BindingViewSize, SizesAreClampedToTheRendererLimits) {
  RendererBinding binding(Options({}));
  struct Case {
    int w, h, width, height;
  };
  for (const Case c : {Case{1024, 768, 800, 600}, Case{800, 600, 800, 600}, Case{801, 601, 800, 600},
                       Case{3, 100, 0, 100}, Case{4, 4, 4, 4}, Case{100, 3, 100, 0}, Case{0, 0, 0, 0},
                       Case{-5, -5, 0, 0}, Case{640, 480, 640, 480}}) {
    binding.SetViewSize(c.w, c.h);
    EXPECT_EQ(binding.Width(), c.width) << c.w << "x" << c.h;
    EXPECT_EQ(binding.Height(), c.height) << c.w << "x" << c.h;
  }
}

TEST_F(BindingViewSize, NothingIsDrawnWithoutASize) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto letters = BuildLetters("a");
  binding.FitCamera(letters.get());
  const int frames = fake->startCount;
  binding.DrawScene(letters.get());  // never sized
  binding.SetViewSize(3, 100);
  binding.DrawScene(letters.get());
  binding.SetViewSize(100, 3);
  binding.DrawScene(letters.get());
  EXPECT_EQ(fake->startCount, frames);
  binding.SetViewSize(100, 100);
  binding.DrawScene(nullptr);
  EXPECT_EQ(fake->startCount, frames);
  binding.DrawScene(letters.get());
  EXPECT_EQ(fake->startCount, frames + 1);
}

TEST_F(BindingViewSize, TheLibrarysRoundedSizeIsKept) {
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto letters = BuildLetters("a");
  binding.FitCamera(letters.get());
  binding.SetViewSize(637, 480);
  binding.DrawScene(letters.get());
  EXPECT_EQ(binding.Width(), 632);  // the stand-in rounds down to a multiple of 8
  EXPECT_EQ(binding.Height(), 480);
  EXPECT_NE(binding.Frame16(), nullptr);
}

TEST_F(BindingViewSize, FrameIsNotHandedOutForASizeItWasNotDrawnAt) {
  // After a resize without a new frame the library's buffer is still the old,
  // smaller one; reading the new size from it would run past its end.
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  auto letters = BuildLetters("a");
  binding.FitCamera(letters.get());
  binding.SetViewSize(160, 120);
  binding.DrawScene(letters.get());
  ASSERT_NE(binding.Frame16(), nullptr);
  binding.SetViewSize(800, 600);
  EXPECT_EQ(binding.Frame16(), nullptr);
  EXPECT_EQ(binding.Frame8(), nullptr);
  EXPECT_EQ(binding.SaveGif(m_dir / "late.gif"), SaveGifResult::kNothingToSave);
  binding.DrawScene(letters.get());
  EXPECT_NE(binding.Frame16(), nullptr);
}

}  // namespace
