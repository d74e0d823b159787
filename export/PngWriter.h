// Encodes a full-colour picture as PNG in memory, with or without an alpha
// channel; the caller saves the bytes (atomically).
#pragma once

#include <cstdint>
#include <vector>

// `pixels` holds width x height pixels, top row first, as red, green, blue
// (and alpha when `withAlpha`) bytes. Empty when the size does not match or
// libpng refuses the picture.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& pixels, int width, int height,
                                    bool withAlpha);
