// fontconfig finds the face: a description resolved to a file, a face index
// and the synthetic styling fontconfig asks for; the installed outline faces.
#include "FontLookup.h"

#include <algorithm>
#include <memory>
#include <strings.h>
#include <tuple>
#include <utility>

#include <fontconfig/fontconfig.h>

namespace {

struct FcPatternFree {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FcObjectSetFree {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FcFontSetFree {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct FcCharSetFree {
  void operator()(FcCharSet* s) const { FcCharSetDestroy(s); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternFree>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, FcObjectSetFree>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcFontSetFree>;
using FcCharSetPtr = std::unique_ptr<FcCharSet, FcCharSetFree>;

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

bool PatternHas(const FcPattern* p, const char* object) {
  FcValue value;
  return FcPatternGet(p, object, 0, &value) == FcResultMatch;
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

// The pattern a description asks for, before fontconfig's substitutions. A
// face name with a colon is a fontconfig pattern of its own ("Noto
// Sans:weight=300"); its properties win over the description's weight and
// slant.
FcPatternPtr DescriptionPattern(const FontDescription& description, std::string& family) {
  FcPatternPtr pattern;
  family = description.faceName;
  if (description.faceName.find(':') != std::string::npos) {
    pattern.reset(FcNameParse(reinterpret_cast<const FcChar8*>(description.faceName.c_str())));
    if (pattern) family = PatternString(pattern.get(), FC_FAMILY);
  } else {
    pattern.reset(FcPatternCreate());
    if (pattern) {
      FcPatternAddString(pattern.get(), FC_FAMILY,
                         reinterpret_cast<const FcChar8*>(description.faceName.c_str()));
    }
  }
  if (!pattern) return pattern;
  if (!description.style.empty() && !PatternHas(pattern.get(), FC_STYLE)) {
    FcPatternAddString(pattern.get(), FC_STYLE,
                       reinterpret_cast<const FcChar8*>(description.style.c_str()));
  }
  if (!PatternHas(pattern.get(), FC_WEIGHT)) {
    const int weight = description.weight > 0 ? std::min(description.weight, 1000)
                                              : FontDescription::kWeightNormal;
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  }
  if (!PatternHas(pattern.get(), FC_SLANT)) {
    FcPatternAddInteger(pattern.get(), FC_SLANT,
                        description.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  }
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  return pattern;
}

// The synthetic bold and slant a match asks for (fontconfig's own rules add
// them when the face lacks the weight or slant that was wanted).
SyntheticStyle SyntheticStyleOf(const FcPattern* match) {
  SyntheticStyle style;
  FcBool embolden = FcFalse;
  style.embolden = FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden;
  FcMatrix* matrix = nullptr;
  if (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix) {
    style.matrix[0] = matrix->xx;
    style.matrix[1] = matrix->xy;
    style.matrix[2] = matrix->yx;
    style.matrix[3] = matrix->yy;
  }
  return style;
}

ResolvedFont ResolvedFrom(const FcPattern* match) {
  ResolvedFont resolved;
  resolved.file = PatternString(match, FC_FILE);
  resolved.faceIndex = PatternInt(match, FC_INDEX, 0);
  resolved.family = PatternString(match, FC_FAMILY);
  resolved.style = PatternString(match, FC_STYLE);
  resolved.synthetic = SyntheticStyleOf(match);
  return resolved;
}

}  // namespace

std::optional<ResolvedFont> ResolveFont(const FontDescription& description) {
  if (!FcInit()) return std::nullopt;
  std::string family;
  FcPatternPtr pattern = DescriptionPattern(description, family);
  if (!pattern) return std::nullopt;
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

  ResolvedFont resolved = ResolvedFrom(match.get());
  if (resolved.file.empty()) return std::nullopt;
  resolved.exactFamily = family.empty() || IsGenericFamily(family);
  for (int id = 0; !resolved.exactFamily; ++id) {
    const std::string name = PatternString(match.get(), FC_FAMILY, id);
    if (name.empty()) break;
    for (const std::string& w : wanted) {
      if (EqualsIgnoringCase(name, w)) resolved.exactFamily = true;
    }
  }
  return resolved;
}

std::optional<ResolvedFont> ResolveFaceCovering(const std::u32string& characters,
                                                const FontDescription& like) {
  if (!FcInit()) return std::nullopt;
  std::string family;
  FcPatternPtr pattern = DescriptionPattern(like, family);
  FcCharSetPtr wanted(FcCharSetCreate());
  if (!pattern || !wanted) return std::nullopt;
  for (char32_t c : characters) FcCharSetAddChar(wanted.get(), static_cast<FcChar32>(c));
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  // The sorted candidates, best first; the first that holds every character.
  FcResult result = FcResultNoMatch;
  FcFontSetPtr sorted(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
  if (!sorted) return std::nullopt;
  for (int k = 0; k < sorted->nfont; ++k) {
    FcCharSet* has = nullptr;
    if (FcPatternGetCharSet(sorted->fonts[k], FC_CHARSET, 0, &has) != FcResultMatch) continue;
    if (!FcCharSetIsSubset(wanted.get(), has)) continue;
    FcBool outline = FcFalse;
    if (FcPatternGetBool(sorted->fonts[k], FC_OUTLINE, 0, &outline) != FcResultMatch || !outline) {
      continue;
    }
    FcPatternPtr match(FcFontRenderPrepare(nullptr, pattern.get(), sorted->fonts[k]));
    if (!match) continue;
    ResolvedFont resolved = ResolvedFrom(match.get());
    if (resolved.file.empty()) continue;
    resolved.exactFamily = true;
    return resolved;
  }
  return std::nullopt;
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
  // The same face may be installed in several formats (the URW faces come
  // as CFF and as Type 1); it is listed once, in the first of these.
  std::vector<int> ranks;
  for (int k = 0; k < set->nfont; ++k) {
    const FcPattern* p = set->fonts[k];
    const std::string format = PatternString(p, FC_FONTFORMAT);
    const int rank = format == "TrueType" ? 0 : format == "CFF" ? 1 : format == "Type 1" ? 2 : -1;
    if (rank < 0) continue;
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
    ranks.push_back(rank);
  }
  std::vector<std::size_t> order(faces.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
    const FontFaceInfo& a = faces[i];
    const FontFaceInfo& b = faces[j];
    return std::tie(a.family, a.weight, a.italic, a.style, ranks[i], a.file, a.faceIndex) <
           std::tie(b.family, b.weight, b.italic, b.style, ranks[j], b.file, b.faceIndex);
  });
  std::vector<FontFaceInfo> listed;
  for (std::size_t k : order) {
    if (!listed.empty() && listed.back().family == faces[k].family &&
        listed.back().style == faces[k].style && listed.back().weight == faces[k].weight &&
        listed.back().italic == faces[k].italic) {
      continue;
    }
    listed.push_back(std::move(faces[k]));
  }
  return listed;
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
