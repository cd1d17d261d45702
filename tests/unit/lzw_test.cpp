#include "refdb/lzw.h"

#include <gtest/gtest.h>

#include <random>

namespace kalvor {
namespace {

// Picture used by the hand-made streams: 5 pixels wide, 2 rows,
// row 0 = 1 1 1 1 0, row 1 = 0 0 0 1 1.
// Decoded rows: one partial byte each (5 bits, low bits 0) and, since 5 mod 16
// lies in 1..7, one 0xFF byte.
const Bytes kSmallBitmap = {0xF0, 0xFF, 0x18, 0xFF};

TEST(LzwDecode, HandMadeStream) {
  // Codes (minimum size 2: clear 4, end 5, first free 6), worked out by hand:
  // 4 1 1 6 at 3 bits; entry 7 makes the next free code 8 = 2^3, so
  // 0 9 0 1 1 5 follow at 4 bits (9 is the entry being made: 0 + 0).
  // Packed least significant bit first: 4C 0C 09 11 05.
  const Bytes stream = {0x02, 0x05, 0x4C, 0x0C, 0x09, 0x11, 0x05, 0x00};
  Bytes out(4, 0xAA);
  EXPECT_EQ(decodePicture(stream, 5, 2, out), std::optional<std::size_t>(10));
  EXPECT_EQ(out, kSmallBitmap);

  // Leading clear codes are skipped: clear clear 1 1 6 ... shifts the bits by 3.
  // Codes 4 4 1 1 6 (3 bits) then 0 9 0 1 1 5 (4 bits).
  // bits: 001 001 100 100 011 | 0000 1001 0000 1000 1000 1010
  const Bytes twoClears = {0x02, 0x05, 0x64, 0x62, 0x48, 0x88, 0x28, 0x00};
  Bytes out2(4, 0xAA);
  EXPECT_EQ(decodePicture(twoClears, 5, 2, out2), std::optional<std::size_t>(10));
  EXPECT_EQ(out2, kSmallBitmap);

  // Size byte 9 (10-bit codes): the root 256 is a non-zero pixel value.
  // Codes 512 (clear), 256, 513 (end) at 10 bits each, LSB first: 00 02 14 20.
  Bytes wide(2, 0xAA);
  EXPECT_EQ(decodePicture(Bytes{0x09, 0x04, 0x00, 0x02, 0x14, 0x20, 0x00}, 1, 1, wide),
            std::optional<std::size_t>(1));
  EXPECT_EQ(wide, (Bytes{0x80, 0xFF}));

  // Only one row asked for: stops there, the second row keeps its bytes.
  Bytes out3(4, 0xAA);
  EXPECT_EQ(decodePicture(stream, 5, 1, out3), std::optional<std::size_t>(5));
  EXPECT_EQ(out3, (Bytes{0xF0, 0xFF, 0xAA, 0xAA}));
}

TEST(LzwEncode, HandCheckedStreamAndDecodeBack) {
  // Greedy LZW over 1111 0000 11 gives the codes 4 1 6 1 | 0 9 0 6 5; the decoder
  // reaches the free code 8 after the fourth code, so the width is 3,3,3,3 then 4.
  const Bytes stream = encodePicture(kSmallBitmap, 5, 2);
  EXPECT_EQ(stream, (Bytes{0x02, 0x04, 0x8C, 0x03, 0x09, 0x56, 0x00}));
  EXPECT_EQ(decodePicture(stream, 5, 2), std::optional<Bytes>(kSmallBitmap));
}

TEST(LzwDecode, RowPaddingRules) {
  // All-foreground rows (pixel value 0) expose the padding bytes.
  struct Case {
    std::size_t width;
    Bytes row;
  };
  const Case cases[] = {
      {1, {0x00, 0xFF}},               // 1 bit: partial byte + 0xFF
      {7, {0x00, 0xFF}},               // 7 bits: partial byte + 0xFF
      {8, {0x00, 0x00}},               // 8 bits: full byte + 0x00
      {24, {0x00, 0x00, 0x00, 0x00}},  // 24 mod 16 = 8: + 0x00
      {13, {0x00, 0x00}},              // 13 bits: two bytes, nothing more
      {16, {0x00, 0x00}},              // on the boundary: nothing
      {17, {0x00, 0x00, 0x00, 0xFF}},  // 17 mod 16 = 1: partial byte + 0xFF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    Bytes black(pictureRowBytes(c.width), 0x00);
    const Bytes stream = encodePicture(black, c.width, 1);
    Bytes out(pictureRowBytes(c.width), 0xAA);
    ASSERT_TRUE(decodePicture(stream, c.width, 1, out));
    EXPECT_EQ(out, c.row);
  }
  // A background row with 3 pixels: 111 00000 then 0xFF.
  Bytes white = {0xFF, 0xFF};
  EXPECT_EQ(decodePicture(encodePicture(white, 3, 1), 3, 1), std::optional<Bytes>(Bytes{0xE0, 0xFF}));
}

// Walks the sub-blocks of an encoded stream; true iff they end exactly at a 0 length byte.
bool wellFormedBlocks(const Bytes& s) {
  if (s.empty() || s[0] != 2) return false;
  std::size_t at = 1;
  while (at < s.size()) {
    const std::size_t n = s[at];
    if (n == 0) return at + 1 == s.size();
    at += 1 + n;
  }
  return false;
}

TEST(LzwRoundTrip, RandomMonochromePictures) {
  std::mt19937 rng(20261206);
  const std::size_t widths[] = {1, 3, 5, 7, 9, 11, 13, 15, 17, 23, 31, 33, 63, 65, 101, 255, 333};
  for (std::size_t width : widths) {
    for (int density : {0, 3, 50, 97, 100}) {
      const std::size_t rows = 1 + rng() % 97;
      const std::size_t rowBytes = pictureRowBytes(width);
      Bytes bitmap(rows * rowBytes, 0);
      std::uniform_int_distribution<int> pct(0, 99);
      for (std::size_t y = 0; y < rows; ++y)
        for (std::size_t x = 0; x < width; ++x)
          if (pct(rng) < density) bitmap[y * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      SCOPED_TRACE(testing::Message() << "width " << width << " rows " << rows << " density " << density);
      const Bytes stream = encodePicture(bitmap, width, rows);
      ASSERT_TRUE(wellFormedBlocks(stream));
      Bytes out(rows * rowBytes, 0x5A);
      ASSERT_EQ(decodePicture(stream, width, rows, out), std::optional<std::size_t>(width * rows));
      for (std::size_t y = 0; y < rows; ++y) {
        for (std::size_t x = 0; x < width; ++x)
          ASSERT_EQ(pictureBit(out, width, x, y), pictureBit(bitmap, width, x, y)) << x << "," << y;
        // Padding: bits behind the last pixel of the partial byte are 0, then the pad byte.
        const std::size_t tail = width % 16;
        const std::uint8_t* row = out.data() + y * rowBytes;
        if (width % 8) {
          EXPECT_EQ(row[width / 8] & (0xFF >> (width % 8)), 0);
        }
        if (tail >= 1 && tail <= 7) {
          EXPECT_EQ(row[rowBytes - 1], 0xFF);
        }
        if (tail == 8) {
          EXPECT_EQ(row[rowBytes - 1], 0x00);
        }
      }
    }
  }
}

TEST(LzwRoundTrip, LargePicturesFillTheTableAndUseTwelveBitCodes) {
  // 400 x 300 random pixels need far more than 4096 codes: the encoder clears
  // the full table and the decoder must follow through every width change.
  std::mt19937 rng(7);
  const std::size_t width = 401, rows = 300, rowBytes = pictureRowBytes(width);
  Bytes bitmap(rows * rowBytes);
  for (auto& b : bitmap) b = static_cast<std::uint8_t>(rng());
  const Bytes stream = encodePicture(bitmap, width, rows);
  ASSERT_TRUE(wellFormedBlocks(stream));
  const std::optional<Bytes> out = decodePicture(stream, width, rows);
  ASSERT_TRUE(out);
  for (std::size_t y = 0; y < rows; ++y)
    for (std::size_t x = 0; x < width; ++x)
      ASSERT_EQ(pictureBit(*out, width, x, y), pictureBit(bitmap, width, x, y)) << x << "," << y;

  // One long run: strings grow to thousands of pixels.
  Bytes blank(rows * rowBytes, 0xFF);
  const Bytes runStream = encodePicture(blank, width, rows);
  EXPECT_LT(runStream.size(), 2000u);
  const std::optional<Bytes> runOut = decodePicture(runStream, width, rows);
  ASSERT_TRUE(runOut);
  for (std::size_t y = 0; y < rows; y += 37)
    for (std::size_t x = 0; x < width; ++x) ASSERT_TRUE(pictureBit(*runOut, width, x, y));
}

// Packs codes least significant bit first into sub-blocks of 255 bytes.
Bytes packCodes(std::uint8_t minSize, const std::vector<std::pair<unsigned, unsigned>>& codes) {
  Bytes data;
  std::uint32_t bits = 0;
  unsigned count = 0;
  for (auto [code, width] : codes) {
    bits |= code << count;
    count += width;
    for (; count >= 8; count -= 8, bits >>= 8) data.push_back(static_cast<std::uint8_t>(bits));
  }
  if (count) data.push_back(static_cast<std::uint8_t>(bits));
  Bytes out = {minSize};
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
  return out;
}

TEST(LzwDecode, FullTableWithoutClearKeepsTwelveBitCodes) {
  // After a clear, 4091 root codes (1 0 1 0 ...) make entries 6..4095; the width
  // grows when the next free code reaches 8, 16, ... 2048 and stays 12 after that.
  // Entry 4095 was made from the last two roots (0 1). With the table full, no
  // entry is made any more and the codes 4095, 1, 0 still come at 12 bits.
  std::vector<std::pair<unsigned, unsigned>> codes = {{4, 3}};
  unsigned nextFree = 6, width = 3;
  for (unsigned i = 0; i < 4091; ++i) {
    codes.push_back({(i + 1) % 2, width});
    if (i > 0 && nextFree < 4096 && ++nextFree >= (1u << width) && width < 12) ++width;
  }
  ASSERT_EQ(nextFree, 4096u);
  ASSERT_EQ(width, 12u);
  for (unsigned c : {4095u, 1u, 0u, 5u}) codes.push_back({c, 12});
  const Bytes stream = packCodes(2, codes);

  const std::size_t width1 = 4095;
  const std::optional<Bytes> out = decodePicture(stream, width1, 1);
  ASSERT_TRUE(out);
  for (std::size_t x = 0; x < 4091; ++x) ASSERT_EQ(pictureBit(*out, width1, x, 0), (x + 1) % 2 == 1) << x;
  EXPECT_FALSE(pictureBit(*out, width1, 4091, 0));
  EXPECT_TRUE(pictureBit(*out, width1, 4092, 0));
  EXPECT_TRUE(pictureBit(*out, width1, 4093, 0));
  EXPECT_FALSE(pictureBit(*out, width1, 4094, 0));
  Bytes counted(pictureRowBytes(width1));
  EXPECT_EQ(decodePicture(stream, width1, 1, counted), std::optional<std::size_t>(4095));
}

TEST(LzwDecode, DamagedStreamsStopCleanly) {
  Bytes out(4, 0xAA);
  // No size byte: the only reported failure.
  EXPECT_FALSE(decodePicture(Bytes{}, 5, 2, out));
  // Size byte alone, or an unusable size byte: nothing decoded, buffer untouched.
  EXPECT_EQ(decodePicture(Bytes{0x02}, 5, 2, out), std::optional<std::size_t>(0));
  EXPECT_EQ(decodePicture(Bytes{0x0C, 0x01, 0xFF, 0x00}, 5, 2, out), std::optional<std::size_t>(0));
  EXPECT_EQ(out, Bytes(4, 0xAA));

  // Truncated inside the data: the first block claims 5 bytes but only 2 follow.
  // The first 16 bits hold codes 4 1 1 6 0 -> pixels 1 1 1 1 0 (row 0 complete).
  const Bytes cut = {0x02, 0x05, 0x4C, 0x0C};
  EXPECT_EQ(decodePicture(cut, 5, 2, out), std::optional<std::size_t>(5));
  EXPECT_EQ(out, (Bytes{0xF0, 0xFF, 0xAA, 0xAA}));

  // A code beyond the next free one right after the first: clear, 1, then 7 (free is 6).
  // bits 001 100 111 -> 0xCC 0x01
  std::fill(out.begin(), out.end(), 0xAA);
  EXPECT_EQ(decodePicture(Bytes{0x02, 0x02, 0xCC, 0x01, 0x00}, 5, 2, out), std::optional<std::size_t>(1));
  // A non-root code right after a clear: clear then 6.
  EXPECT_EQ(decodePicture(Bytes{0x02, 0x01, 0x34, 0x00}, 5, 2, out), std::optional<std::size_t>(0));

  // An output buffer shorter than the rows asked for is never overrun.
  const Bytes stream = encodePicture(Bytes(40, 0x00), 9, 20);
  Bytes small(6, 0xAA);
  EXPECT_EQ(decodePicture(stream, 9, 20, small), std::optional<std::size_t>(27));

  // Width 0 or no rows: nothing to decode.
  EXPECT_EQ(decodePicture(stream, 0, 5, out), std::optional<std::size_t>(0));
  EXPECT_EQ(decodePicture(stream, 9, 0, out), std::optional<std::size_t>(0));
}

}  // namespace
}  // namespace kalvor
