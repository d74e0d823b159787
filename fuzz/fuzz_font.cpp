// Font file bytes through the whole letter path: the font engine (FreeType)
// opens them as a file, the outline stream is extracted for a few characters,
// the letters are nested, bridged, bevelled and meshed, and the world is
// written. The input's last byte picks the bevel, its size and the light;
// everything before it is the font file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Text3D.h"
#include "TextSettings.h"
#include "VrmlWriter.h"

namespace {

// One file in memory for the whole run, opened by the font engine through
// its /proc name, so that no input touches the disk.
class MemoryFile {
 public:
  MemoryFile() : m_fd(memfd_create("fuzz-font", 0)) {
    if (m_fd < 0) std::abort();
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
  }
  void Replace(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(m_fd, 0) != 0 || pwrite(m_fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
  }
  const std::string& Path() const { return m_path; }

 private:
  int m_fd;
  std::string m_path;
};

// Letters with holes, several contours and curves, a blank and one
// character from the upper half of Windows-1252.
const std::string kText = "Ag8% \xC6";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryFile file;
  if (size < 2) return 0;
  const std::uint8_t choice = data[size - 1];
  file.Replace(data, size - 1);
  const std::unique_ptr<Font> font = Font::OpenFile(file.Path());
  if (!font) return 0;

  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, kText, *font);
  TextSettings settings;
  settings.bevelSteps = ShapeChoices::kBevelStepsOfShape[choice % 5];
  settings.bevelSize = ShapeChoices::kBevelSizeOfChoice[(choice / 5) % 3];
  settings.lightFlags = (choice / 15) % 4;
  const std::unique_ptr<CText3D> text = BuildText3D(kText, outline, settings);
  if (!text) return 0;
  std::ostringstream world;
  WriteVrml(*text, world);
  return 0;
}
