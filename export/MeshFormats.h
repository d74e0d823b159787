// The file formats and length units of the mesh exports, and the choices a
// user makes for them: which format (from the file name or given), which
// unit one model unit stands for, and how long one em should be.
#pragma once

#include <optional>
#include <string>

enum class MeshFormat { Vrml, Stl, Obj, Glb, ThreeMf };
enum class LengthUnit { Millimetre, Centimetre, Metre, Inch };
// Clean: unioned outlines with an inward bevel, each piece checked sound;
// exact: the letters' own geometry, as the VRML world has it.
enum class SolidMode { Clean, Exact };

struct ExportSettings {
  std::optional<MeshFormat> format;    // given; otherwise from the file name
  LengthUnit unit = LengthUnit::Millimetre;
  std::string emHeight;  // as typed ("20mm"); empty: one model unit is one unit
  bool stlAscii = false;
  SolidMode solid = SolidMode::Clean;
  bool mergeTouching = false;  // clean mode: touching letters become one piece
  bool check = false;          // report on the solids instead of writing them
};

// The format a file name asks for by its extension (any letter case); VRML
// for a name without a known extension, standard output included.
MeshFormat FormatForPath(const std::string& path);
// "stl", "obj", "glb" (or "gltf"), "3mf", "wrl" (or "vrml").
std::optional<MeshFormat> ParseMeshFormat(const std::string& name);
// "mm", "cm", "m", "in".
std::optional<LengthUnit> ParseLengthUnit(const std::string& name);
double MillimetresPerUnit(LengthUnit unit);
// A length such as "20mm", "0.5in" or "2 cm", in millimetres; a bare number
// is taken in `bareUnit`. Nothing for a length that is not finite and positive.
std::optional<double> ParseLength(const std::string& text, LengthUnit bareUnit);

// The factor every model coordinate is multiplied by so that one em of
// `height` model units becomes the chosen length, in the chosen unit; 1 when
// no em height is given.
double ModelScale(const ExportSettings& settings, double height);
