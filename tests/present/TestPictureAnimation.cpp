// File pictures on the real renderer: the turntable's progress and
// cancelling (as the desktop export drives it), and the fitted distance.
#include "PictureAnimation.h"
#include "PictureFiles.h"
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

// Whole picture files: every step is heard, in order, up to a full bar only
// when the file is ready; a cancel at any step gives no bytes.
TEST_F(PictureAnimationTest, PictureFilesReportEveryStepAndCancelAtAny) {
  struct Case {
    PictureFileKind kind;
    int antialias;
    const char* signature;
    int steps;
  };
  for (const Case& c : {Case{PictureFileKind::kPng, 3, "\x89PNG", 9}, Case{PictureFileKind::kGif, 1, "GIF8", 1},
                        Case{PictureFileKind::kTurntable, 2, "GIF89a", 5}}) {
    SCOPED_TRACE(c.signature);
    PictureFileRequest request;
    request.kind = c.kind;
    request.settings.width = 96;
    request.settings.height = 64;
    request.settings.antialias = c.antialias;
    request.turntable.frames = 4;
    std::vector<std::uint8_t> bytes;
    std::vector<int> heard;
    ASSERT_EQ(EncodePictureFile(*m_binding, *m_letters, request, bytes,
                                [&](int done, int total) {
                                  EXPECT_EQ(total, c.steps);
                                  heard.push_back(done);
                                  return true;
                                }),
              PictureFileResult::kEncoded);
    std::vector<int> expected(static_cast<std::size_t>(c.steps));
    for (int i = 0; i < c.steps; ++i) expected[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), std::string(c.signature, 4));
    for (int stop = 1; stop <= c.steps; ++stop) {
      EXPECT_EQ(EncodePictureFile(*m_binding, *m_letters, request, bytes, [&](int done, int) { return done < stop; }),
                PictureFileResult::kCancelled)
          << "cancelled at step " << stop;
      EXPECT_TRUE(bytes.empty());
    }
  }
}
