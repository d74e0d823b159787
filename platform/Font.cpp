// FreeType reads the outlines, HarfBuzz shapes lines. Outlines are read
// unscaled in the face's own units and converted to 1000 units per em in
// 16.16 fixed point, so no hinting or pixel rounding touches them.
#include "Font.h"

#include <cmath>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <hb-ft.h>
#include <hb.h>

#include "OutlineRecords.h"
#include "Windows1252.h"

namespace {

struct FtLibraryFree {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FtFaceFree {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct HbFontFree {
  void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct HbBufferFree {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
using FtLibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryFree>;
using FtFacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceFree>;
using HbFontPtr = std::unique_ptr<hb_font_t, HbFontFree>;
using HbBufferPtr = std::unique_ptr<hb_buffer_t, HbBufferFree>;

constexpr double kUnitsPerEm = 1000.0;
// Synthetic bold widens strokes by 1/24 em, as FreeType's own emboldening does.
constexpr double kEmboldenPerEm = 1.0 / 24.0;

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

std::string StyleName(FT_Face face) { return face->style_name ? face->style_name : ""; }

}  // namespace

struct Font::Impl {
  // Declared before the face so that the face is released first.
  FtLibraryPtr library;
  FtFacePtr face;
  // Made on the first shaping; released before the face it reads.
  mutable HbFontPtr shaper;
  bool symbolCmap = false;
  SyntheticStyle synthetic;
  std::string family;
  std::string style;
  std::filesystem::path file;

  double Scale() const { return kUnitsPerEm / face->units_per_EM; }
  FT_Pos EmboldenStrength() const {
    return static_cast<FT_Pos>(face->units_per_EM * kEmboldenPerEm);
  }

  FT_UInt GlyphIndex(char32_t character) const {
    if (symbolCmap) {
      // Symbol faces map their characters into the private area at 0xF000,
      // by the code page's byte.
      const unsigned char byte = UnicodeToWindows1252(character);
      const char32_t code = byte != '?' || character == U'?' ? byte : character;
      FT_UInt index = FT_Get_Char_Index(face.get(), 0xF000 + code);
      return index != 0 ? index : FT_Get_Char_Index(face.get(), code);
    }
    return FT_Get_Char_Index(face.get(), character);  // 0: missing glyph
  }

  // Loads the glyph unscaled and applies any synthetic style; false when
  // FreeType cannot give an outline for it.
  bool Load(FT_UInt glyph) const {
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face.get(), glyph, flags) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (synthetic.embolden) {
      FT_Outline_EmboldenXY(&slot->outline, EmboldenStrength(), EmboldenStrength());
    }
    if (synthetic.Transforms()) {
      auto fixed = [](double v) { return static_cast<FT_Fixed>(v * 0x10000); };
      FT_Matrix matrix{fixed(synthetic.matrix[0]), fixed(synthetic.matrix[1]),
                       fixed(synthetic.matrix[2]), fixed(synthetic.matrix[3])};
      FT_Outline_Transform(&slot->outline, &matrix);
    }
    return true;
  }

  std::optional<std::vector<GlyphPolygon>> Outline(FT_UInt glyph) const {
    if (!Load(glyph)) return std::nullopt;
    const FT_Outline& outline = face->glyph->outline;
    std::vector<GlyphPolygon> polygons;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
      const int last = outline.contours[c];
      if (last < first || last >= outline.n_points) return std::nullopt;  // malformed outline
      polygons.push_back(PolygonFromContour(StoredContour(outline, first, last), Scale()));
      first = last + 1;
    }
    return polygons;
  }

  // The advance in the face's own units, synthetic bold included.
  double RawAdvance(FT_UInt glyph) const {
    if (!Load(glyph)) return 0.0;
    double advance = static_cast<double>(face->glyph->metrics.horiAdvance);
    if (synthetic.embolden) advance += face->units_per_EM * kEmboldenPerEm;
    return advance;
  }

  int Advance(FT_UInt glyph) const {
    return static_cast<int>(std::lround(RawAdvance(glyph) * Scale()));
  }

  hb_font_t* Shaper() const {
    if (!shaper) {
      hb_face_t* hbFace = hb_ft_face_create_referenced(face.get());
      shaper.reset(hb_font_create(hbFace));
      hb_face_destroy(hbFace);
      hb_font_set_scale(shaper.get(), face->units_per_EM, face->units_per_EM);
      const long instance = face->face_index >> 16;
      if (instance > 0) hb_font_set_var_named_instance(shaper.get(), static_cast<unsigned>(instance - 1));
    }
    return shaper.get();
  }
};

Font::Font(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::OpenFile(const std::filesystem::path& file, int faceIndex,
                                     std::string* error, const std::string& style) {
  auto fail = [&](const std::string& why) -> std::unique_ptr<Font> {
    if (error) *error = why;
    return nullptr;
  };
  auto impl = std::make_unique<Impl>();
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return fail("cannot start the font engine");
  impl->library.reset(lib);

  FT_Face face = nullptr;
  const FT_Error opened = faceIndex < 0 ? FT_Err_Invalid_Argument
                                        : FT_New_Face(lib, file.c_str(), faceIndex, &face);
  if (opened == FT_Err_Unknown_File_Format) return fail("not a font file: " + file.string());
  if (opened != 0) {
    return fail(faceIndex > 0 ? "cannot read face " + std::to_string(faceIndex & 0xFFFF) +
                                    " of font file " + file.string()
                              : "cannot read font file " + file.string());
  }
  impl->face.reset(face);
  if (!style.empty() && StyleName(face) != style) {
    // The named instance of a variable face, or the face of a collection,
    // that carries the style name.
    const long instances = face->style_flags >> 16;
    const long faces = face->num_faces;
    FT_Face found = nullptr;
    for (long k = 1; k <= instances && !found; ++k) {
      FT_Face candidate = nullptr;
      if (FT_New_Face(lib, file.c_str(), (k << 16) | (faceIndex & 0xFFFF), &candidate) != 0) continue;
      if (StyleName(candidate) == style) found = candidate; else FT_Done_Face(candidate);
    }
    for (long k = 0; k < faces && !found; ++k) {
      FT_Face candidate = nullptr;
      if (FT_New_Face(lib, file.c_str(), k, &candidate) != 0) continue;
      if (StyleName(candidate) == style) found = candidate; else FT_Done_Face(candidate);
    }
    if (!found) return fail("font file " + file.string() + " has no style \"" + style + "\"");
    impl->face.reset(found);
    face = found;
  }
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    return fail("font file has no outlines (a bitmap font?): " + file.string());
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    impl->symbolCmap = FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
  }
  impl->family = face->family_name ? face->family_name : "";
  impl->style = StyleName(face);
  impl->file = file;
  return std::unique_ptr<Font>(new Font(std::move(impl)));
}

std::unique_ptr<Font> Font::Open(const ResolvedFont& resolved, std::string* error) {
  std::unique_ptr<Font> font = OpenFile(resolved.file, resolved.faceIndex, error);
  if (font) font->m_impl->synthetic = resolved.synthetic;
  return font;
}

std::unique_ptr<Font> Font::Open(const FontDescription& description, bool requireFamily,
                                 std::string* error) {
  const std::optional<ResolvedFont> resolved = ResolveFont(description);
  if (!resolved || (requireFamily && !resolved->exactFamily)) {
    if (error) *error = "font not found: " + description.faceName;
    return nullptr;
  }
  return Open(*resolved, error);
}

std::optional<std::vector<GlyphPolygon>> Font::GlyphOutline(unsigned char byte) const {
  return m_impl->Outline(GlyphIndex(Windows1252ToUnicode(byte)));
}

int Font::AdvanceWidth(unsigned char byte) const {
  return m_impl->Advance(GlyphIndex(Windows1252ToUnicode(byte)));
}

unsigned Font::GlyphIndex(char32_t character) const { return m_impl->GlyphIndex(character); }

std::optional<std::vector<GlyphPolygon>> Font::OutlineOfGlyph(unsigned glyph) const {
  return m_impl->Outline(glyph);
}

int Font::AdvanceOfGlyph(unsigned glyph) const { return m_impl->Advance(glyph); }

int Font::LineHeight() const {
  return static_cast<int>(std::lround(m_impl->face->height * m_impl->Scale()));
}

std::vector<ShapedGlyph> Font::Shape(const std::u32string& line) const {
  std::vector<ShapedGlyph> glyphs;
  if (line.empty()) return glyphs;
  const Impl& impl = *m_impl;
  const double scale = impl.Scale();
  const double bold = impl.synthetic.embolden ? impl.face->units_per_EM * kEmboldenPerEm : 0.0;
  hb_font_t* font = impl.Shaper();
  if (impl.symbolCmap || hb_face_get_glyph_count(hb_font_get_face(font)) == 0) {
    // No OpenType tables to shape with (a Type 1 face) or a symbol face:
    // the face's glyphs at their advances, with its kerning pairs if any.
    FT_Face face = impl.face.get();
    double pen = 0.0;
    FT_UInt previous = 0;
    for (std::size_t k = 0; k < line.size(); ++k) {
      const FT_UInt glyph = impl.GlyphIndex(line[k]);
      FT_Vector kern{0, 0};
      if (previous != 0 && glyph != 0 && FT_HAS_KERNING(face)) {
        FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &kern);
      }
      pen += static_cast<double>(kern.x);
      const double advance = impl.RawAdvance(glyph);
      glyphs.push_back(ShapedGlyph{glyph, k, std::llround(pen * scale), 0,
                                   std::llround(advance * scale)});
      pen += advance;
      previous = glyph;
    }
    return glyphs;
  }
  HbBufferPtr buffer(hb_buffer_create());
  hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t*>(line.data()),
                      static_cast<int>(line.size()), 0, static_cast<int>(line.size()));
  hb_buffer_guess_segment_properties(buffer.get());
  hb_shape(font, buffer.get(), nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &count);
  double pen = 0.0;
  for (unsigned k = 0; k < count; ++k) {
    const double advance = pos[k].x_advance + (pos[k].x_advance != 0 ? bold : 0.0);
    glyphs.push_back(ShapedGlyph{info[k].codepoint, info[k].cluster,
                                 std::llround((pen + pos[k].x_offset) * scale),
                                 std::llround(pos[k].y_offset * scale),
                                 std::llround(advance * scale)});
    pen += advance;
  }
  return glyphs;
}

const std::string& Font::Family() const { return m_impl->family; }
const std::string& Font::Style() const { return m_impl->style; }
const std::filesystem::path& Font::File() const { return m_impl->file; }
const SyntheticStyle& Font::Synthetic() const { return m_impl->synthetic; }
void Font::SetSynthetic(const SyntheticStyle& synthetic) { m_impl->synthetic = synthetic; }
