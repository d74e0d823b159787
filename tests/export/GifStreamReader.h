// A small reader of GIF streams for the tests: splits the stream into its
// blocks and decodes the LZW data the way a decoder does (it grows the code
// width when the next code it would add reaches the width's limit), keeping
// every code with the width it was read at.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "GifWriter.h"

struct GifCode {
  int code;
  int bits;
};

struct ParsedGif {
  std::string signature;
  int width = 0;
  int height = 0;
  int packed = 0;
  int background = 0;
  int aspect = 0;
  std::vector<std::uint8_t> colourTable;
  int left = -1, top = -1, imageWidth = 0, imageHeight = 0, imagePacked = -1;
  int minimumCodeSize = 0;
  std::vector<int> blockLengths;
  std::vector<std::uint8_t> data;  // the sub-blocks' bytes joined
  bool terminated = false;         // zero block then 0x3B, then nothing
  std::vector<GifCode> codes;
  std::vector<std::uint8_t> pixels;
  bool decodeError = false;
};

inline std::string GifBytes(const GifImage& image) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteGifStream(image, out));
  return out.str();
}

inline void DecodeLzw(ParsedGif& gif) {
  const int clear = 1 << gif.minimumCodeSize;
  const int end = clear + 1;
  int bits = gif.minimumCodeSize + 1;
  int next = clear + 2;
  std::vector<std::vector<std::uint8_t>> table;
  auto resetTable = [&] {
    table.assign(static_cast<std::size_t>(clear + 2), {});
    for (int i = 0; i < clear; ++i) table[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i)};
    bits = gif.minimumCodeSize + 1;
    next = clear + 2;
  };
  resetTable();
  std::size_t bitPos = 0;
  int previous = -1;
  const std::size_t totalBits = gif.data.size() * 8;
  while (bitPos + static_cast<std::size_t>(bits) <= totalBits) {
    int code = 0;
    for (int i = 0; i < bits; ++i, ++bitPos)
      if (gif.data[bitPos / 8] & (1 << (bitPos % 8))) code |= 1 << i;
    gif.codes.push_back({code, bits});
    if (code == clear) {
      resetTable();
      previous = -1;
      continue;
    }
    if (code == end) return;
    std::vector<std::uint8_t> entry;
    if (code < next && code < static_cast<int>(table.size()) && (code < clear || code > end)) {
      entry = table[static_cast<std::size_t>(code)];
    } else if (code == next && previous >= 0) {
      entry = table[static_cast<std::size_t>(previous)];
      entry.push_back(entry.front());
    } else {
      gif.decodeError = true;
      return;
    }
    gif.pixels.insert(gif.pixels.end(), entry.begin(), entry.end());
    if (previous >= 0 && next < 4096) {
      auto added = table[static_cast<std::size_t>(previous)];
      added.push_back(entry.front());
      table.push_back(added);
      ++next;
      if (next == (1 << bits) && bits < 12) ++bits;
    }
    previous = code;
  }
  gif.decodeError = true;  // ran out of data before the end code
}

inline ParsedGif ParseGif(const std::string& s) {
  ParsedGif gif;
  std::size_t p = 0;
  auto byte = [&]() -> int { return p < s.size() ? static_cast<std::uint8_t>(s[p++]) : -1; };
  auto word = [&]() { int lo = byte(); int hi = byte(); return lo | (hi << 8); };
  gif.signature = s.substr(0, 6);
  p = 6;
  gif.width = word();
  gif.height = word();
  gif.packed = byte();
  gif.background = byte();
  gif.aspect = byte();
  const int tableBytes = 3 << ((gif.packed & 7) + 1);
  for (int i = 0; i < tableBytes; ++i) gif.colourTable.push_back(static_cast<std::uint8_t>(byte()));
  if (byte() != 0x2C) return gif;
  gif.left = word();
  gif.top = word();
  gif.imageWidth = word();
  gif.imageHeight = word();
  gif.imagePacked = byte();
  gif.minimumCodeSize = byte();
  for (;;) {
    const int length = byte();
    if (length <= 0) break;
    gif.blockLengths.push_back(length);
    for (int i = 0; i < length; ++i) gif.data.push_back(static_cast<std::uint8_t>(byte()));
  }
  gif.terminated = byte() == 0x3B && p == s.size();
  DecodeLzw(gif);
  return gif;
}
