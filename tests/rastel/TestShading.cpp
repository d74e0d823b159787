// The one colour of a face: material colour, scaled by the directional
// light for lit faces or by the shade range for unlit ones.
#include <cmath>

#include "RastelFixture.h"

namespace {

// Scales each channel of a 5-6-5 colour by k and packs it again, clamping
// at black and full intensity and rounding to the nearest level.
std::uint16_t Scaled(std::uint16_t colour, float k) {
  auto channel = [k](int level, int full) {
    const float v = static_cast<float>(level) / static_cast<float>(full) * k;
    if (v < 0) return 0;
    if (v > 1) return full;
    return static_cast<int>(v * static_cast<float>(full) + 0.5f);
  };
  return static_cast<std::uint16_t>(channel(colour >> 11, 31) << 11 | channel(colour >> 5 & 63, 63) << 5 |
                                    channel(colour & 31, 31));
}

constexpr std::uint16_t kMaterial = 0x4A69;  // red 9, green 19, blue 9

}  // namespace

class Shading : public RastelTest {
 protected:
  // A square facing the eye head-on: its outward normal is +z.
  std::uint16_t DrawLit(const float light[3], int lightOn, int lit, int shadeLow = -16) {
    Rastel().SetDLight(view, light, lightOn);
    Rastel().StartFrame(view);
    FaceMaterial m{};
    m.colour = kMaterial;
    m.lit = lit;
    m.shadeLow = shadeLow;
    m.shadeHigh = 16;
    Draw({At(8, 8), At(24, 8), At(24, 24), At(8, 24)}, {0, 1, 2, 3, -1}, &m);
    return Pixel(16, 16);
  }
};

TEST_F(Shading, ZeroLightKeepsTheMaterialColour) {
  Open(32, 32);
  const float none[3] = {0, 0, 0};
  EXPECT_EQ(DrawLit(none, 1, 1), kMaterial);
}

TEST_F(Shading, FaceTurnedToTheLightIsBrighter) {
  Open(32, 32);
  // The face's outward normal is +z; a light direction along it gives
  // k = 1 + 0.7, against it k = 1 - 0.7.
  const float along[3] = {0, 0, 1};
  EXPECT_EQ(DrawLit(along, 1, 1), Scaled(kMaterial, 1.7f));
  const float against[3] = {0, 0, -1};
  EXPECT_EQ(DrawLit(against, 1, 1), Scaled(kMaterial, 0.3f));
  // across the face: unchanged
  const float across[3] = {1, 0, 0};
  EXPECT_EQ(DrawLit(across, 1, 1), kMaterial);
}

TEST_F(Shading, LightIsUsedWithoutNormalising) {
  Open(32, 32);
  const float half[3] = {0, 0, 0.5f};
  EXPECT_EQ(DrawLit(half, 1, 1), Scaled(kMaterial, 1.35f));
}

TEST_F(Shading, TiltedFaceUsesItsUnitNormal) {
  Open(64, 64);
  // A face turned 60 degrees about the vertical axis: its outward normal
  // is (sin 60, 0, cos 60) and with light (0, 0, 1), k = 1 + 0.7 * 0.5.
  const float light[3] = {0, 0, 1};
  Rastel().SetDLight(view, light, 1);
  const float c = 0.5f, s = std::sqrt(3.0f) / 2;
  const Point3 centre = {0, 0, -64};
  auto corner = [&](float u, float v) {
    // u along the face's in-plane horizontal direction (cos 60, 0, -sin 60)
    return Point3{centre.x + u * c, centre.y + v, centre.z - u * s};
  };
  FaceMaterial m{};
  m.colour = kMaterial;
  m.lit = 1;
  m.shadeLow = -16;
  m.shadeHigh = 16;
  Draw({corner(-8, -8), corner(8, -8), corner(8, 8), corner(-8, 8)}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Pixel(32, 32), Scaled(kMaterial, 1.35f));
}

TEST_F(Shading, LightFollowsTheCamera) {
  Open(32, 32);
  // The world light is set first; a camera turned half way round about y
  // sees the light's z component reversed.
  const float along[3] = {0, 0, 1};
  Rastel().SetDLight(view, along, 1);
  const CameraFrame turned = {{0, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
  Rastel().SetCameraPos(view, &turned);
  Rastel().StartFrame(view);
  FaceMaterial m{};
  m.colour = kMaterial;
  m.lit = 1;
  // the face, in front of the turned camera at world z = +32
  Draw({{8, -8, 32}, {-8, -8, 32}, {-8, 8, 32}, {8, 8, 32}}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Pixel(16, 16), Scaled(kMaterial, 0.3f));
}

TEST_F(Shading, LightOnCameraWithLongAxesIsInverted) {
  Open(32, 32);
  // Axes twice as long: the camera-space light is half the world light,
  // k = 1.35. Transposing instead of inverting would give 2.4.
  const CameraFrame camera = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
  Rastel().SetCameraPos(view, &camera);
  const float along[3] = {0, 0, 1};
  Rastel().SetDLight(view, along, 1);
  Rastel().StartFrame(view);
  FaceMaterial m{};
  m.colour = kMaterial;
  m.lit = 1;
  Draw({{-8, -8, -32}, {8, -8, -32}, {8, 8, -32}, {-8, 8, -32}}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Pixel(16, 16), Scaled(kMaterial, 1.35f));
}

TEST_F(Shading, UnlitFacesUseTheLowerEndOfTheShadeRange) {
  Open(32, 32);
  const float along[3] = {0, 0, 1};
  // unlit material, or light switched off: scale (low + 16) / 16
  EXPECT_EQ(DrawLit(along, 1, 0, -4), Scaled(kMaterial, 0.75f));
  EXPECT_EQ(DrawLit(along, 0, 1, -16), 0x0000);
  EXPECT_EQ(DrawLit(along, 0, 1, 4), Scaled(kMaterial, 1.25f));
  // a lower end of 0 leaves the colour as it is
  EXPECT_EQ(DrawLit(along, 0, 0, 0), kMaterial);
}

TEST_F(Shading, MaterialLastsForOneListOnly) {
  Open(32, 32);
  Draw({At(0, 0), At(8, 0), At(8, 8), At(0, 8)}, {0, 1, 2, 3, -1}, kRed);
  // without a material the face is drawn in colour 0
  Rastel().SetBgColor(view, kGreen);
  Rastel().StartFrame(view);
  Draw({At(0, 0), At(8, 0), At(8, 8), At(0, 8)}, {0, 1, 2, 3, -1}, nullptr);
  EXPECT_EQ(Count(0x0000), 64);
}
