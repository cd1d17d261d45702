#include "collection/sort_order.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "base/file_io.h"
#include "collection/collection.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "platform/settings.h"
#include "platform/settings_keys.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

constexpr std::size_t kLocalityCacheChars = 30;
constexpr std::size_t kLocalityKeyChars = 2000;
constexpr std::size_t kSpecimenTextChars = 44;
constexpr std::size_t kMineralNameChars = 40;

// Case-insensitive (A-Z) comparison of at most n characters, stopping at the end of either text.
int compareNoCase(std::string_view a, std::string_view b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = i < a.size() ? std::tolower(static_cast<unsigned char>(a[i])) : 0;
    const int cb = i < b.size() ? std::tolower(static_cast<unsigned char>(b[i])) : 0;
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
  return 0;
}

// Byte-wise comparison of at most n characters (as strncmp over zero-terminated fields).
int compareBytes(std::string_view a, std::string_view b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    const int cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
  return 0;
}

int sign(std::int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

bool isPermutation(const std::vector<std::uint32_t>& entries, std::uint32_t first) {
  std::vector<bool> seen(entries.size(), false);
  for (std::uint32_t e : entries) {
    if (e < first || e - first >= entries.size() || seen[e - first]) return false;
    seen[e - first] = true;
  }
  return true;
}

}  // namespace

bool switchOrderForm(SortOrder& order, std::uint32_t form) {
  if (form == kOrderDropCache) {
    order.cachedForm = 0;
    order.cachedEntries.clear();
    return true;
  }
  if (form != kOrderList && form != kOrderPositions) return false;
  if (order.form == form) return true;
  if (order.cachedForm != form || order.cachedEntries.size() != order.entries.size()) {
    // Both forms are inverse permutations of each other.
    std::vector<std::uint32_t> other(order.entries.size(), 0);
    for (std::size_t i = 0; i < order.entries.size(); ++i) {
      const std::uint32_t e = order.entries[i];
      if (form == kOrderPositions) {
        if (e >= 1 && e <= other.size()) other[e - 1] = static_cast<std::uint32_t>(i);
      } else {
        if (e < other.size()) other[e] = static_cast<std::uint32_t>(i + 1);
      }
    }
    order.cachedEntries = std::move(other);
    order.cachedForm = form;
  }
  std::swap(order.entries, order.cachedEntries);
  std::swap(order.form, order.cachedForm);
  return true;
}

std::optional<Bytes> encodeSortOrder(const SortOrder& order) {
  if (order.count > kMaxStoredOrderCount || order.entries.size() != order.count) return std::nullopt;
  ByteWriter w;
  w.u16(static_cast<std::uint16_t>(order.count));
  w.u32(order.form);
  for (std::uint32_t e : order.entries) {
    if (e > 0xFFFF) return std::nullopt;
    w.u16(static_cast<std::uint16_t>(e));
  }
  return w.take();
}

std::optional<SortOrder> decodeSortOrder(std::span<const std::uint8_t> data,
                                         std::uint32_t expectedCount) {
  if (expectedCount > kMaxStoredOrderCount || data.size() < 6) return std::nullopt;
  ByteReader r(data);
  const std::uint16_t count = r.u16();
  if (count != expectedCount) return std::nullopt;
  const std::uint32_t form = r.u32();
  if (form != kOrderList && form != kOrderPositions) return std::nullopt;
  if (data.size() < 6 + 2u * count) return std::nullopt;
  SortOrder order;
  order.count = count;
  order.form = form;
  order.entries.resize(count);
  for (auto& e : order.entries) e = r.u16();
  if (!isPermutation(order.entries, form == kOrderList ? 1 : 0)) return std::nullopt;
  return order;
}

bool loadSortOrder(const std::string& path, std::uint32_t expectedCount, SortOrder& order, FileLayer& files) {
  const std::optional<Bytes> data = readWholeFile(files, path);
  if (!data) return false;
  std::optional<SortOrder> loaded = decodeSortOrder(*data, expectedCount);
  if (!loaded) return false;
  order = std::move(*loaded);
  return true;
}

bool saveSortOrder(const std::string& path, const SortOrder& order, FileLayer& files) {
  const std::optional<Bytes> bytes = encodeSortOrder(order);
  if (!bytes) {
    // Too large for the file: it is sorted anew at each start, and a stale
    // file must not be taken for it.
    files.removeFile(path);
    return true;
  }
  // Overwritten in place (no replace-by-rename, which makes the file system
  // write the data out at once on every save): a write torn by a crash
  // leaves a file whose count or entries do not check out, and that file is
  // sorted anew at the next start.
  std::unique_ptr<RandomAccessFile> file = files.openFile(path, FileAccess::kReadWrite);
  if (!file) file = files.createFile(path);
  if (!file) return false;
  if (!file->writeAt(0, *bytes)) return false;
  const std::optional<std::uint64_t> size = file->size();
  if (!size) return false;
  return *size <= bytes->size() || file->truncate(bytes->size());
}

void sortAll(SortOrder& order, std::uint32_t n, RecordComparator& comparator) {
  switchOrderForm(order, kOrderDropCache);
  order.count = n;
  order.form = kOrderList;
  order.entries.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) order.entries[i] = i + 1;
  comparator.prepare(n);
  // Stable, so records with equal keys keep their entry order.
  std::stable_sort(order.entries.begin(), order.entries.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return comparator.compare(a, b) < 0; });
  comparator.release();
}

void insertIntoOrder(SortOrder& order, std::uint32_t record, RecordComparator& comparator) {
  switchOrderForm(order, kOrderList);
  switchOrderForm(order, kOrderDropCache);
  order.count += 1;
  if (order.count < 2) {
    order.entries.assign(1, record);
    return;
  }
  order.entries.resize(order.count - 1);  // the old entries
  std::int64_t lo = 0;
  std::int64_t hi = static_cast<std::int64_t>(order.count) - 2;
  while (lo <= hi) {
    const std::int64_t mid = (lo + hi) / 2;
    const int c = comparator.compare(order.entries[static_cast<std::size_t>(mid)], record);
    if (c <= 0) {
      lo = mid + 1;
      if (c == 0) break;
    } else {
      hi = mid - 1;
    }
  }
  order.entries.insert(order.entries.begin() + lo, record);
}

void repositionInOrder(SortOrder& order, std::uint32_t record, RecordComparator& comparator) {
  switchOrderForm(order, kOrderList);
  const auto it = std::find(order.entries.begin(), order.entries.end(), record);
  if (it != order.entries.end()) {
    order.entries.erase(it);
    order.count -= 1;
  }
  insertIntoOrder(order, record, comparator);
}

// --- Localities --------------------------------------------------------------

std::string LocalityComparator::keyText(std::uint32_t n) {
  const std::optional<Locality> loc = readLocality(collection_, n, true);
  if (!loc) return {};
  std::string text = localitySortText(*loc);
  if (text.size() > kLocalityKeyChars) text.resize(kLocalityKeyChars);
  return text;
}

void LocalityComparator::prepare(std::uint32_t n) {
  cache_.assign(n, {});
  for (std::uint32_t i = 1; i <= n; ++i) {
    std::string key = keyText(i);
    if (key.size() > kLocalityCacheChars) key.resize(kLocalityCacheChars);
    cache_[i - 1] = std::move(key);
  }
}

void LocalityComparator::release() { cache_.clear(); }

int LocalityComparator::compare(std::uint32_t a, std::uint32_t b) {
  if (a == b) return 0;
  if (a >= 1 && b >= 1 && a <= cache_.size() && b <= cache_.size()) {
    const int c = compareNoCase(cache_[a - 1], cache_[b - 1], kLocalityCacheChars);
    if (c != 0) return c;
  }
  return compareNoCase(keyText(a), keyText(b), kLocalityKeyChars);
}

// --- Specimens ---------------------------------------------------------------

SpecimenSortMode specimenSortMode(const Settings* settings) {
  if (settings == nullptr) return SpecimenSortMode::kEntryOrder;
  const int mode = ini::readInt(*settings, ini::kSpecimenSort);
  if (mode < 0 || mode > 4) return SpecimenSortMode::kEntryOrder;
  return static_cast<SpecimenSortMode>(mode);
}

std::int32_t leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

SpecimenSortKey specimenSortKey(SpecimenSortMode mode, std::uint32_t number,
                                const Specimen* specimen, const Collection& collection) {
  SpecimenSortKey key;
  const std::string index = specimen != nullptr ? specimen->index.substr(0, 39) : std::string();
  switch (mode) {
    case SpecimenSortMode::kEntryOrder:
      key.number = number;
      break;
    case SpecimenSortMode::kNumericIndex:
      key.number = leadingNumber(index);
      break;
    case SpecimenSortMode::kTextIndex:
      key.text = index.substr(0, kSpecimenTextChars);
      break;
    case SpecimenSortMode::kFirstMineral:
      key.number = leadingNumber(index);
      if (specimen != nullptr && !specimen->minerals.empty() && specimen->minerals[0] != 0) {
        key.text = std::string(collection.names().nameOfMineral(
            static_cast<MineralNumber>(specimen->minerals[0] - 1)));
        if (key.text.size() > kMineralNameChars) key.text.resize(kMineralNameChars);
      }
      break;
    case SpecimenSortMode::kCombinedIndex: {
      const std::size_t digit = index.find_first_of("0123456789");
      const std::size_t split = digit == std::string::npos ? index.size() : digit;
      key.text = index.substr(0, split);
      key.number = leadingNumber(std::string_view(index).substr(split));
      break;
    }
  }
  return key;
}

SpecimenComparator::SpecimenComparator(Collection& collection)
    : collection_(collection), mode_(specimenSortMode(collection.settings())) {}

SpecimenSortKey SpecimenComparator::keyOf(std::uint32_t n) {
  if (mode_ == SpecimenSortMode::kEntryOrder) return specimenSortKey(mode_, n, nullptr, collection_);
  const std::optional<Specimen> s = readSpecimen(collection_, n);
  return specimenSortKey(mode_, n, s ? &*s : nullptr, collection_);
}

void SpecimenComparator::prepare(std::uint32_t n) {
  mode_ = specimenSortMode(collection_.settings());
  cache_.assign(n, {});
  for (std::uint32_t i = 1; i <= n; ++i) cache_[i - 1] = keyOf(i);
}

void SpecimenComparator::release() { cache_.clear(); }

int SpecimenComparator::compareKeys(const SpecimenSortKey& a, const SpecimenSortKey& b) const {
  switch (mode_) {
    case SpecimenSortMode::kEntryOrder:
    case SpecimenSortMode::kNumericIndex:
      return sign(a.number - b.number);
    case SpecimenSortMode::kTextIndex:
      return sign(compareBytes(a.text, b.text, kSpecimenTextChars));
    case SpecimenSortMode::kFirstMineral:
    case SpecimenSortMode::kCombinedIndex: {
      const int c = compareBytes(a.text, b.text, kSpecimenTextChars);
      if (c != 0) return sign(c);
      return sign(a.number - b.number);
    }
  }
  return 0;
}

int SpecimenComparator::compare(std::uint32_t a, std::uint32_t b) {
  if (a == b) return 0;
  if (a >= 1 && b >= 1 && a <= cache_.size() && b <= cache_.size())
    return compareKeys(cache_[a - 1], cache_[b - 1]);
  // Without a cache (insertion of a new record) the records themselves decide.
  return compareKeys(keyOf(a), keyOf(b));
}

}  // namespace kalvor
