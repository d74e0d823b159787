// The renderer draws the common face (one outline, opaque, one colour) a
// quicker way than the rest; these invariants hold it to the general way
// over many random scenes. A stipple pattern that keeps every pixel sends a
// face the general way without changing what it covers, so a scene drawn
// with and without it gives the same picture, and a face drawn once each
// way gets the same depths both times (the second, at equal depth, shows
// nowhere). And a frame does not depend on what the same view drew before.
#include <cmath>
#include <random>

#include "RastelFixture.h"

namespace {

struct SceneFace {
  std::vector<Point3> points;
  std::uint16_t colour;
};

const unsigned char kKeepAll[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

class DrawingPaths : public RastelTest {
 protected:
  // Star-shaped outlines of 3 to 9 points about random centres, some past
  // the view's edges or reaching in front of the front plane, at random
  // depths and tilts: convex and not, thin and wide, overlapping.
  std::vector<SceneFace> Scene(std::uint32_t seed, int count = 40, int mostPoints = 9) const {
    std::mt19937 rng(seed);
    auto uniform = [&rng](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    std::vector<SceneFace> faces(count);
    for (SceneFace& face : faces) {
      const int n = std::uniform_int_distribution<int>(3, mostPoints)(rng);
      const float cx = uniform(-10, width + 10.0f), cy = uniform(-10, height + 10.0f);
      const float rx = uniform(0.5f, 40), ry = uniform(0.5f, 40), depth = uniform(0.5f, 2) * Focal();
      const float tiltX = uniform(-0.02f, 0.02f), tiltY = uniform(-0.02f, 0.02f);
      const bool nearEye = rng() % 8 == 0;
      float angle = uniform(0, 1);
      for (int i = 0; i < n; ++i) {
        angle += uniform(0.2f, 6.2f / n);
        const float spoke = n > 4 && i % 2 ? uniform(0.2f, 1) : 1;
        const float px = cx + rx * spoke * std::cos(angle), py = cy + ry * spoke * std::sin(angle);
        const float distance = nearEye && i == 0 ? 0.5f : depth * (1 + tiltX * (px - cx) + tiltY * (py - cy));
        face.points.push_back(At(px, py, distance));
      }
      face.colour = static_cast<std::uint16_t>(rng() | 1);
    }
    return faces;
  }

  void DrawFace(const SceneFace& face, std::uint16_t colour, bool keepAllStipple) {
    std::vector<int> loop;
    for (int i = 0; i < static_cast<int>(face.points.size()); ++i) loop.push_back(i);
    loop.push_back(-1);
    FaceMaterial m = FlatMaterial(colour);
    if (keepAllStipple) m.stipple = kKeepAll;
    Draw(face.points, loop, &m);
  }

  std::vector<std::uint16_t> Drawn(const std::vector<SceneFace>& faces, bool keepAllStipple) {
    Rastel().StartFrame(view);
    for (const SceneFace& face : faces) DrawFace(face, face.colour, keepAllStipple);
    return Picture();
  }
};

TEST_F(DrawingPaths, QuickAndGeneralWaysGiveTheSamePicture) {
  Open(90, 70);
  int drawn = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    const std::vector<SceneFace> faces = Scene(seed);
    const std::vector<std::uint16_t> general = Drawn(faces, true);
    ASSERT_EQ(Drawn(faces, false), general) << "seed " << seed;
    drawn += Count(kBackground) < width * height;
    for (bool quickFirst : {true, false})
      for (const SceneFace& face : faces) {
        Rastel().StartFrame(view);
        DrawFace(face, kRed, !quickFirst);
        DrawFace(face, kGreen, quickFirst);
        ASSERT_EQ(Count(kGreen), 0) << "seed " << seed << (quickFirst ? ", quick way first" : ", general way first");
      }
  }
  EXPECT_EQ(drawn, 60);
}

TEST_F(DrawingPaths, AFrameDoesNotDependOnTheFramesBeforeIt) {
  Open(90, 70);
  for (std::uint32_t seed = 100; seed < 130; ++seed) {
    Drawn(Scene(seed, 3, 4), false);  // a few faces leave depths behind in some rows
    const std::vector<SceneFace> next = Scene(seed + 1000);
    const std::vector<std::uint16_t> afterAnother = Drawn(next, false);
    RenderView* fresh = view;
    view = Rastel().CreateView();
    Open(90, 70);
    const std::vector<std::uint16_t> alone = Drawn(next, false);
    Rastel().DestroyView(view);
    view = fresh;
    ASSERT_EQ(afterAnother, alone) << "seed " << seed;
  }
}
