#include "MeshFormats.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::optional<MeshFormat> ParseMeshFormat(const std::string& name) {
  const std::string n = Lower(name);
  if (n == "stl") return MeshFormat::Stl;
  if (n == "obj") return MeshFormat::Obj;
  if (n == "glb" || n == "gltf") return MeshFormat::Glb;
  if (n == "3mf") return MeshFormat::ThreeMf;
  if (n == "wrl" || n == "vrml") return MeshFormat::Vrml;
  return std::nullopt;
}

MeshFormat FormatForPath(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  const std::optional<MeshFormat> format = ParseMeshFormat(extension);
  // A ".gltf" name is text glTF with separate buffers, which is not written.
  if (format && Lower(extension) == "gltf") return MeshFormat::Vrml;
  return format.value_or(MeshFormat::Vrml);
}

std::optional<LengthUnit> ParseLengthUnit(const std::string& name) {
  const std::string n = Lower(name);
  if (n == "mm") return LengthUnit::Millimetre;
  if (n == "cm") return LengthUnit::Centimetre;
  if (n == "m") return LengthUnit::Metre;
  if (n == "in") return LengthUnit::Inch;
  return std::nullopt;
}

double MillimetresPerUnit(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Centimetre: return 10.0;
    case LengthUnit::Metre: return 1000.0;
    case LengthUnit::Inch: return 25.4;
    case LengthUnit::Millimetre: break;
  }
  return 1.0;
}

std::optional<double> ParseLength(const std::string& text, LengthUnit bareUnit) {
  double value = 0.0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc{} || rest == begin || !std::isfinite(value) || value <= 0.0) {
    return std::nullopt;
  }
  std::string suffix(rest, end);
  suffix.erase(0, suffix.find_first_not_of(' '));
  LengthUnit unit = bareUnit;
  if (!suffix.empty()) {
    const std::optional<LengthUnit> named = ParseLengthUnit(suffix);
    if (!named) return std::nullopt;
    unit = *named;
  }
  const double millimetres = value * MillimetresPerUnit(unit);
  if (!std::isfinite(millimetres)) return std::nullopt;
  return millimetres;
}

double ModelScale(const ExportSettings& settings, double height) {
  if (settings.emHeight.empty() || height <= 0.0) return 1.0;
  const std::optional<double> millimetres = ParseLength(settings.emHeight, settings.unit);
  if (!millimetres) return 1.0;
  return *millimetres / MillimetresPerUnit(settings.unit) / height;
}
