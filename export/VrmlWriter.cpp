// The VRML 2.0 world of the letters. The layout of the file (blanks, comments,
// number formats, line ends) is fixed: other tools and earlier files compare
// against it byte for byte.
#include "VrmlWriter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "Letter.h"
#include "LetterPiece.h"
#include "RunInOrder.h"
#include "Text3D.h"
#include "TextSettings.h"

namespace {

// Output text in one block that grows as needed. Numbers go through
// std::to_chars, which always uses the C locale's rules (a decimal point, no
// digit grouping), or through the exact fixed-point formatting of
// Coordinate, so a desktop session in a decimal-comma locale cannot corrupt
// the file.
class TextBlock {
 public:
  TextBlock& operator<<(std::string_view text) {
    std::memcpy(Room(text.size()), text.data(), text.size());
    m_used += text.size();
    return *this;
  }
  // A literal: its length is known here, so the copy is a few moves.
  template <std::size_t N>
  TextBlock& operator<<(const char (&text)[N]) {
    std::memcpy(Room(N - 1), text, N - 1);
    m_used += N - 1;
    return *this;
  }
  // Fixed point with `decimals` digits, a minus sign for negative values
  // (also when they round to zero) and no plus sign.
  TextBlock& Fixed(double value, int decimals) {
    Advance(PutFixed(Room(kLongestFixed), value, decimals));
    return *this;
  }
  // A vertex line: three coordinates with four decimals, blank-separated,
  // ending with a comma.
  void VertexLine(const CVertex3F& v) {
    char* at = Room(3 * kLongestFixed + 8);
    at = PutCoordinate(at, v.x);
    *at++ = ' ';
    at = PutCoordinate(at, v.y);
    *at++ = ' ';
    at = PutDepth(at, v.z);
    std::memcpy(at, ",\r\n", 3);
    Advance(at + 3);
  }
  TextBlock& Int(long long value) {
    char* at = Room(24);
    Advance(std::to_chars(at, at + 24, value).ptr);
    return *this;
  }
  // An index followed by a comma.
  void Index(int value) {
    char* at = Room(16);
    if (value < 0) {
      *at++ = '-';
      at = PutUnsigned(at, 0u - static_cast<std::uint32_t>(value));
    } else {
      at = PutUnsigned(at, static_cast<std::uint32_t>(value));
    }
    *at = ',';
    Advance(at + 1);
  }
  TextBlock& End() { return *this << "\r\n"; }

  std::size_t Size() const { return m_used; }
  std::string_view View(std::size_t from, std::size_t to) const {
    return std::string_view(m_text.data() + from, to - from);
  }
  void Clear() { m_used = 0; }

 private:
  static constexpr std::size_t kLongestFixed = 64;
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";

  // Four digits of a value below 10000, leading zeros included.
  static char* PutFourDigits(char* at, unsigned value) {
    std::memcpy(at, kPairs + 2 * (value / 100), 2);
    std::memcpy(at + 2, kPairs + 2 * (value % 100), 2);
    return at + 4;
  }
  // One or two digits of a value below 100.
  static char* PutSmall(char* at, unsigned value) {
    if (value < 10) {
      *at = static_cast<char>('0' + value);
      return at + 1;
    }
    std::memcpy(at, kPairs + 2 * value, 2);
    return at + 2;
  }
  // The decimal digits of `value`, as std::to_chars writes them; the short
  // numbers of indices and coordinates take the few branches first.
  [[gnu::always_inline]] static char* PutUnsigned(char* at, std::uint64_t value) {
    if (value < 100) return PutSmall(at, static_cast<unsigned>(value));
    if (value < 10000) {
      const auto v = static_cast<unsigned>(value);
      at = PutSmall(at, v / 100);
      std::memcpy(at, kPairs + 2 * (v % 100), 2);
      return at + 2;
    }
    if (value < 1000000) {
      const auto v = static_cast<unsigned>(value);
      return PutFourDigits(PutSmall(at, v / 10000), v % 10000);
    }
    return std::to_chars(at, at + 20, value).ptr;
  }

  static char* PutFixed(char* at, double value, int decimals) {
    const auto result = std::to_chars(at, at + kLongestFixed, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc{}) return result.ptr;
    *at = '0';  // only a value far beyond any model coordinate gets here
    return at + 1;
  }

  // A coordinate with four decimals, the same characters PutFixed(value, 4)
  // gives, without its general conversion: a float's 24-bit significand
  // times 10000 (less than 2^14) fits a double's 53 bits, so the scaled
  // value is exact, and rounding it to an integer, ties to even, gives the
  // correctly rounded decimal that std::to_chars writes.
  static char* PutCoordinate(char* at, float value) {
    const double exact = value;
    if (!(std::fabs(exact) < 1.0e14)) return PutFixed(at, exact, 4);  // also NaN and infinities
    if (std::signbit(exact)) *at++ = '-';
    const double scaled = std::fabs(exact) * 10000.0;
    std::uint64_t units = static_cast<std::uint64_t>(scaled);
    const double rest = scaled - static_cast<double>(units);
    if (rest > 0.5 || (rest == 0.5 && (units & 1) != 0)) ++units;
    at = PutUnsigned(at, units / 10000);
    *at = '.';
    return PutFourDigits(at + 1, static_cast<unsigned>(units % 10000));
  }

  // The z of a vertex: a piece has only as many depths as rings, met over
  // and over, so their text is kept by the value's bits (0.0 and -0.0
  // read differently) and copied when it comes again.
  char* PutDepth(char* at, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    KnownDepth& known = m_depths[(bits * 0x9E3779B1u) >> (32 - kDepthSlotBits)];
    if (known.length != 0 && known.bits == bits) {
      std::memcpy(at, known.text, sizeof known.text);
      return at + known.length;
    }
    char* end = PutCoordinate(at, value);
    const auto length = static_cast<std::size_t>(end - at);
    if (length <= sizeof known.text) {
      known.bits = bits;
      known.length = static_cast<unsigned char>(length);
      std::memcpy(known.text, at, length);
    }
    return end;
  }

  // Room for n more characters at the end.
  char* Room(std::size_t n) {
    if (m_text.size() - m_used < n) Grow(n);
    return m_text.data() + m_used;
  }
  void Advance(const char* end) { m_used = static_cast<std::size_t>(end - m_text.data()); }
  // At least doubles the block, so appending stays linear.
  [[gnu::noinline]] void Grow(std::size_t n) {
    m_text.resize(std::max(2 * m_text.size(), m_used + n + 4096));
  }

  std::string m_text;  // m_used characters written, the rest room to grow into
  std::size_t m_used = 0;
  static constexpr int kDepthSlotBits = 4;
  struct KnownDepth {
    std::uint32_t bits = 0;
    unsigned char length = 0;  // 0: the slot is empty
    char text[24] = {};
  };
  KnownDepth m_depths[1 << kDepthSlotBits];
};

// One letter's part of the world. The coordinate labels count the pieces of
// the whole file, so a letter made apart from the others leaves their places
// open: two per piece written (its DEF and its USE), filled in when the
// letter is written out in order.
struct LetterText {
  TextBlock text;
  std::vector<std::size_t> labelAt;
};

// Red, green and blue of a COLORREF (0x00BBGGRR) in the range 0 to 1,
// scaled with the single-precision 1/255 as the colour always has been.
void WriteDiffuseColour(TextBlock& line, int colour) {
  constexpr float kByteToUnit = 1.0f / 255.0f;
  const float red = static_cast<float>(colour & 0xFF) * kByteToUnit;
  const float green = static_cast<float>((colour >> 8) & 0xFF) * kByteToUnit;
  const float blue = static_cast<float>((colour >> 16) & 0xFF) * kByteToUnit;
  line << "     diffuseColor ";
  line.Fixed(red, 2) << " ";
  line.Fixed(green, 2) << " ";
  line.Fixed(blue, 2) << "\r\n";
}

void WriteAppearanceAndGeometryHead(TextBlock& line, int colour) {
  line << "   appearance Appearance { \r\n";
  line << "    material Material{ \r\n";
  WriteDiffuseColour(line, colour);
  line << "     ambientIntensity  0.2\r\n";
  line << "   }}\r\n";
  line << "   geometry IndexedFaceSet { \r\n";
  line << "    convex FALSE \r\n";
  line << "    solid TRUE \r\n";
  line << "    colorPerVertex FALSE \r\n";
}

// "  Shape{   #< A > (1/2) " or, for a code below 33 (blank and control
// characters, and every byte from 128 up, whose codes are negative), the code
// as a number; a character Windows-1252 lacks as "U+" and four to six
// upper-case hex digits of its code point ("#< U+03A9 >").
void WriteShapeHeader(TextBlock& line, int code, std::string_view label, std::size_t i,
                      std::size_t n) {
  line << "  Shape{   #< ";
  if (code > 0x7F) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "U+%04X", static_cast<unsigned>(code));
    line << std::string_view(digits);
  } else if (code >= 33) {
    const char character = static_cast<char>(code);
    line << std::string_view(&character, 1);
  } else {
    line.Int(code);
  }
  line << " > " << label << "(";
  line.Int(static_cast<long long>(i)) << "/";
  line.Int(static_cast<long long>(n)) << ") \r\n";
}

void WriteIndexLine(TextBlock& line, const std::vector<int>& indices) {
  for (int index : indices) line.Index(index);
  line.End();
}

void WritePiece(LetterText& letter, const CLetterPiece& piece, int code, std::size_t i,
                std::size_t n) {
  TextBlock& line = letter.text;
  WriteShapeHeader(line, code, "", i, n);
  WriteAppearanceAndGeometryHead(line, piece.colour);
  line << "    coord DEF Label_";
  letter.labelAt.push_back(line.Size());
  line << " Coordinate { \r\n";
  line << "     point [\r\n";
  for (const CVertex3F& v : piece.vertices) line.VertexLine(v);
  const long long count = static_cast<long long>(piece.vertices.size());
  line << "    ]} # ";
  line.Int(count) << " points (0 .. ";
  line.Int(count - 1) << ")\r\n";
  line << "    coordIndex [ \r\n";
  WriteIndexLine(line, piece.frontFace);
  WriteIndexLine(line, piece.backFace);
  line << "    ]\r\n";
  line << "   } \r\n";
  line << "  } \r\n";

  WriteShapeHeader(line, code, "sides", i, n);
  WriteAppearanceAndGeometryHead(line, piece.colour);
  line << "    coord USE Label_";
  letter.labelAt.push_back(line.Size());
  line << " \r\n";
  line << "    coordIndex [ \r\n";
  for (int index : piece.sideFaces) {
    line.Index(index);
    if (index == -1) line.End();
  }
  line << "    ]\r\n";
  line << "   } \r\n";
  line << "  } \r\n";
}

// The letter's byte as a signed 8-bit value (0xE9 is -23); a code above 0x7F
// is the code point of a character the code page lacks and stays as it is.
int SignedByte(int code) {
  return code > 0x7F ? code : static_cast<signed char>(static_cast<unsigned char>(code));
}

// The camera looks at the middle of the text from far enough away to see it
// whole, but never nearer than 3 or farther than 5 units.
void WriteViewpoint(TextBlock& line, const CBoundRect& bounds) {
  const double x = 0.5 * bounds.left + 0.5 * bounds.right;
  const double y = 0.5 * bounds.top + 0.5 * bounds.bottom;
  double z = std::max(bounds.right - bounds.left, 3.0 * (bounds.top - bounds.bottom));
  if (z < 3.0) z = 3.0;
  if (z > 5.0) z = 5.0;
  line << "Viewpoint {position  ";
  line.Fixed(x, 2) << " ";
  line.Fixed(y, 2) << " ";
  line.Fixed(z, 2) << " }\r\n";
}

// Every piece of a letter that has a mesh; blanks (letters without any
// outline) and pieces without a mesh (an outline without area, which would
// only trouble the readers of the file as an empty shape) are passed over.
void WriteLetter(LetterText& out, const CLetter& letter) {
  out.text.Clear();
  out.labelAt.clear();
  if (letter.bounds.IsDegenerate()) return;
  for (std::size_t i = 0; i < letter.pieces.size(); ++i) {
    const CLetterPiece* piece = letter.pieces[i].get();
    if (!piece || piece->contours.empty() || piece->vertices.empty()) continue;
    WritePiece(out, *piece, SignedByte(letter.code), i + 1, letter.pieces.size());
  }
}

// The world up to the first letter.
void WriteHead(TextBlock& line, const CText3D& text) {
  line << "#VRML V2.0 utf8 \r\n";
  WriteViewpoint(line, text.bounds);
  line << "Group { \r\n";
  line << " children [ \r\n";
  line << "  DirectionalLight {direction ";
  line.Fixed(text.lightDir[0], 2) << " ";
  line.Fixed(text.lightDir[1], 2) << " ";
  line.Fixed(text.lightDir[2], 2) << "}\r\n";
}

void Put(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Appends a letter's text with its labels filled in; `label` counts the
// pieces written so far (the first is 1).
void PutLetter(TextBlock& into, const LetterText& letter, int& label) {
  std::size_t from = 0;
  for (std::size_t k = 0; k < letter.labelAt.size(); ++k) {
    const std::size_t at = letter.labelAt[k];
    into << letter.text.View(from, at);
    into.Int(label);
    if (k % 2 == 1) ++label;  // DEF and USE of one piece share the label
    from = at;
  }
  into << letter.text.View(from, letter.text.Size());
}

// Hands the collected text to the stream in large blocks: few calls, and
// never the whole world in memory.
void FlushLarge(std::ostream& out, TextBlock& block) {
  if (block.Size() < (1u << 20)) return;
  Put(out, block.View(0, block.Size()));
  block.Clear();
}

constexpr std::string_view kWorldEnd = "  ]}\r\n";

}  // namespace

void WriteVrml(const CText3D& text, std::ostream& out) {
  TextBlock block;
  WriteHead(block, text);
  LetterText letter;
  int label = 1;
  for (const CLetter& each : text.letters) {
    WriteLetter(letter, each);
    PutLetter(block, letter, label);
    FlushLarge(out, block);
  }
  block << kWorldEnd;
  Put(out, block.View(0, block.Size()));
}

void WriteVrmlFinishing(CText3D& text, const TextSettings& settings, std::ostream& out,
                        unsigned threads) {
  TextBlock block;
  WriteHead(block, text);
  // A few letters per thread in waiting keep every thread busy while the
  // memory held stays that of a handful of letters. The letters in flight
  // are never more than the window, so each has a slot of its own, and the
  // slots keep their memory from letter to letter.
  const std::size_t window = 8 * std::max(threads, 1u);
  std::vector<LetterText> made(window);
  int label = 1;
  RunInOrder(
      text.letters.size(), threads, window,
      [&](std::size_t i) {
        CLetter& letter = text.letters[i];
        FinishLetter(letter, settings);
        WriteLetter(made[i % window], letter);
        letter.pieces.clear();
        letter.pieces.shrink_to_fit();
      },
      [&](std::size_t i) {
        PutLetter(block, made[i % window], label);
        FlushLarge(out, block);
      });
  block << kWorldEnd;
  Put(out, block.View(0, block.Size()));
}
