// Setting a text of Unicode characters: Windows-1252 characters give the
// stream of their bytes, other characters their own glyphs and codes,
// missing characters are reported and taken from a fallback face, shaping
// moves pairs together, and lines go down by the line height, aligned.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "ExtractGlyphOutlines.h"
#include "RealGlyphs.h"
#include "Windows1252.h"

namespace {

bool SameItems(const CGlyphOutline& a, const CGlyphOutline& b) {
  if (a.items.size() != b.items.size()) return false;
  for (std::size_t k = 0; k < a.items.size(); ++k) {
    if (a.items[k].x != b.items[k].x || a.items[k].y != b.items[k].y ||
        a.items[k].kind != b.items[k].kind) {
      return false;
    }
  }
  return true;
}

// Per character (between character ends) the x and y range of its points;
// an empty range (left > right) for a character without points.
struct Box {
  double left = std::numeric_limits<double>::max(), right = std::numeric_limits<double>::lowest();
  double bottom = std::numeric_limits<double>::max(), top = std::numeric_limits<double>::lowest();
};
std::vector<Box> CharacterBoxes(const CGlyphOutline& outline) {
  std::vector<Box> boxes(1);
  for (const COutlineItem& item : outline.items) {
    if (item.kind == kCharacterEnd) {
      boxes.emplace_back();
      continue;
    }
    if (item.kind == kContourEnd) continue;
    Box& b = boxes.back();
    b.left = std::min(b.left, item.x), b.right = std::max(b.right, item.x);
    b.bottom = std::min(b.bottom, item.y), b.top = std::max(b.top, item.y);
  }
  boxes.pop_back();
  return boxes;
}

std::u32string U32(const char* utf8) {
  std::u32string text;
  EXPECT_TRUE(Utf8ToCodePoints(utf8, text)) << utf8;
  return text;
}

}  // namespace

TEST(TextLayout, CodePageCharactersGiveTheStreamOfTheirBytes) {
  auto font = OpenFont(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  // Every byte but the line feed, which now starts a line.
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != '\n') bytes.push_back(static_cast<char>(b));
  }
  std::u32string characters;
  for (char b : bytes) characters.push_back(Windows1252ToUnicode(static_cast<unsigned char>(b)));
  CGlyphOutline fromBytes, fromCharacters;
  ExtractGlyphOutlines(fromBytes, bytes, *font);
  ExtractGlyphOutlines(fromCharacters, characters, *font);
  EXPECT_TRUE(SameItems(fromBytes, fromCharacters));
  ASSERT_EQ(fromCharacters.codes.size(), bytes.size());
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    EXPECT_EQ(fromCharacters.codes[k], static_cast<signed char>(bytes[k])) << k;
  }
  // Letters take those codes, as they take the text's bytes.
  CText3D letters(bytes, fromCharacters, 255, 1.0, 0.2);
  for (const CLetter& letter : letters.letters) EXPECT_LT(letter.code, 128);
}

TEST(TextLayout, OtherCharactersGetTheirGlyphsAndCodePoints) {
  auto font = OpenFont(GLYPHKILN_DEJAVU_SANS);
  ASSERT_NE(font, nullptr);
  const std::u32string text = U32("Ωλ€ Ж");
  CGlyphOutline outline;
  EXPECT_TRUE(ExtractGlyphOutlines(outline, text, *font).empty());
  EXPECT_EQ(outline.codes, (std::vector<int>{0x3A9, 0x3BB, static_cast<signed char>(0x80), ' ', 0x416}));
  CGlyphOutline missingBox;
  ExtractGlyphOutlines(missingBox, std::u32string(1, U'\U000F0000'), *font);
  const std::vector<Box> boxes = CharacterBoxes(outline);
  const std::vector<Box> box = CharacterBoxes(missingBox);
  ASSERT_EQ(boxes.size(), 5u);
  for (std::size_t k : {0u, 1u, 2u, 4u}) {
    EXPECT_LT(boxes[k].left, boxes[k].right) << k << " has points";
    EXPECT_NE(boxes[k].top - boxes[k].bottom, box[0].top - box[0].bottom) << k << " is no missing box";
  }
  EXPECT_GT(boxes[0].left, boxes[1].left - 1000.0);
  EXPECT_LT(boxes[0].right, boxes[1].left) << "placed one after the other";
}

TEST(TextLayout, MissingCharactersAreReportedOnceAndFilledFromTheFallback) {
  auto font = OpenFont(GLYPHKILN_LIBERATION_SANS);
  auto fallback = OpenFont(GLYPHKILN_DEJAVU_SANS);
  ASSERT_TRUE(font && fallback);
  // Armenian: DejaVu Sans has it, Liberation Sans does not.
  const std::u32string text = U32("aԱbԲԱ");
  CGlyphOutline plain, filled;
  EXPECT_EQ(ExtractGlyphOutlines(plain, text, *font), U32("ԱԲ"));
  TextLayout layout;
  layout.fallback = fallback.get();
  EXPECT_TRUE(ExtractGlyphOutlines(filled, text, *font, layout).empty());
  const std::vector<Box> before = CharacterBoxes(plain), after = CharacterBoxes(filled);
  ASSERT_EQ(after.size(), text.size());
  // The missing boxes of the two characters are alike; the fallback's
  // glyphs are not, and the b after them moves with their advance.
  EXPECT_DOUBLE_EQ(before[1].top - before[1].bottom, before[3].top - before[3].bottom);
  EXPECT_NE(after[1].top - after[1].bottom, after[3].top - after[3].bottom);
  EXPECT_DOUBLE_EQ(after[0].left, before[0].left) << "the a stays";
  EXPECT_DOUBLE_EQ(after[2].left - before[2].left,
                   fallback->AdvanceOfGlyph(fallback->GlyphIndex(U'Ա')) - font->AdvanceOfGlyph(0));
}

TEST(TextLayout, ShapingMovesKerningPairsTogetherAndIsOffByDefault) {
  auto font = OpenFont(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  TextLayout kerning;
  kerning.kerning = true;
  for (const char* pair : {"AV", "To", "Wa"}) {
    CGlyphOutline plain, kerned, defaults;
    ExtractGlyphOutlines(plain, std::string(pair), *font);
    ExtractGlyphOutlines(defaults, U32(pair), *font);
    ExtractGlyphOutlines(kerned, U32(pair), *font, kerning);
    EXPECT_TRUE(SameItems(plain, defaults)) << pair;
    EXPECT_LT(kerned.bounds.right, plain.bounds.right - 10.0) << pair;
    EXPECT_DOUBLE_EQ(kerned.bounds.left, plain.bounds.left) << pair;
  }
  // A pair without kerning is placed the same way shaped or not.
  CGlyphOutline plain, kerned;
  ExtractGlyphOutlines(plain, std::string("ll"), *font);
  ExtractGlyphOutlines(kerned, U32("ll"), *font, kerning);
  EXPECT_TRUE(SameItems(plain, kerned));
}

TEST(TextLayout, LinesGoDownByTheLineHeightAlignedAgainstTheLongest) {
  auto font = OpenFont(GLYPHKILN_LIBERATION_SANS);
  ASSERT_NE(font, nullptr);
  const double height = font->LineHeight();
  EXPECT_GT(height, 1000.0);
  EXPECT_LT(height, 1300.0);
  // "ii" over "iiii": the characters of the short line are 0, 1; the line
  // feed 2; the long line 3 .. 6.
  const std::u32string text = U32("ii\niiii");
  struct Case {
    LineAlign align;
    double shiftInAdvances;  // how far the short line moves right
  };
  const double advance = font->AdvanceWidth('i');
  for (const Case& c : {Case{LineAlign::Left, 0.0}, Case{LineAlign::Centre, 1.0},
                        Case{LineAlign::Right, 2.0}}) {
    TextLayout layout;
    layout.align = c.align;
    CGlyphOutline outline;
    ExtractGlyphOutlines(outline, text, *font, layout);
    const std::vector<Box> boxes = CharacterBoxes(outline);
    ASSERT_EQ(boxes.size(), text.size());
    EXPECT_GT(boxes[2].left, boxes[2].right) << "the line feed has no points";
    EXPECT_DOUBLE_EQ(boxes[0].bottom - boxes[3].bottom, height);
    EXPECT_DOUBLE_EQ(boxes[0].left - boxes[3].left, c.shiftInAdvances * advance);
    // One line is set the same way whatever the alignment.
    CGlyphOutline single, left;
    ExtractGlyphOutlines(single, U32("iiii"), *font, layout);
    ExtractGlyphOutlines(left, std::string("iiii"), *font);
    EXPECT_TRUE(SameItems(single, left));
  }
  // A carriage return before the line feed is part of the break.
  CGlyphOutline lf, crlf;
  EXPECT_TRUE(ExtractGlyphOutlines(crlf, U32("ii\r\niiii"), *font).empty());
  ExtractGlyphOutlines(lf, text, *font);
  EXPECT_EQ(CharacterBoxes(crlf).size(), text.size() + 1);
  EXPECT_DOUBLE_EQ(crlf.bounds.bottom, lf.bounds.bottom);
}
