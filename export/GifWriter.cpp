// GIF87a writer with its own LZW encoder.
#include "GifWriter.h"

#include <algorithm>
#include <memory>

namespace {

void PutWord(std::ostream& out, int value) {
  out.put(static_cast<char>(value & 0xFF));
  out.put(static_cast<char>((value >> 8) & 0xFF));
}

}  // namespace

void LzwEncoder::Reset(int minimumCodeSize, std::ostream& out) {
  // The hash shift spreads a pixel value over the table: 8 minus the number
  // of doublings that take the table size to 65536 or beyond.
  int doublings = 0;
  for (long size = kHashSize; size < 65536; size *= 2) ++doublings;
  m_hashShift = 8 - doublings;
  m_initialBits = minimumCodeSize + 1;
  m_bits = m_initialBits;
  m_maxCode = MaxCode(m_bits);
  m_clearCode = 1 << minimumCodeSize;
  m_endCode = m_clearCode + 1;
  m_nextCode = m_clearCode + 2;
  m_clearPending = false;
  m_accumulator = 0;
  m_bitCount = 0;
  m_packetCount = 0;
  m_out = &out;
  m_codes.fill(0);
  ClearTable();
}

void LzwEncoder::ClearTable() { m_hash.fill(-1); }

void LzwEncoder::Encode(const GifImage& image, int minimumCodeSize, std::ostream& out) {
  Reset(minimumCodeSize, out);
  const std::size_t count = image.pixels.size();
  EmitCode(m_clearCode);
  if (count == 0) {
    EmitCode(m_endCode);
    return;
  }
  int current = image.pixels[0];
  for (std::size_t p = 1; p < count; ++p) {
    const int c = image.pixels[p];
    const std::int32_t key = (c << kMaxBits) + current;
    int slot = (c << m_hashShift) ^ current;
    bool matched = false;
    if (m_hash[static_cast<std::size_t>(slot)] == key) {
      matched = true;
    } else if (m_hash[static_cast<std::size_t>(slot)] >= 0) {
      // Secondary probe; it stops at an empty slot, and also (as the format's
      // reference encoder does) at the slot of key 0.
      const int step = slot == 0 ? 1 : kHashSize - slot;
      do {
        slot -= step;
        if (slot < 0) slot += kHashSize;
        if (m_hash[static_cast<std::size_t>(slot)] == key) {
          matched = true;
          break;
        }
      } while (m_hash[static_cast<std::size_t>(slot)] > 0);
    }
    if (matched) {
      current = m_codes[static_cast<std::size_t>(slot)];
      continue;
    }
    EmitCode(current);
    current = c;
    if (m_nextCode < kTableLimit) {
      m_codes[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(m_nextCode++);
      m_hash[static_cast<std::size_t>(slot)] = key;
    } else {
      // The table is full: start over with single pixels.
      ClearTable();
      m_nextCode = m_clearCode + 2;
      m_clearPending = true;
      EmitCode(m_clearCode);
    }
  }
  EmitCode(current);
  EmitCode(m_endCode);
}

// Appends a code of the current width to the bit stream, least significant
// bit first, then widens the codes if the next one assigned would not fit.
// A code is therefore written at the width current before it was emitted.
void LzwEncoder::EmitCode(int code) {
  m_accumulator &= (1u << m_bitCount) - 1u;
  m_accumulator |= static_cast<std::uint32_t>(code) << m_bitCount;
  m_bitCount += m_bits;
  while (m_bitCount >= 8) {
    PutByte(static_cast<std::uint8_t>(m_accumulator & 0xFF));
    m_accumulator >>= 8;
    m_bitCount -= 8;
  }
  if (m_nextCode > m_maxCode || m_clearPending) {
    if (m_clearPending) {
      m_bits = m_initialBits;
      m_maxCode = MaxCode(m_bits);
      m_clearPending = false;
    } else {
      ++m_bits;
      m_maxCode = m_bits == kMaxBits ? kTableLimit : MaxCode(m_bits);
    }
  }
  if (code == m_endCode) {
    while (m_bitCount > 0) {
      PutByte(static_cast<std::uint8_t>(m_accumulator & 0xFF));
      m_accumulator >>= 8;
      m_bitCount -= 8;
    }
    m_bitCount = 0;
    FlushPacket();
  }
}

void LzwEncoder::PutByte(std::uint8_t byte) {
  m_packet[static_cast<std::size_t>(m_packetCount++)] = byte;
  if (m_packetCount >= kPacketSize) FlushPacket();
}

void LzwEncoder::FlushPacket() {
  if (m_packetCount == 0) return;
  m_out->put(static_cast<char>(m_packetCount));
  m_out->write(reinterpret_cast<const char*>(m_packet.data()), m_packetCount);
  m_packetCount = 0;
}

int GifBitsPerPixel(const GifImage& image) {
  int highest = std::max(image.highestColourIndex, 0);
  if (!image.pixels.empty())
    highest = std::max<int>(highest, *std::max_element(image.pixels.begin(), image.pixels.end()));
  int bits = 1;
  while (bits < 8 && (1 << bits) <= highest) ++bits;
  return bits;
}

bool WriteGifStream(const GifImage& image, std::ostream& out) {
  const int bits = GifBitsPerPixel(image);
  const int minimumCodeSize = bits == 1 ? 2 : bits;

  out.write("GIF87a", 6);
  // Logical screen: global colour table present, colour resolution and table
  // size both from the bits per pixel, background index 0, no aspect ratio.
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.put(static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1)));
  out.put(0);
  out.put(0);
  for (int i = 0; i < (1 << bits); ++i) {
    const auto k = static_cast<std::size_t>(i);
    out.put(static_cast<char>(image.red[k] & 0xFF));
    out.put(static_cast<char>(image.green[k] & 0xFF));
    out.put(static_cast<char>(image.blue[k] & 0xFF));
  }
  // Image descriptor: at (0, 0), the whole screen, no local table, not interlaced.
  out.put(0x2C);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.put(0);

  out.put(static_cast<char>(minimumCodeSize));
  auto encoder = std::make_unique<LzwEncoder>();
  encoder->Encode(image, minimumCodeSize, out);
  out.put(0);     // block terminator
  out.put(0x3B);  // trailer
  out.flush();
  return static_cast<bool>(out);
}
