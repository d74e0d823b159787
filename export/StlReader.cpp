#include "StlReader.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <numeric>
#include <sstream>

namespace {

float FloatAt(const std::string& bytes, std::size_t at) {
  std::uint32_t bits = 0;
  for (int k = 0; k < 4; ++k) bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::size_t Find(std::vector<std::size_t>& parent, std::size_t x) {
  while (parent[x] != x) x = parent[x] = parent[parent[x]];
  return x;
}

}  // namespace

bool ReadStlPieces(const std::filesystem::path& path, std::vector<PieceMesh>& pieces, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read '" + path.string() + "'";
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PieceMesh all;
  std::uint32_t count = 0;
  if (bytes.size() >= 84) {
    for (int k = 0; k < 4; ++k) count |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[80 + k])) << (8 * k);
  }
  if (bytes.size() >= 84 && bytes.size() == 84 + 50ull * count) {
    for (std::uint32_t t = 0; t < count; ++t) {
      const std::size_t at = 84 + 50ull * t + 12;
      const auto base = static_cast<std::uint32_t>(all.vertices.size());
      for (int v = 0; v < 3; ++v) {
        all.vertices.push_back({FloatAt(bytes, at + 12 * v), FloatAt(bytes, at + 12 * v + 4),
                                FloatAt(bytes, at + 12 * v + 8)});
      }
      all.triangles.push_back({base, base + 1, base + 2});
    }
  } else if (bytes.rfind("solid", 0) == 0) {
    std::istringstream text(bytes);
    text.imbue(std::locale::classic());
    std::string word;
    while (text >> word) {
      if (word != "vertex") continue;
      CVertex3F v;
      if (!(text >> v.x >> v.y >> v.z)) break;
      all.vertices.push_back(v);
      if (all.vertices.size() % 3 == 0) {
        const auto base = static_cast<std::uint32_t>(all.vertices.size() - 3);
        all.triangles.push_back({base, base + 1, base + 2});
      }
    }
  } else {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about
    // "'" + std::string.
    error = "'";
    error += path.string();
    error += "' is not an STL file";
    return false;
  }
  // Equal corners become one vertex; every triangle is kept, degenerate ones
  // included, since they are what a check must find.
  std::map<std::tuple<float, float, float>, std::uint32_t> welded;
  std::vector<CVertex3F> unique;
  for (auto& t : all.triangles) {
    for (std::uint32_t& i : t) {
      const CVertex3F& v = all.vertices[i];
      const auto [it, added] = welded.try_emplace({v.x + 0.0f, v.y + 0.0f, v.z + 0.0f},
                                                  static_cast<std::uint32_t>(unique.size()));
      if (added) unique.push_back(v);
      i = it->second;
    }
  }
  all.vertices = std::move(unique);

  std::vector<std::size_t> parent(all.vertices.size());
  std::iota(parent.begin(), parent.end(), std::size_t{0});
  for (const auto& t : all.triangles) {
    parent[Find(parent, t[1])] = Find(parent, t[0]);
    parent[Find(parent, t[2])] = Find(parent, t[0]);
  }
  std::vector<int> pieceOf(all.vertices.size(), -1);
  // Vertex numbers within their piece, given on first use (each vertex
  // belongs to one piece only).
  std::vector<std::uint32_t> local(all.vertices.size(), UINT32_MAX);
  pieces.clear();
  for (const auto& t : all.triangles) {
    const std::size_t root = Find(parent, t[0]);
    if (pieceOf[root] < 0) {
      pieceOf[root] = static_cast<int>(pieces.size());
      pieces.emplace_back();
      pieces.back().pieceIndex = pieceOf[root];
    }
    PieceMesh& piece = pieces[static_cast<std::size_t>(pieceOf[root])];
    std::array<std::uint32_t, 3> mapped{};
    for (int k = 0; k < 3; ++k) {
      if (local[t[k]] == UINT32_MAX) {
        local[t[k]] = static_cast<std::uint32_t>(piece.vertices.size());
        piece.vertices.push_back(all.vertices[t[k]]);
      }
      mapped[k] = local[t[k]];
    }
    piece.triangles.push_back(mapped);
  }
  return true;
}
