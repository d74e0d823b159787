#include "MeshExport.h"

#include <memory>

#include "CleanSolid.h"
#include "MeshFiles.h"
#include "SaveFile.h"
#include "Text3D.h"
#include "VrmlWriter.h"

TextSettings ScaledToEmHeight(const TextSettings& settings, const ExportSettings& exportSettings) {
  TextSettings scaled = settings;
  const double factor = ModelScale(exportSettings, settings.height);
  if (factor == 1.0) return scaled;
  scaled.height *= factor;
  scaled.depth *= factor;
  scaled.bevelSize *= factor;
  return scaled;
}

std::vector<PieceMesh> ExportMeshes(const CText3D& text, const TextSettings& settings,
                                    const ExportSettings& exportSettings) {
  if (exportSettings.solid == SolidMode::Exact) return BuildTextMeshes(text);
  CleanSolidOptions clean;
  clean.bevelSteps = settings.bevelSteps;
  clean.bevelSize = settings.bevelSize;
  clean.mergeTouching = exportSettings.mergeTouching;
  return BuildCleanMeshes(text, clean);
}

bool SaveTextMeshes(const std::filesystem::path& path, MeshFormat format, const CText3D& text,
                    const TextSettings& settings, const ExportSettings& exportSettings, std::string& error,
                    const MaterialLibraryTarget* library) {
  std::string message, reason;
  std::filesystem::path failed = path;
  if (format == MeshFormat::Vrml) {
    if (SaveAtomically(
            path,
            [&text](std::ostream& out) {
              WriteVrml(text, out);
              return static_cast<bool>(out);
            },
            &message, &reason)) {
      return true;
    }
  } else if (SaveMeshFile(path, format, ExportMeshes(text, settings, exportSettings), exportSettings, message,
                          reason, failed, library)) {
    return true;
  }
  error = message + " '" + failed.string() + "'" + (reason.empty() ? "" : ": " + reason);
  return false;
}

bool ExportBuiltText(const std::filesystem::path& path, MeshFormat format, const std::string& bytes,
                     const CGlyphOutline& outline, const CText3D& built, const TextSettings& settings,
                     const ExportSettings& exportSettings, std::string& error) {
  if (ModelScale(exportSettings, settings.height) == 1.0) {
    return SaveTextMeshes(path, format, built, settings, exportSettings, error);
  }
  const TextSettings scaled = ScaledToEmHeight(settings, exportSettings);
  const std::unique_ptr<CText3D> rebuilt = BuildText3D(bytes, outline, scaled);
  return SaveTextMeshes(path, format, *rebuilt, scaled, exportSettings, error);
}
