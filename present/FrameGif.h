// Saving a frame of palette indices as a GIF file, and the outcomes the
// desktop program and the command-line tool turn into their messages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "CubePalette.h"
#include "GifImage.h"

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
