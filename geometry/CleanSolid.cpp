// Clean solids: union, inward offsets, lofted bevel bands, checked meshes.
// Coordinates go to Clipper's integers at a fixed number of steps per model
// unit chosen from the text's size, and come back as the floats of the mesh.
#include "CleanSolid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include <polyclipping/clipper.hpp>

#include "Letter.h"
#include "MeshCheck.h"
#include "Text3D.h"
#include "Triangulate.h"

namespace {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// One outline with its holes: ring 0 counter-clockwise, the holes clockwise
// (y up), as Clipper gives them.
struct Region {
  Paths rings;
  int letter = 0;
};

// Where the bevel's band k lies: how far inside the outline and how deep.
struct Level {
  double inset;
  double z;
};

std::vector<Level> Profile(int steps, double size, double depth) {
  std::vector<Level> levels;
  if (steps > 0 && size > 0.0) {
    for (int k = 0; k <= steps; ++k) {
      const double f = static_cast<double>(k) / steps;
      if (steps >= 4) {  // the round shape: a quarter circle, flat where it meets the front
        const double angle = f * std::numbers::pi / 2.0;
        levels.push_back({size * (1.0 - std::sin(angle)), -size * (1.0 - std::cos(angle))});
      } else {  // a chamfer cut in equal straight segments
        levels.push_back({size * (1.0 - f), -size * f});
      }
    }
  } else {
    levels.push_back({0.0, 0.0});
  }
  levels.push_back({0.0, -depth});
  return levels;
}

double SquaredDistanceToRing(const IntPoint& p, const Path& ring) {
  double best = std::numeric_limits<double>::infinity();
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double ax = static_cast<double>(ring[i].X), ay = static_cast<double>(ring[i].Y);
    const double bx = static_cast<double>(ring[(i + 1) % n].X), by = static_cast<double>(ring[(i + 1) % n].Y);
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.X - ax) * dx + (p.Y - ay) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = ax + t * dx - static_cast<double>(p.X), ey = ay + t * dy - static_cast<double>(p.Y);
    best = std::min(best, ex * ex + ey * ey);
  }
  return best;
}

// The region's rings offset inward by `inset` (Clipper units), ring for ring
// in the order of `rings`; empty when the offset changes the outline's
// topology (a stroke vanished, split or merged), which a band cannot follow.
Paths InwardOffset(const Paths& rings, double inset) {
  if (inset <= 0.0) return rings;
  ClipperLib::ClipperOffset offset(2.0);
  offset.AddPaths(rings, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
  Paths result;
  offset.Execute(result, -inset);
  ClipperLib::CleanPolygons(result, 2.0);
  if (result.size() != rings.size()) return {};
  Paths ordered(rings.size());
  for (Path& path : result) {
    if (path.size() < 3) return {};
    std::size_t nearest = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t r = 0; r < rings.size(); ++r) {
      const double d = SquaredDistanceToRing(path[0], rings[r]);
      if (d < best) {
        best = d;
        nearest = r;
      }
    }
    if (!ordered[nearest].empty()) return {};
    if (ClipperLib::Orientation(path) != ClipperLib::Orientation(rings[nearest])) return {};
    ordered[nearest] = std::move(path);
  }
  return ordered;
}

class SolidBuilder {
 public:
  SolidBuilder(double unitsPerStep, PieceMesh& mesh) : m_unit(unitsPerStep), m_mesh(mesh) {}

  // The ring's vertices at height z; returns their numbers.
  std::vector<std::uint32_t> AddRing(const Path& ring, double z) {
    std::vector<std::uint32_t> ids;
    for (const IntPoint& p : ring) {
      ids.push_back(static_cast<std::uint32_t>(m_mesh.vertices.size()));
      m_mesh.vertices.push_back({static_cast<float>(static_cast<double>(p.X) * m_unit),
                                 static_cast<float>(static_cast<double>(p.Y) * m_unit), static_cast<float>(z)});
    }
    return ids;
  }

  // A cap from rings of one level: facing +z at the front, -z at the back.
  void AddCap(const std::vector<std::vector<std::uint32_t>>& rings, bool front) {
    std::vector<std::vector<CPoint2D>> points;
    std::vector<std::uint32_t> ids;
    for (const auto& ring : rings) {
      std::vector<CPoint2D> ringPoints;
      for (std::uint32_t id : ring) {
        ringPoints.push_back({m_mesh.vertices[id].x, m_mesh.vertices[id].y});
        ids.push_back(id);
      }
      points.push_back(std::move(ringPoints));
    }
    for (const RingTriangle& t : TriangulateRings(points)) {
      if (front) {
        m_mesh.triangles.push_back({ids[t[0]], ids[t[1]], ids[t[2]]});
      } else {
        m_mesh.triangles.push_back({ids[t[0]], ids[t[2]], ids[t[1]]});
      }
    }
  }

  // The band between ring a (nearer the front) and ring b of the same
  // outline: walks both rings together, always taking the shorter diagonal.
  // Rings run counter-clockwise round material, so the triangles face out.
  void AddBand(const std::vector<std::uint32_t>& a, std::vector<std::uint32_t> b) {
    const std::size_t n = a.size(), m = b.size();
    if (n == 0 || m == 0) return;
    std::size_t start = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j < m; ++j) {
      const double d = Distance2(a[0], b[j]);
      if (d < best) {
        best = d;
        start = j;
      }
    }
    std::rotate(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(start), b.end());
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
      const std::uint32_t ai = a[i % n], bj = b[j % m];
      const bool advanceA =
          j == m || (i < n && Distance2(a[(i + 1) % n], bj) <= Distance2(ai, b[(j + 1) % m]));
      if (advanceA) {
        m_mesh.triangles.push_back({ai, bj, a[(i + 1) % n]});
        ++i;
      } else {
        m_mesh.triangles.push_back({ai, bj, b[(j + 1) % m]});
        ++j;
      }
    }
  }

 private:
  double Distance2(std::uint32_t p, std::uint32_t q) const {
    const CVertex3F& a = m_mesh.vertices[p];
    const CVertex3F& b = m_mesh.vertices[q];
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y;
    return dx * dx + dy * dy;
  }

  double m_unit;
  PieceMesh& m_mesh;
};

bool Sound(const PieceMesh& mesh) { return IsSoundSolid(CheckMesh(mesh)); }

// The solid of one region with a bevel of `size`, or an empty mesh when the
// offsets change the outline's shape too much to follow.
PieceMesh Solid(const Region& region, double unitsPerStep, int steps, double size, double depth) {
  PieceMesh mesh;
  SolidBuilder builder(unitsPerStep, mesh);
  std::vector<std::vector<std::vector<std::uint32_t>>> levels;
  for (const Level& level : Profile(steps, size, depth)) {
    const Paths rings = InwardOffset(region.rings, level.inset / unitsPerStep);
    if (rings.empty()) return {};
    std::vector<std::vector<std::uint32_t>> ids;
    for (const Path& ring : rings) ids.push_back(builder.AddRing(ring, level.z));
    levels.push_back(std::move(ids));
  }
  builder.AddCap(levels.front(), true);
  builder.AddCap(levels.back(), false);
  for (std::size_t l = 0; l + 1 < levels.size(); ++l) {
    for (std::size_t r = 0; r < levels[l].size(); ++r) builder.AddBand(levels[l][r], levels[l + 1][r]);
  }
  WeldMesh(mesh);
  return mesh;
}

Paths LetterPaths(const CLetter& letter, double stepsPerUnit) {
  Paths paths;
  for (const auto& piece : letter.pieces) {
    for (const auto& contour : piece->contours) {
      if (!contour || contour->points.size() < 3) continue;
      Path path;
      for (const CPoint2D& p : contour->points) {
        path.push_back(IntPoint(static_cast<ClipperLib::cInt>(std::llround(p.x * stepsPerUnit)),
                                static_cast<ClipperLib::cInt>(std::llround(p.y * stepsPerUnit))));
      }
      paths.push_back(std::move(path));
    }
  }
  return paths;
}

// The union's outlines, each with the holes directly inside it; islands
// inside holes are outlines of their own.
void CollectRegions(const ClipperLib::PolyNode& node, int letter, std::vector<Region>& regions) {
  for (const ClipperLib::PolyNode* child : node.Childs) {
    if (child->IsHole()) {
      CollectRegions(*child, letter, regions);
      continue;
    }
    Region region;
    region.letter = letter;
    region.rings.push_back(child->Contour);
    for (const ClipperLib::PolyNode* hole : child->Childs) region.rings.push_back(hole->Contour);
    regions.push_back(std::move(region));
    for (const ClipperLib::PolyNode* hole : child->Childs) CollectRegions(*hole, letter, regions);
  }
}

std::vector<Region> Union(const Paths& paths, int letter) {
  ClipperLib::Clipper clipper;
  clipper.StrictlySimple(true);
  clipper.AddPaths(paths, ClipperLib::ptSubject, true);
  ClipperLib::PolyTree tree;
  clipper.Execute(ClipperLib::ctUnion, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  std::vector<Region> regions;
  CollectRegions(tree, letter, regions);
  return regions;
}

}  // namespace

std::vector<PieceMesh> BuildCleanMeshes(const CText3D& text, const CleanSolidOptions& options) {
  // About a hundred million steps across the whole text: far finer than the
  // mesh's floats, far from Clipper's integer range.
  double extent = 1e-9;
  for (const CLetter& letter : text.letters) {
    for (const auto& piece : letter.pieces) {
      for (const auto& contour : piece->contours) {
        for (const CPoint2D& p : contour->points) extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
      }
    }
  }
  const double stepsPerUnit = 1e8 / extent;

  std::vector<Region> regions;
  if (options.mergeTouching) {
    Paths all;
    for (std::size_t l = 0; l < text.letters.size(); ++l) {
      const Paths paths = LetterPaths(text.letters[l], stepsPerUnit);
      all.insert(all.end(), paths.begin(), paths.end());
    }
    regions = Union(all, 0);
    // Each merged outline belongs to the first letter with a point inside it.
    for (Region& region : regions) {
      for (std::size_t l = 0; l < text.letters.size(); ++l) {
        const Paths paths = LetterPaths(text.letters[l], stepsPerUnit);
        const bool inside = std::any_of(paths.begin(), paths.end(), [&](const Path& p) {
          return ClipperLib::PointInPolygon(p[0], region.rings[0]) != 0;
        });
        if (inside) {
          region.letter = static_cast<int>(l);
          break;
        }
      }
    }
  } else {
    for (std::size_t l = 0; l < text.letters.size(); ++l) {
      const std::vector<Region> letterRegions =
          Union(LetterPaths(text.letters[l], stepsPerUnit), static_cast<int>(l));
      regions.insert(regions.end(), letterRegions.begin(), letterRegions.end());
    }
  }

  std::vector<PieceMesh> meshes;
  std::vector<int> piecesOfLetter(text.letters.size(), 0);
  for (const Region& region : regions) {
    const CLetter& letter = text.letters[static_cast<std::size_t>(region.letter)];
    if (letter.pieces.empty()) continue;
    const CLetterPiece& first = *letter.pieces.front();
    const double depth = first.depth;
    // The bevel takes at most half the depth, so a side wall always remains.
    const double size = std::min(options.bevelSize, depth / 2.0);
    // The full bevel where it fits, else the largest of halves that passes,
    // else a straight side.
    PieceMesh mesh;
    for (double tried = size; options.bevelSteps > 0 && size > 0.0 && tried >= size / 16.0;
         tried /= 2.0) {
      mesh = Solid(region, 1.0 / stepsPerUnit, options.bevelSteps, tried, depth);
      if (!mesh.triangles.empty() && Sound(mesh)) break;
      mesh = PieceMesh{};
    }
    if (mesh.triangles.empty()) mesh = Solid(region, 1.0 / stepsPerUnit, 0, 0.0, depth);
    if (mesh.triangles.empty()) continue;
    mesh.colour = first.colour;
    mesh.letterCode = letter.code;
    mesh.letterIndex = region.letter;
    mesh.pieceIndex = piecesOfLetter[static_cast<std::size_t>(region.letter)]++;
    meshes.push_back(std::move(mesh));
  }
  return meshes;
}
