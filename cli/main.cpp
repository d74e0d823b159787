// glyphkiln: text and font in, letters out, without a window.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "DumpGeometry.h"
#include "DumpOutline.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "MeshOutput.h"
#include "Options.h"
#include "PictureOutput.h"
#include "Text3D.h"
#include "Windows1252.h"
#include "WorldOutput.h"

namespace {

constexpr const char* kVersion = "2.0";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "glyphkiln: %s\nTry 'glyphkiln --help' for more information.\n",
               message.c_str());
  return kExitUsage;
}

int Failure(const std::string& message) {
  std::fprintf(stderr, "glyphkiln: %s\n", message.c_str());
  return kExitFailure;
}

std::unique_ptr<Font> OpenFont(const CliOptions& options, std::string& error) {
  if (!options.fontFile.empty()) return Font::OpenFile(options.fontFile, 0, &error);
  FontDescription description;
  description.faceName = options.fontName;
  description.weight = options.bold ? FontDescription::kWeightBold : FontDescription::kWeightNormal;
  description.italic = options.italic;
  // A name that is not installed is an error here, where the desktop
  // program would quietly take a substitute.
  return Font::Open(description, true, &error);
}

// The letter bytes: the argument is taken as UTF-8 and stored as
// Windows-1252; an argument that is not UTF-8 is taken byte for byte.
std::string LetterBytes(const std::string& argument) {
  std::string bytes;
  if (!Utf8ToWindows1252(argument, bytes)) bytes = argument;
  return bytes;
}

// Flushes standard output and reports whether everything reached it.
bool OutputWritten() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

int Run(const CliOptions& options) {
  std::string error;
  const std::unique_ptr<Font> font = OpenFont(options, error);
  if (!font) return Failure(error);

  const std::string bytes = LetterBytes(options.text);
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, bytes, *font);
  if (options.dumpOutline) {
    if (!DumpOutline(outline, stdout) || !OutputWritten()) {
      return Failure("cannot write to standard output");
    }
    return kExitOk;
  }

  CText3D text(bytes, outline, options.colour, options.height, options.depth);
  text.FindContours();
  text.CalculateContours();
  text.SetLight(options.lightFlags);

  if (options.dumpGeometry) {
    if (!DumpGeometry(text, stdout) || !OutputWritten()) {
      return Failure("cannot write to standard output");
    }
    return kExitOk;
  }

  text.SetBevel(options.bevelSteps, options.bevelSize);
  text.BuildMeshes();
  if (options.exportSettings.check) return CheckText(text, options);
  if (WantsPictures(options)) {
    if (!WritePictures(text, options, error)) return Failure(error);
    if (options.outputPath.empty()) return kExitOk;  // the world only when -o asks for it too
  }
  if (!WriteOutputFile(text, options, error)) return Failure(error);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  const FontConfigurationScope fontConfiguration;
  try {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParseResult parsed = ParseOptions(args);
    if (!parsed.ok) return UsageError(parsed.error);
    if (parsed.options.help) {
      std::fputs(UsageText().c_str(), stdout);
      return OutputWritten() ? kExitOk : kExitFailure;
    }
    if (parsed.options.version) {
      std::printf("glyphkiln %s\n", kVersion);
      return OutputWritten() ? kExitOk : kExitFailure;
    }
    if (ChecksFile(parsed.options)) {
      std::string error;
      const int status = CheckFile(parsed.options, error);
      return error.empty() ? status : Failure(error);
    }
    return Run(ScaledToEmHeight(parsed.options));
  } catch (const std::bad_alloc&) {
    return Failure("out of memory");
  } catch (const std::exception& e) {
    return Failure(e.what());
  }
}
