// Windows-1252 <-> Unicode for the letter bytes.
#include "Windows1252.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

// 0x80 .. 0x9F; every other byte is the Latin-1 code point of the same value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`; false on a malformed, overlong or
// surrogate sequence.
bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& c) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    c = lead;
    ++pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (pos + length > s.size()) return false;
  for (int k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[pos + k]);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  pos += length;
  return true;
}

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

unsigned char UnicodeToWindows1252(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  for (int k = 0; k < 32; ++k) {
    if (kHighControls[k] == codePoint) return static_cast<unsigned char>(0x80 + k);
  }
  return '?';
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out) {
  std::string bytes;
  bytes.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c = 0;
    if (!DecodeUtf8(utf8, pos, c)) return false;
    bytes.push_back(static_cast<char>(UnicodeToWindows1252(c)));
  }
  out = std::move(bytes);
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(b)));
  return out;
}

bool Utf8ToCodePoints(std::string_view utf8, std::u32string& out) {
  std::u32string characters;
  characters.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = 0;
    if (!DecodeUtf8(utf8, pos, c)) return false;
    characters.push_back(c);
  }
  out = std::move(characters);
  return true;
}

std::string CodePointsToUtf8(std::u32string_view characters) {
  std::string out;
  out.reserve(characters.size());
  for (char32_t c : characters) {
    const bool valid = c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    AppendUtf8(out, valid ? c : U'\uFFFD');
  }
  return out;
}

std::string LetterBytes(std::u32string_view characters) {
  std::string bytes;
  bytes.reserve(characters.size());
  for (char32_t c : characters) bytes.push_back(static_cast<char>(UnicodeToWindows1252(c)));
  return bytes;
}

std::string NameCharacters(std::u32string_view characters) {
  std::string names;
  for (char32_t c : characters) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (!names.empty()) names += ", ";
    if (c > U' ' && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
      names += CodePointsToUtf8(std::u32string_view(&c, 1)) + " ";
    }
    names += "(" + std::string(code) + ")";
  }
  return names;
}
