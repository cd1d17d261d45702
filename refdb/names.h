// The sorted list of all mineral names and aliases with its lookups, and its
// stored form "kalvor.fl" (built from "kalvor.na" or the mineral database).
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

namespace kalvor {

// 0-based position of an entry in "kalvor.mi"/"kalvor.db", aliases included.
using MineralNumber = std::uint16_t;

// Largest number of entries for which the number-to-name table is built.
inline constexpr std::size_t kMaxNameListEntries = 16535;
// Size of one record of "kalvor.na": alias byte and 40-byte name field.
inline constexpr std::size_t kUnsortedNameRecordSize = 41;
// Names taken from "kalvor.na" or the database keep at most this many characters.
inline constexpr std::size_t kMaxSourceNameLength = 39;
// Longest name a "kalvor.fl" record can hold (7-bit length).
inline constexpr std::size_t kMaxStoredNameLength = 127;

// One name of the list ("node"): its text, id and place in collation order.
struct NameListNode {
  std::string name;           // trailing blanks removed, Windows-1252
  std::uint32_t id = 0;       // MineralNumber + 1
  std::uint32_t ordinal = 0;  // position in the list, 0 for the first
  bool alias = false;         // true for an alias entry
};

// One entry of the mineral database, in MineralNumber order, for building the list.
struct NameSource {
  bool alias = false;
  std::string name;  // Windows-1252; trailing blanks are removed, cut to 39 characters
};

// Which file a list is loaded from.
enum class NameListForm { kUnsorted = 0, kStored = 1 };

// All mineral names in collation order (equal names in record order), with
// the number-to-node table and the 26 letter buckets. Built once, then read-only.
class MineralNameList {
 public:
  MineralNameList() = default;

  // Sorts the entries (entry k gets id k + 1) into collation order.
  static MineralNameList build(std::vector<NameSource> entries);
  // Parses "kalvor.na" content: whole 41-byte records only; a partial tail is ignored.
  static MineralNameList fromUnsorted(std::span<const std::uint8_t> bytes);
  // Parses "kalvor.fl" content (already sorted); a truncated last record is dropped.
  static MineralNameList fromStored(std::span<const std::uint8_t> bytes);
  // Returns the "kalvor.fl" bytes of the list, in list order.
  Bytes storedBytes() const;

  // Number of names N.
  std::size_t size() const { return nodes_.size(); }
  bool empty() const { return nodes_.empty(); }
  // The names in collation order; index == ordinal.
  const std::vector<NameListNode>& nodes() const { return nodes_; }
  const NameListNode& node(std::size_t ordinal) const { return nodes_[ordinal]; }

  // NumberToNode: ordinal of the entry with this MineralNumber, or nothing
  // when the number has no node (past N, or the table was not built).
  std::optional<std::size_t> ordinalOfNumber(MineralNumber number) const;
  // LetterBuckets: ordinal of the first name of letter 'a' + i (or of the next
  // letter that has names); nothing when no later letter has any. i in 0..25.
  std::optional<std::size_t> bucketStart(int letterIndex) const;

  // Name of the entry, or an empty text when the number has no node.
  // The view stays valid as long as the list.
  std::string_view nameOfMineral(MineralNumber number) const;
  // Returns the id (MineralNumber + 1) of the first name in list order, from
  // the prefix's letter bucket on, that starts byte for byte with `prefix`; 0 when none.
  std::uint32_t findMineralByPrefix(std::string_view prefix) const;

 private:
  explicit MineralNameList(std::vector<NameListNode> nodes);
  void finish();

  std::vector<NameListNode> nodes_;
  std::vector<std::uint32_t> numberToNode_;  // ordinal + 1, 0 = none
  std::array<std::uint32_t, 26> letterBuckets_{};  // ordinal + 1, 0 = none
};

// Loads the list from "kalvor.fl" (kStored) or "kalvor.na" (kUnsorted);
// nothing when the file cannot be read.
std::optional<MineralNameList> loadMineralNameList(const std::string& path, NameListForm form);

// Writes the list as "kalvor.fl"; returns true on success.
bool saveMineralNameList(const std::string& path, const MineralNameList& list);

}  // namespace kalvor
