// Finding installed faces: descriptions resolved through fontconfig, the
// list of outline faces for the font dialog, and the way back from a list
// entry to a description.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FontEngine.h"

namespace {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

FontDescription Describe(const std::string& name, int weight = FontDescription::kWeightNormal,
                         bool italic = false) {
  FontDescription d;
  d.faceName = name;
  d.weight = weight;
  d.italic = italic;
  return d;
}

// Gives fontconfig's process-wide configuration back after the last test,
// so that the leak checker of the sanitizer build sees only real leaks.
class FontConfigurationRelease : public ::testing::Environment {
 public:
  void TearDown() override { ReleaseFontConfiguration(); }
};
const auto* const kRelease = ::testing::AddGlobalTestEnvironment(new FontConfigurationRelease);

}  // namespace

TEST(FontEngineLookup, InstalledFamilyResolvesToItsFile) {
  const auto resolved = ResolveFont(Describe("Liberation Sans"));
  ASSERT_TRUE(resolved.has_value());
  EXPECT_TRUE(resolved->exactFamily);
  EXPECT_TRUE(SameFile(resolved->file, GLYPHKILN_LIBERATION_SANS)) << resolved->file;
}

TEST(FontEngineLookup, WeightAndItalicPickTheMatchingFace) {
  auto font = Font::Open(Describe("Liberation Sans", FontDescription::kWeightBold, true), true);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Family(), "Liberation Sans");
  EXPECT_EQ(font->Style(), "Bold Italic");
}

TEST(FontEngineLookup, ArialIsFoundThroughItsMetricAlias) {
  std::string error;
  auto font = Font::Open(FontDescription{}, true, &error);
  ASSERT_NE(font, nullptr) << error;
  EXPECT_EQ(font->AdvanceWidth('a'), 556);  // Arial's width of 'a'
}

TEST(FontEngineLookup, UnknownFamilyFailsOnlyWhenTheFamilyIsRequired) {
  const FontDescription unknown = Describe("No Such Family Glyphkiln");
  std::string error;
  EXPECT_EQ(Font::Open(unknown, true, &error), nullptr);
  EXPECT_NE(error.find("No Such Family Glyphkiln"), std::string::npos);
  // Without the requirement fontconfig's substitute is taken, as the
  // desktop program does.
  EXPECT_NE(Font::Open(unknown, false), nullptr);
  // A generic name is satisfied by whatever face fontconfig picks for it.
  EXPECT_NE(Font::Open(Describe("sans-serif"), true), nullptr);
  // Family names are compared without regard to case.
  EXPECT_NE(Font::Open(Describe("liberation sans"), true), nullptr);
}

TEST(FontEngineLookup, OutlineFaceListHoldsTheInstalledFacesOnce) {
  const std::vector<FontFaceInfo> faces = ListOutlineFaces();
  const auto regular = std::find_if(faces.begin(), faces.end(), [](const FontFaceInfo& f) {
    return SameFile(f.file, GLYPHKILN_LIBERATION_SANS);
  });
  ASSERT_NE(regular, faces.end());
  EXPECT_EQ(regular->family, "Liberation Sans");
  EXPECT_EQ(regular->weight, 400);
  EXPECT_FALSE(regular->italic);
  EXPECT_EQ(std::count_if(faces.begin(), faces.end(),
                          [](const FontFaceInfo& f) { return SameFile(f.file, GLYPHKILN_LIBERATION_SANS); }),
            1);
  const bool hasBoldItalic = std::any_of(faces.begin(), faces.end(), [](const FontFaceInfo& f) {
    return f.family == "Liberation Sans" && f.weight == 700 && f.italic;
  });
  EXPECT_TRUE(hasBoldItalic);
  EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](const FontFaceInfo& a, const FontFaceInfo& b) {
    return a.family < b.family;
  }));
}

TEST(FontEngineLookup, EveryListedFaceOfAFamilyLeadsBackToItsOwnFile) {
  for (const FontFaceInfo& face : ListOutlineFaces()) {
    if (face.family != "Liberation Sans" && face.family != "DejaVu Sans") continue;
    const auto resolved = ResolveFont(DescriptionFor(face));
    ASSERT_TRUE(resolved.has_value()) << face.family << " " << face.style;
    EXPECT_TRUE(SameFile(resolved->file, face.file)) << face.family << " " << face.style;
  }
}

TEST(FontEngineLookup, FamilyAndStyleNamesGiveTheFacesDescription) {
  const FontDescription bold = DescriptionFor("Liberation Sans", "Bold");
  EXPECT_EQ(bold.faceName, "Liberation Sans");
  EXPECT_EQ(bold.weight, 700);
  EXPECT_FALSE(bold.italic);
  const FontDescription fallback = DescriptionFor("Liberation Sans", "No Such Style");
  EXPECT_EQ(fallback.weight, 400);
  EXPECT_TRUE(fallback.style.empty());
}

TEST(FontEngineLookup, PostScriptFacesAreListedOnceWhateverFormatsTheyCameIn) {
  // The URW faces are installed as CFF and as Type 1: one entry each, the
  // CFF file, beside the TrueType faces.
  const std::vector<FontFaceInfo> faces = ListOutlineFaces();
  const auto count = std::count_if(faces.begin(), faces.end(), [](const FontFaceInfo& f) {
    return f.family == "Nimbus Sans" && f.style == "Regular";
  });
  EXPECT_EQ(count, 1);
  for (const FontFaceInfo& face : faces) {
    if (face.family != "Nimbus Sans") continue;
    EXPECT_EQ(face.file.extension(), ".otf") << face.style;
    std::string error;
    EXPECT_NE(Font::OpenFile(face.file, face.faceIndex, &error), nullptr) << error;
  }
}
