// The letters' faces in full 24-bit colour. The renderer library shades each
// face with one colour and keeps it as a 5-6-5 pixel, so neighbouring faces
// of a round bevel fall into visible bands. Here every face's colour is
// worked out as the library works it out (the piece's shading base colour
// scaled by k = 1 + 0.7 * (n . L), n the face's unit normal, L the light),
// but kept to 8 bits a channel, and the faces are laid out so that a frame
// can be drawn with each face unlit in a colour that names its shade: read
// back, the frame gives the 24-bit colour of every pixel, and the renderer's
// interface stays as it is.
#pragma once

#include <cstdint>
#include <vector>

#include "CubePalette.h"

class CText3D;

// The 24-bit colour of a lit face of `colour` (COLORREF) whose Newell
// normal (any length; zero leaves the colour as it is) is `normal`, under
// the renderer's light direction `light`.
RgbColour ShadeFace(std::uint32_t colour, const double normal[3], const float light[3]);

class FaceShades {
 public:
  // The frame's value where no face is drawn; no shade has it.
  static constexpr std::uint16_t kBackground = 0xFFFF;

  // A run of consecutive faces (in the order the binding draws them) that
  // share one shade, with only the vertices they use.
  struct Batch {
    std::uint16_t shade = 0;
    int faceCount = 0;
    std::vector<float> vertices;  // x, y, z
    std::vector<int> indices;     // the faces' runs, renumbered into `vertices`
  };

  FaceShades(const CText3D& text, const float light[3]);

  // False when the faces have more shades than a 16-bit frame can name.
  bool Ready() const { return m_ready; }
  const std::vector<Batch>& Batches() const { return m_batches; }
  // The colour of each shade.
  const std::vector<RgbColour>& Colours() const { return m_colours; }

 private:
  bool m_ready = true;
  std::vector<Batch> m_batches;
  std::vector<RgbColour> m_colours;
};
