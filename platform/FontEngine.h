// The font engine: finds an installed outline face from a font description
// (fontconfig) or opens a font file, and hands out per character byte the
// native outline records and the advance width the letter builder reads
// (FreeType underneath). No FreeType or fontconfig type appears here.
//
// Units: one em is 1000 font units, y up, outlines unhinted. Outline points
// are 16.16 fixed point; advances are whole font units.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the user picked in the font dialog. The height is always -1000 (a
// character height of 1000 units) and is carried only so that the
// description stays complete; the engine always works at one em = 1000.
struct FontDescription {
  static constexpr int kWeightDontCare = 0;
  static constexpr int kWeightNormal = 400;
  static constexpr int kWeightBold = 700;

  std::string faceName = "Arial";  // family name, or an alias fontconfig knows
  std::string style;               // e.g. "Bold Italic"; empty: chosen by weight and italic
  int height = -1000;
  int weight = kWeightDontCare;    // 1..1000 like OpenType; 0 means regular
  bool italic = false;
};

// One installed face with TrueType outlines, for the font dialog.
struct FontFaceInfo {
  std::string family;
  std::string style;
  int weight = FontDescription::kWeightNormal;  // OpenType scale
  bool italic = false;
  std::filesystem::path file;
  int faceIndex = 0;
};

// Where a description leads: the face fontconfig chose and whether it is the
// face that was asked for (its family or one of the family's registered
// metric aliases) rather than a fallback of last resort.
struct ResolvedFont {
  std::filesystem::path file;
  int faceIndex = 0;
  std::string family;
  std::string style;
  bool exactFamily = false;
  bool embolden = false;  // fontconfig asks for synthetic bold
  bool oblique = false;   // fontconfig asks for synthetic slant
};

// A 16.16 fixed-point point: the integer part is the high 16 bits (signed),
// the fraction the low 16 bits, so value + fraction / 65536 == raw / 65536.
struct FixedPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Record types of a polygon's curve list.
enum GlyphCurveType : int {
  kCurveLine = 1,          // each point is the end of a straight segment
  kCurveQuadSpline = 2,    // off-curve points as they are, then one on-curve point
  kCurveCubicSpline = 3,   // two off-curve points and one on-curve point
};

struct GlyphCurve {
  int type = kCurveLine;
  std::vector<FixedPoint> points;
};

// One closed contour of a glyph: a start point (always on the curve) and the
// records that lead from it back to it. The last record ends on the start
// point when the closing segment is a curve; a straight closing segment is
// implied.
struct GlyphPolygon {
  FixedPoint start;
  std::vector<GlyphCurve> curves;
};

// One point of a contour as a font file stores it, in the face's own units.
enum ContourPointKind : int { kOnCurve, kQuadControl, kCubicControl };
struct ContourPoint {
  double x = 0.0;
  double y = 0.0;
  int kind = kOnCurve;
};

// Turns one stored contour into a polygon record, scaling by `scale` (1000
// divided by the face's units per em). A contour may begin off the curve:
// then its last point is the start when that is on the curve, else the
// midpoint of the first and the last. Runs of control points are kept as
// they are in one spline record that ends on the next on-curve point (or on
// the start point when it closes the contour); runs of on-curve points form
// line records, and a straight closing segment is left implied.
GlyphPolygon PolygonFromContour(const std::vector<ContourPoint>& points, double scale);

// An opened face. Owns its FreeType library and face.
class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Opens face `faceIndex` of a font file. Null, with a reason in `error`,
  // when the file cannot be read or has no scalable outlines.
  static std::unique_ptr<Font> OpenFile(const std::filesystem::path& file, int faceIndex = 0,
                                        std::string* error = nullptr);
  // Resolves the description with fontconfig and opens the chosen face.
  // When `requireFamily` is set, a description whose family is not installed
  // (fontconfig would fall back to some other face) fails instead.
  static std::unique_ptr<Font> Open(const FontDescription& description, bool requireFamily = false,
                                    std::string* error = nullptr);

  // The outline of the character `byte` (read as Windows-1252): its polygons,
  // none for a blank such as the space. A character the face lacks gives the
  // face's missing-glyph outline. No value when the engine cannot produce an
  // outline for it at all.
  std::optional<std::vector<GlyphPolygon>> GlyphOutline(unsigned char byte) const;
  // The advance width of the character in font units, rounded.
  int AdvanceWidth(unsigned char byte) const;

  const std::string& Family() const;
  const std::string& Style() const;
  const std::filesystem::path& File() const;

 private:
  struct Impl;
  explicit Font(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

// fontconfig's choice for a description; no value when fontconfig offers
// no scalable face at all.
std::optional<ResolvedFont> ResolveFont(const FontDescription& description);

// Every installed face with TrueType outlines, sorted by family, then weight,
// italic and style; each face once.
std::vector<FontFaceInfo> ListOutlineFaces();

// fontconfig keeps its configuration for the whole process once a
// description has been resolved or the faces listed. A program that wants
// all of it back before exit (so that leak checkers stay quiet) calls this
// at the end, when no lookup runs any more; a later lookup loads the
// configuration again. Opened fonts are not affected.
void ReleaseFontConfiguration();

// Releases the font configuration when it goes out of scope: one in main().
class FontConfigurationScope {
 public:
  FontConfigurationScope() = default;
  FontConfigurationScope(const FontConfigurationScope&) = delete;
  FontConfigurationScope& operator=(const FontConfigurationScope&) = delete;
  ~FontConfigurationScope() { ReleaseFontConfiguration(); }
};

// The description that leads back to this face.
FontDescription DescriptionFor(const FontFaceInfo& face);
// The description for a family and style name as the font dialog shows them;
// an unknown style gives the family's regular face.
FontDescription DescriptionFor(const std::string& family, const std::string& style);
