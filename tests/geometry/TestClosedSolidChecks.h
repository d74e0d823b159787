// Invariants of a piece's mesh shared by the mesh and closed-solid tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "LetterPiece.h"

namespace solidcheck {

// Splits an index list into its polygons; fails if the list does not end
// with -1 or an index is outside the vertices.
inline ::testing::AssertionResult SplitPolygons(const std::vector<int>& list, std::size_t vertexCount,
                                                std::vector<std::vector<int>>& polygons) {
  std::vector<int> current;
  for (int index : list) {
    if (index == -1) {
      polygons.push_back(current);
      current.clear();
    } else if (index < 0 || static_cast<std::size_t>(index) >= vertexCount) {
      return ::testing::AssertionFailure() << "index " << index << " outside " << vertexCount
                                           << " vertices";
    } else {
      current.push_back(index);
    }
  }
  if (!current.empty()) return ::testing::AssertionFailure() << "index list does not end with -1";
  return ::testing::AssertionSuccess();
}

// Every face of the mesh, front and back first.
inline ::testing::AssertionResult AllFaces(const CLetterPiece& piece,
                                           std::vector<std::vector<int>>& faces) {
  for (const std::vector<int>* list : {&piece.frontFace, &piece.backFace, &piece.sideFaces}) {
    auto result = SplitPolygons(*list, piece.vertices.size(), faces);
    if (!result) return result;
  }
  if (static_cast<std::size_t>(piece.faceCount) != faces.size()) {
    return ::testing::AssertionFailure() << "faceCount " << piece.faceCount << " but "
                                         << faces.size() << " faces";
  }
  return ::testing::AssertionSuccess();
}

// A closed, consistently oriented surface: every directed edge of every face
// occurs exactly once, and so does its reverse. A face turned the wrong way,
// a missing face or a hole in the surface breaks this.
inline ::testing::AssertionResult IsClosedSolid(const CLetterPiece& piece) {
  std::vector<std::vector<int>> faces;
  auto result = AllFaces(piece, faces);
  if (!result) return result;
  std::map<std::pair<int, int>, int> uses;
  for (const auto& face : faces) {
    if (face.size() < 3) return ::testing::AssertionFailure() << "face with fewer than 3 corners";
    for (std::size_t k = 0; k < face.size(); ++k) {
      ++uses[{face[k], face[(k + 1) % face.size()]}];
    }
  }
  for (const auto& [edge, count] : uses) {
    if (count != 1) {
      return ::testing::AssertionFailure() << "edge " << edge.first << "->" << edge.second
                                           << " used " << count << " times";
    }
    if (!uses.count({edge.second, edge.first})) {
      return ::testing::AssertionFailure() << "edge " << edge.first << "->" << edge.second
                                           << " has no partner in the other direction";
    }
  }
  return ::testing::AssertionSuccess();
}

// Newell's normal: twice the polygon's signed area projected on each axis
// plane; bridges traversed both ways cancel out.
inline void NewellNormal(const CLetterPiece& piece, const std::vector<int>& face, double normal[3]) {
  normal[0] = normal[1] = normal[2] = 0.0;
  for (std::size_t k = 0; k < face.size(); ++k) {
    const CVertex3F& a = piece.vertices[face[k]];
    const CVertex3F& b = piece.vertices[face[(k + 1) % face.size()]];
    normal[0] += (double(a.y) - b.y) * (double(a.z) + b.z);
    normal[1] += (double(a.z) - b.z) * (double(a.x) + b.x);
    normal[2] += (double(a.x) - b.x) * (double(a.y) + b.y);
  }
}

// The front polygon lies at z = 0 and faces +z, the back polygon lies at
// z = -depth and faces -z.
inline ::testing::AssertionResult FrontFacesViewer(const CLetterPiece& piece) {
  std::vector<std::vector<int>> front, back;
  auto result = SplitPolygons(piece.frontFace, piece.vertices.size(), front);
  if (result) result = SplitPolygons(piece.backFace, piece.vertices.size(), back);
  if (!result) return result;
  if (front.size() != 1 || back.size() != 1) {
    return ::testing::AssertionFailure() << "expected one front and one back polygon";
  }
  const float backZ = static_cast<float>(-piece.depth);
  for (int index : front[0]) {
    if (piece.vertices[index].z != 0.0f) return ::testing::AssertionFailure() << "front vertex off z = 0";
  }
  for (int index : back[0]) {
    if (piece.vertices[index].z != backZ) return ::testing::AssertionFailure() << "back vertex off z = -depth";
  }
  double normal[3];
  NewellNormal(piece, front[0], normal);
  if (!(normal[2] > 0.0)) return ::testing::AssertionFailure() << "front face turned away, z " << normal[2];
  NewellNormal(piece, back[0], normal);
  if (!(normal[2] < 0.0)) return ::testing::AssertionFailure() << "back face turned toward +z";
  return ::testing::AssertionSuccess();
}

}  // namespace solidcheck
