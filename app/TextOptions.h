// How the desktop program sets its text besides the font: where shorter
// lines go, kerning (shaping) and the fallback font for missing characters,
// and the Options-menu commands that change them. Free of Qt, so tests
// drive the commands without a window.
#pragma once

#include <array>

#include "ExtractGlyphOutlines.h"

struct TextOptions {
  LineAlign align = LineAlign::Left;
  bool kerning = false;
  bool fontFallback = false;

  // The layout the letter build gets (without the fallback face, which the
  // build looks up itself when fontFallback is set).
  TextLayout Layout() const;
  bool operator==(const TextOptions&) const = default;
};

// The Options-menu commands that set the text options, in menu order.
const std::array<int, 5>& TextOptionCommands();
bool IsTextOptionCommand(int id);
// The options after command `id`: an alignment command picks its alignment,
// kerning and fallback toggle; any other id leaves them as they are.
TextOptions AfterTextOptionCommand(TextOptions options, int id);
// Whether the command's menu item shows a check mark with these options.
bool TextOptionChecked(const TextOptions& options, int id);
