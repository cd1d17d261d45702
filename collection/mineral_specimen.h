// Specimens ("Stufe"): the record stored in "kalvor.st", its reading and
// writing with the upkeep of the value index and of the locality lists, the
// mineral-list input and deletion.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "refdb/names.h"

namespace kalvor {

class Collection;
class MineralNameList;

// Byte layout of the specimen record's fixed part (at block + 6).
namespace specimen_format {
inline constexpr std::size_t kFixedBytes = 168;
inline constexpr std::size_t kNumberOffset = 0;
inline constexpr std::size_t kFlagsOffset = 4;
inline constexpr std::size_t kIndexOffset = 6;
inline constexpr std::size_t kIndexBytes = 40;
inline constexpr std::size_t kStorageOffset = 46;
inline constexpr std::size_t kStorageBytes = 80;
inline constexpr std::size_t kSizeOffset = 126;
inline constexpr std::size_t kSizeBytes = 20;
inline constexpr std::size_t kMineralCountOffset = 146;
inline constexpr std::size_t kMainCountOffset = 148;
inline constexpr std::size_t kCountOffset = 150;
inline constexpr std::size_t kLocalityOffset = 152;
inline constexpr std::size_t kPriceOffset = 154;
inline constexpr std::size_t kValueOffset = 158;
inline constexpr std::size_t kDateOffset = 162;
inline constexpr std::size_t kTextLengthOffset = 166;

inline constexpr std::uint16_t kFlagCollection = 0x01;  // "Sammlungsstufe"
inline constexpr std::uint16_t kFlagExchange = 0x02;    // "Tauschstufe"
inline constexpr std::uint16_t kFlagFound = 0x04;       // "gefunden"
inline constexpr std::uint16_t kFlagBought = 0x08;      // "gekauft"
inline constexpr std::uint16_t kFlagSwapped = 0x10;     // "getauscht"
inline constexpr std::uint16_t kFlagDeleted = 0x20;

// The entry form holds at most 99 minerals (main and accompanying together).
inline constexpr std::size_t kMaxMinerals = 99;
inline constexpr std::size_t kMaxTextLength = 32766;
}  // namespace specimen_format

// A specimen in memory: the fixed part plus its description and minerals.
struct Specimen {
  std::uint32_t number = 0;  // equals the record number; 0 = not (yet) stored
  std::uint16_t flags = specimen_format::kFlagDeleted;
  std::string index;         // "Index", at most 39 characters (Windows-1252)
  std::string storagePlace;  // "Standort", at most 79
  std::string size;          // "Stufengröße", at most 19
  std::uint16_t mainCount = 0;          // the first mainCount minerals are the main ones
  std::vector<std::uint16_t> minerals;  // stored form: MineralNumber + 1
  std::uint16_t count = 1;              // "Anzahl", 1..9999
  std::uint16_t localityValue = 0;      // locality number + 1; 0 and 1 = none
  float purchasePrice = 0;              // "Kaufpreis"
  float value = 0;                      // "Wert"
  std::uint32_t date = 0;               // year * 65536 + month * 256 + day; 0 = none
  std::string description;

  bool deleted() const { return (flags & specimen_format::kFlagDeleted) != 0; }
  // The locality's number, or 0 when the specimen has none.
  std::uint32_t localityNumber() const { return localityValue > 1 ? localityValue - 1u : 0u; }
  bool operator==(const Specimen&) const = default;
};

// Returns the record payload (fixed part, text with its zero, mineral numbers);
// the stored text length is strlen + 1, texts are cut to their fields.
Bytes encodeSpecimen(const Specimen& specimen);

// Parses a payload. Nothing when it is shorter than its lengths claim or a
// count is negative. A record with number 0 or flags 0 comes back deleted.
std::optional<Specimen> decodeSpecimen(std::span<const std::uint8_t> payload);

// Units of 256 bytes that the specimen needs in "kalvor.st".
std::uint32_t specimenUnitsOf(const Specimen& specimen);

// Reads specimen n; nothing when it cannot be read.
std::optional<Specimen> readSpecimen(Collection& collection, std::uint32_t n);

// Writes the specimen as number n (0 = a new one: it gets the next number,
// stored into specimen.number, and joins the all-specimens set). For an
// existing one the stored version is read first and updateSpecimenKeys runs.
// Returns false when the record could not be written completely.
bool writeSpecimen(Collection& collection, std::uint32_t n, Specimen& specimen);

// Brings the value index and the localities' lists up to date for the change
// from `before` to `after` (same number): mineral sets, kind and acquisition
// sets it no longer belongs to, and the old locality's specimen and mineral
// lists. Returns false when a locality write failed.
bool updateSpecimenKeys(Collection& collection, const Specimen& before, const Specimen& after);

// Adds a saved specimen to the sets of its kind, acquisition, minerals and
// locality. Nothing while the collection is unavailable.
bool addSpecimenKeys(Collection& collection, const Specimen& specimen);

// Parses a comma-separated list of mineral names into stored mineral numbers
// (MineralNumber + 1), each once, in order of first mention; a piece that
// names no mineral is skipped. A name matches the first list entry that it
// begins (in the collation of the name list).
std::vector<std::uint16_t> parseMineralList(const MineralNameList& names, std::string_view text);

// The mineral that `name` names by the same rule (collation order, the name
// as a prefix); nothing when it names none.
std::optional<MineralNumber> mineralNamed(const MineralNameList& names, std::string_view name);

// parseMineralList with the position of the first piece that names no mineral
// (blanks around it left out), so that a form can refuse it.
struct MineralListParse {
  std::vector<std::uint16_t> ids;
  std::optional<std::pair<std::size_t, std::size_t>> firstUnknown;  // [begin, end) in the text
};
MineralListParse parseMineralListChecked(const MineralNameList& names, std::string_view text);

// Marks specimen n deleted, takes it out of the all-specimens set and writes
// it (which updates its mineral keys and its locality). False when it cannot
// be read or written.
bool deleteSpecimen(Collection& collection, std::uint32_t n);

// The names of the specimen's main (main = true) or accompanying minerals joined by `separator`.
std::string specimenMineralNames(const MineralNameList& names, const Specimen& specimen, bool main,
                                 std::string_view separator);

}  // namespace kalvor
