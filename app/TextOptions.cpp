#include "TextOptions.h"

#include <algorithm>

#include "CommandTable.h"

TextLayout TextOptions::Layout() const {
  TextLayout layout;
  layout.align = align;
  layout.kerning = kerning;
  return layout;
}

const std::array<int, 5>& TextOptionCommands() {
  static const std::array<int, 5> ids = {kCmdAlignLeft, kCmdAlignCentre, kCmdAlignRight, kCmdKerning,
                                         kCmdFontFallback};
  return ids;
}

bool IsTextOptionCommand(int id) {
  const auto& ids = TextOptionCommands();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TextOptions AfterTextOptionCommand(TextOptions options, int id) {
  switch (id) {
    case kCmdAlignLeft: options.align = LineAlign::Left; break;
    case kCmdAlignCentre: options.align = LineAlign::Centre; break;
    case kCmdAlignRight: options.align = LineAlign::Right; break;
    case kCmdKerning: options.kerning = !options.kerning; break;
    case kCmdFontFallback: options.fontFallback = !options.fontFallback; break;
    default: break;
  }
  return options;
}

bool TextOptionChecked(const TextOptions& options, int id) {
  switch (id) {
    case kCmdAlignLeft: return options.align == LineAlign::Left;
    case kCmdAlignCentre: return options.align == LineAlign::Centre;
    case kCmdAlignRight: return options.align == LineAlign::Right;
    case kCmdKerning: return options.kerning;
    case kCmdFontFallback: return options.fontFallback;
    default: return false;
  }
}
