// The command line of glyphkiln: every setting in one struct, every option
// in one table. An option is a row of the table (name, value name, help,
// and what it does to the settings); usage errors are reported, never
// thrown, so that the program can leave with status 2.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "MeshFormats.h"
#include "TextSettings.h"

// Exit statuses of the program.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailure = 1,  // a font that cannot be found or read, output that cannot be written
  kExitUsage = 2,    // unknown option, missing text, bad number
};

struct CliOptions {
  // Font.
  std::string fontName = "Arial";
  bool fontNameGiven = false;
  std::string fontFile;  // opens this file instead of looking the name up
  bool bold = false;
  bool italic = false;
  std::string fontStyle;  // a named instance of a variable face, or a style of the family
  long faceIndex = 0;     // the face of a collection given by --font-file
  bool faceIndexGiven = false;
  bool fontFallback = false;  // characters the font lacks from another installed font

  // Setting the text.
  bool kerning = false;   // shape the lines (kerning, ligatures, right-to-left)
  std::string align = "left";  // left, centre or right: the lines against the longest
  std::string textFile;   // the text read from this file (UTF-8) instead of TEXT

  // The letters: height, depth, bevel, colour and light, with the defaults
  // every letter build starts from.
  TextSettings settings;

  // The world.
  std::string outputPath;  // -o; empty: "g.wrl" unless a dump is asked for

  // The mesh exports (MeshOutput): format, unit, em height, STL form.
  ExportSettings exportSettings;

  // Pictures of the examiner's view (PictureOutput).
  std::string gifPath;               // --gif; empty: no GIF
  std::string pngPath;               // --png; empty: no PNG
  int pictureWidth = 640;            // pixels, before the renderer's own limit
  int pictureHeight = 480;
  float yaw = 0.0f;                  // radians
  float pitch = 0.0f;                // radians
  float zoom = 1.0f;
  std::uint32_t background = 0xFFFF00;  // COLORREF 0x00BBGGRR, cyan
  bool fitExaminer = false;          // --fit examiner; otherwise the text is fitted
  int antialias = 1;                 // N x N samples per pixel
  bool transparent = false;          // PNG alpha where the background shows
  int turntableFrames = 0;           // --turntable N; 0: a still picture
  double framesPerSecond = 20.0;
  enum class Palette { kDefault, kCube, kAdaptive } gifPalette = Palette::kDefault;

  // What to do.
  bool dumpOutline = false;
  bool dumpGeometry = false;
  bool help = false;
  bool version = false;

  // The text, as typed (UTF-8).
  std::string text;
  bool textGiven = false;
};

// One row of the option table. A row with a valueName takes a value, given
// as the next argument or after '='. `apply` returns false and fills `error`
// when the value is unusable.
struct OptionSpec {
  std::string name;       // "--font", or a short "-o"
  std::string valueName;  // "NAME"; empty for a flag
  std::string help;
  std::function<bool(CliOptions& options, const std::string& value, std::string& error)> apply;
};

const std::vector<OptionSpec>& OptionTable();

struct ParseResult {
  CliOptions options;
  bool ok = true;
  std::string error;  // the usage error, without program name or newline
};

// Reads the arguments after the program name. "--" ends the options, so a
// text that starts with '-' can follow it.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The --help text, built from the table.
std::string UsageText();

// A number from an option value: the whole value must be a finite number
// within [min, max]. False with a message naming the option otherwise.
bool ParseNumber(const std::string& option, const std::string& value, double min, double max,
                 double& out, std::string& error);
bool ParseInteger(const std::string& option, const std::string& value, long min, long max,
                  long& out, std::string& error);
// RRGGBB as typed, red first, into a COLORREF 0x00BBGGRR.
bool ParseHexColour(const std::string& option, const std::string& value, std::uint32_t& colour,
                    std::string& error);
// The apply function of an option that takes a file name into `field`.
std::function<bool(CliOptions&, const std::string&, std::string&)> FileNameOption(
    std::string CliOptions::*field, const std::string& option);

// Writes an output file through the atomic save; on failure `error` names
// the file and the reason.
bool SaveOutput(const std::string& path, const std::function<bool(std::ostream&)>& write,
                std::string& error);
