#include "refdb/lzw.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kalvor {

namespace {

constexpr unsigned kMaxCodes = 4096;
constexpr unsigned kMaxWidth = 12;
// Widest size byte for which the clear and end codes still fit in 12 bits.
constexpr unsigned kMaxMinCodeSize = 11;
constexpr unsigned kEncoderMinCodeSize = 2;

// Delivers codes least significant bit first from the length-prefixed sub-blocks.
class CodeSource {
 public:
  explicit CodeSource(std::span<const std::uint8_t> data) : data_(data) {}

  // The next code of `width` bits, or nothing once the data have run out.
  std::optional<unsigned> next(unsigned width) {
    while (bitCount_ < width) {
      const std::optional<std::uint8_t> b = nextByte();
      if (!b) return std::nullopt;
      bits_ |= static_cast<std::uint32_t>(*b) << bitCount_;
      bitCount_ += 8;
    }
    const unsigned code = bits_ & ((1u << width) - 1);
    bits_ >>= width;
    bitCount_ -= width;
    return code;
  }

 private:
  std::optional<std::uint8_t> nextByte() {
    if (ended_) return std::nullopt;
    if (blockLeft_ == 0) {
      if (pos_ >= data_.size() || data_[pos_] == 0) {
        ended_ = true;
        return std::nullopt;
      }
      blockLeft_ = data_[pos_++];
    }
    if (pos_ >= data_.size()) {
      ended_ = true;
      return std::nullopt;
    }
    --blockLeft_;
    return data_[pos_++];
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  std::size_t blockLeft_ = 0;
  std::uint32_t bits_ = 0;
  unsigned bitCount_ = 0;
  bool ended_ = false;
};

// Packs pixels into rows padded to 16 bits, never writing past `out`.
class RowPacker {
 public:
  RowPacker(std::span<std::uint8_t> out, std::size_t width, std::size_t rows)
      : out_(out), width_(width) {
    const std::size_t rowBytes = pictureRowBytes(width);
    rows_ = rowBytes == 0 ? 0 : std::min(rows, out.size() / rowBytes);
  }

  bool done() const { return row_ >= rows_; }
  std::size_t pixels() const { return pixels_; }

  void put(bool set) {
    acc_ = static_cast<std::uint8_t>((acc_ << 1) | (set ? 1 : 0));
    ++bits_;
    ++pixels_;
    if (bits_ == 8) flush();
    if (++x_ < width_) return;
    if (bits_ > 0) {
      acc_ = static_cast<std::uint8_t>(acc_ << (8 - bits_));
      flush();
    }
    const std::size_t tail = width_ % 16;
    if (tail >= 1 && tail <= 7) write(0xFF);
    else if (tail == 8) write(0x00);
    x_ = 0;
    ++row_;
  }

 private:
  void flush() {
    write(acc_);
    acc_ = 0;
    bits_ = 0;
  }
  void write(std::uint8_t b) {
    if (pos_ < out_.size()) out_[pos_] = b;
    ++pos_;
  }

  std::span<std::uint8_t> out_;
  std::size_t width_;
  std::size_t rows_ = 0;
  std::size_t row_ = 0;
  std::size_t x_ = 0;
  std::size_t pos_ = 0;
  std::size_t pixels_ = 0;
  std::uint8_t acc_ = 0;
  unsigned bits_ = 0;
};

// Writes codes least significant bit first into a byte buffer.
class CodeSink {
 public:
  void put(unsigned code, unsigned width) {
    bits_ |= static_cast<std::uint32_t>(code) << bitCount_;
    bitCount_ += width;
    while (bitCount_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(bits_));
      bits_ >>= 8;
      bitCount_ -= 8;
    }
  }
  Bytes finish() {
    if (bitCount_ > 0) bytes_.push_back(static_cast<std::uint8_t>(bits_));
    bits_ = 0;
    bitCount_ = 0;
    return std::move(bytes_);
  }

 private:
  Bytes bytes_;
  std::uint32_t bits_ = 0;
  unsigned bitCount_ = 0;
};

}  // namespace

std::optional<std::size_t> decodePicture(std::span<const std::uint8_t> stream, std::size_t width,
                                         std::size_t rows, std::span<std::uint8_t> out) {
  if (stream.empty()) return std::nullopt;
  const unsigned minSize = stream[0];
  RowPacker sink(out, width, rows);
  if (minSize < 1 || minSize > kMaxMinCodeSize) return sink.pixels();

  const unsigned clearCode = 1u << minSize;
  const unsigned endCode = clearCode + 1;
  const unsigned firstFree = clearCode + 2;

  // Only whether a pixel value is zero matters for the bitmap, so the table
  // keeps that instead of values that would not fit a byte for wide roots.
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes> firstPixel{};
  for (unsigned c = 0; c < clearCode; ++c) {
    suffix[c] = c != 0;
    firstPixel[c] = c != 0;
  }
  std::array<std::uint8_t, kMaxCodes + 1> stack{};

  CodeSource source(stream.subspan(1));
  unsigned nextFree = firstFree;
  unsigned codeWidth = minSize + 1;
  int previous = -1;  // no code since the last clear

  while (!sink.done()) {
    const std::optional<unsigned> read = source.next(codeWidth);
    if (!read) break;
    const unsigned code = *read;
    if (code == clearCode) {
      nextFree = firstFree;
      codeWidth = minSize + 1;
      previous = -1;
      continue;
    }
    if (code == endCode) break;
    if (previous < 0) {
      if (code >= clearCode) break;  // only a root can follow a clear
      sink.put(code != 0);
      previous = static_cast<int>(code);
      continue;
    }
    if (code > nextFree || (code == nextFree && nextFree >= kMaxCodes)) break;  // invalid
    const auto prev = static_cast<unsigned>(previous);
    if (nextFree < kMaxCodes) {
      // The new entry is the previous string plus the first pixel of this one;
      // when the code is the entry being made, that pixel is the previous one's first.
      prefix[nextFree] = static_cast<std::uint16_t>(prev);
      suffix[nextFree] = code < nextFree ? firstPixel[code] : firstPixel[prev];
      firstPixel[nextFree] = firstPixel[prev];
      ++nextFree;
      if (nextFree >= (1u << codeWidth) && (1u << codeWidth) < kMaxCodes) ++codeWidth;
    }
    // Prefixes always point to lower codes, so the walk ends at a root.
    std::size_t depth = 0;
    unsigned c = code;
    while (c >= clearCode && depth < kMaxCodes) {
      stack[depth++] = suffix[c];
      c = prefix[c];
    }
    stack[depth++] = c != 0;
    while (depth > 0 && !sink.done()) sink.put(stack[--depth] != 0);
    previous = static_cast<int>(code);
  }
  return sink.pixels();
}

std::optional<Bytes> decodePicture(std::span<const std::uint8_t> stream, std::size_t width,
                                   std::size_t rows) {
  Bytes bitmap(rows * pictureRowBytes(width), 0xFF);
  if (!decodePicture(stream, width, rows, bitmap)) return std::nullopt;
  return bitmap;
}

Bytes encodePicture(std::span<const std::uint8_t> bitmap, std::size_t width, std::size_t rows) {
  constexpr unsigned minSize = kEncoderMinCodeSize;
  constexpr unsigned clearCode = 1u << minSize;
  constexpr unsigned endCode = clearCode + 1;
  constexpr unsigned firstFree = clearCode + 2;

  CodeSink sink;
  // The encoder runs a shadow of the decoder's table size and code width: the
  // decoder makes each entry one code later than the encoder, so the width
  // must follow the decoder's count, not the encoder's.
  unsigned decoderNext = firstFree;
  unsigned codeWidth = minSize + 1;
  bool afterClear = true;
  auto emit = [&](unsigned code) {
    sink.put(code, codeWidth);
    if (code == clearCode) {
      decoderNext = firstFree;
      codeWidth = minSize + 1;
      afterClear = true;
      return;
    }
    if (afterClear) {
      afterClear = false;
    } else if (decoderNext < kMaxCodes) {
      ++decoderNext;
      if (decoderNext >= (1u << codeWidth) && codeWidth < kMaxWidth) ++codeWidth;
    }
  };

  // Two pixel values only: each string has at most two extensions.
  std::vector<std::array<std::uint16_t, 2>> child(kMaxCodes, {0, 0});
  unsigned nextFree = firstFree;
  const std::size_t rowBytes = pictureRowBytes(width);
  auto pixel = [&](std::size_t x, std::size_t y) -> unsigned {
    const std::size_t at = y * rowBytes + x / 8;
    const std::uint8_t b = at < bitmap.size() ? bitmap[at] : 0xFF;
    return (b & (0x80u >> (x % 8))) ? 1 : 0;
  };

  emit(clearCode);
  int current = -1;
  for (std::size_t y = 0; y < rows; ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      const unsigned p = pixel(x, y);
      if (current < 0) {
        current = static_cast<int>(p);
        continue;
      }
      const std::uint16_t extended = child[static_cast<std::size_t>(current)][p];
      if (extended != 0) {
        current = extended;
        continue;
      }
      emit(static_cast<unsigned>(current));
      child[static_cast<std::size_t>(current)][p] = static_cast<std::uint16_t>(nextFree++);
      if (nextFree == kMaxCodes) {
        // Table full: start afresh rather than coding on with a frozen table.
        emit(clearCode);
        std::fill(child.begin(), child.end(), std::array<std::uint16_t, 2>{0, 0});
        nextFree = firstFree;
      }
      current = static_cast<int>(p);
    }
  }
  if (current >= 0) emit(static_cast<unsigned>(current));
  emit(endCode);

  const Bytes codes = sink.finish();
  Bytes out;
  out.reserve(codes.size() + codes.size() / 255 + 3);
  out.push_back(static_cast<std::uint8_t>(minSize));
  for (std::size_t at = 0; at < codes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
               codes.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
  return out;
}

}  // namespace kalvor
