// STL in both forms. Numbers in the text form are written with to_chars, so
// the file is the same in every locale.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "MeshWriters.h"

namespace {

std::array<float, 3> Normal(const CVertex3F& a, const CVertex3F& b, const CVertex3F& c) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length > 0.0) {
    nx /= length;
    ny /= length;
    nz /= length;
  }
  return {static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz)};
}

void PutFloat(std::string& buffer, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int k = 0; k < 4; ++k) buffer.push_back(static_cast<char>((bits >> (8 * k)) & 0xFF));
}

void PutNumber(std::string& buffer, float value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  buffer.append(text, result.ptr);
}

void PutTriple(std::string& buffer, float x, float y, float z) {
  PutNumber(buffer, x);
  buffer.push_back(' ');
  PutNumber(buffer, y);
  buffer.push_back(' ');
  PutNumber(buffer, z);
  buffer.push_back('\n');
}

}  // namespace

void WriteStl(const std::vector<PieceMesh>& meshes, std::ostream& out, bool ascii) {
  std::string buffer;
  auto flush = [&](bool always) {
    if (always || buffer.size() >= (1u << 16)) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
    }
  };
  std::uint64_t count = 0;
  for (const PieceMesh& mesh : meshes) count += mesh.triangles.size();
  if (ascii) {
    buffer += "solid glyphkiln\n";
  } else {
    // The header must not start with "solid", or readers take it for text.
    std::string header = "Glyphkiln binary STL";
    header.resize(80, ' ');
    buffer += header;
    const auto n = static_cast<std::uint32_t>(count);
    for (int k = 0; k < 4; ++k) buffer.push_back(static_cast<char>((n >> (8 * k)) & 0xFF));
  }
  for (const PieceMesh& mesh : meshes) {
    for (const auto& t : mesh.triangles) {
      const CVertex3F& a = mesh.vertices[t[0]];
      const CVertex3F& b = mesh.vertices[t[1]];
      const CVertex3F& c = mesh.vertices[t[2]];
      const std::array<float, 3> n = Normal(a, b, c);
      if (ascii) {
        buffer += "facet normal ";
        PutTriple(buffer, n[0], n[1], n[2]);
        buffer += " outer loop\n";
        for (const CVertex3F* v : {&a, &b, &c}) {
          buffer += "  vertex ";
          PutTriple(buffer, v->x, v->y, v->z);
        }
        buffer += " endloop\nendfacet\n";
      } else {
        for (float f : n) PutFloat(buffer, f);
        for (const CVertex3F* v : {&a, &b, &c}) {
          PutFloat(buffer, v->x);
          PutFloat(buffer, v->y);
          PutFloat(buffer, v->z);
        }
        buffer.append(2, '\0');
      }
      flush(false);
    }
  }
  if (ascii) buffer += "endsolid glyphkiln\n";
  flush(true);
}

void PlaceOnBed(std::vector<PieceMesh>& meshes) {
  float lowest = INFINITY;
  for (const PieceMesh& mesh : meshes) {
    for (const CVertex3F& v : mesh.vertices) lowest = std::min(lowest, v.z);
  }
  if (!std::isfinite(lowest) || lowest == 0.0f) return;
  for (PieceMesh& mesh : meshes) {
    for (CVertex3F& v : mesh.vertices) v.z -= lowest;
  }
}
