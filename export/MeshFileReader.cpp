#include "MeshFileReader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "MeshFormats.h"
#include "StlReader.h"

namespace {

void CollectPieces(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent,
                   std::vector<PieceMesh>& pieces) {
  const aiMatrix4x4 transform = parent * node.mTransformation;
  for (unsigned k = 0; k < node.mNumMeshes; ++k) {
    const aiMesh& mesh = *scene.mMeshes[node.mMeshes[k]];
    PieceMesh piece;
    piece.name = node.mName.length > 0 ? node.mName.C_Str() : mesh.mName.C_Str();
    piece.pieceIndex = static_cast<int>(pieces.size());
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      const aiVector3D p = transform * mesh.mVertices[v];
      piece.vertices.push_back({p.x, p.y, p.z});
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;  // points and lines bound no solid
      piece.triangles.push_back({face.mIndices[0], face.mIndices[1], face.mIndices[2]});
    }
    if (!piece.triangles.empty()) pieces.push_back(std::move(piece));
  }
  for (unsigned c = 0; c < node.mNumChildren; ++c) CollectPieces(scene, *node.mChildren[c], transform, pieces);
}

}  // namespace

bool IsReadableMeshFile(const std::filesystem::path& path) {
  const MeshFormat format = FormatForPath(path.string());
  return format != MeshFormat::Vrml && std::filesystem::is_regular_file(path);
}

bool ReadMeshFilePieces(const std::filesystem::path& path, std::vector<PieceMesh>& pieces, std::string& error) {
  pieces.clear();
  if (FormatForPath(path.string()) == MeshFormat::Stl) {
    if (!ReadStlPieces(path, pieces, error)) return false;
    for (PieceMesh& piece : pieces) piece.name = "surface_" + std::to_string(piece.pieceIndex + 1);
  } else {
    Assimp::Importer importer;
    // Only polygons cut into triangles: no welding, no repair, so that the
    // check sees the file as it is.
    const aiScene* scene = importer.ReadFile(path.string(), aiProcess_Triangulate);
    if (scene == nullptr || scene->mRootNode == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0) {
      error = "cannot read '" + path.string() + "': " + importer.GetErrorString();
      return false;
    }
    CollectPieces(*scene, *scene->mRootNode, aiMatrix4x4(), pieces);
  }
  if (pieces.empty()) {
    error = "'" + path.string() + "' holds no triangles";
    return false;
  }
  return true;
}
