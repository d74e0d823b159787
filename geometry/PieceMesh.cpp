// Export meshes: the piece's vertex columns (front, bevel rings, back per
// contour point) give the side wall; the front and back faces are cut from
// the contours in the float coordinates the vertices carry, so that the
// triangulation sees exactly the points the side wall ends at.
#include "PieceMesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "Letter.h"
#include "Text3D.h"
#include "Triangulate.h"
#include "Windows1252.h"

namespace {

using Tri = std::array<std::uint32_t, 3>;

std::uint32_t FloatBits(float f) {
  if (f == 0.0f) f = 0.0f;  // -0 and +0 are the same place
  std::uint32_t bits = 0;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

struct VertexKey {
  std::uint32_t x, y, z;
  bool operator==(const VertexKey& o) const { return x == o.x && y == o.y && z == o.z; }
};
struct VertexKeyHash {
  std::size_t operator()(const VertexKey& k) const {
    return (static_cast<std::size_t>(k.x) * 73856093u) ^ (static_cast<std::size_t>(k.y) * 19349663u) ^
           (static_cast<std::size_t>(k.z) * 83492791u);
  }
};

struct Vec {
  double x, y, z;
};
Vec Sub(const CVertex3F& a, const CVertex3F& b) {
  return {static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y,
          static_cast<double>(a.z) - b.z};
}
Vec Cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length2(const Vec& a) { return Dot(a, a); }

bool WithoutArea(const std::vector<CVertex3F>& v, const Tri& t) {
  const Vec n = Cross(Sub(v[t[1]], v[t[0]]), Sub(v[t[2]], v[t[0]]));
  return n.x == 0.0 && n.y == 0.0 && n.z == 0.0;
}

bool RepeatsVertex(const Tri& t) { return t[0] == t[1] || t[1] == t[2] || t[0] == t[2]; }

std::uint64_t EdgeKey(std::uint32_t a, std::uint32_t b) {
  return (static_cast<std::uint64_t>(a) << 32) | b;
}

// A triangle whose corners lie on one line is swapped, with the triangle
// across its long edge, for two triangles that share the edge from its
// middle corner to that neighbour's far corner. The surface keeps its shape
// and its closedness; triangles that then repeat a vertex are dropped.
void FlipFlatTriangles(const std::vector<CVertex3F>& v, std::vector<Tri>& tris) {
  for (int pass = 0; pass < 8; ++pass) {
    std::unordered_map<std::uint64_t, std::size_t> owner;
    for (std::size_t t = 0; t < tris.size(); ++t) {
      for (int e = 0; e < 3; ++e) owner[EdgeKey(tris[t][e], tris[t][(e + 1) % 3])] = t;
    }
    bool changed = false;
    std::vector<bool> touched(tris.size(), false);
    for (std::size_t t = 0; t < tris.size(); ++t) {
      if (touched[t] || RepeatsVertex(tris[t]) || !WithoutArea(v, tris[t])) continue;
      // The long edge p -> q lies opposite the middle corner m.
      int longest = 0;
      double best = -1.0;
      for (int e = 0; e < 3; ++e) {
        const double l = Length2(Sub(v[tris[t][(e + 1) % 3]], v[tris[t][e]]));
        if (l > best) {
          best = l;
          longest = e;
        }
      }
      const std::uint32_t p = tris[t][longest];
      const std::uint32_t q = tris[t][(longest + 1) % 3];
      const std::uint32_t m = tris[t][(longest + 2) % 3];
      const auto across = owner.find(EdgeKey(q, p));
      if (across == owner.end() || across->second == t || touched[across->second]) continue;
      Tri& n = tris[across->second];
      std::uint32_t d = n[0];
      for (int k = 0; k < 3; ++k) {
        if (n[k] != p && n[k] != q) d = n[k];
      }
      tris[t] = {m, p, d};
      n = {m, d, q};
      touched[t] = touched[across->second] = true;
      changed = true;
    }
    tris.erase(std::remove_if(tris.begin(), tris.end(), RepeatsVertex), tris.end());
    if (!changed) break;
  }
}

}  // namespace

void WeldMesh(PieceMesh& mesh) {
  // Weld equal vertices and keep only those a triangle uses.
  std::unordered_map<VertexKey, std::uint32_t, VertexKeyHash> welded;
  std::vector<std::uint32_t> remap(mesh.vertices.size());
  std::vector<CVertex3F> unique;
  for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
    const VertexKey key{FloatBits(mesh.vertices[k].x), FloatBits(mesh.vertices[k].y), FloatBits(mesh.vertices[k].z)};
    const auto [it, inserted] = welded.try_emplace(key, static_cast<std::uint32_t>(unique.size()));
    if (inserted) unique.push_back(mesh.vertices[k]);
    remap[k] = it->second;
  }
  for (Tri& t : mesh.triangles) {
    for (std::uint32_t& i : t) i = i < remap.size() ? remap[i] : 0;
  }
  mesh.triangles.erase(std::remove_if(mesh.triangles.begin(), mesh.triangles.end(), RepeatsVertex),
                       mesh.triangles.end());
  FlipFlatTriangles(unique, mesh.triangles);

  std::vector<CVertex3F> kept;
  std::vector<std::uint32_t> used(unique.size(), UINT32_MAX);
  for (Tri& t : mesh.triangles) {
    for (std::uint32_t& i : t) {
      if (used[i] == UINT32_MAX) {
        used[i] = static_cast<std::uint32_t>(kept.size());
        kept.push_back(unique[i]);
      }
      i = used[i];
    }
  }
  mesh.vertices = std::move(kept);
}

PieceMesh BuildPieceMesh(const CLetterPiece& piece) {
  PieceMesh mesh;
  mesh.colour = piece.colour;
  std::size_t points = 0;
  for (const auto& contour : piece.contours) points += contour ? contour->points.size() : 0;
  if (points == 0 || piece.vertices.empty() || piece.vertices.size() % points != 0) return mesh;
  const std::size_t r = piece.vertices.size() / points;  // vertices per contour point
  if (r < 2) return mesh;
  const std::vector<CVertex3F>& source = piece.vertices;

  std::vector<Tri> tris;
  // Front and back from the contours, read back from the front vertices.
  std::vector<std::vector<CPoint2D>> rings;
  std::size_t g = 0;
  for (const auto& contour : piece.contours) {
    std::vector<CPoint2D> ring;
    const std::size_t n = contour ? contour->points.size() : 0;
    for (std::size_t k = 0; k < n; ++k, ++g) {
      const CVertex3F& f = source[g * r];
      ring.push_back(CPoint2D{f.x, f.y});
    }
    rings.push_back(std::move(ring));
  }
  for (const RingTriangle& t : TriangulateRings(rings)) {
    const auto R = static_cast<std::uint32_t>(r);
    tris.push_back({t[0] * R, t[1] * R, t[2] * R});
    tris.push_back({t[0] * R + R - 1, t[2] * R + R - 1, t[1] * R + R - 1});
  }
  // The side wall's quads, each split along its first diagonal.
  std::vector<int> quad;
  for (int index : piece.sideFaces) {
    if (index >= 0) {
      quad.push_back(index);
      continue;
    }
    for (std::size_t k = 2; k < quad.size(); ++k) {
      tris.push_back({static_cast<std::uint32_t>(quad[0]), static_cast<std::uint32_t>(quad[k - 1]),
                      static_cast<std::uint32_t>(quad[k])});
    }
    quad.clear();
  }

  mesh.vertices = source;
  mesh.triangles = std::move(tris);
  WeldMesh(mesh);
  return mesh;
}


std::vector<PieceMesh> BuildTextMeshes(const CText3D& text, double scale) {
  std::vector<PieceMesh> meshes;
  for (std::size_t l = 0; l < text.letters.size(); ++l) {
    const CLetter& letter = text.letters[l];
    for (std::size_t p = 0; p < letter.pieces.size(); ++p) {
      PieceMesh mesh = BuildPieceMesh(*letter.pieces[p]);
      if (mesh.triangles.empty()) continue;
      mesh.letterCode = letter.code;
      mesh.letterIndex = static_cast<int>(l);
      mesh.pieceIndex = static_cast<int>(p);
      if (scale != 1.0) {
        for (CVertex3F& v : mesh.vertices) {
          v.x = static_cast<float>(v.x * scale);
          v.y = static_cast<float>(v.y * scale);
          v.z = static_cast<float>(v.z * scale);
        }
      }
      meshes.push_back(std::move(mesh));
    }
  }
  return meshes;
}

std::string LetterName(int letterCode) {
  const int byte = letterCode & 0xFF;
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')) {
    return std::string(1, static_cast<char>(byte));
  }
  char name[12];
  std::snprintf(name, sizeof name, "U+%04X",
                static_cast<unsigned>(Windows1252ToUnicode(static_cast<unsigned char>(byte))));
  return name;
}
