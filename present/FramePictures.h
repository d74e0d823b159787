// Pictures of the renderer's frame: the frame's rows the right way up (the
// renderer keeps the bottom row first), full-colour RGB rows for a PNG, and a
// frame of palette indices as a GIF file with the outcomes the desktop
// program and the command-line tool turn into their messages. The Qt image
// of a frame (present/qt) takes its rows from here too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "CubePalette.h"
#include "GifImage.h"

// The frame's row shown as row y from the top: the renderer's rows run
// bottom up. The one place that decides which row is which.
template <typename Pixel>
const Pixel* FrameRowFromTop(const Pixel* frame, std::size_t rowPixels, int height, int y) {
  return frame + static_cast<std::size_t>(height - 1 - y) * rowPixels;
}

// Copies a bottom-up frame of height rows, rowBytes each, into a top-down
// buffer whose rows start stride bytes apart.
void CopyFrameTopDown(const void* frame, std::size_t rowBytes, int height, unsigned char* out,
                      std::size_t stride);

// The 5-6-5 frame (bottom row first) as 8-bit RGB rows, top row first.
std::vector<unsigned char> FrameRgb(const unsigned short* frame, int width, int height);

enum class SaveGifResult {
  kSaved,
  kNothingToSave,     // no renderer view, or a view without size
  kCanNotCreateFile,  // the file could not be created or fully written
  kCanNotBuildGif,    // the picture could not be built in memory
};

// The message for a failed save ("Nothing to save", "Can not create file",
// "Can not build GIF"), or null for kSaved.
const char* SaveGifMessage(SaveGifResult result);
// The caption of that message: "Error" for a file that cannot be created,
// the program's title otherwise.
const char* SaveGifCaption(SaveGifResult result);

// The program's title, the caption of its own messages.
inline constexpr const char* kGlyphkilnTitle = "Glyphkiln";

// A GIF image of a frame of palette indices (width bytes a row, the bottom
// row first, as the renderer keeps it) with the palette's 256 colours; its
// top row is the frame's last. Null when the image cannot be built.
std::unique_ptr<GifImage> GifImageFromFrame(const std::uint8_t* indices, int width, int height,
                                            const CubePalette& palette);

// Builds the image and writes it to `path` through a temporary file, so a
// failure leaves no partial or empty file and an existing file untouched.
SaveGifResult SaveFrameAsGif(const std::filesystem::path& path, const std::uint8_t* indices,
                             int width, int height, const CubePalette& palette);
