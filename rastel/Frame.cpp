// Frames: the camera and model frames of the interface, composed and
// inverted. The axes need not be unit length or orthogonal, so the 3x3 part
// is inverted in general by cofactors and determinant, never by transposing.
#include "RasterCore.h"

namespace rastel {
namespace {

void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

float Dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

Frame FrameFromCamera(const CameraFrame& camera) {
  Frame frame;
  for (int i = 0; i < 3; ++i) {
    frame.origin[i] = camera.origin[i];
    frame.axis[0][i] = camera.xAxis[i];
    frame.axis[1][i] = camera.yAxis[i];
    frame.axis[2][i] = camera.zAxis[i];
  }
  return frame;
}

Frame IdentityFrame() {
  Frame frame = {{0, 0, 0}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  return frame;
}

// The matrix has b's axes as columns; the rows of its inverse are the
// cofactor vectors (y x z, z x x, x x y) divided by the determinant. A
// singular frame divides by zero and gives infinities, which the clipper
// and the culling test then reject.
void InverseApply(const Frame& b, const float v[3], float out[3]) {
  float rows[3][3];
  Cross(b.axis[1], b.axis[2], rows[0]);
  Cross(b.axis[2], b.axis[0], rows[1]);
  Cross(b.axis[0], b.axis[1], rows[2]);
  const float det = Dot(b.axis[0], rows[0]);
  for (auto& row : rows)
    for (float& entry : row) entry /= det;
  for (int i = 0; i < 3; ++i) out[i] = Dot(rows[i], v);
}

// a-seen-from-b: a's origin and axes in the coordinates of b.
Frame SeenFrom(const Frame& a, const Frame& b) {
  Frame result;
  const float offset[3] = {a.origin[0] - b.origin[0], a.origin[1] - b.origin[1],
                           a.origin[2] - b.origin[2]};
  InverseApply(b, offset, result.origin);
  for (int i = 0; i < 3; ++i) InverseApply(b, a.axis[i], result.axis[i]);
  return result;
}

}  // namespace rastel
