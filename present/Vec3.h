// A point or direction in model space, in the renderer's single precision.
// Only the few operations the camera needs; each is the plain per-component
// arithmetic, so results are the same as written out by hand.
#pragma once

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
  friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
  friend Vec3 operator*(float k, Vec3 v) { return {k * v.x, k * v.y, k * v.z}; }
  friend bool operator==(Vec3 a, Vec3 b) = default;
};

inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
