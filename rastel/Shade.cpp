// One colour per face: the material colour scaled by the directional light
// (or by the lower end of the shade range for unlit faces), and the value
// that textured faces add to their texels.
#include <cmath>

#include "RasterCore.h"

namespace rastel {
namespace {

struct Channels {
  float red, green, blue;  // 0..1
};

Channels Unpack(std::uint16_t colour) {
  return {static_cast<float>(colour >> 11) / 31.0f, static_cast<float>(colour >> 5 & 63) / 63.0f,
          static_cast<float>(colour & 31) / 31.0f};
}

// Negative (but not -0) gives 0, above 1 gives full; not a number gives 0.
int PackChannel(float v, int full) {
  if (v < 0.0f || v != v) return 0;
  if (v > 1.0f) return full;
  return static_cast<int>(v * static_cast<float>(full) + 0.5f);
}

std::uint16_t Pack(const Channels& c) {
  return static_cast<std::uint16_t>(PackChannel(c.red, 31) << 11 | PackChannel(c.green, 63) << 5 |
                                    PackChannel(c.blue, 31));
}

std::uint16_t Scale(Channels c, float k) {
  c.red *= k;
  c.green *= k;
  c.blue *= k;
  return Pack(c);
}

// The face's unit normal pointing away from the eye (the plane vector
// normalised), dotted with the camera-space light.
float FacingAway(const RasterCore& core, const float plane[3]) {
  float n[3] = {plane[0], plane[1], plane[2]};
  const float lengthSquared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
  if (lengthSquared != 0) {
    const float length = std::sqrt(lengthSquared);
    for (float& c : n) c /= length;
  }
  return n[0] * core.light[0] + n[1] * core.light[1] + n[2] * core.light[2];
}

}  // namespace

// The material colour unpacked once for all faces of a list.
void PrepareShading(RasterCore& core) {
  const Channels c = Unpack(static_cast<std::uint16_t>(core.material.colour & 0xFFFF));
  core.materialChannels[0] = c.red;
  core.materialChannels[1] = c.green;
  core.materialChannels[2] = c.blue;
}

// k runs from 0.3 (the face turns its front away from the light direction)
// to 1.7 (it faces along it) for a unit light vector; a zero light leaves
// the material colour as it is.
std::uint16_t ShadeColour(const RasterCore& core, const float plane[3]) {
  const std::uint16_t colour = static_cast<std::uint16_t>(core.material.colour & 0xFFFF);
  const Channels c = {core.materialChannels[0], core.materialChannels[1], core.materialChannels[2]};
  if (core.material.lit && core.lightOn) return Scale(c, 1.0f - 0.7f * FacingAway(core, plane));
  // widened: any int the caller gives is a valid shade value
  if (core.material.shadeLow != 0)
    return Scale(c, static_cast<float>(static_cast<std::int64_t>(core.material.shadeLow) + 16) * 0.0625f);
  return colour;
}

// Textured faces: see the rule documented in rastel.h. Unlit faces add
// nothing; lit faces add a blend of the two highlight colours, from the
// dark one (facing away from the light) to the bright one (facing it), in
// as many steps as the shade range has.
std::uint16_t TextureShade(const RasterCore& core, const float plane[3]) {
  if (!core.material.lit || !core.lightOn) return 0;
  const float facing = -FacingAway(core, plane);
  float t = facing != facing ? 0.5f : facing < -1 ? 0.0f : facing > 1 ? 1.0f : (facing + 1) * 0.5f;
  const std::int64_t steps = static_cast<std::int64_t>(core.material.shadeHigh) - core.material.shadeLow;
  if (steps > 0 && steps <= 1024) t = std::floor(t * static_cast<float>(steps) + 0.5f) / static_cast<float>(steps);
  const Channels bright = Unpack(core.highlight[0]);
  const Channels dark = Unpack(core.highlight[1]);
  return Pack({dark.red + (bright.red - dark.red) * t, dark.green + (bright.green - dark.green) * t,
               dark.blue + (bright.blue - dark.blue) * t});
}

}  // namespace rastel
