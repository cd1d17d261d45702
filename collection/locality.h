// Localities ("Fundort", "Fundstelle"): the record stored in "kalvor.fs",
// its reading and writing with the value-index upkeep, the mineral list
// rules, deletion (with its specimens or onto a replacement) and the texts
// shown for a locality.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "collection/collection_messages.h"
#include "collection/command_journal.h"

namespace kalvor {

class Collection;
struct Specimen;

// Byte layout of the locality record's fixed part (at block + 6).
namespace locality_format {
inline constexpr std::size_t kFixedBytes = 210;
inline constexpr std::size_t kNumberOffset = 0;
inline constexpr std::size_t kFlagsOffset = 2;
inline constexpr std::size_t kNameOffset = 4;
inline constexpr std::size_t kPlaceOffset = 44;
inline constexpr std::size_t kRegionOffset = 84;
inline constexpr std::size_t kCountryOffset = 124;
inline constexpr std::size_t kMapOffset = 164;
inline constexpr std::size_t kTextLengthOffset = 204;
inline constexpr std::size_t kMineralCountOffset = 206;
inline constexpr std::size_t kSpecimenCountOffset = 208;
inline constexpr std::size_t kTextFieldBytes = 40;
inline constexpr std::uint16_t kFlagDeleted = 0x20;
// Mineral entries: MineralNumber in bits 0-12, bit 15 = on one of the locality's specimens.
inline constexpr std::uint16_t kMineralMask = 0x1FFF;
inline constexpr std::uint16_t kFromSpecimen = 0x8000;
// The stored text length and both counts are i16.
inline constexpr std::size_t kMaxTextLength = 32766;
inline constexpr std::size_t kMaxListLength = 32767;
}  // namespace locality_format

// A locality in memory: the fixed part plus its description, mineral entries
// and specimen numbers.
struct Locality {
  std::uint16_t number = 0;  // equals the record number; 0 = not (yet) stored
  std::uint16_t flags = 0;
  std::string name;          // "Fundort", at most 39 characters (Windows-1252)
  std::string nearestPlace;  // "nächster Ort"
  std::string region;
  std::string country;
  std::string mapReference;
  std::string description;               // any length up to kMaxTextLength
  std::vector<std::uint16_t> minerals;   // mineral entries (MineralNumber | kFromSpecimen)
  std::vector<std::uint32_t> specimens;  // the user's specimens from here

  bool deleted() const { return (flags & locality_format::kFlagDeleted) != 0; }
  bool operator==(const Locality&) const = default;
};

// Returns the record payload of a locality (fixed part, text with its zero,
// mineral entries, specimen numbers); the stored text length is strlen + 1.
// Texts longer than their fields are cut to the field minus its zero.
Bytes encodeLocality(const Locality& locality);

// Parses a payload; with headerOnly only the fixed part. Returns nothing when
// the payload is shorter than its counts and lengths claim or a count is negative.
std::optional<Locality> decodeLocality(std::span<const std::uint8_t> payload, bool headerOnly);

// Units of 256 bytes that the locality needs in "kalvor.fs".
std::uint32_t localityUnitsOf(const Locality& locality);

// The display line: the non-empty texts of name, nearest place, region and
// country joined by ", ".
std::string localityLine(const Locality& locality);

// The sort text: name, nearest place, region and country concatenated.
std::string localitySortText(const Locality& locality);

// Reads locality n (masked to 16 bits) in full or, with headerOnly, its fixed
// part only. Nothing when it cannot be read.
std::optional<Locality> readLocality(Collection& collection, std::uint32_t n, bool headerOnly = false);

// Writes the locality as number n (0 = a new locality: it gets the next number,
// stored into locality.number, and joins the all-localities set). For an
// existing one the stored version is read first and the value index is brought
// up to date for the mineral, region and country differences. Returns false
// when the record could not be written completely.
bool writeLocality(Collection& collection, std::uint32_t n, Locality& locality);

// Adds the locality's country (1057), region (1060) and minerals (1050) to the
// value index; empty texts are not keys. Nothing while the collection is unavailable.
bool addLocalityKeys(Collection& collection, const Locality& locality);

enum class AddMineralResult {
  kAdded,             // appended to the list
  kMarked,            // already present: now marked as coming from a specimen
  kAlreadyPresent,    // already present, nothing changed (the dialog beeps)
  kNotRepresentable,  // MineralNumber above 0x1FFF: a locality cannot name it
};

// Adds `mineral` to a locality's mineral entries, or marks an existing entry
// as coming from a specimen (fromSpecimen). Entries compare by bits 0-12.
AddMineralResult addMineralToList(std::vector<std::uint16_t>& list, std::uint16_t mineral, bool fromSpecimen);

// Rebuilds the locality's mineral entries: every entry without the specimen
// mark, then the minerals of each listed specimen that is not deleted, marked.
// `specimen` (may be null) stands in for the stored record of its number.
void recomputeLocalityMinerals(Collection& collection, Locality& locality, const Specimen* specimen);

// Returns the message that forbids deleting entry `index` of the mineral list
// (kMineralOnSpecimen for an entry marked as coming from a specimen), kNone
// when it may be deleted.
CollectionMessage checkMineralDeletable(const std::vector<std::uint16_t>& list, std::size_t index);

// Deletes locality n: with withSpecimens its specimens are deleted too;
// otherwise they move to `replacement` (0 = "unbekannt"), which takes over
// their minerals and numbers. The locality keeps its number, marked deleted.
// Returns false when n (or a given replacement) cannot be read, is already
// deleted, or a write failed. The deletion is announced in an intent record
// first: one that stops half way is completed by completePendingDeletion.
bool deleteLocality(Collection& collection, std::uint32_t n, bool withSpecimens, std::uint32_t replacement);

enum class PendingOutcome { kNone, kCompleted, kFailed };

// Completes a locality deletion that an interruption (a crash, a full disk)
// left half done, as the open of the collection does. `which` (may be null)
// receives the deletion that was found.
PendingOutcome completePendingDeletion(Collection& collection, PendingDeletion* which = nullptr);

// One entry of a list that lets the user pick a locality: item data 0
// "unbekannt", 1 "neue Fundstelle" (with withNewEntry), otherwise the
// locality's number (+ 1 with withNewEntry); the text is what the entry shows.
struct LocalityChoice {
  std::uint32_t itemData = 0;
  std::string text;  // Windows-1252
};

// The entries of a locality choice list: "unbekannt", optionally "neue
// Fundstelle", then every locality that is not deleted, in the locality sort order.
std::vector<LocalityChoice> localityChoices(Collection& collection, bool withNewEntry);

// The question the delete form asks before deleting locality n: with its
// specimens, or replaced by `replacement` (0 = "unbekannt").
std::string deleteLocalityQuestion(Collection& collection, std::uint32_t n, bool withSpecimens,
                                   std::uint32_t replacement);

// The "OK" of the locality entry form: writes the locality (number 0 = new),
// adds its keys and, for a new one, inserts it into the locality sort order
// and saves "kalvor.fss". Returns the number, or nothing when a write failed.
std::optional<std::uint32_t> saveLocalityFromForm(Collection& collection, Locality locality);

}  // namespace kalvor
