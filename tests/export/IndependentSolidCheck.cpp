#include "IndependentSolidCheck.h"

#include <array>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Polygon_mesh_processing/polygon_soup_to_polygon_mesh.h>
#include <CGAL/Polygon_mesh_processing/self_intersections.h>
#include <CGAL/Surface_mesh.h>
#include <CGAL/boost/graph/helpers.h>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_3;
using Mesh = CGAL::Surface_mesh<Point>;
namespace PMP = CGAL::Polygon_mesh_processing;

}  // namespace

IndependentReport CheckIndependently(const PieceMesh& piece) {
  IndependentReport report;
  std::vector<Point> points;
  std::vector<std::array<std::size_t, 3>> faces;
  std::map<std::tuple<float, float, float>, std::size_t> index;
  for (const auto& t : piece.triangles) {
    std::array<std::size_t, 3> face{};
    for (int c = 0; c < 3; ++c) {
      const CVertex3F& v = piece.vertices[t[c]];
      const auto [it, added] = index.try_emplace({v.x + 0.0f, v.y + 0.0f, v.z + 0.0f}, points.size());
      if (added) points.emplace_back(v.x, v.y, v.z);
      face[c] = it->second;
    }
    faces.push_back(face);
  }
  report.manifold = PMP::is_polygon_soup_a_polygon_mesh(faces);
  if (!report.manifold) return report;
  Mesh mesh;
  PMP::polygon_soup_to_polygon_mesh(points, faces, mesh);
  report.closed = CGAL::is_closed(mesh);
  std::vector<std::pair<Mesh::Face_index, Mesh::Face_index>> pairs;
  PMP::self_intersections(mesh, std::back_inserter(pairs));
  std::set<Mesh::Face_index> crossing;
  for (const auto& [f, g] : pairs) {
    crossing.insert(f);
    crossing.insert(g);
  }
  report.selfIntersecting = static_cast<int>(crossing.size());
  if (report.closed) report.volume = PMP::volume(mesh);
  return report;
}
