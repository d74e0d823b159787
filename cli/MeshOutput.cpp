#include "MeshOutput.h"

#include "MeshFiles.h"
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
  };
}

CliOptions ScaledToEmHeight(const CliOptions& options) {
  CliOptions scaled = options;
  const double factor = ModelScale(options.exportSettings, options.settings.height);
  if (factor == 1.0) return scaled;
  scaled.settings.height *= factor;
  scaled.settings.depth *= factor;
  scaled.settings.bevelSize *= factor;
  return scaled;
}

MeshFormat OutputFormat(const CliOptions& options) {
  if (options.exportSettings.format) return *options.exportSettings.format;
  return FormatForPath(WorldPath(options));
}

bool WriteOutputFile(const CText3D& text, const CliOptions& options, std::string& error) {
  const MeshFormat format = OutputFormat(options);
  if (format == MeshFormat::Vrml) return WriteWorldFile(text, WorldPath(options), error);
  std::string message, reason;
  std::filesystem::path failed;
  if (SaveMeshFile(WorldPath(options), format, BuildTextMeshes(text), options.exportSettings, message,
                   reason, failed)) {
    return true;
  }
  error = message + " '" + failed.string() + "'" + (reason.empty() ? "" : ": " + reason);
  return false;
}
