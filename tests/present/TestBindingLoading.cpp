// Which renderer library the binding loads and when it has a view.
#include "PresentTestSupport.h"

namespace {

class BindingLoading : public ScratchDirTest {};

TEST_F(BindingLoading, CompleteLibraryGivesASixteenBitView) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  ASSERT_TRUE(fake.Loaded());
  const int created = fake->createCount;
  const int destroyed = fake->destroyCount;
  {
    RendererBinding binding(Options({FakeRastelDir("complete")}));
    EXPECT_EQ(binding.BitsPerPixel(), 16);
    EXPECT_NE(binding.View(), nullptr);
    EXPECT_EQ(fake->createCount, created + 1);
    EXPECT_EQ(binding.Palette().BitsPerPixel(), 16);
  }
  EXPECT_EQ(fake->destroyCount, destroyed + 1);  // the view goes with the binding
}

TEST_F(BindingLoading, SixteenBitLibraryWinsWhateverTheDirectoryOrder) {
  RendererBinding binding(Options({FakeRastelDir("eightbit"), FakeRastelDir("complete")}));
  EXPECT_EQ(binding.BitsPerPixel(), 16);
  EXPECT_NE(binding.View(), nullptr);
}

TEST_F(BindingLoading, EightBitLibraryNeedsNoDither) {
  RendererBinding binding(Options({FakeRastelDir("eightbit")}));
  EXPECT_EQ(binding.BitsPerPixel(), 8);
  EXPECT_NE(binding.View(), nullptr);
  EXPECT_EQ(binding.EntryPoints().dither, nullptr);
  EXPECT_EQ(binding.Palette().BitsPerPixel(), 8);
}

TEST_F(BindingLoading, MissingViewFunctionLeavesNoViewAndNoFallback) {
  // The 16-bit library loads but lacks a function: it is unloaded, and the
  // 8-bit library is not tried in its place.
  RendererBinding binding(Options({FakeRastelDir("missing"), FakeRastelDir("eightbit")}));
  EXPECT_EQ(binding.BitsPerPixel(), 16);
  EXPECT_EQ(binding.View(), nullptr);
  EXPECT_EQ(binding.EntryPoints().createView, nullptr);
}

TEST_F(BindingLoading, WithoutAnyLibraryEverythingIsQuiet) {
  RendererBinding binding(Options({m_dir}));
  EXPECT_EQ(binding.BitsPerPixel(), 0);
  EXPECT_EQ(binding.View(), nullptr);
  auto letters = BuildLetters("Ab");
  binding.SetViewSize(640, 480);
  binding.FitCamera(letters.get());
  binding.DrawScene(letters.get());
  binding.ViewCamera().Rotate(0.3f, 0.1f);
  binding.DrawScene(letters.get());
  EXPECT_EQ(binding.Frame16(), nullptr);
  EXPECT_EQ(binding.Frame8(), nullptr);
  EXPECT_EQ(binding.SaveGif(m_dir / "out.gif"), SaveGifResult::kNothingToSave);
  EXPECT_FALSE(fs::exists(m_dir / "out.gif"));
}

TEST(BindingSearchPath, DefaultLooksBesideTheRunningProgramFirst) {
  const RendererBindingOptions options = RendererBindingOptions::Default();
  ASSERT_FALSE(options.directories.empty());
  EXPECT_EQ(fs::canonical(options.directories.front()), fs::canonical(GLYPHKILN_BIN_DIR));
  EXPECT_TRUE(options.useSystemSearchPath);
}

}  // namespace
