// Reads a fuzzer's bytes as a stream of small values. Past the end every
// value reads as zero, so a short input is still a whole, valid program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Empty() const { return m_pos >= m_size; }
  std::size_t Remaining() const { return m_size - m_pos; }

  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  bool Bool() { return Byte() & 1; }

  // Any bit pattern of the type, NaN and infinities included for floats.
  template <typename T>
  T Raw() {
    std::uint8_t bytes[sizeof(T)] = {};
    for (std::uint8_t& b : bytes) b = Byte();
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }

  // An integer in [lo, hi] (hi - lo below 2^32).
  std::int64_t Int(std::int64_t lo, std::int64_t hi) {
    const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
    std::uint64_t v = Raw<std::uint32_t>();
    return lo + static_cast<std::int64_t>(span ? v % span : v);
  }
  // A float in [lo, hi], in 65536 steps.
  float Float(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(Raw<std::uint16_t>()) / 65535.0f;
  }

  // Up to `max` bytes as a string.
  std::string Text(std::size_t max) {
    std::string s;
    for (std::size_t n = Byte() % (max + 1); n > 0 && !Empty(); --n) s.push_back(static_cast<char>(Byte()));
    return s;
  }
  // Whatever is left.
  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(m_data + m_pos), m_size - m_pos);
    m_pos = m_size;
    return s;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};
