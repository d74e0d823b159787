// Every mesh format read back by readers written by others (assimp for all
// four, lib3mf for 3MF, the admesh program for STL): the numbers of
// objects, vertices and triangles must be exactly the meshes', the colours
// the letters', and the sizes those the units and em height ask for.
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "MeshFiles.h"
#include "MeshWriters.h"
#include "ShellRun.h"
#include "Model/COM/NMR_DLLInterfaces.h"
#include "Text3D.h"

namespace fs = std::filesystem;

namespace {

// Two colours so that the materials cannot all collapse into one.
std::vector<PieceMesh> Letters(const std::string& text, int steps) {
  std::string error;
  const auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
  EXPECT_NE(font, nullptr) << error;
  if (!font) return {};
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  TextSettings settings;
  settings.bevelSteps = steps;
  const auto letters = BuildText3D(text, outline, settings);
  std::vector<PieceMesh> meshes = BuildTextMeshes(*letters);
  for (std::size_t k = 0; k < meshes.size(); k += 2) meshes[k].colour = 0x00336699;
  return meshes;
}

class TempDir {
 public:
  TempDir() {
    char name[] = "/tmp/glyphkiln-meshes-XXXXXX";
    m_path = mkdtemp(name);
  }
  ~TempDir() { fs::remove_all(m_path); }
  fs::path operator/(const std::string& name) const { return m_path / name; }

 private:
  fs::path m_path;
};

fs::path Save(const TempDir& dir, const std::string& name, const std::vector<PieceMesh>& meshes,
              const ExportSettings& settings = {}) {
  const fs::path path = dir / name;
  std::string message, reason;
  fs::path failed;
  EXPECT_TRUE(SaveMeshFile(path, FormatForPath(path.string()), meshes, settings, message, reason, failed))
      << message << " " << failed << ": " << reason;
  return path;
}

std::size_t TotalTriangles(const std::vector<PieceMesh>& meshes) {
  std::size_t n = 0;
  for (const PieceMesh& m : meshes) n += m.triangles.size();
  return n;
}

aiColor4D Diffuse(const aiScene* scene, unsigned material) {
  aiColor4D colour(0, 0, 0, 0);
  const aiMaterial* m = scene->mMaterials[material];
  if (m->Get(AI_MATKEY_BASE_COLOR, colour) != aiReturn_SUCCESS) m->Get(AI_MATKEY_COLOR_DIFFUSE, colour);
  return colour;
}

// The byte of a colour component as the writer got it, from the value a
// reader gives (linear for glTF).
int Byte(double value, bool linear) {
  if (linear) value = value <= 0.0031308 ? value * 12.92 : 1.055 * std::pow(value, 1.0 / 2.4) - 0.055;
  return static_cast<int>(std::lround(value * 255.0));
}

void ExpectColour(const aiColor4D& colour, int colourRef, bool linear, const std::string& where) {
  EXPECT_EQ(Byte(colour.r, linear), colourRef & 0xFF) << where;
  EXPECT_EQ(Byte(colour.g, linear), (colourRef >> 8) & 0xFF) << where;
  EXPECT_EQ(Byte(colour.b, linear), (colourRef >> 16) & 0xFF) << where;
}

TEST(MeshWritersReadBack, AssimpSeesEveryPieceTriangleAndColour) {
  TempDir dir;
  const std::vector<PieceMesh> meshes = Letters("Hello, %&@8B \xC5\xE9", 7);
  ASSERT_GT(meshes.size(), 10u);
  ExportSettings ascii;
  ascii.stlAscii = true;
  struct Case {
    std::string file;
    ExportSettings settings;
    bool perPiece;  // one reader mesh per piece, in order
    bool linearColour;
  };
  const std::vector<Case> cases = {
      {"binary.stl", {}, false, false},
      {"ascii.stl", ascii, false, false},
      {"letters.obj", {}, true, false},
      {"letters.glb", {}, true, true},
      {"letters.3mf", {}, false, false},
  };
  for (const Case& c : cases) {
    const fs::path path = Save(dir, c.file, meshes, c.settings);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.string(), 0);
    ASSERT_NE(scene, nullptr) << c.file << ": " << importer.GetErrorString();
    EXPECT_FALSE(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) << c.file;
    std::size_t faces = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) faces += scene->mMeshes[m]->mNumFaces;
    EXPECT_EQ(faces, TotalTriangles(meshes)) << c.file;
    if (!c.perPiece) continue;
    ASSERT_EQ(scene->mNumMeshes, meshes.size()) << c.file;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
      const aiMesh* mesh = scene->mMeshes[m];
      const std::string where = c.file + " piece " + std::to_string(m);
      EXPECT_EQ(mesh->mNumFaces, meshes[m].triangles.size()) << where;
      // The OBJ reader gives every face corner its own vertex.
      const std::size_t vertices = c.file == "letters.obj" ? 3 * meshes[m].triangles.size()
                                                          : meshes[m].vertices.size();
      EXPECT_EQ(mesh->mNumVertices, vertices) << where;
      ExpectColour(Diffuse(scene, mesh->mMaterialIndex), meshes[m].colour, c.linearColour, where);
    }
  }
  // The material library is beside the OBJ and names both colours.
  std::ifstream mtl(dir / "letters.mtl");
  std::stringstream library;
  library << mtl.rdbuf();
  EXPECT_NE(library.str().find("newmtl " + ColourMaterialName(0x00336699)), std::string::npos);
  EXPECT_NE(library.str().find("newmtl " + ColourMaterialName(255)), std::string::npos);
}

// lib3mf's own reader: objects, vertex and triangle counts, unit, colours.
TEST(MeshWritersReadBack, Lib3mfReadsObjectsUnitAndColours) {
  using namespace NMR;
  TempDir dir;
  const std::vector<PieceMesh> meshes = Letters("Glyphkiln 8", 3);
  for (LengthUnit unit : {LengthUnit::Millimetre, LengthUnit::Inch}) {
    ExportSettings settings;
    settings.unit = unit;
    const fs::path path = Save(dir, "letters.3mf", meshes, settings);
    PLib3MFModel* model = nullptr;
    ASSERT_EQ(lib3mf_createmodel(&model), LIB3MF_OK);
    PLib3MFModelReader* reader = nullptr;
    ASSERT_EQ(lib3mf_model_queryreader(model, "3mf", &reader), LIB3MF_OK);
    ASSERT_EQ(lib3mf_reader_readfromfileutf8(reader, path.c_str()), LIB3MF_OK);
    DWORD readUnit = 99;
    lib3mf_model_getunit(model, &readUnit);
    EXPECT_EQ(readUnit, unit == LengthUnit::Inch ? DWORD(MODELUNIT_INCH) : DWORD(MODELUNIT_MILLIMETER));

    PLib3MFModelResourceIterator* objects = nullptr;
    ASSERT_EQ(lib3mf_model_getmeshobjects(model, &objects), LIB3MF_OK);
    std::size_t k = 0;
    BOOL more = false;
    while (lib3mf_resourceiterator_movenext(objects, &more) == LIB3MF_OK && more) {
      PLib3MFModelResource* resource = nullptr;
      lib3mf_resourceiterator_getcurrent(objects, &resource);
      ASSERT_LT(k, meshes.size());
      DWORD vertices = 0, triangles = 0;
      lib3mf_meshobject_getvertexcount(resource, &vertices);
      lib3mf_meshobject_gettrianglecount(resource, &triangles);
      EXPECT_EQ(vertices, meshes[k].vertices.size()) << "object " << k;
      EXPECT_EQ(triangles, meshes[k].triangles.size()) << "object " << k;
      PLib3MFDefaultPropertyHandler* defaults = nullptr;
      ASSERT_EQ(lib3mf_object_createdefaultpropertyhandler(resource, &defaults), LIB3MF_OK);
      DWORD group = 0, index = 0;
      ASSERT_EQ(lib3mf_defaultpropertyhandler_getbasematerial(defaults, &group, &index), LIB3MF_OK);
      PLib3MFModelBaseMaterial* materials = nullptr;
      ASSERT_EQ(lib3mf_model_getbasematerialbyid(model, group, &materials), LIB3MF_OK);
      BYTE r = 0, g = 0, b = 0, a = 0;
      lib3mf_basematerial_getdisplaycolor(materials, index, &r, &g, &b, &a);
      EXPECT_EQ(r | (g << 8) | (b << 16), meshes[k].colour) << "object " << k;
      EXPECT_EQ(a, 255) << "opaque";
      lib3mf_release(materials);
      lib3mf_release(defaults);
      lib3mf_release(resource);
      ++k;
    }
    EXPECT_EQ(k, meshes.size());
    lib3mf_release(objects);
    lib3mf_release(reader);
    lib3mf_release(model);
  }
}

double Field(const std::string& text, const std::string& pattern) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(pattern))) return NAN;
  return std::stod(match[1].str());
}

// admesh, a program made to check and repair STL: every facet connected to
// three neighbours, no edge running the wrong way, one part per piece. And
// the units through the command line: with the default depth of 0.2 em, an
// em of 20 mm gives a 4 mm deep solid lying on the bed.
TEST(MeshWritersReadBack, AdmeshFindsClosedPartsAndTheEmHeightDepth) {
  TempDir dir;
  const std::string glyphkiln = std::string(GLYPHKILN_BIN_DIR) + "/glyphkiln --font-file '" +
                                GLYPHKILN_LIBERATION_SANS + "' ";
  for (const char* shape : {"0", "2", "4"}) {
    const std::string stl = (dir / (std::string("g") + shape + ".stl")).string();
    ASSERT_EQ(Shell(glyphkiln + "--bevel-shape " + shape + " --em-height 20mm -o " + stl + " Glyphkiln").status, 0);
    const ShellRun admesh = Shell("admesh " + stl);
    ASSERT_EQ(admesh.status, 0) << admesh.out << " (is the admesh package installed?)";
    const std::string where = std::string("bevel shape ") + shape;
    EXPECT_EQ(Field(admesh.out, R"(Facets with 1 disconnected edge\s*:\s*(\d+))"), 0) << where;
    EXPECT_EQ(Field(admesh.out, R"(Backwards edges\s*:\s*(\d+))"), 0) << where;
    EXPECT_EQ(Field(admesh.out, R"(Number of parts\s*:\s*(\d+))"), 10) << where;  // i and j have dots
    EXPECT_GT(Field(admesh.out, R"(Volume\s*:\s*([0-9.]+))"), 0.0) << where;
    EXPECT_NEAR(Field(admesh.out, R"(Min Z =\s*(-?[0-9.]+))"), 0.0, 1e-5) << where;
    EXPECT_NEAR(Field(admesh.out, R"(Max Z =\s*(-?[0-9.]+))"), 4.0, 1e-4) << where;
  }
  // glTF in metres: the same em height gives 0.004 m, and half an inch in
  // inches gives a depth of 0.1.
  const std::string glb = (dir / "g.glb").string();
  ASSERT_EQ(Shell(glyphkiln + "--em-height 20mm -o " + glb + " Glyphkiln").status, 0);
  const std::string inches = (dir / "g.stl").string();
  ASSERT_EQ(Shell(glyphkiln + "--unit in --em-height 0.5in -o " + inches + " Glyphkiln").status, 0);
  struct Extent {
    std::string path;
    double depth;
    double emRatio;  // the letters' height per em as a share of the em
  };
  for (const Extent& e : {Extent{glb, 0.004, 0.02}, Extent{inches, 0.1, 0.5}}) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(e.path, 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    double lo = INFINITY, hi = -INFINITY, top = -INFINITY;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
      for (unsigned v = 0; v < scene->mMeshes[m]->mNumVertices; ++v) {
        lo = std::min<double>(lo, scene->mMeshes[m]->mVertices[v].z);
        hi = std::max<double>(hi, scene->mMeshes[m]->mVertices[v].z);
        top = std::max<double>(top, scene->mMeshes[m]->mVertices[v].y);
      }
    }
    EXPECT_NEAR(hi - lo, e.depth, e.depth * 1e-5) << e.path;
    // The capital G of Liberation Sans rises about 0.7 em.
    EXPECT_GT(top, 0.6 * e.emRatio) << e.path;
    EXPECT_LT(top, 0.8 * e.emRatio) << e.path;
  }
}

TEST(MeshFormats, LengthsFormatsAndScale) {
  struct LengthCase {
    const char* text;
    LengthUnit bare;
    double millimetres;  // NaN: refused
  };
  for (const LengthCase& c : std::vector<LengthCase>{{"20mm", LengthUnit::Inch, 20.0},
                                                     {"0.5in", LengthUnit::Millimetre, 12.7},
                                                     {"2 cm", LengthUnit::Millimetre, 20.0},
                                                     {"0.02m", LengthUnit::Millimetre, 20.0},
                                                     {"3", LengthUnit::Centimetre, 30.0},
                                                     {"0mm", LengthUnit::Millimetre, NAN},
                                                     {"-1in", LengthUnit::Millimetre, NAN},
                                                     {"20furlongs", LengthUnit::Millimetre, NAN},
                                                     {"mm", LengthUnit::Millimetre, NAN}}) {
    const std::optional<double> parsed = ParseLength(c.text, c.bare);
    if (std::isnan(c.millimetres)) {
      EXPECT_FALSE(parsed) << c.text;
    } else {
      ASSERT_TRUE(parsed) << c.text;
      EXPECT_DOUBLE_EQ(*parsed, c.millimetres) << c.text;
    }
  }
  EXPECT_EQ(FormatForPath("a.STL"), MeshFormat::Stl);
  EXPECT_EQ(FormatForPath("dir.v2/a.obj"), MeshFormat::Obj);
  EXPECT_EQ(FormatForPath("a.glb"), MeshFormat::Glb);
  EXPECT_EQ(FormatForPath("a.3mf"), MeshFormat::ThreeMf);
  EXPECT_EQ(FormatForPath("a.wrl"), MeshFormat::Vrml);
  EXPECT_EQ(FormatForPath("-"), MeshFormat::Vrml);
  // Scale: one em of `height` model units becomes the em height in the unit.
  ExportSettings s;
  s.emHeight = "0.5in";
  s.unit = LengthUnit::Centimetre;
  EXPECT_DOUBLE_EQ(ModelScale(s, 2.0), 1.27 / 2.0);
  s.emHeight.clear();
  EXPECT_DOUBLE_EQ(ModelScale(s, 2.0), 1.0);
}

}  // namespace
