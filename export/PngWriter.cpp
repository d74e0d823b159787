// PNG through libpng's simplified writing interface.
#include "PngWriter.h"

#include <png.h>

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& pixels, int width, int height,
                                    bool withAlpha) {
  const std::size_t channels = withAlpha ? 4 : 3;
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * channels)
    return {};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) return {};
  std::vector<std::uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr)) return {};
  bytes.resize(size);
  return bytes;
}
