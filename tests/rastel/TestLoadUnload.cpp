// The library sets up its shared state when it is loaded and gives it all
// back when it is unloaded: a private copy is loaded, used (the clipper's
// spare-vertex pool, the edge table and the texture grid all get work) and
// unloaded again, twice. Under the leak checker anything left behind fails
// the run.
#include <unistd.h>

#include <filesystem>

#include "RastelFixture.h"

namespace {

bool DrawWithCopy(const std::filesystem::path& file) {
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return false;
  auto create = reinterpret_cast<decltype(&::RenderCreateView)>(dlsym(handle, "RenderCreateView"));
  auto destroy = reinterpret_cast<decltype(&::RenderDestroyView)>(dlsym(handle, "RenderDestroyView"));
  auto resize = reinterpret_cast<decltype(&::RenderResizeView)>(dlsym(handle, "RenderResizeView"));
  auto start = reinterpret_cast<decltype(&::RenderStartFrame)>(dlsym(handle, "RenderStartFrame"));
  auto faces = reinterpret_cast<decltype(&::RenderFaceList)>(dlsym(handle, "RenderFaceList"));
  auto buffer = reinterpret_cast<decltype(&::RenderGetBuf)>(dlsym(handle, "RenderGetBuf"));
  bool drawn = false;
  if (create && destroy && resize && start && faces && buffer) {
    RenderView* view = create();
    resize(view, 64, 64);
    start(view);
    // a textured triangle reaching far outside the view: clipped on
    // several sides, with a vertex used twice
    const float vertices[] = {-100, -100, -20, 100, -100, -20, 0, 100, -20};
    const int indices[] = {0, 1, 2, 0, -1};
    std::vector<unsigned short> texture(256 * 256, 0x1234);
    FaceMaterial material{};
    material.texture = texture.data();
    material.texelsU = material.texelsV = 64;
    const FaceTexMap map = {1, {0, 1, 2}, {0, 0, 1, 0, 0, 1}};
    faces(view, 1, 3, vertices, indices, &map, &material);
    drawn = buffer(view)[32 * 64 + 32] == 0x1234;
    destroy(view);
  }
  return dlclose(handle) == 0 && drawn;
}

}  // namespace

TEST(LoadUnload, PrivateCopyLoadsDrawsAndUnloadsCleanly) {
  const std::filesystem::path original = GLYPHKILN_BIN_DIR "/libRastel16.so";
  const std::filesystem::path copy =
      std::filesystem::temp_directory_path() / ("libRastel16-copy-" + std::to_string(getpid()) + ".so");
  std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing);
  EXPECT_TRUE(DrawWithCopy(copy));
  EXPECT_TRUE(DrawWithCopy(copy));
  std::filesystem::remove(copy);
}
