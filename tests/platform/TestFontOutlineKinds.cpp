// Outlines of every kind FreeType reads come out as lines and quadratic
// splines: cubic segments are approximated within the stated tolerance, and
// a PostScript-flavoured face gives the same contours as a TrueType face of
// the same design.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FontEngine.h"
#include "OutlineRecords.h"

namespace {

ContourPoint Bezier(const ContourPoint& a, const ContourPoint& b, const ContourPoint& c,
                    const ContourPoint& d, double t) {
  const double u = 1.0 - t;
  return ContourPoint{u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                      u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y};
}

ContourPoint Quadratic(const ContourPoint& a, const ContourPoint& q, const ContourPoint& b, double t) {
  const double u = 1.0 - t;
  return ContourPoint{u * u * a.x + 2 * u * t * q.x + t * t * b.x, u * u * a.y + 2 * u * t * q.y + t * t * b.y};
}

std::unique_ptr<Font> OpenOrFail(const std::string& path) {
  std::string error;
  auto font = Font::OpenFile(path, 0, &error);
  EXPECT_NE(font, nullptr) << path << ": " << error << " (is the font package installed?)";
  return font;
}

}  // namespace

TEST(FontOutlineKinds, CubicsBecomeQuadraticPiecesWithinTheTolerance) {
  struct Case {
    const char* what;
    ContourPoint p0, c1, c2, p3;
  };
  const Case cases[] = {
      {"straight", {0, 0}, {10, 0}, {20, 0}, {30, 0}},
      {"quarter circle of an o", {0, 500}, {0, 776}, {224, 1000}, {500, 1000}},
      {"s-bend with an inflection", {0, 0}, {400, 0}, {-400, 300}, {0, 300}},
      {"cusp", {0, 0}, {300, 300}, {0, 300}, {300, 0}},
      {"tiny", {1, 1}, {1.2, 1.5}, {1.7, 1.9}, {2, 2}},
      {"larger than an em", {-3000, 0}, {-3000, 4000}, {3000, 4000}, {3000, 0}},
  };
  for (const Case& c : cases) {
    const std::vector<ContourPoint> pieces = CubicToQuadratics(c.p0, c.c1, c.c2, c.p3);
    ASSERT_FALSE(pieces.empty()) << c.what;
    ASSERT_EQ(pieces.size() % 2, 0u) << c.what;
    EXPECT_EQ(pieces.back().x, c.p3.x) << c.what;
    EXPECT_EQ(pieces.back().y, c.p3.y) << c.what;
    const std::size_t n = pieces.size() / 2;
    ContourPoint start = c.p0;
    double worst = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
      for (int s = 0; s <= 16; ++s) {
        const double t = s / 16.0;
        const ContourPoint q = Quadratic(start, pieces[2 * k], pieces[2 * k + 1], t);
        const ContourPoint b = Bezier(c.p0, c.c1, c.c2, c.p3, (static_cast<double>(k) + t) / n);
        worst = std::max(worst, std::hypot(q.x - b.x, q.y - b.y));
      }
      start = pieces[2 * k + 1];
    }
    EXPECT_LE(worst, kCubicTolerance + 1e-9) << c.what << ": " << n << " pieces";
  }
  // A cubic that is a raised quadratic needs one piece; a tight curve more.
  EXPECT_EQ(CubicToQuadratics({0, 0}, {10, 0}, {20, 0}, {30, 0}).size(), 2u);
  EXPECT_GT(CubicToQuadratics({0, 500}, {0, 776}, {224, 1000}, {500, 1000}).size(), 2u);
}

TEST(FontOutlineKinds, PostScriptFacesGiveOnlyLinesAndQuadraticSplinesEndingOnTheCurve) {
  for (const char* path : {GLYPHKILN_NIMBUS_SANS_CFF, GLYPHKILN_NIMBUS_SANS_TYPE1}) {
    auto font = OpenOrFail(path);
    ASSERT_NE(font, nullptr);
    for (int c = 33; c < 127; ++c) {
      const auto outline = font->GlyphOutline(static_cast<unsigned char>(c));
      ASSERT_TRUE(outline.has_value()) << path << " " << char(c);
      EXPECT_FALSE(outline->empty()) << path << " " << char(c);
      for (const GlyphPolygon& polygon : *outline) {
        for (const GlyphCurve& curve : polygon.curves) {
          EXPECT_TRUE(curve.type == kCurveLine || curve.type == kCurveQuadSpline);
          EXPECT_FALSE(curve.points.empty());
          if (curve.type == kCurveQuadSpline) {
            EXPECT_EQ(curve.points.size(), 2u) << "one control point and its end";
          }
        }
      }
    }
  }
}

TEST(FontOutlineKinds, SameDesignGivesSameContoursWhateverTheOutlineFormat) {
  // The metric-compatible TrueType face and the CFF and Type 1 versions of
  // the same design: every printable ASCII character has as many contours
  // in each, and the PostScript versions agree on the advances.
  auto trueType = OpenOrFail(GLYPHKILN_LIBERATION_SANS);
  auto cff = OpenOrFail(GLYPHKILN_NIMBUS_SANS_CFF);
  auto type1 = OpenOrFail(GLYPHKILN_NIMBUS_SANS_TYPE1);
  ASSERT_TRUE(trueType && cff && type1);
  for (int c = 33; c < 127; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t contours = trueType->GlyphOutline(byte)->size();
    EXPECT_EQ(cff->GlyphOutline(byte)->size(), contours) << char(c);
    EXPECT_EQ(type1->GlyphOutline(byte)->size(), contours) << char(c);
    EXPECT_EQ(cff->AdvanceWidth(byte), type1->AdvanceWidth(byte)) << char(c);
    EXPECT_NEAR(cff->AdvanceWidth(byte), trueType->AdvanceWidth(byte), 2) << char(c);
  }
}

TEST(FontOutlineKinds, FilesWithoutUsableOutlinesAreRefusedNamingTheFile) {
  struct Case {
    std::filesystem::path file;
    int face;
    std::string says;
  };
  const std::string notFont = std::string(GLYPHKILN_TEST_DATA_DIR) + "/CMakeLists.txt";
  const Case cases[] = {
      {notFont, 0, "not a font file"},
      {"/nonexistent/font.ttf", 0, "cannot read"},
      {GLYPHKILN_LIBERATION_SANS, 3, "face 3"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Font::OpenFile(c.file, c.face, &error), nullptr) << c.file;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_NE(error.find(c.file.string()), std::string::npos) << error;
  }
  std::string error;
  EXPECT_EQ(Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error, "No Such Style"), nullptr);
  EXPECT_NE(error.find("No Such Style"), std::string::npos) << error;
  EXPECT_NE(Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error, "Regular"), nullptr);
}
