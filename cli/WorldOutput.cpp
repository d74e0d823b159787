// The world output: the options that shape the solid letters and the writing
// of the VRML world through the atomic save.
#include "WorldOutput.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <thread>

#include "MeshOutput.h"
#include "PictureOutput.h"
#include "Text3D.h"
#include "TextSettings.h"
#include "VrmlWriter.h"

namespace {

constexpr long kLastShape = static_cast<long>(ShapeChoices::kBevelStepsOfShape.size()) - 1;
constexpr long kLastSize = static_cast<long>(ShapeChoices::kBevelSizeOfChoice.size()) - 1;

// A setting's number as the help text shows it: 0.2, 0.001, 100.
std::string Shown(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
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
       FileNameOption(&CliOptions::outputPath, "-o")},
      {"--depth", "D", "extrusion depth in model units (default " + Shown(TextSettings::kDefaultDepth) + ", " +
           Shown(TextSettings::kMinDepth) + " .. " + Shown(TextSettings::kMaxDepth) + ")",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseNumber("--depth", v, TextSettings::kMinDepth, TextSettings::kMaxDepth,
                            o.settings.depth, error);
       }},
      {"--bevel-shape", "N", "0 straight side, 1, 2, 3 bevel steps, 4 round (default 0)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long choice = 0;
         if (!ParseInteger("--bevel-shape", v, 0, kLastShape, choice, error)) return false;
         o.settings.bevelSteps = ShapeChoices::BevelStepsForChoice(static_cast<int>(choice));
         return true;
       }},
      {"--bevel-size", "N", "bevel size 0, 1, 2: 0.02, 0.04, 0.06 (default 1/30)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         long choice = 0;
         if (!ParseInteger("--bevel-size", v, 0, kLastSize, choice, error)) return false;
         o.settings.bevelSize = ShapeChoices::BevelSizeForChoice(static_cast<int>(choice));
         return true;
       }},
      {"--color", "RRGGBB", "colour of the letters in hex (default ff0000, red)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         std::uint32_t colour = 0;
         if (!ParseHexColour("--color", v, colour, error)) return false;
         o.settings.colour = static_cast<int>(colour);
         return true;
       }},
      {"--light", "F,S", "light from front|back and left|right (default front,right)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseLight(v, o.settings.lightFlags, error);
       }},
  };
}

std::string WorldPath(const CliOptions& options) {
  return options.outputPath.empty() ? std::string("g.wrl") : options.outputPath;
}

bool WriteWorldFile(const CText3D& text, const std::string& path, std::string& error) {
  return SaveOutput(
      path,
      [&text](std::ostream& out) {
        WriteVrml(text, out);
        return static_cast<bool>(out);
      },
      error);
}

bool WritesOnlyWorld(const CliOptions& options) {
  return !options.dumpOutline && !options.dumpGeometry && !options.exportSettings.check &&
         !WantsPictures(options) && OutputFormat(options) == MeshFormat::Vrml;
}

bool WriteWorldFileFinishing(CText3D& text, const TextSettings& settings, const std::string& path,
                             std::string& error) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  return SaveOutput(
      path,
      [&](std::ostream& out) {
        WriteVrmlFinishing(text, settings, out, threads);
        return static_cast<bool>(out);
      },
      error);
}
