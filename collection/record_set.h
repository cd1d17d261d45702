// A set of record numbers (localities, specimens, search results) as the
// value index hands it out: a byte count n and n bytes, record r being bit
// (r AND 7) of byte r >> 3. "No restriction" is an absent set
// (std::optional without value), never an empty one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/bytes.h"

namespace kalvor {

class RecordSet {
 public:
  // The byte count is a u16 in every stored or exchanged form.
  static constexpr std::size_t kMaxBytes = 0xFFFF;
  // The highest record number a set can hold.
  static constexpr std::uint32_t kMaxRecord = kMaxBytes * 8 - 1;

  // An empty set of 0 bytes.
  RecordSet() = default;
  // A set over the given bytes (cut to kMaxBytes).
  explicit RecordSet(Bytes bytes);

  // The set of all records 0..n-1: n/8 + 1 bytes, bits from n on clear.
  static RecordSet allRecords(std::uint32_t n);

  // Parses the stored form (u16 n, n bytes); nothing when the data is shorter than it claims.
  static std::optional<RecordSet> parse(std::span<const std::uint8_t> data);
  // The stored form: u16 byte count, then the bytes.
  Bytes serialize() const;

  // Adds r, growing the set with zero bytes to (r >> 3) + 1 bytes when needed.
  // Returns false (set unchanged) for r > kMaxRecord.
  bool add(std::uint32_t r);
  // Returns true iff r is a member; a number beyond the set's bytes is not.
  bool test(std::uint32_t r) const;
  // Removes r; a number beyond the set's bytes is ignored.
  void remove(std::uint32_t r);
  // Number of members.
  std::uint32_t count() const;
  // Clears every member; the byte count stays.
  void clear();
  // The members in ascending order.
  std::vector<std::uint32_t> members() const;

  std::size_t byteCount() const { return bytes_.size(); }
  const Bytes& bytes() const { return bytes_; }

  friend bool operator==(const RecordSet&, const RecordSet&) = default;

 private:
  Bytes bytes_;
};

// Test against a possibly absent set: an absent set contains every record.
bool testRecord(const std::optional<RecordSet>& set, std::uint32_t r);

// Union: the shorter set ORed into the longer; an absent operand yields the other.
std::optional<RecordSet> uniteRecordSets(std::optional<RecordSet> a, std::optional<RecordSet> b);

// Intersection: the longer set ANDed into the shorter over the shorter's length;
// when either operand is absent the result is absent.
std::optional<RecordSet> intersectRecordSets(std::optional<RecordSet> a,
                                             std::optional<RecordSet> b);

}  // namespace kalvor
