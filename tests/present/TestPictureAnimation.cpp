// File pictures on the real renderer: the turntable's progress and
// cancelling (as the desktop export drives it), and the fitted distance.
#include "PictureAnimation.h"
#include "PresentTestSupport.h"

namespace {

class PictureAnimationTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    m_binding = std::make_unique<RendererBinding>(Options({GLYPHKILN_BIN_DIR}));
    ASSERT_NE(m_binding->View(), nullptr);
    m_letters = BuildLetters("Gk");
  }
  std::unique_ptr<RendererBinding> m_binding;
  std::unique_ptr<CText3D> m_letters;
};

}  // namespace

TEST_F(PictureAnimationTest, TurntableReportsEachFrameAndStopsWhenCancelled) {
  PictureSettings settings;
  settings.width = 160;
  settings.height = 120;
  for (const bool cube : {false, true}) {
    TurntableOptions options;
    options.frames = 6;
    options.cubePalette = cube;
    std::vector<int> heard;
    GifAnimation animation;
    const auto result = BuildTurntable(*m_binding, *m_letters, settings, options, animation, [&](int done, int total) {
      EXPECT_EQ(total, 6);
      heard.push_back(done);
      return true;
    });
    ASSERT_EQ(result, TurntableResult::kBuilt);
    EXPECT_EQ(heard, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(animation.frames.size(), 6u);
    EXPECT_EQ(animation.width, 160);
    EXPECT_LE(animation.colourCount, cube ? 256 : 255);

    int drawn = 0;
    EXPECT_EQ(BuildTurntable(*m_binding, *m_letters, settings, options, animation,
                             [&](int, int) { return ++drawn < 2; }),
              TurntableResult::kCancelled);
    EXPECT_EQ(drawn, 2);
  }
}

TEST_F(PictureAnimationTest, FittedDistanceGrowsWithTheMarginAndTheTurns) {
  m_binding->FitCamera(m_letters.get());
  const CameraFrame straight = m_binding->ViewCamera().Frame();
  m_binding->ViewCamera().Rotate(0.7f, 0.0f);
  const CameraFrame turned = m_binding->ViewCamera().Frame();
  const Vec3 c = m_binding->ViewCamera().Centre();
  const float centre[3] = {c.x, c.y, c.z};
  const double focal = 480 / 0.75;
  const double bare = FitDistance(*m_letters, centre, {straight}, 640, 480, focal, 0);
  const double margin = FitDistance(*m_letters, centre, {straight}, 640, 480, focal, 24);
  const double both = FitDistance(*m_letters, centre, {straight, turned}, 640, 480, focal, 24);
  EXPECT_GT(bare, 0);
  EXPECT_GT(margin, bare);
  EXPECT_GE(both, margin);
  EXPECT_GE(both, FitDistance(*m_letters, centre, {turned}, 640, 480, focal, 24));
  // A wide picture of a wide word is limited by the height only when the
  // word is short: "Gk" fits a tall picture's width at a larger distance.
  EXPECT_GT(FitDistance(*m_letters, centre, {straight}, 120, 480, focal, 0), bare);
  CText3D empty("", CGlyphOutline{}, 255, 1.0, 0.2);
  EXPECT_EQ(FitDistance(empty, centre, {straight}, 640, 480, focal, 0), 0.0);
}
