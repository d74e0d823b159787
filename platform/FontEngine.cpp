// fontconfig finds the face, FreeType reads its outlines. Outlines are read
// unscaled in the face's own units and converted to 1000 units per em in
// 16.16 fixed point here, so no hinting or pixel rounding touches them.
#include "FontEngine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <strings.h>
#include <tuple>
#include <utility>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "Windows1252.h"

namespace {

struct FtLibraryFree {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FtFaceFree {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FtLibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryFree>;
using FtFacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceFree>;

struct FcPatternFree {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FcObjectSetFree {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FcFontSetFree {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternFree>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, FcObjectSetFree>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcFontSetFree>;

constexpr double kUnitsPerEm = 1000.0;
// Synthetic slant for a face without an italic, the usual 12 degrees or so.
constexpr double kObliqueShear = 0.2;
// Synthetic bold widens strokes by 1/24 em, as FreeType's own emboldening does.
constexpr double kEmboldenPerEm = 1.0 / 24.0;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string PatternString(const FcPattern* p, const char* object, int id = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(p, object, id, &value) != FcResultMatch || value == nullptr) return {};
  return reinterpret_cast<const char*>(value);
}

int PatternInt(const FcPattern* p, const char* object, int fallback) {
  int value = fallback;
  if (FcPatternGetInteger(p, object, 0, &value) != FcResultMatch) {
    double d = 0.0;
    if (FcPatternGetDouble(p, object, 0, &d) == FcResultMatch) value = static_cast<int>(d);
  }
  return value;
}

// Names that stand for a kind of face rather than a family: asking for one
// of them is satisfied by whatever fontconfig picks.
bool IsGenericFamily(const std::string& name) {
  for (const char* generic : {"sans-serif", "sans", "serif", "monospace", "mono", "cursive",
                              "fantasy", "system-ui"}) {
    if (EqualsIgnoringCase(name, generic)) return true;
  }
  return false;
}

// Font units to 16.16 fixed point at 1000 units per em, clamped to the
// 16-bit integer range the format allows.
std::int32_t ToFixed(double fontUnits, double toThousandths) {
  const double raw = std::round(fontUnits * toThousandths * 65536.0);
  const double lo = std::numeric_limits<std::int32_t>::min();
  const double hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(raw, lo, hi));
}

// The stored contour of points first .. last of a FreeType outline.
std::vector<ContourPoint> StoredContour(const FT_Outline& outline, int first, int last) {
  std::vector<ContourPoint> points;
  points.reserve(static_cast<std::size_t>(last - first + 1));
  for (int i = first; i <= last; ++i) {
    const int tag = FT_CURVE_TAG(outline.tags[i]);
    const int kind = tag == FT_CURVE_TAG_ON      ? kOnCurve
                     : tag == FT_CURVE_TAG_CUBIC ? kCubicControl
                                                 : kQuadControl;
    points.push_back(ContourPoint{static_cast<double>(outline.points[i].x),
                                  static_cast<double>(outline.points[i].y), kind});
  }
  return points;
}

}  // namespace

GlyphPolygon PolygonFromContour(const std::vector<ContourPoint>& stored, double scale) {
  GlyphPolygon polygon;
  if (stored.empty()) return polygon;
  auto fixed = [&](const ContourPoint& p) {
    return FixedPoint{ToFixed(p.x, scale), ToFixed(p.y, scale)};
  };

  // The points after the start, in order; the contour then returns to start.
  std::vector<ContourPoint> sequence;
  ContourPoint start = stored.front();
  if (start.kind == kOnCurve) {
    sequence.assign(stored.begin() + 1, stored.end());
  } else if (stored.back().kind == kOnCurve) {
    start = stored.back();
    sequence.assign(stored.begin(), stored.end() - 1);
  } else {
    const ContourPoint& a = stored.front();
    const ContourPoint& b = stored.back();
    start = ContourPoint{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, kOnCurve};
    sequence = stored;
  }

  polygon.start = fixed(start);
  std::size_t i = 0;
  while (i < sequence.size()) {
    GlyphCurve curve;
    if (sequence[i].kind == kOnCurve) {
      curve.type = kCurveLine;
      while (i < sequence.size() && sequence[i].kind == kOnCurve) {
        curve.points.push_back(fixed(sequence[i++]));
      }
    } else {
      curve.type = sequence[i].kind == kCubicControl ? kCurveCubicSpline : kCurveQuadSpline;
      while (i < sequence.size() && sequence[i].kind != kOnCurve) {
        curve.points.push_back(fixed(sequence[i++]));
      }
      curve.points.push_back(fixed(i < sequence.size() ? sequence[i++] : start));
    }
    polygon.curves.push_back(std::move(curve));
  }
  return polygon;
}

struct Font::Impl {
  // Declared before the face so that the face is released first.
  FtLibraryPtr library;
  FtFacePtr face;
  bool symbolCmap = false;
  bool embolden = false;
  bool oblique = false;
  std::string family;
  std::string style;
  std::filesystem::path file;

  double Scale() const { return kUnitsPerEm / face->units_per_EM; }

  FT_UInt GlyphIndex(unsigned char byte) const {
    if (symbolCmap) {
      // Symbol faces map their characters into the private area at 0xF000.
      FT_UInt index = FT_Get_Char_Index(face.get(), 0xF000 + byte);
      return index != 0 ? index : FT_Get_Char_Index(face.get(), byte);
    }
    return FT_Get_Char_Index(face.get(), Windows1252ToUnicode(byte));  // 0: missing glyph
  }

  // Loads the glyph unscaled and applies any synthetic style; false when
  // FreeType cannot give an outline for it.
  bool Load(unsigned char byte) const {
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face.get(), GlyphIndex(byte), flags) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (embolden) {
      FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(face->units_per_EM * kEmboldenPerEm));
    }
    if (oblique) {
      FT_Matrix shear{0x10000, static_cast<FT_Fixed>(kObliqueShear * 0x10000), 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
    return true;
  }
};

Font::Font(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::OpenFile(const std::filesystem::path& file, int faceIndex,
                                     std::string* error) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<Font> {
    if (error) *error = why;
    return nullptr;
  };
  auto impl = std::make_unique<Impl>();
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return fail("cannot start the font engine");
  impl->library.reset(lib);

  FT_Face face = nullptr;
  if (faceIndex < 0 || FT_New_Face(lib, file.c_str(), faceIndex, &face) != 0) {
    return fail("cannot read font file " + file.string());
  }
  impl->face.reset(face);
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    return fail("font file has no outlines: " + file.string());
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    impl->symbolCmap = FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
  }
  impl->family = face->family_name ? face->family_name : "";
  impl->style = face->style_name ? face->style_name : "";
  impl->file = file;
  return std::unique_ptr<Font>(new Font(std::move(impl)));
}

std::unique_ptr<Font> Font::Open(const FontDescription& description, bool requireFamily,
                                 std::string* error) {
  const std::optional<ResolvedFont> resolved = ResolveFont(description);
  if (!resolved || (requireFamily && !resolved->exactFamily)) {
    if (error) *error = "font not found: " + description.faceName;
    return nullptr;
  }
  std::unique_ptr<Font> font = OpenFile(resolved->file, resolved->faceIndex, error);
  if (font) {
    font->m_impl->embolden = resolved->embolden;
    font->m_impl->oblique = resolved->oblique;
  }
  return font;
}

std::optional<std::vector<GlyphPolygon>> Font::GlyphOutline(unsigned char byte) const {
  if (!m_impl->Load(byte)) return std::nullopt;
  const FT_Outline& outline = m_impl->face->glyph->outline;
  std::vector<GlyphPolygon> polygons;
  int first = 0;
  for (int c = 0; c < outline.n_contours; ++c) {
    const int last = outline.contours[c];
    if (last < first || last >= outline.n_points) return std::nullopt;  // malformed outline
    polygons.push_back(PolygonFromContour(StoredContour(outline, first, last), m_impl->Scale()));
    first = last + 1;
  }
  return polygons;
}

int Font::AdvanceWidth(unsigned char byte) const {
  if (!m_impl->Load(byte)) return 0;
  double advance = static_cast<double>(m_impl->face->glyph->metrics.horiAdvance);
  if (m_impl->embolden) advance += m_impl->face->units_per_EM * kEmboldenPerEm;
  return static_cast<int>(std::lround(advance * m_impl->Scale()));
}

const std::string& Font::Family() const { return m_impl->family; }
const std::string& Font::Style() const { return m_impl->style; }
const std::filesystem::path& Font::File() const { return m_impl->file; }

std::optional<ResolvedFont> ResolveFont(const FontDescription& description) {
  if (!FcInit()) return std::nullopt;
  FcPatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const auto* family = reinterpret_cast<const FcChar8*>(description.faceName.c_str());
  FcPatternAddString(pattern.get(), FC_FAMILY, family);
  if (!description.style.empty()) {
    FcPatternAddString(pattern.get(), FC_STYLE,
                       reinterpret_cast<const FcChar8*>(description.style.c_str()));
  }
  const int weight = description.weight > 0 ? std::min(description.weight, 1000)
                                            : FontDescription::kWeightNormal;
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, description.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);

  // The families the user's name stands for: the name itself and the aliases
  // bound to it strongly (metric-compatible replacements such as the one
  // for "Arial"); the weakly bound ones are fallbacks of last resort.
  std::vector<std::string> wanted;
  FcValue value;
  FcValueBinding binding;
  for (int id = 0; FcPatternGetWithBinding(pattern.get(), FC_FAMILY, id, &value, &binding) ==
                   FcResultMatch;
       ++id) {
    if (value.type == FcTypeString && binding != FcValueBindingWeak) {
      wanted.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
  }
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  FcPatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match || result != FcResultMatch) return std::nullopt;

  ResolvedFont resolved;
  resolved.file = PatternString(match.get(), FC_FILE);
  if (resolved.file.empty()) return std::nullopt;
  resolved.faceIndex = PatternInt(match.get(), FC_INDEX, 0);
  resolved.family = PatternString(match.get(), FC_FAMILY);
  resolved.style = PatternString(match.get(), FC_STYLE);
  resolved.exactFamily = IsGenericFamily(description.faceName);
  for (int id = 0; !resolved.exactFamily; ++id) {
    const std::string name = PatternString(match.get(), FC_FAMILY, id);
    if (name.empty()) break;
    for (const std::string& w : wanted) {
      if (EqualsIgnoringCase(name, w)) resolved.exactFamily = true;
    }
  }
  const int matchedWeight = FcWeightToOpenType(PatternInt(match.get(), FC_WEIGHT, FC_WEIGHT_REGULAR));
  resolved.embolden = weight >= 600 && matchedWeight < 600;
  resolved.oblique = description.italic &&
                     PatternInt(match.get(), FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN;
  return resolved;
}

std::vector<FontFaceInfo> ListOutlineFaces() {
  std::vector<FontFaceInfo> faces;
  if (!FcInit()) return faces;
  FcPatternPtr pattern(FcPatternCreate());
  FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_FILE,
                                          FC_INDEX, FC_FONTFORMAT, FC_OUTLINE, FC_VARIABLE,
                                          nullptr));
  if (!pattern || !objects) return faces;
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
  if (!set) return faces;
  for (int k = 0; k < set->nfont; ++k) {
    const FcPattern* p = set->fonts[k];
    if (PatternString(p, FC_FONTFORMAT) != "TrueType") continue;
    FcBool variable = FcFalse;
    // A variable face is listed once as a whole and once per named
    // instance; the instances are the ones a user picks.
    if (FcPatternGetBool(p, FC_VARIABLE, 0, &variable) == FcResultMatch && variable) continue;
    FontFaceInfo face;
    face.family = PatternString(p, FC_FAMILY);
    face.style = PatternString(p, FC_STYLE);
    face.file = PatternString(p, FC_FILE);
    if (face.family.empty() || face.file.empty()) continue;
    face.weight = FcWeightToOpenType(PatternInt(p, FC_WEIGHT, FC_WEIGHT_REGULAR));
    face.italic = PatternInt(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    face.faceIndex = PatternInt(p, FC_INDEX, 0);
    faces.push_back(std::move(face));
  }
  std::sort(faces.begin(), faces.end(), [](const FontFaceInfo& a, const FontFaceInfo& b) {
    return std::tie(a.family, a.weight, a.italic, a.style, a.file, a.faceIndex) <
           std::tie(b.family, b.weight, b.italic, b.style, b.file, b.faceIndex);
  });
  faces.erase(std::unique(faces.begin(), faces.end(),
                          [](const FontFaceInfo& a, const FontFaceInfo& b) {
                            return a.file == b.file && a.faceIndex == b.faceIndex;
                          }),
              faces.end());
  return faces;
}

void ReleaseFontConfiguration() { FcFini(); }

FontDescription DescriptionFor(const FontFaceInfo& face) {
  FontDescription description;
  description.faceName = face.family;
  description.style = face.style;
  description.weight = face.weight;
  description.italic = face.italic;
  return description;
}

FontDescription DescriptionFor(const std::string& family, const std::string& style) {
  for (const FontFaceInfo& face : ListOutlineFaces()) {
    if (EqualsIgnoringCase(face.family, family) && EqualsIgnoringCase(face.style, style)) {
      return DescriptionFor(face);
    }
  }
  FontDescription description;
  description.faceName = family;
  description.weight = FontDescription::kWeightNormal;
  return description;
}
