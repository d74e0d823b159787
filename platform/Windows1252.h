// The letters are built from bytes, each byte read as a Windows-1252
// character. These helpers convert at the program's edges: UTF-8 from the
// command line or the window into letter bytes, and back for display or JSON.
#pragma once

#include <string>
#include <string_view>

// The Unicode code point of a Windows-1252 byte. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of
// the same value, as the platform's own conversion does.
char32_t Windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte for a code point, or '?' when the code page has none.
unsigned char UnicodeToWindows1252(char32_t codePoint);

// Letter bytes from UTF-8 text; characters outside the code page become '?'.
// Returns false (and leaves `out` untouched) when `utf8` is not valid UTF-8.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out);

// UTF-8 text for letter bytes; always valid UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// The characters of UTF-8 text. Returns false (and leaves `out` untouched)
// when `utf8` is not valid UTF-8.
bool Utf8ToCodePoints(std::string_view utf8, std::u32string& out);

// UTF-8 text for characters; code points past U+10FFFF and surrogates
// become U+FFFD.
std::string CodePointsToUtf8(std::u32string_view characters);

// The letter bytes kept with the letters of a text: each character's
// Windows-1252 byte, '?' for a character the code page lacks.
std::string LetterBytes(std::u32string_view characters);

// Characters as a warning names them: "Ω (U+03A9), 漢 (U+6F22)"; controls
// and blanks by their code alone.
std::string NameCharacters(std::u32string_view characters);
