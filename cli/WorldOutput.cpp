// The world output: the options that shape the solid letters and the writing
// of the VRML world through the atomic save.
#include "WorldOutput.h"

#include <cctype>
#include <ostream>

#include "SaveFile.h"
#include "Text3D.h"
#include "VrmlWriter.h"

namespace {

// The Shape dialog's choices: bevel shapes 0 to 4 and sizes 0 to 2.
constexpr int kBevelStepsOfShape[] = {0, 1, 2, 3, 7};
constexpr double kBevelSizeOfChoice[] = {0.02, 0.04, 0.06};
constexpr double kMinDepth = 0.001;
constexpr double kMaxDepth = 100.0;

bool ParseColour(const std::string& value, int& colour, std::string& error) {
  bool ok = value.size() == 6;
  for (char c : value) ok = ok && std::isxdigit(static_cast<unsigned char>(c));
  if (!ok) {
    error = "--color: expected six hex digits RRGGBB, got '" + value + "'";
    return false;
  }
  const long rgb = std::stol(value, nullptr, 16);
  const int red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  colour = red | (green << 8) | (blue << 16);  // 0x00BBGGRR
  return true;
}

// "front,right" and the like: one word of each pair, in either order. Light
// from the back sets bit 0, light from the left bit 1.
bool ParseLight(const std::string& value, int& flags, std::string& error) {
  const auto comma = value.find(',');
  bool depthGiven = false, sideGiven = false;
  int parsed = 0;
  bool ok = comma != std::string::npos;
  if (ok) {
    for (const std::string& word : {value.substr(0, comma), value.substr(comma + 1)}) {
      if ((word == "front" || word == "back") && !depthGiven) {
        depthGiven = true;
        if (word == "back") parsed |= 1;
      } else if ((word == "left" || word == "right") && !sideGiven) {
        sideGiven = true;
        if (word == "left") parsed |= 2;
      } else {
        ok = false;
      }
    }
  }
  if (!ok || !depthGiven || !sideGiven) {
    error = "--light: expected front|back,left|right, got '" + value + "'";
    return false;
  }
  flags = parsed;
  return true;
}

}  // namespace

std::vector<OptionSpec> WorldOptionRows() {
  return {
      {"-o", "FILE", "write the VRML world to FILE (default g.wrl; - for standard output)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v.empty()) {
           error = "-o needs a file name";
           return false;
         }
         o.outputPath = v;
         return true;
       }},
      {"--depth", "D", "extrusion depth in model units (default 0.2, 0.001 .. 100)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseNumber("--depth", v, kMinDepth, kMaxDepth, o.depth, error);
       }},
      {"--bevel-shape", "N", "0 straight side, 1, 2, 3 bevel steps, 4 round (default 0)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long choice = 0;
         if (!ParseInteger("--bevel-shape", v, 0, 4, choice, error)) return false;
         o.bevelSteps = kBevelStepsOfShape[choice];
         return true;
       }},
      {"--bevel-size", "N", "bevel size 0, 1, 2: 0.02, 0.04, 0.06 (default 1/30)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long choice = 0;
         if (!ParseInteger("--bevel-size", v, 0, 2, choice, error)) return false;
         o.bevelSize = kBevelSizeOfChoice[choice];
         return true;
       }},
      {"--color", "RRGGBB", "colour of the letters in hex (default ff0000, red)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseColour(v, o.colour, error);
       }},
      {"--light", "F,S", "light from front|back and left|right (default front,right)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseLight(v, o.lightFlags, error);
       }},
  };
}

std::string WorldPath(const CliOptions& options) {
  return options.outputPath.empty() ? std::string("g.wrl") : options.outputPath;
}

bool WriteWorldFile(const CText3D& text, const std::string& path, std::string& error) {
  std::string message, reason;
  const bool saved = SaveAtomically(
      path,
      [&text](std::ostream& out) {
        WriteVrml(text, out);
        return static_cast<bool>(out);
      },
      &message, &reason);
  if (!saved) error = message + " '" + path + "'" + (reason.empty() ? "" : ": " + reason);
  return saved;
}
