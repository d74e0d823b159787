// Picture files of the letters as the command line and the desktop program's
// picture export write them, so that both write the same bytes for the same
// settings: the renderer binding for pictures, a still picture's GIF image,
// and whole files (PNG, GIF, turntable GIF) drawn and encoded in memory for
// the one atomic save.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "GifImage.h"
#include "PictureAnimation.h"
#include "PictureRender.h"
#include "RendererBinding.h"

// Where pictures look for the renderer library, allowing views up to
// kMaxPictureSide (the renderer may allow less).
RendererBindingOptions PictureBindingOptions();

// The still picture as a GIF image: on the colour cube by the renderer's
// dither (for a picture drawn without supersampling, the frame the binding
// holds, as the examiner's Save GIF writes it) or on 256 colours chosen for
// the picture. Null when there is nothing to save.
std::unique_ptr<GifImage> StillGifImage(RendererBinding& binding, const PictureRenderer& renderer,
                                        const PictureFrame& picture, bool adaptivePalette);

enum class PictureFileKind { kPng, kGif, kTurntable };

struct PictureFileRequest {
  PictureFileKind kind = PictureFileKind::kPng;
  PictureSettings settings;  // transparent counts for the PNG only
  bool adaptivePalette = false;  // a still GIF on colours chosen for it
  TurntableOptions turntable;
};

enum class PictureFileResult { kEncoded, kNothingToDraw, kCancelled };

// Steps done and steps in all (the sample passes of a still picture, the
// frames of a turntable); false cancels.
using PictureProgress = std::function<bool(int done, int total)>;

// Draws the picture (the binding's background shows behind the letters)
// and encodes its file into `bytes`, which are left empty unless the result
// is kEncoded.
PictureFileResult EncodePictureFile(RendererBinding& binding, const CText3D& text, const PictureFileRequest& request,
                                    std::vector<std::uint8_t>& bytes, const PictureProgress& progress = {});
