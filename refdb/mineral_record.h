// The mineral entries of "kalvor.db" (located through "kalvor.mi"): the
// in-memory MineralRecord, the reader MineralDatabase and the writer
// MineralFileWriter used by the data compiler and the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "refdb/reference_format.h"

namespace kalvor {

// 0-based position of an entry in kalvor.mi/kalvor.db, aliases included.
// The name-list id is MineralNumber + 1; locality entries mask it with 0x1FFF.
using MineralNumber = std::uint16_t;

// Flag byte of an entry (byte 0 of every entry and of every MineralRecord).
inline constexpr std::uint8_t kMineralImaRecognised = refformat::kFlagImaRecognised;
inline constexpr std::uint8_t kMineralNotImaRecognised = refformat::kFlagNotImaRecognised;
inline constexpr std::uint8_t kMineralDiscredited = refformat::kFlagDiscredited;
inline constexpr std::uint8_t kMineralOtherStatus = refformat::kFlagOtherStatus;
inline constexpr std::uint8_t kMineralEnglishNames = refformat::kFlagEnglishNames;
inline constexpr std::uint8_t kMineralNoEntry = refformat::kFlagNoEntry;
inline constexpr std::uint8_t kMineralFullMask = refformat::kFullMineralMask;

// True iff a flag byte marks a full mineral ((flags AND 0x1B) != 0).
constexpr bool isFullMineralFlags(std::uint8_t flags) {
  return (flags & kMineralFullMask) != 0;
}

// One 56-byte crystal-data entry: crystal classes and lattice constants.
struct CrystalDataEntry {
  std::uint32_t classes = 0;  // bit i = class i of the 32-class table; bits are alternatives
  std::uint8_t spare4 = 0;    // not interpreted, carried through
  std::uint8_t z = 0;         // formula units per cell, 0 = not given
  std::uint8_t flags = 0;     // refformat::kCrystalClassDoubtful / kCrystalClassOnly / kCrystalKxUnits
  std::uint8_t spare7 = 0;    // not interpreted, carried through
  double a0 = 0, b0 = 0, c0 = 0;           // cell lengths, Å (or kX with kCrystalKxUnits)
  double alpha = 0, beta = 0, gamma = 0;   // cell angles, degrees

  // Decodes the 56 bytes at `p`.
  static CrystalDataEntry decode(const std::uint8_t* p);
  // Encodes into the 56 bytes at `p`.
  void encode(std::uint8_t* p) const;
  bool operator==(const CrystalDataEntry&) const = default;
};

// Density as stored: whole g/cm³ and hundredths (0..99); 0/0 = unknown.
struct DensityValue {
  std::uint8_t whole = 0;
  std::uint8_t hundredths = 0;
  // True iff a value is recorded (either byte non-zero).
  bool isKnown() const { return whole != 0 || hundredths != 0; }
  // The value in g/cm³ (2/65 -> 2.65).
  double gramsPerCm3() const { return whole + hundredths / 100.0; }
  bool operator==(const DensityValue&) const = default;
};

// The Lapis/Strunz number as stored (6 bytes); its meaning lies with the systematics.
struct StrunzField {
  std::uint8_t cls = 0;       // 1..9, 0 = none
  std::uint8_t subclass = 0;  // 'A'..'Z', 0 = none
  std::uint8_t group = 0;     // 0 = none
  std::uint8_t spare = 0;     // not interpreted
  std::int16_t rangeEnd = 0;  // end of a group range, 0 = no range
  bool operator==(const StrunzField&) const = default;
};

// The Hey number as stored: three parts, 0 = absent.
using HeyField = std::array<std::uint8_t, 3>;

// The fixed 1684-byte in-memory form of a full mineral or an alias entry.
// The bytes keep the documented offsets (refformat::k*Offset); accessors
// read and write them little-endian. A default record is all zeros.
class MineralRecord {
 public:
  static constexpr std::size_t kSize = refformat::kRecordSize;
  using Image = std::array<std::uint8_t, kSize>;

  MineralRecord() { bytes_.fill(0); }
  // A record holding exactly these 1684 bytes.
  explicit MineralRecord(const Image& image) : bytes_(image) {}

  // The whole byte image with the documented offsets.
  const Image& bytes() const { return bytes_; }
  Image& bytes() { return bytes_; }

  std::uint8_t flags() const { return bytes_[0]; }
  void setFlags(std::uint8_t flags) { bytes_[0] = flags; }
  // True iff (flags AND 0x1B) != 0; otherwise the record is an alias (or no entry).
  bool isFullMineral() const { return isFullMineralFlags(flags()); }
  // True iff the record is the end marker returned for a number at or past N.
  bool isNoEntry() const { return flags() == kMineralNoEntry; }

  // German name (40-byte field at 1). Setters cut a text to the field minus its NUL
  // and return false when they had to cut.
  std::string name() const;
  bool setName(std::string_view name);

  // ---- Full mineral ----
  // Chemical formula in formula markup (151-byte field at 41).
  std::string formula() const;
  bool setFormula(std::string_view formula);
  // Mohs hardness in half steps (11 = 5.5), 0 = unknown: minimum byte 193, maximum byte 192.
  std::uint8_t hardnessMin() const { return bytes_[refformat::kHardnessMinOffset]; }
  std::uint8_t hardnessMax() const { return bytes_[refformat::kHardnessMaxOffset]; }
  void setHardness(std::uint8_t minHalfSteps, std::uint8_t maxHalfSteps);
  // Density minimum (bytes 195/194) and maximum (197/196).
  DensityValue densityMin() const;
  DensityValue densityMax() const;
  void setDensity(DensityValue min, DensityValue max);
  // ColourNumber in slot i (0..19), 0 = end of the list.
  std::uint16_t colour(std::size_t slot) const;
  // The colour list up to its first 0.
  std::vector<std::uint16_t> colours() const;
  // Stores up to 20 colours, the rest 0; returns false when some were cut.
  bool setColours(std::span<const std::uint16_t> colours);
  // Streak colours: slot i (0..3), list up to the first 0, setter as for colours.
  std::uint16_t streak(std::size_t slot) const;
  std::vector<std::uint16_t> streaks() const;
  bool setStreaks(std::span<const std::uint16_t> streaks);
  // Bit sets of the property vocabularies.
  std::uint16_t crystalSystems() const { return word(refformat::kCrystalSystemsOffset); }
  std::uint16_t fracture() const { return word(refformat::kFractureOffset); }
  std::uint16_t transparency() const { return word(refformat::kTransparencyOffset); }
  std::uint16_t lustre() const { return word(refformat::kLustreOffset); }
  std::uint8_t cleavage() const { return bytes_[refformat::kCleavageOffset]; }
  void setCrystalSystems(std::uint16_t v) { setWord(refformat::kCrystalSystemsOffset, v); }
  void setFracture(std::uint16_t v) { setWord(refformat::kFractureOffset, v); }
  void setTransparency(std::uint16_t v) { setWord(refformat::kTransparencyOffset, v); }
  void setLustre(std::uint16_t v) { setWord(refformat::kLustreOffset, v); }
  void setCleavage(std::uint8_t v) { bytes_[refformat::kCleavageOffset] = v; }
  // Lapis/Strunz (bytes 258..263) and Hey (264..266) numbers as stored.
  StrunzField strunz() const;
  void setStrunz(const StrunzField& s);
  HeyField hey() const;
  void setHey(const HeyField& h);
  // Raw crystal-data count byte (268), possibly out of range in a damaged file.
  std::uint8_t crystalDataCount() const { return bytes_[refformat::kCrystalCountOffset]; }
  // The crystal-data entries; empty when the count lies outside 1..6.
  std::vector<CrystalDataEntry> crystalData() const;
  // Stores up to 6 entries and their count; returns false when some were cut.
  bool setCrystalData(std::span<const CrystalDataEntry> entries);
  // English name (40-byte field at 662).
  std::string englishName() const;
  bool setEnglishName(std::string_view name);

  // ---- Alias ----
  // Target text: one mineral name, or a sentence with the name between two '@' (801 bytes at 41).
  std::string aliasTarget() const;
  bool setAliasTarget(std::string_view text);
  // English alias name (40 bytes at 842) and English target text (802 bytes at 882).
  std::string englishAliasName() const;
  bool setEnglishAliasName(std::string_view name);
  std::string englishAliasTarget() const;
  bool setEnglishAliasTarget(std::string_view text);

  bool operator==(const MineralRecord&) const = default;

 private:
  std::uint16_t word(std::size_t offset) const { return loadU16(bytes_.data() + offset); }
  void setWord(std::size_t offset, std::uint16_t v) { storeU16(bytes_.data() + offset, v); }
  std::string text(std::size_t offset, std::size_t size) const;
  bool setText(std::size_t offset, std::size_t size, std::string_view text);

  Image bytes_;
};

// The English form of a German mineral name: "e" appended to the part before the
// first hyphen, the rest unchanged ("Apatit-(CaF)" -> "Apatite-(CaF)", "Quarz" -> "Quarze").
std::string englishNameOf(std::string_view germanName);

// Read access to "kalvor.mi" + "kalvor.db", both held in memory.
// Every read is bounded: damaged data yield zero-filled fields, never a fault.
class MineralDatabase {
 public:
  // Reads both files from `folder` (plain names there). Nothing when either file is
  // missing, kalvor.mi is shorter than its count says, or the count exceeds 65535.
  static std::optional<MineralDatabase> open(const std::string& folder);
  // The same from file contents already in memory.
  static std::optional<MineralDatabase> fromBytes(Bytes indexFile, Bytes recordFile);

  // N, the number of entries, aliases included.
  std::uint32_t entryCount() const { return static_cast<std::uint32_t>(offsets_.size()); }
  // The flag byte of entry n; kMineralNoEntry (0x80) when n >= N; 0 when the
  // entry's offset lies past the end of kalvor.db.
  std::uint8_t readMineralFlags(MineralNumber n) const;
  // A fresh, zero-filled record of entry n (docs/formats/reference_files.md): full
  // minerals get their fixed part, crystal data (count 1..6) and English name; aliases
  // (flag byte 0) their texts cut to the fields and derived English forms; n >= N gives
  // flag 0x80 and zeros. Nothing survives from an earlier read, unlike a reused buffer.
  MineralRecord readMineralRecord(MineralNumber n) const;
  // The kalvor.db offset of entry n; nothing when n >= N.
  std::optional<std::uint32_t> entryOffset(MineralNumber n) const {
    if (n >= offsets_.size()) return std::nullopt;
    return offsets_[n];
  }

 private:
  MineralDatabase(std::vector<std::uint32_t> offsets, Bytes records)
      : offsets_(std::move(offsets)), records_(std::move(records)) {}

  std::vector<std::uint32_t> offsets_;
  Bytes records_;
};

// Serialises a record as a kalvor.db entry: a full mineral as flag byte, the
// 269-byte fixed part, its crystal data (count 1..6) and, with flag 0x40, the
// English name; an alias as flag byte, name, target text and, with flag 0x40,
// the two English texts with their u16 lengths.
Bytes encodeMineralEntry(const MineralRecord& record);

// Builds kalvor.mi and kalvor.db from entries in MineralNumber order.
class MineralFileWriter {
 public:
  // Appends an entry; returns its MineralNumber, or nothing when 65535 entries exist.
  std::optional<MineralNumber> add(const MineralRecord& record);
  // Appends an already serialised entry (tests use it for damaged entries).
  std::optional<MineralNumber> addRawEntry(std::span<const std::uint8_t> entry);

  std::size_t entryCount() const { return offsets_.size(); }
  // The bytes of kalvor.mi.
  Bytes indexFile() const;
  // The bytes of kalvor.db.
  const Bytes& recordFile() const { return records_; }
  // Writes both files into `folder`; returns true on success.
  bool writeTo(const std::string& folder) const;

 private:
  std::vector<std::uint32_t> offsets_;
  Bytes records_;
};

}  // namespace kalvor
