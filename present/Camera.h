// The examiner's camera: an eye with its own three axes that turns and moves
// about a centre. A plain value with its own maths and no renderer, so the
// desktop program and the command-line tool turn it the same way and tests
// drive it directly; the renderer takes it as a CameraFrame.
#pragma once

#include "BoundRect.h"
#include "Vec3.h"
#include "rastel.h"

class Camera {
 public:
  // Until the first Fit every vector is zero, as the renderer has always
  // been given before there were letters.
  Camera() = default;

  // Centres the camera on the bounds at a distance that shows them whole,
  // looking down the negative z axis with the world's axes.
  void Fit(const CBoundRect& bounds);
  // Turns the eye and its axes about the centre: yaw about the world y axis,
  // then pitch about the world x axis (radians).
  void Rotate(float yaw, float pitch);
  // Moves the eye toward (factor < 1) or away from the centre.
  void Zoom(float factor);
  // Back to the camera of the last Fit.
  void Reset();
  // Takes eye and axes from a frame; the centre and the fitted distance stay.
  void SetFrame(const CameraFrame& frame);

  // The camera as the renderer takes it.
  CameraFrame Frame() const;
  Vec3 Eye() const { return m_eye; }
  Vec3 XAxis() const { return m_x; }
  Vec3 YAxis() const { return m_y; }
  Vec3 ZAxis() const { return m_z; }
  Vec3 Centre() const { return m_centre; }
  // The eye's distance from the centre after the last Fit.
  float FitDistance() const { return m_distance; }

 private:
  void Straight();

  Vec3 m_eye;
  Vec3 m_x;
  Vec3 m_y;
  Vec3 m_z;
  Vec3 m_centre;
  float m_distance = 0.0f;
};
