// What a reader's or a slicer's check of a solid would say about one mesh:
// closed, consistently oriented, free of degenerate and of intersecting
// triangles, and its volume. The intersection test decides with exact
// predicates (a floating-point filter, exact rational arithmetic where the
// filter cannot decide), so a touching or crossing pair is never missed or
// invented by rounding.
#pragma once

#include "PieceMesh.h"

struct MeshReport {
  bool closed = false;    // every edge shared by exactly two triangles
  bool oriented = false;  // ... running opposite ways in them
  int boundaryEdges = 0;  // edges of one triangle only
  int overusedEdges = 0;  // edges of three or more
  int degenerate = 0;     // triangles repeating a vertex or without area
  // Triangles that meet another triangle of the mesh anywhere but in the
  // corners or the edge they share (crossing, touching, overlapping in one
  // plane, or repeated). Degenerate triangles are left to `degenerate`.
  int selfIntersecting = 0;
  double volume = 0.0;    // signed: positive when wound outward
};

// `intersections` adds the pairwise test (a bounding-box tree over the
// triangles, so near-linear for letter meshes).
MeshReport CheckMesh(const PieceMesh& mesh, bool intersections = true);

// A sound solid: closed, oriented, no degenerate or intersecting triangle,
// positive volume.
bool IsSoundSolid(const MeshReport& report);
