// The GIF encoder from bytes: a picture's size, colour table and pixels are
// read from the input (the pixels repeat the input's tail, so runs and
// patterns fill the LZW table as real frames do), written, and read back by
// giflib, which must find the same size, colours and every pixel.
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "GifImage.h"
#include "GifWriter.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "GIF round trip broken: %s\n", what);
  std::abort();
}

struct MemoryReader {
  const std::string* bytes;
  std::size_t position;
};

int ReadFromMemory(GifFileType* file, GifByteType* buffer, int length) {
  auto* reader = static_cast<MemoryReader*>(file->UserData);
  const std::size_t n = std::min(reader->bytes->size() - reader->position, static_cast<std::size_t>(length));
  std::memcpy(buffer, reader->bytes->data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const int width = static_cast<int>(in.Int(1, 700));
  const int height = static_cast<int>(in.Int(1, 300));
  std::unique_ptr<GifImage> image = GifImageCreate(width, height);
  Check(image != nullptr, "a small picture can be made");
  for (int colours = in.Byte(); colours > 0; --colours) {
    const int index = in.Byte();
    GifImageSetColor(*image, index, in.Raw<int>(), in.Raw<int>(), in.Raw<int>());
  }
  // The pixel values are masked to a width from 1 to 8 bits, so both small
  // and full tables are exercised.
  const std::uint8_t mask = static_cast<std::uint8_t>((1u << (1 + in.Byte() % 8)) - 1);
  const std::string tail = in.Rest();
  if (!tail.empty()) {
    for (std::size_t i = 0; i < image->pixels.size(); ++i)
      image->pixels[i] = static_cast<std::uint8_t>(tail[i % tail.size()]) & mask;
  }

  std::ostringstream out(std::ios::binary);
  Check(WriteGifStream(*image, out), "the stream is written");
  const std::string bytes = out.str();

  MemoryReader reader{&bytes, 0};
  int error = 0;
  GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
  Check(file != nullptr, "giflib opens the stream");
  Check(DGifSlurp(file) == GIF_OK, "giflib reads the whole stream");
  Check(file->SWidth == width && file->SHeight == height, "the screen size");
  Check(file->ImageCount == 1, "one image");
  const SavedImage& saved = file->SavedImages[0];
  Check(saved.ImageDesc.Width == width && saved.ImageDesc.Height == height, "the image size");
  Check(file->SColorMap != nullptr && file->SColorMap->ColorCount > image->highestColourIndex,
        "the colour table holds every colour set");
  for (int i = 0; i <= image->highestColourIndex; ++i) {
    const GifColorType& c = file->SColorMap->Colors[i];
    const auto k = static_cast<std::size_t>(i);
    Check(c.Red == (image->red[k] & 0xFF) && c.Green == (image->green[k] & 0xFF) &&
              c.Blue == (image->blue[k] & 0xFF),
          "the colour table's entries");
  }
  Check(std::equal(image->pixels.begin(), image->pixels.end(), saved.RasterBits), "every pixel");
  DGifCloseFile(file, &error);
  return 0;
}
