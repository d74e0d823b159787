// From the renderer's bottom-up index frame to a GIF file on disk.
#include "FrameGif.h"

#include <algorithm>

#include "GifWriter.h"
#include "SaveFile.h"

const char* SaveGifMessage(SaveGifResult result) {
  switch (result) {
    case SaveGifResult::kSaved: return nullptr;
    case SaveGifResult::kNothingToSave: return "Nothing to save";
    case SaveGifResult::kCanNotCreateFile: return kCanNotCreateFile;
    case SaveGifResult::kCanNotBuildGif: return "Can not build GIF";
  }
  return nullptr;
}

const char* SaveGifCaption(SaveGifResult result) {
  return result == SaveGifResult::kCanNotCreateFile ? "Error" : kGlyphkilnTitle;
}

std::unique_ptr<GifImage> GifImageFromFrame(const std::uint8_t* indices, int width, int height,
                                            const CubePalette& palette) {
  if (!indices) return nullptr;
  auto image = GifImageCreate(width, height);
  if (!image) return nullptr;
  // All 256 entries, so the picture is always written with 8 bits a pixel.
  for (int i = 0; i < CubePalette::kEntries; ++i)
    GifImageSetColor(*image, i, palette[i].red, palette[i].green, palette[i].blue);
  const auto w = static_cast<std::size_t>(width);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = indices + static_cast<std::size_t>(height - 1 - y) * w;
    std::copy(row, row + w, image->pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  return image;
}

SaveGifResult SaveFrameAsGif(const std::filesystem::path& path, const std::uint8_t* indices,
                             int width, int height, const CubePalette& palette) {
  if (!indices || width <= 0 || height <= 0) return SaveGifResult::kNothingToSave;
  // The image is built before the file is touched: without memory for it
  // nothing, not even an empty file, is left behind.
  auto image = GifImageFromFrame(indices, width, height, palette);
  if (!image) return SaveGifResult::kCanNotBuildGif;
  const bool saved = SaveAtomically(path, [&](std::ostream& out) { return WriteGifStream(*image, out); });
  return saved ? SaveGifResult::kSaved : SaveGifResult::kCanNotCreateFile;
}
