#include "collection/record_set.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace kalvor {

RecordSet::RecordSet(Bytes bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() > kMaxBytes) bytes_.resize(kMaxBytes);
}

RecordSet RecordSet::allRecords(std::uint32_t n) {
  n = std::min(n, kMaxRecord + 1);
  Bytes bytes(std::min<std::size_t>(n / 8 + 1, kMaxBytes), 0xFF);
  // Bits from n on are not records of the collection.
  for (std::uint32_t r = n; r < bytes.size() * 8; ++r) {
    bytes[r >> 3] = static_cast<std::uint8_t>(bytes[r >> 3] & ~(1u << (r & 7)));
  }
  return RecordSet(std::move(bytes));
}

std::optional<RecordSet> RecordSet::parse(std::span<const std::uint8_t> data) {
  if (data.size() < 2) return std::nullopt;
  const std::size_t n = loadU16(data.data());
  if (data.size() - 2 < n) return std::nullopt;
  return RecordSet(Bytes(data.begin() + 2, data.begin() + 2 + static_cast<std::ptrdiff_t>(n)));
}

Bytes RecordSet::serialize() const {
  ByteWriter w;
  w.u16(static_cast<std::uint16_t>(bytes_.size()));
  w.bytes(bytes_);
  return w.take();
}

bool RecordSet::add(std::uint32_t r) {
  if (r > kMaxRecord) return false;
  const std::size_t need = (r >> 3) + 1;
  if (bytes_.size() < need) bytes_.resize(need, 0);
  bytes_[r >> 3] = static_cast<std::uint8_t>(bytes_[r >> 3] | (1u << (r & 7)));
  return true;
}

bool RecordSet::test(std::uint32_t r) const {
  const std::size_t i = r >> 3;
  return i < bytes_.size() && (bytes_[i] & (1u << (r & 7))) != 0;
}

void RecordSet::remove(std::uint32_t r) {
  const std::size_t i = r >> 3;
  if (i < bytes_.size()) bytes_[i] = static_cast<std::uint8_t>(bytes_[i] & ~(1u << (r & 7)));
}

std::uint32_t RecordSet::count() const {
  std::uint32_t n = 0;
  for (std::uint8_t b : bytes_) n += static_cast<std::uint32_t>(std::popcount(b));
  return n;
}

void RecordSet::clear() { std::fill(bytes_.begin(), bytes_.end(), 0); }

std::vector<std::uint32_t> RecordSet::members() const {
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    for (std::uint32_t bit = 0; bit < 8; ++bit) {
      if (bytes_[i] & (1u << bit)) out.push_back(static_cast<std::uint32_t>(i * 8 + bit));
    }
  }
  return out;
}

bool testRecord(const std::optional<RecordSet>& set, std::uint32_t r) {
  return !set || set->test(r);
}

std::optional<RecordSet> uniteRecordSets(std::optional<RecordSet> a, std::optional<RecordSet> b) {
  if (!a) return b;
  if (!b) return a;
  Bytes longer = a->byteCount() >= b->byteCount() ? a->bytes() : b->bytes();
  const Bytes& shorter = a->byteCount() >= b->byteCount() ? b->bytes() : a->bytes();
  for (std::size_t i = 0; i < shorter.size(); ++i) longer[i] |= shorter[i];
  return RecordSet(std::move(longer));
}

std::optional<RecordSet> intersectRecordSets(std::optional<RecordSet> a,
                                             std::optional<RecordSet> b) {
  if (!a || !b) return std::nullopt;
  Bytes shorter = a->byteCount() <= b->byteCount() ? a->bytes() : b->bytes();
  const Bytes& longer = a->byteCount() <= b->byteCount() ? b->bytes() : a->bytes();
  for (std::size_t i = 0; i < shorter.size(); ++i) shorter[i] &= longer[i];
  return RecordSet(std::move(shorter));
}

}  // namespace kalvor
