#include "Camera.h"

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

}  // namespace

void Camera::Fit(const CBoundRect& b) {
  const auto cx = static_cast<float>(b.left * 0.5 + b.right * 0.5);
  const auto cy = static_cast<float>(b.bottom * 0.5 + b.top * 0.5);
  // Far enough to show the whole width, or the height with room around it.
  const double width = b.right - b.left;
  const double height = 2.0 * (b.top - b.bottom);
  m_distance = static_cast<float>(width > height ? width : height);
  m_centre = {cx, cy, 0.0f};
  Straight();
}

void Camera::Straight() {
  m_eye = {m_centre.x, m_centre.y, m_distance};
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
}

void Camera::Zoom(float factor) { m_eye = m_centre + factor * (m_eye - m_centre); }

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
}
