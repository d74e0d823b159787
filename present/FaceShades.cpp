// Face colours to 8 bits a channel, and the faces batched by colour.
#include "FaceShades.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "Text3D.h"

namespace {

// The Newell normal of the face's outer contour as a fan about its first
// vertex: the sum the renderer forms (it forms it in camera space, which
// turns it but keeps its angle to the light).
void FaceNormal(const std::vector<CVertex3F>& vertices, const int* run, double normal[3]) {
  normal[0] = normal[1] = normal[2] = 0.0;
  int outer = 0;
  while (run[outer] >= 0) ++outer;
  if (outer < 3) return;
  const CVertex3F& a = vertices[static_cast<std::size_t>(run[0])];
  for (int i = 1; i + 1 < outer; ++i) {
    const CVertex3F& p = vertices[static_cast<std::size_t>(run[i])];
    const CVertex3F& q = vertices[static_cast<std::size_t>(run[i + 1])];
    const double u[3] = {p.x - a.x, p.y - a.y, p.z - a.z};
    const double v[3] = {q.x - a.x, q.y - a.y, q.z - a.z};
    normal[0] += u[1] * v[2] - u[2] * v[1];
    normal[1] += u[2] * v[0] - u[0] * v[2];
    normal[2] += u[0] * v[1] - u[1] * v[0];
  }
}

std::uint8_t Channel(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 1.0) return 255;
  return static_cast<std::uint8_t>(value * 255.0 + 0.5);
}

}  // namespace

RgbColour ShadeFace(std::uint32_t colour, const double normal[3], const float light[3]) {
  const std::uint32_t base = ShadeBaseColour(colour);
  const double length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
  // The renderer sees the face from its front, where the normal points
  // towards the eye; its "facing away" is the opposite normal's dot.
  const double along =
      length > 0 ? (normal[0] * light[0] + normal[1] * light[1] + normal[2] * light[2]) / length : 0.0;
  const double k = 1.0 + 0.7 * along;
  return {Channel((base & 0xFF) / 255.0 * k), Channel((base >> 8 & 0xFF) / 255.0 * k),
          Channel((base >> 16 & 0xFF) / 255.0 * k)};
}

FaceShades::FaceShades(const CText3D& text, const float light[3]) {
  std::unordered_map<std::uint32_t, std::uint16_t> shadeOf;
  std::vector<int> renumbered;  // per piece vertex: its index in the batch, or -1
  std::vector<int> used;        // the piece vertices the batch holds
  text.ForEachPiece([&](const CLetter&, std::size_t, const CLetterPiece& piece) {
    if (!m_ready || piece.faceCount <= 0 || piece.vertices.empty()) return;
    renumbered.assign(piece.vertices.size(), -1);
    used.clear();
    Batch* batch = nullptr;
    // The faces in the order the binding hands them to the renderer.
    for (const std::vector<int>* list : {&piece.frontFace, &piece.backFace, &piece.sideFaces}) {
      std::size_t at = 0;
      while (at < list->size()) {
        const int* run = list->data() + at;
        std::size_t count = 0;
        while (at + count < list->size() && run[count] != -1) ++count;
        const bool valid = count >= 3 && std::all_of(run, run + count, [&](int i) {
          return i < static_cast<int>(piece.vertices.size());
        });
        at += count + 1;
        if (!valid) continue;  // the renderer skips it too
        double normal[3];
        FaceNormal(piece.vertices, run, normal);
        const RgbColour c = ShadeFace(static_cast<std::uint32_t>(piece.colour), normal, light);
        const std::uint32_t key = c.red | c.green << 8 | static_cast<std::uint32_t>(c.blue) << 16;
        auto found = shadeOf.find(key);
        if (found == shadeOf.end()) {
          if (m_colours.size() >= kBackground) {
            m_ready = false;
            return;
          }
          found = shadeOf.emplace(key, static_cast<std::uint16_t>(m_colours.size())).first;
          m_colours.push_back(c);
        }
        if (!batch || batch->shade != found->second) {
          for (int v : used) renumbered[static_cast<std::size_t>(v)] = -1;
          used.clear();
          m_batches.emplace_back();
          batch = &m_batches.back();
          batch->shade = found->second;
        }
        for (std::size_t i = 0; i < count; ++i) {
          const int v = run[i];
          if (v < 0) {
            batch->indices.push_back(v);  // a hole's separator
            continue;
          }
          int& index = renumbered[static_cast<std::size_t>(v)];
          if (index < 0) {
            index = static_cast<int>(batch->vertices.size() / 3);
            used.push_back(v);
            const CVertex3F& p = piece.vertices[static_cast<std::size_t>(v)];
            batch->vertices.insert(batch->vertices.end(), {p.x, p.y, p.z});
          }
          batch->indices.push_back(index);
        }
        batch->indices.push_back(-1);
        ++batch->faceCount;
      }
    }
  });
  if (!m_ready) {
    m_batches.clear();
    m_colours.clear();
  }
}
