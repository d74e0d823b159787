// Outline extraction: lines laid out, glyphs placed, native glyph records
// turned into the outline stream.
#include "ExtractGlyphOutlines.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "Windows1252.h"

namespace {

// 16.16 fixed point as the integer part (signed) plus the fraction (unsigned).
double FromFixed(std::int32_t raw) {
  const std::int32_t value = raw >> 16;  // arithmetic shift: floor for negatives
  const std::uint32_t fraction = static_cast<std::uint32_t>(raw) & 0xFFFFu;
  return value + fraction / 65536.0;
}

void AddPoint(CGlyphOutline& outline, const FixedPoint& p, double penX, double penY, int kind) {
  outline.Add(FromFixed(p.x) + penX, FromFixed(p.y) + penY, kind);
}

// Control points P0 .. Pc-1 of one quadratic record, the last on the curve:
// between two consecutive control points lies an implied on-curve midpoint.
void AddQuadSpline(CGlyphOutline& outline, const std::vector<FixedPoint>& pts, double penX,
                   double penY) {
  if (pts.empty()) return;
  AddPoint(outline, pts[0], penX, penY, kSplineControl);
  for (std::size_t k = 1; k + 1 < pts.size(); ++k) {
    const double mx = (FromFixed(pts[k - 1].x) + FromFixed(pts[k].x)) / 2.0 + penX;
    const double my = (FromFixed(pts[k - 1].y) + FromFixed(pts[k].y)) / 2.0 + penY;
    outline.Add(mx, my, kSplineOnCurve);
    AddPoint(outline, pts[k], penX, penY, kSplineControl);
  }
  AddPoint(outline, pts.back(), penX, penY, kSplineOnCurve);
}

// The letter code of a character: its signed code-page byte when
// Windows-1252 holds it, else the code point itself (never below 0x80).
int LetterCode(char32_t c) {
  const unsigned char byte = UnicodeToWindows1252(c);
  if (byte != '?' || c == U'?') return static_cast<signed char>(byte);
  return static_cast<int>(c);
}

bool IsLineFeed(char32_t c) { return c == U'\n'; }
// A carriage return right before a line feed belongs to the line break.
bool IsBreakPart(const std::u32string& text, std::size_t k) {
  return IsLineFeed(text[k]) || (text[k] == U'\r' && k + 1 < text.size() && IsLineFeed(text[k + 1]));
}

// One glyph placed on its line, for the character at `character`.
struct Placed {
  std::size_t character = 0;
  std::vector<GlyphPolygon> polygons;
  std::int64_t x = 0;
  std::int64_t y = 0;
};

struct Line {
  std::vector<Placed> glyphs;
  std::int64_t width = 0;
};

class Layout {
 public:
  Layout(const std::u32string& text, const Font& font, const TextLayout& options)
      : m_text(text), m_font(font), m_options(options) {}

  // The face a character's glyph comes from and the glyph, noting it as
  // missing when neither face has it.
  std::pair<const Font*, unsigned> Choose(std::size_t k, unsigned glyph) {
    if (glyph != 0) return {&m_font, glyph};
    if (m_options.fallback) {
      if (const unsigned other = m_options.fallback->GlyphIndex(m_text[k])) {
        return {m_options.fallback, other};
      }
    }
    if (m_missing.find(m_text[k]) == std::u32string::npos) m_missing.push_back(m_text[k]);
    return {&m_font, 0};
  }

  // The characters first .. last - 1 (no line break among them) at their
  // advances, one after the other.
  Line Plain(std::size_t first, std::size_t last) {
    Line line;
    for (std::size_t k = first; k < last; ++k) {
      if (IsBreakPart(m_text, k)) continue;
      const auto [face, glyph] = Choose(k, m_font.GlyphIndex(m_text[k]));
      // A glyph without an outline leaves the pen where it is.
      auto polygons = face->OutlineOfGlyph(glyph);
      if (!polygons) continue;
      line.glyphs.push_back(Placed{k, std::move(*polygons), line.width, 0});
      line.width += face->AdvanceOfGlyph(glyph);
    }
    return line;
  }

  // The same line shaped by the font; a glyph taken from the fallback face
  // moves what follows by the difference of the advances.
  Line Shaped(std::size_t first, std::size_t last) {
    Line line;
    if (last > first && IsBreakPart(m_text, last - 1)) --last;  // the CR of a CR LF
    std::int64_t shift = 0;
    for (const ShapedGlyph& shaped : m_font.Shape(m_text.substr(first, last - first))) {
      line.width += shaped.advance;
      const std::size_t k = first + shaped.cluster;
      const auto [face, glyph] = Choose(k, shaped.glyph);
      auto polygons = face->OutlineOfGlyph(glyph);
      if (!polygons) continue;
      line.glyphs.push_back(Placed{k, std::move(*polygons), shaped.x + shift, shaped.y});
      if (face != &m_font) shift += face->AdvanceOfGlyph(glyph) - shaped.advance;
    }
    line.width += shift;
    return line;
  }

  const std::u32string& Missing() const { return m_missing; }

 private:
  const std::u32string& m_text;
  const Font& m_font;
  const TextLayout& m_options;
  std::u32string m_missing;
};

}  // namespace

void AppendGlyphPolygons(CGlyphOutline& outline, const std::vector<GlyphPolygon>& polygons,
                         double penX, double penY) {
  for (const GlyphPolygon& polygon : polygons) {
    AddPoint(outline, polygon.start, penX, penY, kContourStart);
    for (const GlyphCurve& curve : polygon.curves) {
      if (curve.type == kCurveLine) {
        for (const FixedPoint& p : curve.points) AddPoint(outline, p, penX, penY, kLinePoint);
      } else if (curve.type == kCurveQuadSpline) {
        AddQuadSpline(outline, curve.points, penX, penY);
      }
    }
    outline.Add(0.0, 0.0, kContourEnd);
  }
}

std::u32string ExtractGlyphOutlines(CGlyphOutline& outline, const std::u32string& text,
                                    const Font& font, const TextLayout& options) {
  outline.Clear();
  Layout layout(text, font, options);

  // Lay out every line first: alignment needs the longest.
  std::vector<Line> lines;
  std::size_t first = 0;
  for (std::size_t k = 0; k <= text.size(); ++k) {
    if (k < text.size() && !IsLineFeed(text[k])) continue;
    lines.push_back(options.kerning ? layout.Shaped(first, k) : layout.Plain(first, k));
    first = k + 1;
  }
  std::int64_t widest = 0;
  for (const Line& line : lines) widest = std::max(widest, line.width);

  // Per character its glyphs (a ligature's glyph goes with its first
  // character), then its character end.
  std::vector<std::vector<const Placed*>> byCharacter(text.size());
  std::vector<std::int64_t> lineX(lines.size(), 0);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::int64_t room = widest - lines[n].width;
    lineX[n] = options.align == LineAlign::Right    ? room
               : options.align == LineAlign::Centre ? room / 2
                                                    : 0;
  }
  std::vector<std::size_t> lineOf(text.size(), 0);
  for (std::size_t k = 0, n = 0; k < text.size(); ++k) {
    lineOf[k] = n;
    if (IsLineFeed(text[k])) ++n;
  }
  for (const Line& line : lines) {
    for (const Placed& placed : line.glyphs) byCharacter[placed.character].push_back(&placed);
  }
  const double lineHeight = font.LineHeight();
  outline.codes.clear();
  for (std::size_t k = 0; k < text.size(); ++k) {
    const double down = static_cast<double>(lineOf[k]) * lineHeight;
    for (const Placed* placed : byCharacter[k]) {
      AppendGlyphPolygons(outline, placed->polygons,
                          static_cast<double>(placed->x + lineX[lineOf[k]]),
                          static_cast<double>(placed->y) - down);
    }
    outline.Add(0.0, 0.0, kCharacterEnd);
    outline.codes.push_back(LetterCode(text[k]));
  }
  return layout.Missing();
}

std::u32string ExtractWithFallback(CGlyphOutline& outline, const std::u32string& text, const Font& font,
                                   TextLayout layout, const FontDescription* fallbackLike) {
  layout.fallback = nullptr;
  std::u32string missing = ExtractGlyphOutlines(outline, text, font, layout);
  if (missing.empty() || !fallbackLike) return missing;
  std::optional<ResolvedFont> resolved = ResolveFaceCovering(missing, *fallbackLike);
  if (!resolved) resolved = ResolveFaceCovering(missing.substr(0, 1), *fallbackLike);
  const std::unique_ptr<Font> fallback = resolved ? Font::Open(*resolved) : nullptr;
  if (!fallback) return missing;
  layout.fallback = fallback.get();
  return ExtractGlyphOutlines(outline, text, font, layout);
}

std::string MissingGlyphWarning(const Font& font, const std::u32string& missing) {
  if (missing.empty()) return {};
  return font.Family() + " " + font.Style() + " has no glyph for " + NameCharacters(missing);
}

void ExtractGlyphOutlines(CGlyphOutline& outline, const std::string& text, const Font& font) {
  std::u32string characters;
  characters.reserve(text.size());
  for (char c : text) characters.push_back(Windows1252ToUnicode(static_cast<unsigned char>(c)));
  ExtractGlyphOutlines(outline, characters, font);
}
