// Finding installed faces: a font description (family, style, weight,
// slant) resolved through fontconfig to a file, a face index and the
// synthetic styling fontconfig asks for; the list of outline faces for the
// font dialog; the face that covers characters another face lacks. No
// fontconfig type appears here.
#pragma once

#include <filesystem>
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

  std::string faceName = "Arial";  // family name, an alias fontconfig knows, or a
                                   // fontconfig pattern such as "Noto Sans:weight=300"
  std::string style;               // e.g. "Bold Italic"; empty: chosen by weight and italic
  int height = -1000;
  int weight = kWeightDontCare;    // 1..1000 like OpenType; 0 means regular
  bool italic = false;
};

// One installed outline face (TrueType or PostScript flavoured), for the
// font dialog.
struct FontFaceInfo {
  std::string family;
  std::string style;
  int weight = FontDescription::kWeightNormal;  // OpenType scale
  bool italic = false;
  std::filesystem::path file;
  int faceIndex = 0;
};

// The synthetic styling fontconfig asks for when the matched face lacks the
// weight or slant that was wanted.
struct SyntheticStyle {
  bool embolden = false;  // widen the strokes as FreeType's emboldening does
  // The 2 x 2 matrix (xx, xy, yx, yy) applied to outlines; identity when
  // no slant is asked for. fontconfig's oblique is a shear xy of about 0.2.
  double matrix[4] = {1.0, 0.0, 0.0, 1.0};

  bool Transforms() const {
    return matrix[0] != 1.0 || matrix[1] != 0.0 || matrix[2] != 0.0 || matrix[3] != 1.0;
  }
};

// Where a description leads: the face fontconfig chose and whether it is the
// face that was asked for (its family or one of the family's registered
// metric aliases) rather than a fallback of last resort.
struct ResolvedFont {
  std::filesystem::path file;
  // The face in the file; for a named instance of a variable font the
  // instance number sits in the high 16 bits, as FreeType takes it.
  int faceIndex = 0;
  std::string family;
  std::string style;
  bool exactFamily = false;
  SyntheticStyle synthetic;
};

// fontconfig's choice for a description; no value when fontconfig offers
// no scalable face at all.
std::optional<ResolvedFont> ResolveFont(const FontDescription& description);

// The installed outline face fontconfig prefers, near `like` (its family,
// weight and slant), among those that hold every one of `characters`; no
// value when none does.
std::optional<ResolvedFont> ResolveFaceCovering(const std::u32string& characters,
                                                const FontDescription& like);

// Every installed face with scalable outlines (TrueType, CFF, Type 1),
// sorted by family, then weight, italic and style; each face once.
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
