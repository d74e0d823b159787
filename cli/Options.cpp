// The option table and the parser that walks the arguments against it.
#include "Options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "MeshOutput.h"
#include "PictureOutput.h"
#include "SaveFile.h"
#include "WorldOutput.h"

namespace {

// Numbers as the help text shows them: "%g", or one decimal for 1.0.
std::string Shown(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}
std::string Fixed1(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::vector<OptionSpec> BuildTable() {
  auto flag = [](bool CliOptions::*field) {
    return [field](CliOptions& o, const std::string&, std::string&) {
      o.*field = true;
      return true;
    };
  };
  std::vector<OptionSpec> table = {
      {"--font", "NAME", "installed font family (default \"Arial\")",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v.empty()) {
           error = "--font needs a font name";
           return false;
         }
         o.fontName = v;
         o.fontNameGiven = true;
         return true;
       }},
      {"--font-file", "PATH", "read the font from this file instead",
       FileNameOption(&CliOptions::fontFile, "--font-file")},
      {"--bold", "", "use the family's bold face", flag(&CliOptions::bold)},
      {"--italic", "", "use the family's italic face", flag(&CliOptions::italic)},
      {"--font-style", "NAME", "the face of this style name, e.g. a variable font's \"Light\"",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v.empty()) error = "--font-style needs a style name";
         o.fontStyle = v;
         return !v.empty();
       }},
      {"--face-index", "N", "with --font-file: the face N (from 0) of a font collection",
       [](CliOptions& o, const std::string& v, std::string& error) {
         o.faceIndexGiven = true;
         return ParseInteger("--face-index", v, 0, 0xFFFF, o.faceIndex, error);
       }},
      {"--font-fallback", "", "take characters the font lacks from an installed font that has them",
       flag(&CliOptions::fontFallback)},
      {"--kerning", "", "shape the text: kerning pairs, ligatures, right-to-left scripts",
       flag(&CliOptions::kerning)},
      {"--align", "SIDE", "left, centre or right: where shorter lines go (default left)",
       [](CliOptions& o, const std::string& v, std::string& error) {
         if (v != "left" && v != "centre" && v != "center" && v != "right") {
           error = "--align: expected left, centre or right, got '" + v + "'";
           return false;
         }
         o.align = v == "center" ? "centre" : v;
         return true;
       }},
      {"--text-file", "FILE", "read the text (UTF-8, lines by newlines) from FILE instead of TEXT",
       FileNameOption(&CliOptions::textFile, "--text-file")},
      {"--height", "H", "height of one em in model units (default " + Fixed1(TextSettings::kDefaultHeight) +
           ", at least " + Shown(TextSettings::kMinHeight) + ")",
       [](CliOptions& o, const std::string& v, std::string& error) {
         return ParseNumber("--height", v, TextSettings::kMinHeight, TextSettings::kMaxHeight,
                            o.settings.height, error);
       }},
      {"--dump-outline", "", "print the font outline stream: \"x y kind\" per line, font units",
       flag(&CliOptions::dumpOutline)},
      {"--dump-geometry", "", "print the letters' contours and merged outlines as JSON",
       flag(&CliOptions::dumpGeometry)},
      {"--help", "", "show this help", flag(&CliOptions::help)},
      {"-h", "", "same as --help", flag(&CliOptions::help)},
      {"--version", "", "show the version", flag(&CliOptions::version)},
  };
  // The world output's options go before the dumps.
  const std::vector<OptionSpec> world = WorldOptionRows();
  auto dumps = table.begin();
  while (dumps != table.end() && dumps->name != "--dump-outline") ++dumps;
  dumps = table.insert(dumps, world.begin(), world.end()) + static_cast<std::ptrdiff_t>(world.size());
  const std::vector<OptionSpec> meshes = MeshOptionRows();
  dumps = table.insert(dumps, meshes.begin(), meshes.end()) + static_cast<std::ptrdiff_t>(meshes.size());
  const std::vector<OptionSpec> pictures = PictureOptionRows();
  table.insert(dumps, pictures.begin(), pictures.end());
  return table;
}

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.name == name) return &spec;
  }
  return nullptr;
}

// Settings that cannot go together.
bool CheckCombination(const CliOptions& o, std::string& error) {
  if (!o.fontFile.empty() && (o.fontNameGiven || o.bold || o.italic)) {
    error = "--font-file cannot be combined with --font, --bold or --italic";
    return false;
  }
  if (o.faceIndexGiven && o.fontFile.empty()) {
    error = "--face-index goes with --font-file";
    return false;
  }
  if (!o.textFile.empty() && o.textGiven) {
    error = "give the text either as TEXT or with --text-file";
    return false;
  }
  if (!o.outputPath.empty() && (o.dumpOutline || o.dumpGeometry)) {
    error = "-o writes the world; the dumps go to standard output";
    return false;
  }
  if ((!o.gifPath.empty() || !o.pngPath.empty()) && (o.dumpOutline || o.dumpGeometry)) {
    error = "--gif and --png draw the letters; the dumps go to standard output";
    return false;
  }
  if (!CheckPictureOptions(o, error)) return false;
  if (o.dumpOutline && o.dumpGeometry) {
    error = "choose one of --dump-outline and --dump-geometry";
    return false;
  }
  return true;
}

}  // namespace

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = BuildTable();
  return table;
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult result;
  auto fail = [&](const std::string& error) {
    result.ok = false;
    result.error = error;
    return result;
  };
  bool optionsEnded = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (result.options.textGiven) return fail("only one TEXT argument is allowed");
      result.options.text = arg;
      result.options.textGiven = true;
      continue;
    }
    std::string name = arg;
    std::string value;
    bool valueInline = false;
    if (const auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      valueInline = true;
    }
    const OptionSpec* spec = FindOption(name);
    if (!spec) return fail("unknown option " + name);
    if (spec->valueName.empty()) {
      if (valueInline) return fail(name + " takes no value");
    } else if (!valueInline) {
      if (k + 1 >= args.size()) return fail(name + " needs a value (" + spec->valueName + ")");
      value = args[++k];
    }
    std::string error;
    if (!spec->apply(result.options, value, error)) return fail(error);
  }
  if (result.options.help || result.options.version) return result;
  std::string error;
  if (!CheckCombination(result.options, error)) return fail(error);
  if (!result.options.textGiven && result.options.textFile.empty()) return fail("missing TEXT");
  return result;
}

std::string UsageText() {
  std::ostringstream out;
  out << "Usage: glyphkiln [OPTION]... TEXT\n"
         "Builds solid letters from TEXT in an installed outline font.\n\n"
         "Options:\n";
  for (const OptionSpec& spec : OptionTable()) {
    std::string left = "  " + spec.name;
    if (!spec.valueName.empty()) left += " " + spec.valueName;
    if (left.size() < 24) left.resize(24, ' ');
    else left += "  ";
    out << left << spec.help << "\n";
  }
  out << "\nExit status: 0 on success, 1 when the font cannot be found or read or the\n"
         "output cannot be written, 2 for a usage error.\n";
  return out.str();
}

bool ParseNumber(const std::string& option, const std::string& value, double min, double max,
                 double& out, std::string& error) {
  errno = 0;
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  if (value.empty() || end != value.c_str() + value.size() || errno == ERANGE ||
      !std::isfinite(number)) {
    error = option + ": not a number: '" + value + "'";
    return false;
  }
  if (number < min || number > max) {
    std::ostringstream range;
    range << option << ": " << value << " is outside " << min << " .. " << max;
    error = range.str();
    return false;
  }
  out = number;
  return true;
}

bool ParseInteger(const std::string& option, const std::string& value, long min, long max,
                  long& out, std::string& error) {
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || end != value.c_str() + value.size() || errno == ERANGE) {
    error = option + ": not a whole number: '" + value + "'";
    return false;
  }
  if (number < min || number > max) {
    error = option + ": " + value + " is outside " + std::to_string(min) + " .. " +
            std::to_string(max);
    return false;
  }
  out = number;
  return true;
}

bool ParseHexColour(const std::string& option, const std::string& value, std::uint32_t& colour,
                    std::string& error) {
  bool ok = value.size() == 6;
  for (char c : value) ok = ok && std::isxdigit(static_cast<unsigned char>(c));
  if (!ok) {
    error = option + ": expected six hex digits RRGGBB, got '" + value + "'";
    return false;
  }
  const auto rgb = static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 16));
  colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  return true;
}

std::function<bool(CliOptions&, const std::string&, std::string&)> FileNameOption(
    std::string CliOptions::*field, const std::string& option) {
  return [field, option](CliOptions& o, const std::string& v, std::string& error) {
    if (v.empty()) {
      error = option + " needs a file name";
      return false;
    }
    o.*field = v;
    return true;
  };
}

bool SaveOutput(const std::string& path, const std::function<bool(std::ostream&)>& write,
                std::string& error) {
  std::string message, reason;
  const bool saved = SaveAtomically(path, write, &message, &reason);
  if (!saved) error = message + " '" + path + "'" + (reason.empty() ? "" : ": " + reason);
  return saved;
}
