#include "MeshFiles.h"

#include "MeshWriters.h"
#include "SaveFile.h"

std::filesystem::path MaterialLibraryPath(const std::filesystem::path& objPath) {
  std::filesystem::path mtl = objPath;
  mtl.replace_extension(".mtl");
  return mtl;
}

bool SaveMeshFile(const std::filesystem::path& path, MeshFormat format,
                  std::vector<PieceMesh> meshes, const ExportSettings& settings,
                  std::string& message, std::string& reason, std::filesystem::path& failedPath,
                  const MaterialLibraryTarget* library) {
  failedPath = path;
  auto save = [&](const std::filesystem::path& target, const std::function<bool(std::ostream&)>& write) {
    failedPath = target;
    return SaveAtomically(target, write, &message, &reason);
  };
  switch (format) {
    case MeshFormat::Stl:
      PlaceOnBed(meshes);
      return save(path, [&](std::ostream& out) {
        WriteStl(meshes, out, settings.stlAscii);
        return static_cast<bool>(out);
      });
    case MeshFormat::Obj: {
      const bool toFile = path != "-";
      const std::filesystem::path mtl = library ? library->path : MaterialLibraryPath(path);
      const std::string mtlName = library ? library->name : mtl.filename().string();
      if (toFile && !save(mtl, [&](std::ostream& out) {
            WriteMtl(meshes, out);
            return static_cast<bool>(out);
          })) {
        return false;
      }
      return save(path, [&](std::ostream& out) {
        WriteObj(meshes, toFile ? mtlName : std::string("glyphkiln.mtl"), out);
        return static_cast<bool>(out);
      });
    }
    case MeshFormat::Glb:
      return save(path, [&](std::ostream& out) {
        WriteGlb(meshes, MillimetresPerUnit(settings.unit) / 1000.0, out);
        return static_cast<bool>(out);
      });
    case MeshFormat::ThreeMf: {
      PlaceOnBed(meshes);
      std::string libraryError;
      const bool saved = save(path, [&](std::ostream& out) {
        return WriteThreeMf(meshes, settings.unit, out, libraryError) && static_cast<bool>(out);
      });
      if (!saved && !libraryError.empty()) reason = libraryError;
      return saved;
    }
    case MeshFormat::Vrml: break;
  }
  message = "Can not create file";
  reason = "not a mesh format";
  return false;
}
