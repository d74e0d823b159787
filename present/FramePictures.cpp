// From the renderer's bottom-up frame to rows the right way up, RGB and a
// GIF file on disk.
#include "FramePictures.h"

#include <cstring>

#include "GifWriter.h"
#include "SaveFile.h"

void CopyFrameTopDown(const void* frame, std::size_t rowBytes, int height, unsigned char* out,
                      std::size_t stride) {
  const auto* rows = static_cast<const unsigned char*>(frame);
  for (int y = 0; y < height; ++y)
    std::memcpy(out + static_cast<std::size_t>(y) * stride, FrameRowFromTop(rows, rowBytes, height, y), rowBytes);
}

std::vector<unsigned char> FrameRgb(const unsigned short* frame, int width, int height) {
  const auto w = static_cast<std::size_t>(width);
  std::vector<unsigned char> rgb(w * static_cast<std::size_t>(height) * 3);
  auto out = rgb.begin();
  for (int y = 0; y < height; ++y) {
    const unsigned short* row = FrameRowFromTop(frame, w, height, y);
    for (std::size_t x = 0; x < w; ++x) {
      const RgbColour c = Expand565(row[x]);
      *out++ = c.red;
      *out++ = c.green;
      *out++ = c.blue;
    }
  }
  return rgb;
}

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
  CopyFrameTopDown(indices, w, height, image->pixels.data(), w);
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
