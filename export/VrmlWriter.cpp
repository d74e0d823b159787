// The VRML 2.0 world of the letters. The layout of the file (blanks, comments,
// number formats, line ends) is fixed: other tools and earlier files compare
// against it byte for byte.
#include "VrmlWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstddef>
#include <string>
#include <string_view>

#include "Letter.h"
#include "LetterPiece.h"
#include "Text3D.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Appends text to one line of output; numbers go through std::to_chars, which
// always uses the C locale's rules (a decimal point, no digit grouping), so a
// desktop session in a decimal-comma locale cannot corrupt the file.
class LineBuffer {
 public:
  // Room for a whole block and its last line, so the text is never moved.
  LineBuffer() { m_line.reserve((1 << 16) + 4096); }
  LineBuffer& operator<<(std::string_view text) {
    m_line.append(text);
    return *this;
  }
  // Fixed point with `decimals` digits, a minus sign for negative values
  // (also when they round to zero) and no plus sign.
  LineBuffer& Fixed(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc{}) {
      m_line.append(buffer, result.ptr);
    } else {
      m_line.append("0");  // only a value far beyond any model coordinate gets here
    }
    return *this;
  }
  LineBuffer& Int(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_line.append(buffer, result.ptr);
    return *this;
  }
  LineBuffer& End() {
    m_line.append(kLineEnd);
    return *this;
  }
  // Hands the collected text to the stream once it has grown, so large worlds
  // are written in blocks rather than held whole in memory.
  void FlushTo(std::ostream& out, bool always = false) {
    if (always || m_line.size() >= 1 << 16) {
      out.write(m_line.data(), static_cast<std::streamsize>(m_line.size()));
      m_line.clear();
    }
  }

 private:
  std::string m_line;
};

// Red, green and blue of a COLORREF (0x00BBGGRR) in the range 0 to 1,
// scaled with the single-precision 1/255 as the colour always has been.
void WriteDiffuseColour(LineBuffer& line, int colour) {
  constexpr float kByteToUnit = 1.0f / 255.0f;
  const float red = static_cast<float>(colour & 0xFF) * kByteToUnit;
  const float green = static_cast<float>((colour >> 8) & 0xFF) * kByteToUnit;
  const float blue = static_cast<float>((colour >> 16) & 0xFF) * kByteToUnit;
  line << "     diffuseColor ";
  line.Fixed(red, 2) << " ";
  line.Fixed(green, 2) << " ";
  line.Fixed(blue, 2) << "\r\n";
}

void WriteAppearanceAndGeometryHead(LineBuffer& line, int colour) {
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
void WriteShapeHeader(LineBuffer& line, int code, std::string_view label, std::size_t i,
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

void WriteIndexLine(LineBuffer& line, const std::vector<int>& indices) {
  for (int index : indices) line.Int(index) << ",";
  line.End();
}

void WritePiece(LineBuffer& line, std::ostream& out, const CLetterPiece& piece, int code,
                std::size_t i, std::size_t n, int label) {
  WriteShapeHeader(line, code, "", i, n);
  WriteAppearanceAndGeometryHead(line, piece.colour);
  line << "    coord DEF Label_";
  line.Int(label) << " Coordinate { \r\n";
  line << "     point [\r\n";
  for (const CVertex3F& v : piece.vertices) {
    line.Fixed(v.x, 4) << " ";
    line.Fixed(v.y, 4) << " ";
    line.Fixed(v.z, 4) << ",\r\n";
    line.FlushTo(out);
  }
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
  line.Int(label) << " \r\n";
  line << "    coordIndex [ \r\n";
  for (int index : piece.sideFaces) {
    line.Int(index) << ",";
    if (index == -1) {
      line.End();
      line.FlushTo(out);
    }
  }
  line << "    ]\r\n";
  line << "   } \r\n";
  line << "  } \r\n";
  line.FlushTo(out);
}

// The letter's byte as a signed 8-bit value (0xE9 is -23); a code above 0x7F
// is the code point of a character the code page lacks and stays as it is.
int SignedByte(int code) {
  return code > 0x7F ? code : static_cast<signed char>(static_cast<unsigned char>(code));
}

// The camera looks at the middle of the text from far enough away to see it
// whole, but never nearer than 3 or farther than 5 units.
void WriteViewpoint(LineBuffer& line, const CBoundRect& bounds) {
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

}  // namespace

void WriteVrml(const CText3D& text, std::ostream& out) {
  LineBuffer line;
  line << "#VRML V2.0 utf8 \r\n";
  WriteViewpoint(line, text.bounds);
  line << "Group { \r\n";
  line << " children [ \r\n";
  line << "  DirectionalLight {direction ";
  line.Fixed(text.lightDir[0], 2) << " ";
  line.Fixed(text.lightDir[1], 2) << " ";
  line.Fixed(text.lightDir[2], 2) << "}\r\n";

  int label = 1;  // counts only the pieces written
  // Blanks (letters without any outline) are passed over.
  text.ForEachPiece([&](const CLetter& letter, std::size_t i, const CLetterPiece& piece) {
    // A piece without a mesh (an outline without area) has nothing to show;
    // an empty shape would only trouble the readers of the file.
    if (piece.contours.empty() || piece.vertices.empty()) return;
    WritePiece(line, out, piece, SignedByte(letter.code), i + 1, letter.pieces.size(), label);
    ++label;
  });
  line << "  ]}\r\n";
  line.FlushTo(out, true);
}
