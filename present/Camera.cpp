#include "Camera.h"

#include <algorithm>
#include <cmath>

namespace {

// Turns v about the world y axis: x' = x cos + z sin, z' = z cos - x sin.
Vec3 TurnAboutY(Vec3 v, float cosine, float sine) {
  return {v.x * cosine + v.z * sine, v.y, v.z * cosine - v.x * sine};
}

// Turns v about the world x axis: y' = y cos - z sin, z' = y sin + z cos.
Vec3 TurnAboutX(Vec3 v, float cosine, float sine) {
  return {v.x, v.y * cosine - v.z * sine, v.y * sine + v.z * cosine};
}

Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec3 Unit(Vec3 v) { return (1.0f / std::sqrt(Dot(v, v))) * v; }

float Length(Vec3 v) { return std::sqrt(Dot(v, v)); }

}  // namespace

void Camera::Fit(const CBoundRect& b, double depth) {
  const auto cx = static_cast<float>(b.left * 0.5 + b.right * 0.5);
  const auto cy = static_cast<float>(b.bottom * 0.5 + b.top * 0.5);
  // Far enough to show the whole width, or the height with room around it.
  const double width = b.right - b.left;
  const double height = 2.0 * (b.top - b.bottom);
  m_distance = static_cast<float>(width > height ? width : height);
  m_reach = static_cast<float>(0.5 * std::hypot(width, b.top - b.bottom) + std::fabs(depth));
  m_centre = {cx, cy, 0.0f};
  Straight();
}

void Camera::Straight() {
  m_eye = {m_centre.x, m_centre.y, m_distance};
  m_orbit = m_distance;
  m_x = {1, 0, 0};
  m_y = {0, 1, 0};
  m_z = {0, 0, 1};
}

void Camera::Rotate(float yaw, float pitch) {
  const float theta = -yaw;
  const float phi = -pitch;
  const float cosTheta = std::cos(theta), sinTheta = std::sin(theta);
  const float cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  Vec3* vectors[4] = {&m_eye, &m_x, &m_y, &m_z};
  m_eye = m_eye - m_centre;
  for (Vec3* v : vectors) *v = TurnAboutX(TurnAboutY(*v, cosTheta, sinTheta), cosPhi, sinPhi);
  m_eye = m_eye + m_centre;
  KeepAxesOrthonormal();
}

void Camera::KeepAxesOrthonormal() {
  float drift = 0.0f;
  const float measures[6] = {Dot(m_x, m_x) - 1.0f, Dot(m_y, m_y) - 1.0f, Dot(m_z, m_z) - 1.0f,
                             Dot(m_x, m_y),        Dot(m_y, m_z),        Dot(m_z, m_x)};
  for (float m : measures) drift = std::max(drift, std::fabs(m));
  if (!(drift > kAxisDrift)) return;
  // The viewing direction leads; the up axis is made square to it and the
  // x axis completes the right-handed set.
  m_z = Unit(m_z);
  m_y = Unit(m_y - Dot(m_y, m_z) * m_z);
  m_x = Cross(m_y, m_z);
  const Vec3 offset = m_eye - m_centre;
  const float length = Length(offset);
  if (length > 0.0f && m_orbit > 0.0f) m_eye = m_centre + (m_orbit / length) * offset;
}

void Camera::Zoom(float factor) {
  m_eye = m_centre + factor * (m_eye - m_centre);
  m_orbit = Length(m_eye - m_centre);
}

float Camera::FrontClipDistance() const {
  if (!(m_distance > 0.0f)) return kFrontClip;
  const float usual = std::clamp(kFrontClip, kNearestFrontShare * m_distance, kFarthestFrontShare * m_distance);
  if (usual <= kFrontClip) return usual;
  // Nothing of the letters lies nearer to the eye than its orbit less their reach.
  return std::max(usual, m_orbit - m_reach);
}

void Camera::Reset() {
  m_centre.z = 0.0f;
  Straight();
}

CameraFrame Camera::Frame() const {
  CameraFrame frame{};
  const Vec3 vectors[4] = {m_eye, m_x, m_y, m_z};
  float* targets[4] = {frame.origin, frame.xAxis, frame.yAxis, frame.zAxis};
  for (int i = 0; i < 4; ++i) {
    targets[i][0] = vectors[i].x;
    targets[i][1] = vectors[i].y;
    targets[i][2] = vectors[i].z;
  }
  return frame;
}

void Camera::SetFrame(const CameraFrame& frame) {
  auto vec = [](const float* v) { return Vec3{v[0], v[1], v[2]}; };
  m_eye = vec(frame.origin);
  m_x = vec(frame.xAxis);
  m_y = vec(frame.yAxis);
  m_z = vec(frame.zAxis);
  m_orbit = Length(m_eye - m_centre);
}
