// OBJ and its material library: plain text, numbers through to_chars so the
// files are the same in every locale.
#include <charconv>
#include <cstdio>
#include <set>
#include <string>

#include "MeshWriters.h"

namespace {

void PutNumber(std::string& buffer, double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  buffer.append(text, result.ptr);
}

void PutColourComponent(std::string& buffer, int byte) {
  char text[32];
  const auto result =
      std::to_chars(text, text + sizeof text, byte / 255.0, std::chars_format::fixed, 6);
  buffer.append(text, result.ptr);
}

}  // namespace

std::string ColourMaterialName(int colour) {
  char name[32];
  std::snprintf(name, sizeof name, "colour_%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return name;
}

void WriteObj(const std::vector<PieceMesh>& meshes, const std::string& mtlName, std::ostream& out) {
  std::string buffer = "# Glyphkiln letters\nmtllib " + mtlName + "\n";
  std::size_t base = 1;  // OBJ numbers vertices from 1 across the whole file
  for (const PieceMesh& mesh : meshes) {
    buffer += "o " + LetterName(mesh.letterCode) + "_" + std::to_string(mesh.letterIndex + 1) +
              "_" + std::to_string(mesh.pieceIndex + 1) + "\n";
    buffer += "usemtl " + ColourMaterialName(mesh.colour) + "\n";
    for (const CVertex3F& v : mesh.vertices) {
      buffer += "v ";
      PutNumber(buffer, v.x);
      buffer += ' ';
      PutNumber(buffer, v.y);
      buffer += ' ';
      PutNumber(buffer, v.z);
      buffer += '\n';
    }
    for (const auto& t : mesh.triangles) {
      buffer += "f " + std::to_string(base + t[0]) + " " + std::to_string(base + t[1]) + " " +
                std::to_string(base + t[2]) + "\n";
    }
    base += mesh.vertices.size();
    if (buffer.size() >= (1u << 16)) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
    }
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

void WriteMtl(const std::vector<PieceMesh>& meshes, std::ostream& out) {
  std::set<std::string> written;
  std::string buffer = "# Glyphkiln letter colours\n";
  for (const PieceMesh& mesh : meshes) {
    const std::string name = ColourMaterialName(mesh.colour);
    if (!written.insert(name).second) continue;
    buffer += "\nnewmtl " + name + "\nKa 0 0 0\nKd ";
    PutColourComponent(buffer, mesh.colour & 0xFF);
    buffer += ' ';
    PutColourComponent(buffer, (mesh.colour >> 8) & 0xFF);
    buffer += ' ';
    PutColourComponent(buffer, (mesh.colour >> 16) & 0xFF);
    buffer += "\nKs 0 0 0\nd 1\nillum 1\n";
  }
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}
