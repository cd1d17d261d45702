// Little-endian serialisation of the fixed-width fields of Kalvor's files.
// Every reader and writer of a file format goes through these helpers, so
// the bytes on disk are exact and never depend on struct layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

using Bytes = std::vector<std::uint8_t>;

inline std::uint16_t loadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t loadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int16_t loadI16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(loadU16(p));
}
inline std::int32_t loadI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(loadU32(p));
}
// IEEE 754 binary64, stored little-endian as the files require.
inline double loadF64(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

inline void storeU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void storeU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void storeF64(std::uint8_t* p, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// Appends fixed-width little-endian fields to a growing byte buffer.
class ByteWriter {
 public:
  void u8(std::uint8_t v) { buf_.push_back(v); }
  void u16(std::uint16_t v) {
    std::uint8_t b[2];
    storeU16(b, v);
    buf_.insert(buf_.end(), b, b + 2);
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void u32(std::uint32_t v) {
    std::uint8_t b[4];
    storeU32(b, v);
    buf_.insert(buf_.end(), b, b + 4);
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f64(double v) {
    std::uint8_t b[8];
    storeF64(b, v);
    buf_.insert(buf_.end(), b, b + 8);
  }
  void bytes(std::span<const std::uint8_t> s) { buf_.insert(buf_.end(), s.begin(), s.end()); }
  void bytes(std::string_view s) { buf_.insert(buf_.end(), s.begin(), s.end()); }
  // Writes `text` into a field of exactly `width` bytes, NUL-padded.
  // Returns false (and writes the cut text) when it does not fit with its NUL.
  bool fixedText(std::string_view text, std::size_t width) {
    const bool fits = text.size() < width;
    const std::size_t n = fits ? text.size() : (width == 0 ? 0 : width - 1);
    bytes(text.substr(0, n));
    buf_.insert(buf_.end(), width - n, 0);
    return fits;
  }
  void zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }
  // Overwrites an already written u32 at `offset` (for offset tables filled in late).
  void patchU32(std::size_t offset, std::uint32_t v) { storeU32(buf_.data() + offset, v); }
  void patchU16(std::size_t offset, std::uint16_t v) { storeU16(buf_.data() + offset, v); }

  std::size_t size() const { return buf_.size(); }
  const Bytes& data() const { return buf_; }
  Bytes take() { return std::move(buf_); }

 private:
  Bytes buf_;
};

// Reads fixed-width little-endian fields from a byte span without ever
// reading past its end: a read beyond the end yields zeros and sets the
// short flag, which mirrors the zero-filled records of a short file read.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint8_t u8() {
    std::uint8_t b[1] = {0};
    take(b, 1);
    return b[0];
  }
  std::uint16_t u16() {
    std::uint8_t b[2] = {0, 0};
    take(b, 2);
    return loadU16(b);
  }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32() {
    std::uint8_t b[4] = {0, 0, 0, 0};
    take(b, 4);
    return loadU32(b);
  }
  double f64() {
    std::uint8_t b[8] = {};
    take(b, 8);
    return loadF64(b);
  }
  // Copies n bytes to out; bytes beyond the end are zero. Returns the count really read.
  std::size_t take(std::uint8_t* out, std::size_t n) {
    const std::size_t avail = pos_ < data_.size() ? data_.size() - pos_ : 0;
    const std::size_t got = n < avail ? n : avail;
    if (got) std::memcpy(out, data_.data() + pos_, got);
    if (got < n) {
      std::memset(out + got, 0, n - got);
      short_ = true;
    }
    pos_ += got;
    return got;
  }
  // Reads a NUL-padded field of `width` bytes; the text ends at the first NUL.
  std::string fixedText(std::size_t width) {
    std::string s(width, '\0');
    take(reinterpret_cast<std::uint8_t*>(s.data()), width);
    s.resize(std::strlen(s.c_str()));
    return s;
  }
  void skip(std::size_t n) {
    const std::size_t avail = remaining();
    if (n > avail) short_ = true;
    pos_ += n < avail ? n : avail;
  }
  void seek(std::size_t pos) {
    if (pos > data_.size()) short_ = true;
    pos_ = pos < data_.size() ? pos : data_.size();
  }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return data_.size() - pos_; }
  // True once any read ran past the end of the data.
  bool wasShort() const { return short_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool short_ = false;
};

}  // namespace kalvor
