// The diagnostic dumps of glyphkiln on real fonts: the outline stream as
// text and the letters after nesting and bridging as JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <regex>

#include "RunGlyphkiln.h"

namespace {

using Json = nlohmann::json;

struct Item {
  double x, y;
  int kind;
};

std::vector<Item> ParseOutline(const std::string& text) {
  std::vector<Item> items;
  std::istringstream in(text);
  std::string line;
  const std::regex format(R"(-?\d+\.\d{4} -?\d+\.\d{4} -?\d+)");
  while (std::getline(in, line)) {
    EXPECT_TRUE(std::regex_match(line, format)) << "'" << line << "'";
    Item item{};
    std::sscanf(line.c_str(), "%lf %lf %d", &item.x, &item.y, &item.kind);
    items.push_back(item);
  }
  return items;
}

Json Geometry(const std::vector<std::string>& args) {
  std::vector<std::string> all{"--dump-geometry"};
  all.insert(all.end(), args.begin(), args.end());
  const CliRun run = RunGlyphkiln(all);
  EXPECT_EQ(run.status, 0) << run.err;
  return Json::parse(run.out, nullptr, false);
}

double SignedArea(const Json& contour) {
  double sum = 0;
  const std::size_t n = contour.size();
  for (std::size_t k = 0; k < n; ++k) {
    const double x0 = contour[k][0], y0 = contour[k][1];
    const double x1 = contour[(k + 1) % n][0], y1 = contour[(k + 1) % n][1];
    sum += x0 * y1 - x1 * y0;
  }
  return sum / 2;  // positive: counter-clockwise with y up
}

}  // namespace

TEST(CliDumps, OutlineStreamListsEveryItemOfEveryCharacter) {
  const CliRun run = RunGlyphkiln({"--dump-outline", "--font", "Liberation Sans", "Glyphkiln"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<Item> items = ParseOutline(run.out);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front().kind, 1);
  EXPECT_EQ(items.back().kind, 0);
  int ends = 0;
  for (const Item& item : items) ends += item.kind == 0;
  EXPECT_EQ(ends, 9);
  // The font file gives the same stream as the family name.
  const CliRun byFile = RunGlyphkiln({"--dump-outline", "--font-file", GLYPHKILN_LIBERATION_SANS, "Glyphkiln"});
  EXPECT_EQ(byFile.out, run.out);
}

TEST(CliDumps, OutlinePointsAreFontUnitsPlacedAtTheAdvances) {
  // "ll": the second 'l' is the first moved by the width of 'l', 222.
  const CliRun run = RunGlyphkiln({"--dump-outline", "--font", "Liberation Sans", "ll"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<Item> items = ParseOutline(run.out);
  ASSERT_EQ(items.size() % 2, 0u);
  const std::size_t half = items.size() / 2;
  for (std::size_t k = 0; k < half; ++k) {
    if (items[k].kind <= 0) continue;
    EXPECT_NEAR(items[half + k].x, items[k].x + 222.0, 1e-4) << k;
    // Whole units of a 2048-unit em, scaled to 1000: within print rounding.
    EXPECT_NEAR(items[k].x * 2.048, std::round(items[k].x * 2.048), 1e-3);
  }
}

TEST(CliDumps, GeometryHasTheDocumentedShape) {
  const Json json = Geometry({"--font", "Liberation Sans", "a b"});
  ASSERT_TRUE(json.is_object());
  EXPECT_EQ(json["text"], "a b");
  ASSERT_EQ(json["bounds"].size(), 4u);
  ASSERT_EQ(json["letters"].size(), 3u);
  EXPECT_EQ(json["letters"][0]["code"], 'a');
  EXPECT_EQ(json["letters"][1]["code"], ' ');
  const Json& piece = json["letters"][0]["pieces"][0];
  for (const char* key : {"contours", "merged", "holeMerged"}) EXPECT_TRUE(piece.contains(key)) << key;
  EXPECT_EQ(json["letters"][1]["pieces"][0]["contours"].size(), 0u);
  // Bounds are [left, top, right, bottom] with y up.
  const Json& b = json["bounds"];
  EXPECT_LT(b[0].get<double>(), b[2].get<double>());
  EXPECT_GT(b[1].get<double>(), b[3].get<double>());
}

TEST(CliDumps, OIAndEightSplitAndMergeAsTheirShapesSay) {
  const Json json = Geometry({"--font", "Liberation Sans", "oi8"});
  const Json& letters = json["letters"];
  ASSERT_EQ(letters.size(), 3u);

  const Json& o = letters[0]["pieces"];
  ASSERT_EQ(o.size(), 1u);
  ASSERT_EQ(o[0]["contours"].size(), 2u);
  EXPECT_EQ(o[0]["holeMerged"], Json::array({0, 1}));
  EXPECT_EQ(o[0]["merged"].size(), o[0]["contours"][0].size() + o[0]["contours"][1].size() + 2);

  const Json& i = letters[1]["pieces"];
  ASSERT_EQ(i.size(), 3u);
  EXPECT_EQ(i[0]["contours"].size(), 0u);
  EXPECT_EQ(i[1]["contours"].size(), 1u);
  EXPECT_EQ(i[2]["contours"].size(), 1u);

  const Json& eight = letters[2]["pieces"];
  ASSERT_EQ(eight.size(), 1u);
  ASSERT_EQ(eight[0]["contours"].size(), 3u);
  EXPECT_EQ(eight[0]["holeMerged"], Json::array({0, 1, 1}));
  EXPECT_EQ(eight[0]["merged"].size(), eight[0]["contours"][0].size() + eight[0]["contours"][1].size() +
                                           eight[0]["contours"][2].size() + 4);

  for (const Json& letter : letters) {
    for (const Json& piece : letter["pieces"]) {
      const Json& contours = piece["contours"];
      for (std::size_t c = 0; c < contours.size(); ++c) {
        if (c == 0) {
          EXPECT_LT(SignedArea(contours[c]), 0) << "outer contours run clockwise";
        } else {
          EXPECT_GT(SignedArea(contours[c]), 0) << "holes run counter-clockwise";
        }
      }
    }
  }
}

TEST(CliDumps, GeometryIsInModelUnitsAtFullPrecision) {
  const CliRun outline = RunGlyphkiln({"--dump-outline", "--font", "Liberation Sans", "l"});
  const std::vector<Item> items = ParseOutline(outline.out);
  ASSERT_FALSE(items.empty());
  const Json one = Geometry({"--font", "Liberation Sans", "l"});
  const Json two = Geometry({"--font", "Liberation Sans", "--height", "2.5", "l"});
  const Json& first = one["letters"][0]["pieces"][0]["contours"][0][0];
  EXPECT_NEAR(first[0].get<double>(), items[0].x * 0.001, 1e-7);
  EXPECT_NEAR(first[1].get<double>(), items[0].y * 0.001, 1e-7);
  const Json& scaled = two["letters"][0]["pieces"][0]["contours"][0][0];
  EXPECT_DOUBLE_EQ(scaled[0].get<double>(), first[0].get<double>() * 2.5);
  // Not rounded to a few digits: 2048-unit outlines give long fractions.
  bool longFraction = false;
  for (const Json& p : one["letters"][0]["pieces"][0]["contours"][0]) {
    const double x = p[0];
    longFraction |= std::fabs(x * 1e4 - std::round(x * 1e4)) > 1e-6;
  }
  EXPECT_TRUE(longFraction);
}

TEST(CliDumps, TextIsReadAsUtf8AndStoredAsWindows1252) {
  const Json json = Geometry({"--font", "Liberation Sans", "\xC3\xA9\xE2\x82\xAC"});  // "é€"
  EXPECT_EQ(json["text"], "\xC3\xA9\xE2\x82\xAC");
  ASSERT_EQ(json["letters"].size(), 2u);
  EXPECT_EQ(json["letters"][0]["code"], -23);   // 0xE9
  EXPECT_EQ(json["letters"][1]["code"], -128);  // 0x80
}

TEST(CliDumps, TextKeepsEveryCharacterAsUtf8) {
  // Outside the code page, a line break (JSON-escaped in the file), and a
  // blank the code page lacks in a text without letters.
  for (const char* text : {"\xCE\xA9\xCE\xBB\xE2\x82\xAC \xD0\x96", "two\nlines", "\xE2\x80\x83"}) {
    const Json json = Geometry({"--font", "DejaVu Sans", text});
    EXPECT_EQ(json["text"], text);
  }
}

TEST(CliDumps, EmptyAndBlankTextsGiveNoLetters) {
  for (const char* text : {"", "   "}) {
    const Json json = Geometry({"--font", "Liberation Sans", text});
    EXPECT_EQ(json["letters"].size(), 0u) << "'" << text << "'";
    EXPECT_EQ(json["text"], text);
  }
}
