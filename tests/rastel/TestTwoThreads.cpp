// Views drawn from two threads at once: the shared pool and edge table are
// taken under the library's lock, so each view gets exactly the picture it
// gets when the two are drawn one after the other.
#include <cmath>
#include <thread>

#include "RastelFixture.h"

namespace {

// A fan of lit, overlapping triangles at varying depths, with a hole and
// a vertex used twice, drawn into a view of the given size; the scene
// depends on `seed` so that the two views differ.
std::vector<std::uint16_t> DrawScene(RenderView* view, int size, int seed, int frames) {
  const RastelLibrary& r = Rastel();
  r.ResizeView(view, size, size);
  const CameraFrame camera = {{0, 0, 40}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const float light[3] = {0.3f, -0.5f, 0.8f};
  std::vector<float> vertices;
  std::vector<int> indices;
  for (int i = 0; i < 60; ++i) {
    const float a = 0.37f * static_cast<float>(i + seed), b = a + 1.3f;
    const float z = -10.0f * std::sin(0.5f * static_cast<float>(i));
    const int base = static_cast<int>(vertices.size() / 3);
    for (float p : {0.0f, 0.0f, z, 30 * std::cos(a), 30 * std::sin(a), z - 5, 30 * std::cos(b),
                    30 * std::sin(b), z + 5})
      vertices.push_back(p);
    indices.insert(indices.end(), {base, base + 1, base + 2, base, -1});
  }
  std::vector<std::uint16_t> picture;
  for (int frame = 0; frame < frames; ++frame) {
    r.SetCameraPos(view, &camera);
    r.SetDLight(view, light, 1);
    r.SetFrontClipPlane(view, 0.1f);
    r.SetBgColor(view, 0x0841 * (seed + 1));
    r.StartFrame(view);
    FaceMaterial m{};
    m.colour = 0x7BEF - seed * 0x0821;
    m.lit = 1;
    m.shadeLow = -16;
    m.shadeHigh = 16;
    r.FaceList(view, 60, static_cast<int>(vertices.size() / 3), vertices.data(), indices.data(),
               nullptr, &m);
    r.EndFrame(view);
    const unsigned short* buf = r.GetBuf(view);
    picture.assign(buf, buf + size * size);
  }
  return picture;
}

}  // namespace

TEST(TwoThreads, DrawingAtOnceGivesTheSamePicturesAsOneAfterTheOther) {
  const RastelLibrary& r = Rastel();
  ASSERT_TRUE(r.Complete());
  RenderView* a = r.CreateView();
  RenderView* b = r.CreateView();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  const std::vector<std::uint16_t> aAlone = DrawScene(a, 200, 0, 1);
  const std::vector<std::uint16_t> bAlone = DrawScene(b, 160, 3, 1);
  ASSERT_NE(aAlone, bAlone);

  std::vector<std::uint16_t> aTogether, bTogether;
  std::thread first([&] { aTogether = DrawScene(a, 200, 0, 40); });
  std::thread second([&] { bTogether = DrawScene(b, 160, 3, 40); });
  first.join();
  second.join();
  EXPECT_EQ(aTogether, aAlone);
  EXPECT_EQ(bTogether, bAlone);
  r.DestroyView(a);
  r.DestroyView(b);
}
