// Writes a GifImage as a GIF87a stream: one image, a global colour table, no
// extensions, LZW-compressed pixel data in 254-byte sub-blocks.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>

#include "GifImage.h"

// The variable-width LZW compressor of GIF image data: a fixed 5003-slot
// open-addressing string table with a double-hash probe, codes up to 12 bits,
// a clear code whenever the table fills. All state is reset by Encode, so
// one encoder can serve any number of pictures, one at a time.
class LzwEncoder {
 public:
  static constexpr int kHashSize = 5003;
  static constexpr int kMaxBits = 12;
  static constexpr int kTableLimit = 1 << kMaxBits;  // first code never assigned
  static constexpr int kPacketSize = 254;            // bytes per data sub-block

  // Writes the compressed pixels of `image` (top row first) as data
  // sub-blocks, without the leading code-size byte and without the block
  // terminator. minimumCodeSize is 2..8.
  void Encode(const GifImage& image, int minimumCodeSize, std::ostream& out);

 private:
  void Reset(int minimumCodeSize, std::ostream& out);
  void ClearTable();
  void EmitCode(int code);
  void PutByte(std::uint8_t byte);
  void FlushPacket();
  static int MaxCode(int bits) { return (1 << bits) - 1; }

  std::array<std::int32_t, kHashSize> m_hash{};   // key (pixel << 12) + prefix, -1 empty
  std::array<std::uint16_t, kHashSize> m_codes{};  // code of the key in the same slot
  int m_hashShift = 0;
  int m_initialBits = 0;
  int m_bits = 0;
  int m_maxCode = 0;
  int m_clearCode = 0;
  int m_endCode = 0;
  int m_nextCode = 0;
  bool m_clearPending = false;
  std::uint32_t m_accumulator = 0;
  int m_bitCount = 0;
  std::array<std::uint8_t, kPacketSize> m_packet{};
  int m_packetCount = 0;
  std::ostream* m_out = nullptr;
};

// Bits per pixel of the written picture: the fewest (at least 1) whose table
// holds every colour up to the highest colour index and every pixel value.
int GifBitsPerPixel(const GifImage& image);

// Writes the whole GIF stream. False when the stream reports an error after
// the last byte; what was written is then incomplete and must be discarded.
bool WriteGifStream(const GifImage& image, std::ostream& out);
