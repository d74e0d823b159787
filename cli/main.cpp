// glyphkiln: text and font in, letters out, without a window.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "DumpGeometry.h"
#include "DumpOutline.h"
#include "FontEngine.h"
#include "MemoryReuse.h"
#include "MeshOutput.h"
#include "Options.h"
#include "PictureOutput.h"
#include "StagedOutputs.h"
#include "Text3D.h"
#include "TextAndFont.h"
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

// A failed run with outputs: the writer's message under the targets' names,
// then what became of each other output.
int OutputsFailed(const StagedOutputs& outputs, const std::string& error) {
  const std::string message = outputs.InTargetNames(error);
  Failure(message);
  for (const std::string& fate : outputs.Fates(message)) std::fprintf(stderr, "glyphkiln: %s\n", fate.c_str());
  return kExitFailure;
}

// Flushes standard output and reports whether everything reached it.
bool OutputWritten() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

int Run(const CliOptions& options) {
  std::string error;
  const std::unique_ptr<Font> font = OpenFont(options, error);
  if (!font) return Failure(error);

  std::u32string characters;
  if (!ReadText(options, characters, error)) return Failure(error);
  const std::string bytes = LetterBytes(characters);
  CGlyphOutline outline;
  ExtractText(outline, characters, *font, options, stderr);
  if (options.dumpOutline) {
    if (!DumpOutline(outline, stdout) || !OutputWritten()) {
      return Failure("cannot write to standard output");
    }
    return kExitOk;
  }

  BuildOptions build;
  build.contoursOnly = options.dumpGeometry;
  build.lettersOnly = WritesOnlyWorld(options);
  const std::unique_ptr<CText3D> letters = BuildText3D(bytes, outline, options.settings, build);
  const CText3D& text = *letters;
  if (options.dumpGeometry) {
    if (!DumpGeometry(text, characters, stdout) || !OutputWritten()) {
      return Failure("cannot write to standard output");
    }
    return kExitOk;
  }

  if (options.exportSettings.check) return CheckText(text, options);
  // Every output goes to a temporary file first; only when all of them are
  // complete do they replace their targets, together (an OBJ with its
  // material library as two outputs).
  const bool wantsWorld = !WantsPictures(options) || !options.outputPath.empty();
  StagedOutputs outputs;
  CliOptions staged = options;
  if (!options.pngPath.empty()) staged.pngPath = outputs.Add(options.pngPath);
  if (!options.gifPath.empty()) staged.gifPath = outputs.Add(options.gifPath);
  StagedOutputFile world;
  if (wantsWorld) world = StageOutputFile(options, outputs);
  if (WantsPictures(options)) {
    if (!WritePictures(text, staged, error)) return OutputsFailed(outputs, error);
    outputs.MarkWritten(options.pngPath);
    outputs.MarkWritten(options.gifPath);
  }
  if (wantsWorld) {
    const bool written = build.lettersOnly
                             ? WriteWorldFileFinishing(*letters, options.settings, world.path, error)
                             : WriteOutputFile(text, options, world, error);
    if (!written) return OutputsFailed(outputs, error);
    for (const std::string& target : world.targets) outputs.MarkWritten(target);
  }
  if (!outputs.CommitAll(error)) return OutputsFailed(outputs, error);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse();
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
