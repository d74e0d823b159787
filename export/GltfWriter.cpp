// Binary glTF: a JSON chunk describing nodes, meshes, materials, accessors
// and buffer views, and one binary chunk with every piece's positions and
// indices. The JSON library formats numbers the same in every locale.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "MeshWriters.h"

namespace {

using nlohmann::json;

constexpr std::uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
constexpr std::uint32_t kBinChunk = 0x004E4942;   // "BIN\0"
constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// glTF colours are linear; the letters' colours are sRGB bytes.
double LinearFromSrgb(int byte) {
  const double c = byte / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

void PutWord(std::string& out, std::uint32_t word) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((word >> (8 * k)) & 0xFF));
}

void PutFloat(std::string& out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutWord(out, bits);
}

}  // namespace

void WriteGlb(const std::vector<PieceMesh>& meshes, double metresPerUnit, std::ostream& out) {
  json gltf;
  gltf["asset"] = {{"version", "2.0"}, {"generator", "Glyphkiln"}};
  gltf["scene"] = 0;
  json nodes = json::array(), meshList = json::array(), materials = json::array();
  json accessors = json::array(), views = json::array();
  std::map<int, int> materialOfColour;
  std::string bin;

  for (const PieceMesh& mesh : meshes) {
    auto [found, added] = materialOfColour.try_emplace(mesh.colour, static_cast<int>(materials.size()));
    if (added) {
      const int c = mesh.colour;
      materials.push_back({{"name", ColourMaterialName(c)},
                           {"pbrMetallicRoughness",
                            {{"baseColorFactor",
                              {LinearFromSrgb(c & 0xFF), LinearFromSrgb((c >> 8) & 0xFF),
                               LinearFromSrgb((c >> 16) & 0xFF), 1.0}},
                             {"metallicFactor", 0.0},
                             {"roughnessFactor", 0.8}}}});
    }

    float lo[3] = {INFINITY, INFINITY, INFINITY};
    float hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    const std::size_t positionsAt = bin.size();
    for (const CVertex3F& v : mesh.vertices) {
      const float p[3] = {static_cast<float>(v.x * metresPerUnit), static_cast<float>(v.y * metresPerUnit),
                          static_cast<float>(v.z * metresPerUnit)};
      for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], p[a]);
        hi[a] = std::max(hi[a], p[a]);
        PutFloat(bin, p[a]);
      }
    }
    const std::size_t indicesAt = bin.size();
    for (const auto& t : mesh.triangles) {
      for (std::uint32_t i : t) PutWord(bin, i);
    }
    const int view = static_cast<int>(views.size());
    views.push_back({{"buffer", 0}, {"byteOffset", positionsAt},
                     {"byteLength", indicesAt - positionsAt}, {"target", kArrayBuffer}});
    views.push_back({{"buffer", 0}, {"byteOffset", indicesAt},
                     {"byteLength", bin.size() - indicesAt}, {"target", kElementArrayBuffer}});
    const int accessor = static_cast<int>(accessors.size());
    accessors.push_back({{"bufferView", view}, {"componentType", kFloat},
                         {"count", mesh.vertices.size()}, {"type", "VEC3"},
                         {"min", {lo[0], lo[1], lo[2]}}, {"max", {hi[0], hi[1], hi[2]}}});
    accessors.push_back({{"bufferView", view + 1}, {"componentType", kUnsignedInt},
                         {"count", mesh.triangles.size() * 3}, {"type", "SCALAR"}});
    const std::string name = LetterName(mesh.letterCode) + "_" + std::to_string(mesh.letterIndex + 1) +
                             "_" + std::to_string(mesh.pieceIndex + 1);
    meshList.push_back({{"name", name},
                        {"primitives",
                         {{{"attributes", {{"POSITION", accessor}}},
                           {"indices", accessor + 1},
                           {"material", found->second}}}}});
    nodes.push_back({{"name", name}, {"mesh", static_cast<int>(meshList.size()) - 1}});
  }

  json sceneNodes = json::array();
  for (std::size_t k = 0; k < nodes.size(); ++k) sceneNodes.push_back(k);
  gltf["scenes"] = {{{"nodes", sceneNodes}}};
  gltf["nodes"] = nodes;
  if (!meshList.empty()) {
    gltf["meshes"] = meshList;
    gltf["materials"] = materials;
    gltf["accessors"] = accessors;
    gltf["bufferViews"] = views;
    gltf["buffers"] = {{{"byteLength", bin.size()}}};
  }

  std::string text = gltf.dump();
  while (text.size() % 4 != 0) text.push_back(' ');
  while (bin.size() % 4 != 0) bin.push_back('\0');
  std::string glb;
  const std::size_t total = 12 + 8 + text.size() + (bin.empty() ? 0 : 8 + bin.size());
  PutWord(glb, kGlbMagic);
  PutWord(glb, 2);
  PutWord(glb, static_cast<std::uint32_t>(total));
  PutWord(glb, static_cast<std::uint32_t>(text.size()));
  PutWord(glb, kJsonChunk);
  glb += text;
  if (!bin.empty()) {
    PutWord(glb, static_cast<std::uint32_t>(bin.size()));
    PutWord(glb, kBinChunk);
  }
  out.write(glb.data(), static_cast<std::streamsize>(glb.size()));
  out.write(bin.data(), static_cast<std::streamsize>(bin.size()));
}
