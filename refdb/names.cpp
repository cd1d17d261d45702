#include "refdb/names.h"

#include <algorithm>
#include <utility>

#include "base/file_io.h"
#include "refdb/collation.h"

namespace kalvor {
namespace {

bool sortsBefore(const NameListNode& a, const NameListNode& b) {
  return collateCompare(a.name, b.name, kNameCompareLength, kNameCompareLength) < 0;
}

// Stable merge sort: a name goes before an earlier one only when it sorts
// strictly before it, so equal names keep their record order. Written out
// rather than std::stable_sort so that a collation quirk on odd input can
// never make the sort read outside the vector.
void stableSortNodes(std::vector<NameListNode>& nodes) {
  const std::size_t n = nodes.size();
  std::vector<NameListNode> buffer(n);
  std::vector<NameListNode>* from = &nodes;
  std::vector<NameListNode>* to = &buffer;
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, n);
      const std::size_t hi = std::min(lo + 2 * width, n);
      std::size_t l = lo, r = mid, out = lo;
      while (l < mid && r < hi) {
        if (sortsBefore((*from)[r], (*from)[l])) {
          (*to)[out++] = std::move((*from)[r++]);
        } else {
          (*to)[out++] = std::move((*from)[l++]);
        }
      }
      while (l < mid) (*to)[out++] = std::move((*from)[l++]);
      while (r < hi) (*to)[out++] = std::move((*from)[r++]);
    }
    std::swap(from, to);
  }
  if (from != &nodes) nodes = std::move(*from);
}

// Names of "kalvor.na" and of the database: at most 39 characters, up to the
// first NUL, trailing blanks removed.
std::string sourceName(std::string_view raw) {
  if (raw.size() > kMaxSourceNameLength) raw = raw.substr(0, kMaxSourceNameLength);
  const std::size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);
  while (!raw.empty() && raw.back() == ' ') raw.remove_suffix(1);
  return std::string(raw);
}

}  // namespace

MineralNameList::MineralNameList(std::vector<NameListNode> nodes) : nodes_(std::move(nodes)) {
  finish();
}

MineralNameList MineralNameList::build(std::vector<NameSource> entries) {
  std::vector<NameListNode> nodes;
  nodes.reserve(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    NameListNode node;
    node.name = sourceName(entries[k].name);
    node.id = static_cast<std::uint32_t>(k + 1);
    node.alias = entries[k].alias;
    nodes.push_back(std::move(node));
  }
  stableSortNodes(nodes);
  return MineralNameList(std::move(nodes));
}

MineralNameList MineralNameList::fromUnsorted(std::span<const std::uint8_t> bytes) {
  std::vector<NameSource> entries;
  const std::size_t count = bytes.size() / kUnsortedNameRecordSize;
  entries.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    const std::uint8_t* record = bytes.data() + k * kUnsortedNameRecordSize;
    NameSource entry;
    entry.alias = record[0] != 0;
    entry.name.assign(reinterpret_cast<const char*>(record + 1), kUnsortedNameRecordSize - 1);
    entries.push_back(std::move(entry));
  }
  return build(std::move(entries));
}

MineralNameList MineralNameList::fromStored(std::span<const std::uint8_t> bytes) {
  std::vector<NameListNode> nodes;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::uint8_t lengthByte = bytes[pos];
    const std::size_t length = lengthByte & 0x7F;
    if (bytes.size() - pos < 1 + length + 2) break;  // truncated last record
    NameListNode node;
    node.alias = (lengthByte & 0x80) != 0;
    node.name.assign(reinterpret_cast<const char*>(bytes.data() + pos + 1), length);
    node.id = loadU16(bytes.data() + pos + 1 + length);
    nodes.push_back(std::move(node));
    pos += 1 + length + 2;
  }
  return MineralNameList(std::move(nodes));
}

Bytes MineralNameList::storedBytes() const {
  ByteWriter out;
  for (const NameListNode& node : nodes_) {
    const std::size_t length = std::min(node.name.size(), kMaxStoredNameLength);
    out.u8(static_cast<std::uint8_t>(length | (node.alias ? 0x80 : 0)));
    out.bytes(std::string_view(node.name).substr(0, length));
    out.u16(static_cast<std::uint16_t>(node.id));
  }
  return out.take();
}

void MineralNameList::finish() {
  const std::size_t n = nodes_.size();
  for (std::size_t k = 0; k < n; ++k) nodes_[k].ordinal = static_cast<std::uint32_t>(k);

  // The number table exists only within the documented database limit;
  // ids of 0 or above N have no entry (the name stays in the list).
  numberToNode_.clear();
  if (n <= kMaxNameListEntries) {
    numberToNode_.assign(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t id = nodes_[k].id;
      if (id >= 1 && id <= n) numberToNode_[id - 1] = static_cast<std::uint32_t>(k + 1);
    }
  }

  letterBuckets_.fill(0);
  for (std::size_t k = 0; k < n; ++k) {
    if (nodes_[k].name.empty()) continue;
    const char initial = foldInitial(nodes_[k].name[0]);
    if (initial < 'a' || initial > 'z') continue;
    std::uint32_t& bucket = letterBuckets_[static_cast<std::size_t>(initial - 'a')];
    if (bucket == 0) bucket = static_cast<std::uint32_t>(k + 1);
  }
  // A letter without names starts where the next letter with names starts.
  for (int i = 24; i >= 0; --i) {
    if (letterBuckets_[static_cast<std::size_t>(i)] == 0) {
      letterBuckets_[static_cast<std::size_t>(i)] = letterBuckets_[static_cast<std::size_t>(i) + 1];
    }
  }
}

std::optional<std::size_t> MineralNameList::ordinalOfNumber(MineralNumber number) const {
  if (number >= numberToNode_.size() || numberToNode_[number] == 0) return std::nullopt;
  return numberToNode_[number] - 1;
}

std::optional<std::size_t> MineralNameList::bucketStart(int letterIndex) const {
  if (letterIndex < 0 || letterIndex >= 26) return std::nullopt;
  const std::uint32_t entry = letterBuckets_[static_cast<std::size_t>(letterIndex)];
  if (entry == 0) return std::nullopt;
  return entry - 1;
}

std::string_view MineralNameList::nameOfMineral(MineralNumber number) const {
  const std::optional<std::size_t> ordinal = ordinalOfNumber(number);
  if (!ordinal) return {};
  return nodes_[*ordinal].name;
}

std::uint32_t MineralNameList::findMineralByPrefix(std::string_view prefix) const {
  std::size_t start = 0;
  const char initial = foldInitial(prefix.empty() ? '\0' : prefix[0]);
  if (initial >= 'a' && initial <= 'z') {
    const std::optional<std::size_t> bucket = bucketStart(initial - 'a');
    if (!bucket) return 0;
    start = *bucket;
  }
  // The walk runs past the end of the bucket, as the type-ahead expects.
  for (std::size_t k = start; k < nodes_.size(); ++k) {
    if (std::string_view(nodes_[k].name).starts_with(prefix)) return nodes_[k].id;
  }
  return 0;
}

std::optional<MineralNameList> loadMineralNameList(const std::string& path, NameListForm form) {
  const std::optional<Bytes> bytes = readWholeFile(path);
  if (!bytes) return std::nullopt;
  if (form == NameListForm::kStored) return MineralNameList::fromStored(*bytes);
  return MineralNameList::fromUnsorted(*bytes);
}

bool saveMineralNameList(const std::string& path, const MineralNameList& list) {
  return writeWholeFile(path, list.storedBytes());
}

}  // namespace kalvor
