// Textured faces: texture positions exact at the corners of 8 x 8 pixel
// blocks and interpolated inside, texels repeating every 256, texel 0 of a
// transparent face leaving both buffers alone, and the shade value added
// to the texels of lit faces.
#include <cmath>

#include "RastelFixture.h"

namespace {

// 256 x 256 texels, never 0, with a value that tells u and v apart.
std::vector<std::uint16_t> Numbered() {
  std::vector<std::uint16_t> texture(256 * 256);
  for (int v = 0; v < 256; ++v)
    for (int u = 0; u < 256; ++u) texture[v * 256 + u] = static_cast<std::uint16_t>(v << 8 | u | 0x8000);
  return texture;
}

}  // namespace

class TexturedFaces : public RastelTest {
 protected:
  // A square over pixels [0, 16) x [0, 16) whose first, second and fourth
  // corners carry (u, v) = (0, 0), (1, 0), (0, 1).
  int DrawSquare(const std::vector<std::uint16_t>& texture, int texelsPerUnit, int lit = 0,
                 int transparent = 0, float distance = 0) {
    if (distance == 0) distance = Focal();
    FaceMaterial m{};
    m.texture = texture.data();
    m.texelsU = m.texelsV = texelsPerUnit;
    m.lit = lit;
    m.shadeLow = -16;
    m.shadeHigh = 16;
    m.transparent = transparent;
    const FaceTexMap map = {1, {0, 1, 3}, {0, 0, 1, 0, 0, 1}};
    return Draw({At(0, 0, distance), At(16, 0, distance), At(16, 16, distance), At(0, 16, distance)},
                {0, 1, 2, 3, -1}, &m, &map);
  }
};

TEST_F(TexturedFaces, TexelPerPixelOnAFaceFacingTheEye) {
  Open(32, 32);
  const std::vector<std::uint16_t> texture = Numbered();
  DrawSquare(texture, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(Pixel(x, y), texture[y * 256 + x]) << x << "," << y;
  EXPECT_EQ(Pixel(16, 0), kBackground);
  EXPECT_EQ(Pixel(0, 16), kBackground);
}

TEST_F(TexturedFaces, TextureRepeatsEvery256Texels) {
  Open(32, 32);
  const std::vector<std::uint16_t> texture = Numbered();
  // 16 pixels span 1000 texels: 62.5 texels per pixel
  DrawSquare(texture, 1000);
  for (int y = 0; y < 16; y += 3)
    for (int x = 0; x < 16; x += 5) {
      const int u = (x * 1000 / 16) % 256, v = (y * 1000 / 16) % 256;
      EXPECT_EQ(Pixel(x, y), texture[v * 256 + u]) << x << "," << y;
    }
}

TEST_F(TexturedFaces, PerspectiveIsExactAtBlockCorners) {
  Open(64, 64);
  std::vector<std::uint16_t> texture(256 * 256);
  for (int v = 0; v < 256; ++v)
    for (int u = 0; u < 256; ++u) texture[v * 256 + u] = static_cast<std::uint16_t>(u | v << 8);
  // A floor-like face receding from distance 40 to 160, texture u across
  // and v into the depth, 100 texels per unit.
  const std::vector<Point3> points = {{-30, -20, -40}, {30, -20, -40}, {30, -20, -160}, {-30, -20, -160}};
  FaceMaterial m{};
  m.texture = texture.data();
  m.texelsU = m.texelsV = 100;
  // u = (x + 30) / 60, v = (-40 - z) / 120
  const FaceTexMap map = {1, {0, 1, 3}, {0, 0, 1, 0, 0, 1}};
  Draw(points, {0, 1, 2, 3, -1, 3, 2, 1, 0, -1}, &m, &map);
  int checked = 0;
  for (int y = 0; y < 64; y += 8)
    for (int x = 0; x < 64; x += 8) {
      if (Pixel(x, y) == kBackground) continue;
      // the floor point seen through pixel corner (x, y)
      const double f = Focal(), px = x - 32, py = y - 32;
      const double t = -20.0 / py;  // ray (px, py, -f) * t meets y = -20
      const double u = (px * t + 30) / 60 * 100, v = (f * t - 40) / 120 * 100;
      const int tu = Pixel(x, y) & 0xFF, tv = Pixel(x, y) >> 8;
      EXPECT_NEAR(tu, std::floor(u), 1.0) << x << "," << y;
      EXPECT_NEAR(tv, std::floor(v), 1.0) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 10);
}

TEST_F(TexturedFaces, TransparentTexelsLeaveBothBuffersAlone) {
  Open(32, 32);
  // a checker of 4 x 4 texels, the dark squares 0
  std::vector<std::uint16_t> texture(256 * 256);
  for (int v = 0; v < 256; ++v)
    for (int u = 0; u < 256; ++u) texture[v * 256 + u] = ((u / 4 + v / 4) % 2) ? kRed : 0;
  DrawSquare(texture, 16, 0, 1);
  EXPECT_EQ(Count(kRed), 128);
  EXPECT_EQ(Pixel(0, 0), kBackground);
  EXPECT_EQ(Pixel(4, 0), kRed);
  // behind the holes there is no depth: a farther face shows through them
  DrawRect(0, 0, 32, 32, 2 * Focal(), kBlue);
  EXPECT_EQ(Count(kRed), 128);
  EXPECT_EQ(Pixel(0, 0), kBlue);
  EXPECT_EQ(Count(kBlue), 32 * 32 - 128);
}

TEST_F(TexturedFaces, OpaqueFacesDrawTexelZero) {
  Open(32, 32);
  const std::vector<std::uint16_t> texture(256 * 256, 0);
  DrawSquare(texture, 16);
  EXPECT_EQ(Count(0), 256);
}

TEST_F(TexturedFaces, LitFacesAddTheShadeValue) {
  Open(32, 32);
  const std::vector<std::uint16_t> texture(256 * 256, 0x0841);
  // facing the light: the bright highlight is added
  const float along[3] = {0, 0, 1};
  Rastel().SetDLight(view, along, 1);
  Rastel().StartFrame(view);
  DrawSquare(texture, 16, 1);
  EXPECT_EQ(Pixel(3, 3), 0x0841 + 0x6B4D);
  // facing away: the dark one
  const float against[3] = {0, 0, -1};
  Rastel().SetDLight(view, against, 1);
  Rastel().StartFrame(view);
  DrawSquare(texture, 16, 1);
  EXPECT_EQ(Pixel(3, 3), 0x0841 + 0x18C3);
  // unlit: the texel as it is
  Rastel().StartFrame(view);
  DrawSquare(texture, 16, 0);
  EXPECT_EQ(Pixel(3, 3), 0x0841);
}

TEST_F(TexturedFaces, MapWithVerticesOutsideTheListIsIgnored) {
  Open(32, 32);
  const std::vector<std::uint16_t> texture = Numbered();
  FaceMaterial m = FlatMaterial(kGreen);
  m.texture = texture.data();
  m.texelsU = m.texelsV = 16;
  const FaceTexMap map = {1, {0, 1, 9}, {0, 0, 1, 0, 0, 1}};
  Draw({At(0, 0), At(16, 0), At(16, 16), At(0, 16)}, {0, 1, 2, 3, -1}, &m, &map);
  EXPECT_EQ(Count(kGreen), 256);
}
