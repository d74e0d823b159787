// The binding on the real renderer library of this build: the frame it draws
// and the GIF it saves from it.
#include <algorithm>

#include "PresentTestSupport.h"

namespace {

class BindingRealRenderer : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    ASSERT_TRUE(fs::exists(fs::path(GLYPHKILN_BIN_DIR) / "libRastel16.so"))
        << "build the Rastel16 target first";
    m_binding = std::make_unique<RendererBinding>(Options({GLYPHKILN_BIN_DIR}));
    ASSERT_NE(m_binding->View(), nullptr);
    ASSERT_EQ(m_binding->BitsPerPixel(), 16);
  }
  std::unique_ptr<RendererBinding> m_binding;
};

// The letters at one em of `height`, extruded and bevelled in proportion.
std::unique_ptr<CText3D> LettersAtHeight(const std::string& text, double height) {
  std::string error;
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
  EXPECT_NE(font, nullptr) << error;
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  auto letters = std::make_unique<CText3D>(text, outline, 255, height, 0.2 * height);
  letters->FindContours();
  letters->CalculateContours();
  letters->SetLight(0);
  letters->SetBevel(0, height / 30.0);
  letters->BuildMeshes();
  return letters;
}

// The same word from a thousandth of a unit to a million units high gives
// the same picture: no size empties it, clips it or tears its faces.
TEST_F(BindingRealRenderer, EveryHeightShowsTheSameWord) {
  m_binding->SetViewSize(400, 200);
  auto draw = [&](double height, float yaw) {
    auto letters = LettersAtHeight("Glyphkiln", height);
    m_binding->FitCamera(letters.get());
    m_binding->ViewCamera().Rotate(yaw, -0.2f);
    m_binding->DrawScene(letters.get());
    const unsigned short* frame = m_binding->Frame16();
    if (!frame) return std::vector<unsigned short>();
    return std::vector<unsigned short>(frame, frame + m_binding->Width() * m_binding->Height());
  };
  for (float yaw : {0.0f, 0.5f}) {
    const std::vector<unsigned short> atOne = draw(1.0, yaw);
    const auto letterPixels = std::count_if(atOne.begin(), atOne.end(), [](unsigned short p) { return p != 0x07FF; });
    ASSERT_GT(letterPixels, 400 * 200 / 20);
    for (double height : {0.001, 0.01, 1e3, 1e6}) {
      const std::vector<unsigned short> frame = draw(height, yaw);
      ASSERT_EQ(frame.size(), atOne.size());
      long differing = 0;
      for (std::size_t i = 0; i < frame.size(); ++i) differing += frame[i] != atOne[i];
      EXPECT_LE(differing, letterPixels / 50) << "height " << height << " yaw " << yaw;
    }
  }
}

TEST_F(BindingRealRenderer, FittedLettersAreShadedRedOnCyan) {
  auto letters = BuildLetters("Glyphkiln");
  m_binding->SetViewSize(800, 600);
  m_binding->FitCamera(letters.get());
  m_binding->DrawScene(letters.get());
  const unsigned short* frame = m_binding->Frame16();
  ASSERT_NE(frame, nullptr);
  const int w = m_binding->Width();
  const int h = m_binding->Height();
  int letterPixels = 0;
  int leftmost = w, rightmost = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const unsigned short p = frame[y * w + x];
      if (p == 0x07FF) continue;
      const RgbColour c = Expand565(p);
      ++letterPixels;
      leftmost = std::min(leftmost, x);
      rightmost = std::max(rightmost, x);
      // Letter faces are red, shaded; anti-aliased edges mix in the cyan.
      if (c.green < 128) {
        EXPECT_GT(c.red, c.green) << x << "," << y;
      }
    }
  }
  // The word fills most of the width and a fair part of the picture.
  EXPECT_GT(letterPixels, w * h / 20);
  EXPECT_LT(letterPixels, w * h / 2);
  EXPECT_LT(leftmost, w / 8);
  EXPECT_GT(rightmost, w - w / 8);
}

TEST_F(BindingRealRenderer, SavedGifHoldsTheDitheredFrame) {
  auto letters = BuildLetters("Gk");
  m_binding->SetViewSize(200, 100);
  m_binding->FitCamera(letters.get());
  m_binding->ViewCamera().Rotate(0.3f, -0.2f);
  m_binding->DrawScene(letters.get());
  const std::uint8_t* frame = m_binding->Frame8();
  ASSERT_NE(frame, nullptr);
  const int w = m_binding->Width();
  const int h = m_binding->Height();
  const fs::path path = m_dir / "frame.gif";
  ASSERT_EQ(m_binding->SaveGif(path), SaveGifResult::kSaved);

  int width = 0, height = 0;
  const auto pixels = DecodeWithGiflib(path, width, height);
  ASSERT_EQ(width, w);
  ASSERT_EQ(height, h);
  int mismatches = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) mismatches += pixels[y * w + x] != frame[(h - 1 - y) * w + x];
  EXPECT_EQ(mismatches, 0);
  // The dithered cube uses entries 10..224 only.
  for (const std::uint8_t index : pixels) {
    ASSERT_GE(index, 10);
    ASSERT_LE(index, 224);
  }
}

}  // namespace
