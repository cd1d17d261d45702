// "kalvor.lf": the crystal drawings of each mineral, one block per MineralNumber.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "refdb/mineral_record.h"
#include "refdb/reference_format.h"

namespace kalvor {

// Where a drawing's values lie in the block's value array.
struct DrawingEntry {
  std::uint16_t firstValue = 0;  // index of the first value; bit 15 marks prepared values at run time
  std::uint16_t valueCount = 0;
  bool operator==(const DrawingEntry&) const = default;
};

// The 56-byte source record of a drawing (book volume, plate, figure, note).
// The bytes are kept whole so that the byte not interpreted survives a round trip.
class DrawingSource {
 public:
  using Image = std::array<std::uint8_t, refformat::kDrawingSourceSize>;
  DrawingSource() { bytes_.fill(0); }
  explicit DrawingSource(const Image& image) : bytes_(image) {}
  // A source record with these fields; the note is cut to 49 bytes plus NUL.
  static DrawingSource make(std::uint8_t volume, std::uint16_t plate, std::uint16_t figure,
                            std::string_view note);

  const Image& bytes() const { return bytes_; }
  std::uint8_t volume() const { return bytes_[refformat::kSourceVolumeOffset]; }
  std::uint16_t plate() const { return loadU16(bytes_.data() + refformat::kSourcePlateOffset); }
  std::uint16_t figure() const { return loadU16(bytes_.data() + refformat::kSourceFigureOffset); }
  // The note text (Windows-1252) up to its NUL or the end of the record.
  std::string note() const;
  bool operator==(const DrawingSource&) const = default;

 private:
  Image bytes_;
};

// The drawing block of one mineral: F drawings with their sources, and the G
// 32-bit drawing values that the drawings address.
struct DrawingBlock {
  std::vector<DrawingEntry> drawings;  // F entries, at most 23
  std::vector<DrawingSource> sources;  // F entries, one per drawing
  std::vector<std::uint32_t> values;   // G values

  // The values of drawing i (bit 15 of firstValue ignored); empty when the entry
  // is out of range or addresses values beyond G.
  std::span<const std::uint32_t> valuesOf(std::size_t i) const;
  bool operator==(const DrawingBlock&) const = default;
};

// Read access to "kalvor.lf", held in memory, for the N entries of kalvor.mi.
class DrawingFile {
 public:
  // Reads "kalvor.lf" from `folder`; nothing when it is missing (no drawings then).
  static std::optional<DrawingFile> open(const std::string& folder, std::uint32_t mineralCount);
  // The same from the file's bytes.
  static DrawingFile fromBytes(Bytes file, std::uint32_t mineralCount);

  // The block of mineral n as a fresh value; nothing when n >= N, its offset is 0
  // or outside the file, F exceeds 23, or the block is cut short.
  std::optional<DrawingBlock> drawingBlockFor(MineralNumber n) const;

 private:
  DrawingFile(Bytes file, std::uint32_t mineralCount)
      : file_(std::move(file)), mineralCount_(mineralCount) {}
  Bytes file_;
  std::uint32_t mineralCount_;
};

// Builds the bytes of "kalvor.lf" for N minerals; minerals without a block get offset 0.
class DrawingFileWriter {
 public:
  explicit DrawingFileWriter(std::uint32_t mineralCount) : blocks_(mineralCount) {}
  // Sets the block of mineral n; false when n >= N, F > 23, the sources do not
  // match the drawings one to one, or G exceeds 65535.
  bool setBlock(MineralNumber n, DrawingBlock block);
  // The file: a 4-byte header holding N, the N block offsets, then the blocks.
  Bytes build() const;

 private:
  std::vector<std::optional<DrawingBlock>> blocks_;
};

}  // namespace kalvor
