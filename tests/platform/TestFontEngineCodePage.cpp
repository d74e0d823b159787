// The letter bytes' code page at the program's edges.
#include <gtest/gtest.h>

#include "Windows1252.h"

TEST(FontEngineCodePage, HighControlRangeMapsToTheCodePagesCharacters) {
  EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
  EXPECT_EQ(Windows1252ToUnicode(0x92), U'\u2019');
  EXPECT_EQ(Windows1252ToUnicode(0x9F), U'\u0178');
  EXPECT_EQ(Windows1252ToUnicode(0x81), U'\u0081');  // undefined: passed through
  EXPECT_EQ(Windows1252ToUnicode(0xE9), U'\u00E9');
  EXPECT_EQ(Windows1252ToUnicode('A'), U'A');
}

TEST(FontEngineCodePage, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string back;
  ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), back));
  EXPECT_EQ(back, all);
}

TEST(FontEngineCodePage, Utf8TextBecomesLetterBytes) {
  std::string bytes;
  ASSERT_TRUE(Utf8ToWindows1252("caf\xC3\xA9 \xE2\x82\xAC", bytes));  // "café €"
  EXPECT_EQ(bytes, "caf\xE9 \x80");
  ASSERT_TRUE(Utf8ToWindows1252("\xE4\xB8\xAD", bytes));  // a CJK character has no byte
  EXPECT_EQ(bytes, "?");
}

TEST(FontEngineCodePage, MalformedUtf8IsRefusedAndLeavesTheOutputAlone) {
  std::string bytes = "kept";
  EXPECT_FALSE(Utf8ToWindows1252("\xE9t\xE9", bytes));      // Latin-1, not UTF-8
  EXPECT_FALSE(Utf8ToWindows1252("\xC3", bytes));           // cut short
  EXPECT_FALSE(Utf8ToWindows1252("\xC0\xAF", bytes));       // overlong
  EXPECT_FALSE(Utf8ToWindows1252("\xED\xA0\x80", bytes));   // surrogate
  EXPECT_EQ(bytes, "kept");
}
