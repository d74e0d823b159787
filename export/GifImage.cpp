// The in-memory indexed picture that the GIF writer encodes.
#include "GifImage.h"

#include <new>

std::unique_ptr<GifImage> GifImageCreate(int width, int height) {
  if (width <= 0 || height <= 0 || width > kGifMaxDimension || height > kGifMaxDimension)
    return nullptr;
  try {
    auto image = std::make_unique<GifImage>();
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return image;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

int GifImageSetColor(GifImage& image, int index, int red, int green, int blue) {
  if (index < 0 || index >= 256) return 0;
  const auto i = static_cast<std::size_t>(index);
  image.red[i] = red;
  image.green[i] = green;
  image.blue[i] = blue;
  if (index > image.highestColourIndex) image.highestColourIndex = index;
  return 1;
}

void GifImageFree(std::unique_ptr<GifImage> image) { image.reset(); }
