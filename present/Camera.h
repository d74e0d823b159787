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
  // looking down the negative z axis with the world's axes. depth is how far
  // the letters reach out of the bounds' plane (extrusion and bevel).
  void Fit(const CBoundRect& bounds, double depth = 0.0);
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
  // The nearest depth the renderer draws, in model units in front of the
  // eye. The renderer's 16-bit depth is kDepthRange * front / distance, so a
  // fixed front plane fails at both ends of the text's size: large texts fall
  // to depth 0 or a handful of steps, small ones end up behind the plane.
  // The usual 0.1 is kept while it lies within a band that follows the
  // fitted distance, and moved to the band's nearer edge otherwise. A text
  // too long for the usual plane gets the plane as far forward as its
  // letters allow from wherever the eye is on its orbit, so that the front
  // faces keep enough depth steps to stay in front of the sides and backs.
  float FrontClipDistance() const;

  // The usual front plane, and the band it is kept in as fractions of the
  // fitted distance: no nearer than a quarter (letters that turn or zoom
  // toward the eye stay in front of it), no farther than 1/256 (at least
  // about 250 depth steps at the fitted distance).
  static constexpr float kFrontClip = 0.1f;
  static constexpr float kNearestFrontShare = 1.0f / 256.0f;
  static constexpr float kFarthestFrontShare = 0.25f;
  // How far the axes may drift from unit length and right angles (in
  // squared length and dot product) before they are made orthonormal again.
  static constexpr float kAxisDrift = 2e-6f;

 private:
  void Straight();
  // After many turns rounding lets the axes shear and grow; brings them
  // back once the drift passes kAxisDrift, so a few turns keep their exact
  // values.
  void KeepAxesOrthonormal();

  Vec3 m_eye;
  Vec3 m_x;
  Vec3 m_y;
  Vec3 m_z;
  Vec3 m_centre;
  float m_distance = 0.0f;
  // The eye's distance from the centre as the last fit, zoom or frame set
  // it; turning keeps it, and a correction of the axes restores it.
  float m_orbit = 0.0f;
  // How far from the centre the letters reach in any direction.
  float m_reach = 0.0f;
};
