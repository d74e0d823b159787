// A check of solids written by others (CGAL's polygon mesh processing, with
// exact predicates), for holding the program's own check and its solids to
// account.
#pragma once

#include <vector>

#include "PieceMesh.h"

struct IndependentReport {
  bool manifold = false;  // a consistently oriented manifold surface (CGAL's soup test)
  bool closed = false;    // ... without border
  int selfIntersecting = 0;  // faces in an intersecting pair
  double volume = 0.0;       // only when closed
  bool Sound() const { return manifold && closed && selfIntersecting == 0 && volume > 0.0; }
};

// Vertices at the same place are merged first, as a reader of the file would.
IndependentReport CheckIndependently(const PieceMesh& mesh);
