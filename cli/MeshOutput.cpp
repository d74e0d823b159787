#include "MeshOutput.h"

#include <charconv>
#include <filesystem>
#include <cstdio>

#include "MeshCheck.h"
#include "MeshExport.h"
#include "MeshFileReader.h"
#include "PieceMesh.h"
#include "Text3D.h"
#include "WorldOutput.h"

std::vector<OptionSpec> MeshOptionRows() {
  return {
      {"--format", "F", "output format: wrl, stl, obj, glb, 3mf (default: from -o's extension)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         const std::optional<MeshFormat> format = ParseMeshFormat(v);
         if (!format) {
           error = "--format: expected wrl, stl, obj, glb or 3mf, got '" + v + "'";
           return false;
         }
         o.exportSettings.format = format;
         return true;
       }},
      {"--unit", "U", "what one model unit is in STL, OBJ, glTF, 3MF: mm, cm, m, in (default mm)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         const std::optional<LengthUnit> unit = ParseLengthUnit(v);
         if (!unit) {
           error = "--unit: expected mm, cm, m or in, got '" + v + "'";
           return false;
         }
         o.exportSettings.unit = *unit;
         return true;
       }},
      {"--em-height", "LENGTH", "scale letters, depth and bevel so one em is LENGTH (20mm, 0.5in)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (!ParseLength(v, LengthUnit::Millimetre)) {
           error = "--em-height: expected a positive length such as 20mm or 0.5in, got '" + v + "'";
           return false;
         }
         o.exportSettings.emHeight = v;
         return true;
       }},
      {"--stl-ascii", "", "write STL as text instead of binary",
       [](CliOptions& o, const std::string&, std::string&) {
         o.exportSettings.stlAscii = true;
         return true;
       }},
      {"--solid", "MODE", "STL, OBJ, glTF, 3MF: clean (unioned, inward bevel) or exact (default clean)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v != "clean" && v != "exact") {
           error = "--solid: expected clean or exact, got '" + v + "'";
           return false;
         }
         o.exportSettings.solid = v == "clean" ? SolidMode::Clean : SolidMode::Exact;
         return true;
       }},
      {"--merge-touching", "", "clean solids: letters that touch or overlap become one piece",
       [](CliOptions& o, const std::string&, std::string&) {
         o.exportSettings.mergeTouching = true;
         return true;
       }},
      {"--check", "", "report per piece on the solids of TEXT (or of the STL, OBJ, GLB or 3MF file TEXT names)",
       [](CliOptions& o, const std::string&, std::string&) {
         o.exportSettings.check = true;
         return true;
       }},
  };
}

CliOptions ScaledToEmHeight(const CliOptions& options) {
  CliOptions scaled = options;
  scaled.settings = ScaledToEmHeight(options.settings, options.exportSettings);
  return scaled;
}

MeshFormat OutputFormat(const CliOptions& options) {
  if (options.exportSettings.format) return *options.exportSettings.format;
  return FormatForPath(WorldPath(options));
}

bool ChecksFile(const CliOptions& options) {
  return options.exportSettings.check && IsReadableMeshFile(options.text);
}

int CheckSolids(const std::vector<PieceMesh>& pieces, std::FILE* out) {
  int failed = 0;
  for (const PieceMesh& piece : pieces) {
    const MeshReport r = CheckMesh(piece);
    const std::string name = !piece.name.empty() ? piece.name
                                                 : LetterName(piece.letterCode) + "_" + std::to_string(piece.letterIndex + 1) +
                                                       "_" + std::to_string(piece.pieceIndex + 1);
    const bool sound = IsSoundSolid(r);
    if (!sound) ++failed;
    char volume[64];
    const auto end = std::to_chars(volume, volume + sizeof volume, r.volume, std::chars_format::general, 9);
    std::fprintf(out,
                 "%s: closed %s, oriented %s, self-intersecting triangles %d, degenerate "
                 "triangles %d, volume %.*s: %s\n",
                 name.c_str(),
                 r.closed ? "yes" : "no", r.oriented ? "yes" : "no", r.selfIntersecting, r.degenerate,
                 static_cast<int>(end.ptr - volume), volume, sound ? "ok" : "FAILED");
  }
  std::fprintf(out, "%zu pieces, %d failed\n", pieces.size(), failed);
  return failed == 0 ? kExitOk : kExitFailure;
}

int CheckFile(const CliOptions& options, std::string& error) {
  std::vector<PieceMesh> pieces;
  if (!ReadMeshFilePieces(options.text, pieces, error)) return kExitFailure;
  return CheckSolids(pieces, stdout);
}

int CheckText(const CText3D& text, const CliOptions& options) {
  return CheckSolids(ExportMeshes(text, options.settings, options.exportSettings), stdout);
}

StagedOutputFile StageOutputFile(const CliOptions& options, StagedOutputs& outputs) {
  StagedOutputFile staged;
  const std::string target = WorldPath(options);
  if (OutputFormat(options) == MeshFormat::Obj && target != "-") {
    // The library is committed before the OBJ that names it.
    const std::filesystem::path library = MaterialLibraryPath(target);
    staged.library = MaterialLibraryTarget{outputs.Add(library.string()), library.filename().string()};
    staged.targets.push_back(library.string());
  }
  staged.path = outputs.Add(target);
  staged.targets.push_back(target);
  return staged;
}

bool WriteOutputFile(const CText3D& text, const CliOptions& options, const StagedOutputFile& staged,
                     std::string& error) {
  const MeshFormat format = OutputFormat(options);
  if (format == MeshFormat::Vrml) return WriteWorldFile(text, staged.path, error);
  return SaveTextMeshes(staged.path, format, text, options.settings, options.exportSettings, error,
                        staged.library ? &*staged.library : nullptr);
}
