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

FaceMaterial LitMaterial(int lit = 1, int shadeLow = -16) {
  FaceMaterial m{};
  m.colour = kMaterial;
  m.lit = lit;
  m.shadeLow = shadeLow;
  m.shadeHigh = 16;
  return m;
}

}  // namespace

class Shading : public RastelTest {};

TEST_F(Shading, HeadOnFaceScalesTheMaterialByLightOrShadeRange) {
  Open(32, 32);
  // A square facing the eye head-on, outward normal +z. Lit faces scale by
  // k = 1 + 0.7 (light . normal), the light used as given, not normalised;
  // unlit faces, or any face with the light off, by (low + 16) / 16.
  struct Case {
    float light[3];
    int lightOn, lit, shadeLow;
    float k;
  };
  for (const Case& c : {Case{{0, 0, 0}, 1, 1, -16, 1.0f}, Case{{0, 0, 1}, 1, 1, -16, 1.7f},
                        Case{{0, 0, -1}, 1, 1, -16, 0.3f}, Case{{1, 0, 0}, 1, 1, -16, 1.0f},
                        Case{{0, 0, 0.5f}, 1, 1, -16, 1.35f}, Case{{0, 0, 1}, 1, 0, -4, 0.75f},
                        Case{{0, 0, 1}, 0, 1, -16, 0.0f}, Case{{0, 0, 1}, 0, 1, 4, 1.25f},
                        Case{{0, 0, 1}, 0, 0, 0, 1.0f}}) {
    Rastel().SetDLight(view, c.light, c.lightOn);
    Rastel().StartFrame(view);
    const FaceMaterial m = LitMaterial(c.lit, c.shadeLow);
    Draw({At(8, 8), At(24, 8), At(24, 24), At(8, 24)}, {0, 1, 2, 3, -1}, &m);
    EXPECT_EQ(Pixel(16, 16), Scaled(kMaterial, c.k))
        << "light " << c.light[0] << "," << c.light[1] << "," << c.light[2] << " on " << c.lightOn << " lit "
        << c.lit << " low " << c.shadeLow;
  }
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
  const FaceMaterial m = LitMaterial();
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
  FaceMaterial m{};  // lit, shade range left at 0
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
  FaceMaterial m{};  // lit, shade range left at 0
  m.colour = kMaterial;
  m.lit = 1;
  Draw({{-8, -8, -32}, {8, -8, -32}, {8, 8, -32}, {-8, 8, -32}}, {0, 1, 2, 3, -1}, &m);
  EXPECT_EQ(Pixel(16, 16), Scaled(kMaterial, 1.35f));
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
