// The solid check against CGAL's: on made-up faults (crossing, touching,
// overlapping in one plane, sharing an edge's line) and on the exact letters,
// whose bevels fold, read back from every mesh format through `--check`. The
// two must agree piece for piece, and the exact letters must hold faults for
// them to find.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "IndependentSolidCheck.h"
#include "MeshCheck.h"
#include "ShellRun.h"
#include "Text3D.h"

namespace fs = std::filesystem;

namespace {

// Adds an axis-aligned box from lo to hi, wound outward.
void AddBox(PieceMesh& mesh, CVertex3F lo, CVertex3F hi) {
  const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
  for (int k = 0; k < 8; ++k) {
    mesh.vertices.push_back({(k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z});
  }
  for (const auto& t : std::vector<std::array<std::uint32_t, 3>>{{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6},
                                                                {0, 1, 4}, {1, 5, 4}, {2, 6, 3}, {3, 6, 7},
                                                                {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}}) {
    mesh.triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
  }
}

TEST(SolidCheck, AgreesWithAnIndependentCheckOnMadeUpFaults) {
  struct Case {
    const char* name;
    CVertex3F lo, hi;  // a second box beside the unit box
    bool intersecting;
  };
  const std::vector<Case> cases = {
      {"apart", {2, 0, 0}, {3, 1, 1}, false},
      {"crossing", {0.5f, 0.25f, 0.3f}, {1.5f, 1.25f, 1.3f}, true},
      {"inside", {0.25f, 0.25f, 0.25f}, {0.75f, 0.75f, 0.75f}, false},  // no surfaces meet
      {"faces touching in one plane", {1, 0.25f, 0.25f}, {2, 0.75f, 0.75f}, true},
      {"an edge lying on a face", {1, 0.5f, -1}, {2, 2, 0.5f}, true},
      {"a corner touching a face", {1, 0.5f, 0.5f}, {2, 2, 2}, true},
      {"near but apart", {1.0001f, 0.25f, 0.25f}, {2, 0.75f, 0.75f}, false},
  };
  for (const Case& c : cases) {
    PieceMesh mesh;
    AddBox(mesh, {0, 0, 0}, {1, 1, 1});
    AddBox(mesh, c.lo, c.hi);
    const MeshReport own = CheckMesh(mesh);
    const IndependentReport other = CheckIndependently(mesh);
    EXPECT_TRUE(own.closed && own.oriented) << c.name;
    EXPECT_EQ(own.selfIntersecting > 0, c.intersecting) << c.name;
    EXPECT_EQ(other.selfIntersecting > 0, c.intersecting) << c.name;
  }
  // One face of the box turned over onto its neighbour across their common
  // edge: the two overlap in their plane, and the surface no longer runs
  // consistently.
  PieceMesh folded;
  AddBox(folded, {0, 0, 0}, {1, 1, 1});
  folded.vertices.push_back({0.25f, 0.25f, 0.0f});
  folded.triangles[1] = {1, 2, 8};
  const MeshReport own = CheckMesh(folded);
  EXPECT_GT(own.selfIntersecting, 0);
  EXPECT_FALSE(own.closed);
  EXPECT_FALSE(CheckIndependently(folded).Sound());
}

// Per piece line of --check: the self-intersecting triangles and the verdict.
struct CheckLine {
  int selfIntersecting;
  bool ok;
};
std::vector<CheckLine> ParseCheck(const std::string& out) {
  std::vector<CheckLine> lines;
  const std::regex line(R"(self-intersecting triangles (\d+), degenerate triangles \d+, volume \S+: (ok|FAILED))");
  std::istringstream in(out);
  std::string text;
  while (std::getline(in, text)) {
    std::smatch m;
    if (std::regex_search(text, m, line)) lines.push_back({std::stoi(m[1].str()), m[2].str() == "ok"});
  }
  return lines;
}

// The file's meshes as assimp reads them, one per piece, judged by CGAL.
std::vector<IndependentReport> CheckFileIndependently(const fs::path& file) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(file.string(), 0);
  EXPECT_NE(scene, nullptr) << file << ": " << importer.GetErrorString();
  std::vector<IndependentReport> reports;
  for (unsigned m = 0; scene != nullptr && m < scene->mNumMeshes; ++m) {
    const aiMesh& source = *scene->mMeshes[m];
    PieceMesh mesh;
    for (unsigned v = 0; v < source.mNumVertices; ++v) {
      mesh.vertices.push_back({source.mVertices[v].x, source.mVertices[v].y, source.mVertices[v].z});
    }
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
      const aiFace& face = source.mFaces[f];
      if (face.mNumIndices == 3) mesh.triangles.push_back({face.mIndices[0], face.mIndices[1], face.mIndices[2]});
    }
    reports.push_back(CheckIndependently(mesh));
  }
  return reports;
}

TEST(SolidCheck, FindsTheFaultsOfExactLettersThatAnIndependentCheckFinds) {
  char name[] = "/tmp/glyphkiln-check-XXXXXX";
  const fs::path dir = mkdtemp(name);
  std::string error;
  const auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
  ASSERT_NE(font, nullptr) << error;
  int faulty = 0;
  for (const char* text : {"Glyphkiln", "%&@8B", "Hello, World!"}) {
    // The meshes the files hold, judged by CGAL, in file order.
    CGlyphOutline outline;
    ExtractGlyphOutlines(outline, text, *font);
    TextSettings settings;
    settings.bevelSteps = 7;
    settings.bevelSize = ShapeChoices::kBevelSizeOfChoice[2];
    const std::vector<PieceMesh> meshes = BuildTextMeshes(*BuildText3D(text, outline, settings));
    std::vector<IndependentReport> inMemory;
    for (const PieceMesh& mesh : meshes) inMemory.push_back(CheckIndependently(mesh));
    for (const char* format : {"stl", "obj", "glb", "3mf"}) {
      const std::string where = std::string(text) + " ." + format;
      const fs::path file = dir / (std::string("letters.") + format);
      const std::string glyphkiln = std::string(GLYPHKILN_BIN_DIR) + "/glyphkiln --font-file '" +
                                    GLYPHKILN_LIBERATION_SANS + "' ";
      ASSERT_EQ(Shell(glyphkiln + "--solid exact --bevel-shape 4 --bevel-size 2 -o '" + file.string() + "' '" +
                      text + "'").status,
                0)
          << where;
      // The formats that keep pieces are judged as the file holds them (in
      // metres, or rounded to decimals); STL's surfaces as the meshes were.
      const std::vector<IndependentReport> expected =
          std::string(format) == "stl" ? inMemory : CheckFileIndependently(file);
      int expectedFailures = 0;
      for (const IndependentReport& r : expected) expectedFailures += r.Sound() ? 0 : 1;
      faulty += expectedFailures;
      const ShellRun check = Shell(glyphkiln + "--check '" + file.string() + "'");
      EXPECT_EQ(check.status, expectedFailures > 0 ? 1 : 0) << where << "\n" << check.out;
      const std::vector<CheckLine> lines = ParseCheck(check.out);
      // STL keeps no pieces: its connected surfaces are the pieces here.
      ASSERT_EQ(lines.size(), meshes.size()) << where << "\n" << check.out;
      ASSERT_EQ(expected.size(), meshes.size()) << where;
      for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].ok, expected[k].Sound()) << where << " piece " << k;
        EXPECT_EQ(lines[k].selfIntersecting, expected[k].selfIntersecting) << where << " piece " << k;
      }
    }
  }
  EXPECT_GT(faulty, 0) << "the exact letters with the round bevel fold";
  fs::remove_all(dir);
}

}  // namespace
