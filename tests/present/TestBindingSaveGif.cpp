// Saving the examiner's picture: one dither per frame, the picture the right
// way up, and failures that leave no file behind.
#include <fstream>
#include <iterator>

#include "PresentTestSupport.h"

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class BindingSaveGif : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    m_letters = BuildLetters("Gk");
  }
  void Draw(RendererBinding& binding) {
    binding.SetViewSize(96, 40);
    binding.FitCamera(m_letters.get());
    binding.DrawScene(m_letters.get());
  }
  std::unique_ptr<CText3D> m_letters;
};

TEST_F(BindingSaveGif, SavingTwiceDithersOnceAndWritesTheSamePicture) {
  FakeRastelProbe fake(FakeRastelDir("complete") / "libRastel16.so");
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  const int dithers = fake->ditherCount;
  EXPECT_FALSE(binding.Dithered());
  ASSERT_EQ(binding.SaveGif(m_dir / "a.gif"), SaveGifResult::kSaved);
  EXPECT_TRUE(binding.Dithered());
  ASSERT_EQ(binding.SaveGif(m_dir / "b.gif"), SaveGifResult::kSaved);
  EXPECT_EQ(fake->ditherCount, dithers + 1);
  EXPECT_EQ(ReadFile(m_dir / "a.gif"), ReadFile(m_dir / "b.gif"));
  // A new frame needs a new conversion.
  binding.DrawScene(m_letters.get());
  EXPECT_FALSE(binding.Dithered());
  ASSERT_EQ(binding.SaveGif(m_dir / "c.gif"), SaveGifResult::kSaved);
  EXPECT_EQ(fake->ditherCount, dithers + 2);
}

TEST_F(BindingSaveGif, SixteenBitFrameSurvivesTheSave) {
  // The dither goes to a buffer of its own: a true-colour window painted
  // after a save must still find 5-6-5 pixels.
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  const int count = binding.Width() * binding.Height();
  const std::vector<unsigned short> before(binding.Frame16(), binding.Frame16() + count);
  ASSERT_EQ(binding.SaveGif(m_dir / "a.gif"), SaveGifResult::kSaved);
  ASSERT_NE(binding.Frame16(), nullptr);
  EXPECT_EQ(std::vector<unsigned short>(binding.Frame16(), binding.Frame16() + count), before);
}

TEST_F(BindingSaveGif, PictureIsWrittenTopRowFirstWithTheCubePalette) {
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  const std::uint8_t* frame = binding.Frame8();
  ASSERT_NE(frame, nullptr);
  const int w = binding.Width();
  const int h = binding.Height();
  ASSERT_EQ(binding.SaveGif(m_dir / "a.gif"), SaveGifResult::kSaved);
  int width = 0, height = 0;
  std::vector<RgbColour> colours;
  const auto pixels = DecodeWithGiflib(m_dir / "a.gif", width, height, &colours);
  ASSERT_EQ(width, w);
  ASSERT_EQ(height, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(pixels[static_cast<std::size_t>(y * w + x)], frame[(h - 1 - y) * w + x]) << x << "," << y;
    }
  }
  ASSERT_EQ(colours.size(), 256u);
  const CubePalette cube(16);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(colours[static_cast<std::size_t>(i)].red, cube[i].red) << i;
    EXPECT_EQ(colours[static_cast<std::size_t>(i)].green, cube[i].green) << i;
    EXPECT_EQ(colours[static_cast<std::size_t>(i)].blue, cube[i].blue) << i;
  }
}

TEST_F(BindingSaveGif, EightBitFrameIsSavedAsItIs) {
  RendererBinding binding(Options({FakeRastelDir("eightbit")}));
  Draw(binding);
  ASSERT_EQ(binding.SaveGif(m_dir / "a.gif"), SaveGifResult::kSaved);
  int width = 0, height = 0;
  const auto pixels = DecodeWithGiflib(m_dir / "a.gif", width, height);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[0], NearestColourIndex(0xFFFF00));  // background, top left
}

TEST_F(BindingSaveGif, NothingToSaveWithoutViewOrSize) {
  RendererBinding none(Options({}));
  EXPECT_EQ(none.SaveGif(m_dir / "a.gif"), SaveGifResult::kNothingToSave);
  RendererBinding unsized(Options({FakeRastelDir("complete")}));
  EXPECT_EQ(unsized.SaveGif(m_dir / "a.gif"), SaveGifResult::kNothingToSave);
  EXPECT_FALSE(fs::exists(m_dir / "a.gif"));
  EXPECT_STREQ(SaveGifMessage(SaveGifResult::kNothingToSave), "Nothing to save");
  EXPECT_STREQ(SaveGifCaption(SaveGifResult::kNothingToSave), "Glyphkiln");
}

TEST_F(BindingSaveGif, UncreatableFileIsReportedAndLeavesNothing) {
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  EXPECT_EQ(binding.SaveGif(m_dir / "missing" / "a.gif"), SaveGifResult::kCanNotCreateFile);
  EXPECT_FALSE(fs::exists(m_dir / "missing"));
  fs::create_directory(m_dir / "taken");
  EXPECT_EQ(binding.SaveGif(m_dir / "taken"), SaveGifResult::kCanNotCreateFile);
  EXPECT_TRUE(fs::is_directory(m_dir / "taken"));
  EXPECT_STREQ(SaveGifMessage(SaveGifResult::kCanNotCreateFile), "Can not create file");
  EXPECT_STREQ(SaveGifCaption(SaveGifResult::kCanNotCreateFile), "Error");
  // Only the directories made above remain: no temporary files.
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(m_dir)) entries += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(entries, 0);
}

TEST_F(BindingSaveGif, WriteErrorAfterTheImageDataIsReportedNotFatal) {
  // A device that refuses every write: the stream fails at its final flush.
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  EXPECT_EQ(binding.SaveGif("/dev/full"), SaveGifResult::kCanNotCreateFile);
  // The program goes on: the binding still saves.
  EXPECT_EQ(binding.SaveGif(m_dir / "after.gif"), SaveGifResult::kSaved);
}

TEST_F(BindingSaveGif, FailedSaveKeepsTheOldFile) {
  RendererBinding binding(Options({FakeRastelDir("complete")}));
  Draw(binding);
  const fs::path target = m_dir / "keep.gif";
  std::ofstream(target) << "old picture";
  // A frame too wide for a GIF cannot be built: no file is touched.
  std::vector<std::uint8_t> wide(70000, 10);
  EXPECT_EQ(SaveFrameAsGif(target, wide.data(), 70000, 1, binding.Palette()), SaveGifResult::kCanNotBuildGif);
  EXPECT_EQ(ReadFile(target), "old picture");
  EXPECT_EQ(SaveFrameAsGif(m_dir / "new.gif", wide.data(), 70000, 1, binding.Palette()),
            SaveGifResult::kCanNotBuildGif);
  EXPECT_FALSE(fs::exists(m_dir / "new.gif"));
  EXPECT_STREQ(SaveGifMessage(SaveGifResult::kCanNotBuildGif), "Can not build GIF");
  EXPECT_STREQ(SaveGifCaption(SaveGifResult::kCanNotBuildGif), "Glyphkiln");
  EXPECT_EQ(SaveGifMessage(SaveGifResult::kSaved), nullptr);
}

}  // namespace
