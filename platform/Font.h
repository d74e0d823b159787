// An opened outline face: per character or glyph the outline records and
// the advance width the letter builder reads, the line height, and the
// glyphs of a shaped line (FreeType and HarfBuzz underneath). No FreeType
// or HarfBuzz type appears here.
//
// Units: one em is 1000 font units, y up, outlines unhinted. Outline points
// are 16.16 fixed point; advances are whole font units. Every kind of
// outline FreeType reads is handed out as lines and quadratic splines: the
// cubic segments of PostScript-flavoured faces (CFF, CFF2, Type 1) are
// approximated by quadratic ones within kCubicTolerance.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FontLookup.h"

// A 16.16 fixed-point point: the integer part is the high 16 bits (signed),
// the fraction the low 16 bits, so value + fraction / 65536 == raw / 65536.
struct FixedPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Record types of a polygon's curve list.
enum GlyphCurveType : int {
  kCurveLine = 1,        // each point is the end of a straight segment
  kCurveQuadSpline = 2,  // off-curve points as they are, then one on-curve point
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

// The farthest, in font units at 1000 per em, that the quadratic pieces
// standing in for one cubic segment stray from it: a twentieth of the
// closeness threshold (5 units) below which the letter builder drops points.
constexpr double kCubicTolerance = 0.25;

// One glyph of a shaped line: the glyph and where its origin goes, relative
// to the line's start, in font units at 1000 per em, rounded.
struct ShapedGlyph {
  unsigned glyph = 0;        // 0: the face's missing glyph
  std::size_t cluster = 0;   // index of the first character it stands for
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t advance = 0;  // how far the pen moves after it
};

// An opened face. Owns its FreeType library and face.
class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Opens face `faceIndex` of a font file (a collection holds several; a
  // variable font's named instance n is face index + (n << 16)). With a
  // `style`, the named instance (or the face of the collection) of that
  // style name. Null, with a reason naming the file in `error`, when the
  // file cannot be read, is no font, has no such face or has no scalable
  // outlines (a bitmap-only font).
  static std::unique_ptr<Font> OpenFile(const std::filesystem::path& file, int faceIndex = 0,
                                        std::string* error = nullptr,
                                        const std::string& style = {});
  // Resolves the description with fontconfig and opens the chosen face, with
  // the synthetic bold and slant fontconfig asks for. When `requireFamily`
  // is set, a description whose family is not installed (fontconfig would
  // fall back to some other face) fails instead.
  static std::unique_ptr<Font> Open(const FontDescription& description, bool requireFamily = false,
                                    std::string* error = nullptr);
  // Opens what a look-up resolved, with its synthetic style.
  static std::unique_ptr<Font> Open(const ResolvedFont& resolved, std::string* error = nullptr);

  // The outline of the character `byte` (read as Windows-1252): its polygons,
  // none for a blank such as the space. A character the face lacks gives the
  // face's missing-glyph outline. No value when the engine cannot produce an
  // outline for it at all.
  std::optional<std::vector<GlyphPolygon>> GlyphOutline(unsigned char byte) const;
  // The advance width of the character in font units, rounded.
  int AdvanceWidth(unsigned char byte) const;

  // The glyph of a Unicode character; 0 (the missing glyph) when the face
  // lacks it.
  unsigned GlyphIndex(char32_t character) const;
  // The outline and the rounded advance of a glyph, as above.
  std::optional<std::vector<GlyphPolygon>> OutlineOfGlyph(unsigned glyph) const;
  int AdvanceOfGlyph(unsigned glyph) const;

  // The distance between base lines: ascender - descender + line gap, in
  // font units at 1000 per em, rounded.
  int LineHeight() const;

  // The glyphs of one line shaped with the face's own rules (kerning pairs,
  // ligatures, marks, complex scripts; right-to-left runs come out right to
  // left), in visual order from the left.
  std::vector<ShapedGlyph> Shape(const std::u32string& line) const;

  const std::string& Family() const;
  const std::string& Style() const;
  const std::filesystem::path& File() const;
  // The synthetic bold and slant applied to every outline and advance.
  const SyntheticStyle& Synthetic() const;
  void SetSynthetic(const SyntheticStyle& synthetic);

 private:
  struct Impl;
  explicit Font(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};
