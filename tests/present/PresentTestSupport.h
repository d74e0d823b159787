// Shared pieces of the presentation tests: scratch directories, bindings on
// the stand-in or the real renderer library, and letters built from a font
// file of the Debian font packages.
#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FakeRastelState.h"
#include "FontEngine.h"
#include "RendererBinding.h"
#include "SharedLibrary.h"
#include "Text3D.h"

namespace fs = std::filesystem;

inline fs::path FakeRastelDir(const char* variant) { return fs::path(GLYPHKILN_FAKE_RASTEL_DIR) / variant; }

// A directory of its own for each test, removed afterwards.
class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = fs::temp_directory_path() /
            ("glyphkiln-present-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }


  // Only the given directories are searched, never the system's path.
  RendererBindingOptions Options(std::vector<fs::path> directories) const {
    RendererBindingOptions options;
    options.directories = std::move(directories);
    options.useSystemSearchPath = false;
    return options;
  }

  fs::path m_dir;
};

// The stand-in library's record. Opening the same file again gives the same
// loaded copy, so this sees what the binding's calls did.
class FakeRastelProbe {
 public:
  explicit FakeRastelProbe(const fs::path& libraryFile) {
    if (m_library.Open(libraryFile)) {
      auto get = m_library.Get<FakeRastelState* (*)()>("FakeRastelGetState");
      if (get) m_state = get();
    }
  }
  FakeRastelState* operator->() const { return m_state; }
  bool Loaded() const { return m_state != nullptr; }

 private:
  SharedLibrary m_library;
  FakeRastelState* m_state = nullptr;
};

// Letters as the desktop program first builds them: red, depth 0.2, no
// bevel rings, light from the front right; or only their contours, without
// meshes.
inline std::unique_ptr<CText3D> BuildLetters(const std::string& text, bool withMeshes = true) {
  std::string error;
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS, 0, &error);
  EXPECT_NE(font, nullptr) << "font missing: " << GLYPHKILN_LIBERATION_SANS << " " << error;
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  auto letters = std::make_unique<CText3D>(text, outline, 255, 1.0, 0.2);
  letters->FindContours();
  letters->CalculateContours();
  if (!withMeshes) return letters;
  letters->SetLight(0);
  letters->SetBevel(0, 1.0 / 30.0);
  letters->BuildMeshes();
  return letters;
}

inline bool SameCamera(const CameraFrame& a, const CameraFrame& b, float tolerance = 0.0f) {
  const float* left[4] = {a.origin, a.xAxis, a.yAxis, a.zAxis};
  const float* right[4] = {b.origin, b.xAxis, b.yAxis, b.zAxis};
  for (int v = 0; v < 4; ++v) {
    for (int i = 0; i < 3; ++i) {
      if (std::abs(left[v][i] - right[v][i]) > tolerance) return false;
    }
  }
  return true;
}

// The indices of a GIF file as giflib reads them, top row first.
inline std::vector<std::uint8_t> DecodeWithGiflib(const fs::path& path, int& width, int& height,
                                                  std::vector<RgbColour>* colours = nullptr) {
  int error = 0;
  GifFileType* file = DGifOpenFileName(path.c_str(), &error);
  if (!file) {
    ADD_FAILURE() << GifErrorString(error);
    return {};
  }
  std::vector<std::uint8_t> pixels;
  if (DGifSlurp(file) == GIF_OK && file->ImageCount == 1) {
    width = file->SWidth;
    height = file->SHeight;
    const SavedImage& image = file->SavedImages[0];
    pixels.assign(image.RasterBits, image.RasterBits + static_cast<std::size_t>(width) * height);
    if (colours && file->SColorMap) {
      for (int i = 0; i < file->SColorMap->ColorCount; ++i) {
        const GifColorType& c = file->SColorMap->Colors[i];
        colours->push_back({c.Red, c.Green, c.Blue});
      }
    }
  } else {
    ADD_FAILURE() << "giflib could not read " << path;
  }
  DGifCloseFile(file, &error);
  return pixels;
}
