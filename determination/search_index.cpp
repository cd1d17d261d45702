#include "determination/search_index.h"

#include <vector>

#include "base/file_io.h"
#include "determination/elements.h"
#include "determination/formula_scan.h"

namespace kalvor {

namespace {

constexpr std::uint8_t kFullMineralMask = 0x1B;
constexpr std::uint8_t kEndOfEntries = 0x80;
constexpr std::uint16_t kDoubtfulSystem = 0x0100;
constexpr int kMaxHalfSteps = 20;
constexpr int kMaxDensityClass = 84;
// Colour groups past this would run into the next slot family.
constexpr int kMaxColourGroup = kColourSlots - kStreakSlots - 1;

// The lists under construction, one per slot.
class BuildTable {
 public:
  BuildTable() : slots_(kIndexSlotCount) {}

  // A mineral enters a slot once, however many of its values lead there.
  void enter(int slot, MineralNumber n) {
    if (slot < 0 || slot >= kIndexSlotCount) return;
    std::vector<MineralNumber>& list = slots_[static_cast<std::size_t>(slot)];
    if (!list.empty() && list.back() == n) return;
    list.push_back(n);
  }

  // Slot b when the field is 0, else b + 1 + i for every mask i sharing a bit.
  template <std::size_t K>
  void enterBitSet(int base, std::uint16_t field, const std::array<std::uint16_t, K>& masks,
                   MineralNumber n) {
    if (field == 0) {
      enter(base, n);
      return;
    }
    for (std::size_t i = 0; i < K; ++i) {
      if (field & masks[i]) enter(base + 1 + static_cast<int>(i), n);
    }
  }

  // The file: stamp, 945 offsets, two unused bytes, then the lists. The
  // buffer is sized once; a few megabytes written field by field would
  // spend most of the build growing it.
  Bytes serialise(std::uint16_t stamp) const {
    std::size_t size = kIndexListsOffset;
    for (const std::vector<MineralNumber>& list : slots_) size += 2 + 2 * list.size();
    Bytes out(size, 0);
    storeU16(out.data(), stamp);
    std::size_t offset = kIndexListsOffset;
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
      const std::vector<MineralNumber>& list = slots_[slot];
      storeU32(out.data() + 2 + 4 * slot, static_cast<std::uint32_t>(offset));
      storeU16(out.data() + offset, static_cast<std::uint16_t>(list.size()));
      std::uint8_t* p = out.data() + offset + 2;
      for (MineralNumber n : list) {
        storeU16(p, n);
        p += 2;
      }
      offset += 2 + 2 * list.size();
    }
    return out;
  }

 private:
  std::vector<std::vector<MineralNumber>> slots_;
};

template <std::size_t K>
constexpr std::array<std::uint16_t, K> singleBits() {
  std::array<std::uint16_t, K> masks{};
  for (std::size_t i = 0; i < K; ++i) masks[i] = static_cast<std::uint16_t>(1u << i);
  return masks;
}

// Element indexes 0 - 105 that may be filed as absent (not unseen), ascending;
// the tail beyond them is -1.
const std::array<int, ElementTable::kCount + 1> kSearchableElements = [] {
  std::array<int, ElementTable::kCount + 1> list{};
  list.fill(-1);
  std::size_t k = 0;
  for (int i = 0; i <= ElementTable::kRareEarths; ++i) {
    if (!UnseenElements::contains(i)) list[k++] = i;
  }
  return list;
}();

constexpr auto kFiveBits = singleBits<5>();
constexpr auto kTwelveBits = singleBits<12>();

int halfStepsOf(int v) { return v > kMaxHalfSteps ? kMaxHalfSteps : v; }

void enterDensity(BuildTable& t, const IndexedMineral& m, MineralNumber n) {
  const int lo = densityClassOf(m.densityMin);
  if (m.densityMin != 0 && m.densityMax == 0) {
    t.enter(kDensitySlots + lo, n);
    return;
  }
  const int hi = densityClassOf(m.densityMax);
  for (int k = lo; k <= hi; ++k) t.enter(kDensitySlots + k, n);
}

void enterHardness(BuildTable& t, const IndexedMineral& m, MineralNumber n) {
  const int lo = halfStepsOf(m.hardness >> 8);
  const int hi = halfStepsOf(m.hardness & 0xFF);
  for (int k = lo; k <= hi; ++k) t.enter(kHardnessSlots + k, n);
}

template <std::size_t K>
void enterColours(BuildTable& t, int base, const std::array<std::int16_t, K>& codes,
                  const ColourGroupOf& colourGroupOf, MineralNumber n) {
  if (codes[0] == 0) {
    t.enter(base, n);
    return;
  }
  for (std::int16_t code : codes) {
    if (code == 0) break;
    const int group = colourGroupOf(static_cast<std::uint16_t>(code) & 0x0FFF);
    if (group >= 0 && group <= kMaxColourGroup) t.enter(base + group, n);
  }
}

void enterMineral(BuildTable& t, const IndexedMineral& m, MineralNumber n,
                  const ColourGroupOf& colourGroupOf) {
  enterDensity(t, m, n);
  enterHardness(t, m, n);
  t.enterBitSet(kLustreSlots, m.lustre, kTwelveBits, n);
  t.enterBitSet(kTransparencySlots, m.transparency, kFiveBits, n);
  t.enterBitSet(kFractureSlots, m.fracture, kTwelveBits, n);
  t.enterBitSet(kCleavageSlots, m.cleavage, kFiveBits, n);
  // A doubtful system is also filed under "no data", so that a rough search finds it.
  if (m.crystalSystems == 0 || (m.crystalSystems & kDoubtfulSystem)) {
    t.enter(kCrystalSystemSlots, n);
  }
  for (std::size_t i = 0; i < kCrystalSystemMasks.size(); ++i) {
    if (m.crystalSystems & kCrystalSystemMasks[i]) {
      t.enter(kCrystalSystemSlots + 1 + static_cast<int>(i), n);
    }
  }
  if (m.strunzClass >= 1 && m.strunzClass <= 9) t.enter(kStrunzClassSlots + m.strunzClass, n);
  if (m.strunzLetter >= 'A' && m.strunzLetter <= 'Z') {
    t.enter(kStrunzLetterSlots + m.strunzLetter, n);
  }
  enterColours(t, kColourSlots, m.colours, colourGroupOf, n);
  enterColours(t, kStreakSlots, m.streaks, colourGroupOf, n);
  if (m.flags & 0x01) t.enter(kImaRecognisedSlot, n);
  if (m.flags & 0x02) t.enter(kNotImaRecognisedSlot, n);
  if (m.flags & 0x08) t.enter(kDiscreditedSlot, n);
  const IndexList elements = elementsInFormula(m.formula);
  std::array<bool, ElementTable::kCount + 1> present{};
  for (int i : elements) {
    t.enter(kElementPresentSlots + i, n);
    present[static_cast<std::size_t>(i)] = true;
  }
  // The same list elementsNotIn gives, without building it for every mineral.
  for (int i : kSearchableElements) {
    if (i >= 0 && !present[static_cast<std::size_t>(i)]) t.enter(kElementAbsentSlots + i, n);
  }
  const IndexList groups = groupsInFormula(m.formula);
  for (int j : groups) t.enter(kGroupPresentSlots + j, n);
  for (int j : groupsNotIn(groups)) t.enter(kGroupAbsentSlots + j, n);
}

}  // namespace

int densityClassOf(std::uint16_t density) {
  if (density == 0) return 0;
  const int k = 4 * (density >> 8) + (density & 0xFF) / 25;
  return k > kMaxDensityClass ? kMaxDensityClass : k;
}

std::uint16_t searchIndexStamp(std::size_t entryCount) {
  return static_cast<std::uint16_t>(entryCount + kIndexSlotCount);
}

Bytes buildSearchIndex(const MineralEntryReader& readEntry, const ColourGroupOf& colourGroupOf) {
  BuildTable table;
  std::size_t n = 0;
  // Mineral numbers are 16 bits wide; the loop can never run past them.
  for (; n <= 0xFFFF; ++n) {
    const IndexedMineral m = readEntry(static_cast<MineralNumber>(n));
    if (m.flags & kEndOfEntries) break;
    if (m.flags & kFullMineralMask) {
      enterMineral(table, m, static_cast<MineralNumber>(n), colourGroupOf);
    }
  }
  return table.serialise(searchIndexStamp(n));
}

IndexedMineral indexedMineralOf(const MineralRecord& r) {
  IndexedMineral m;
  m.flags = r.flags();
  m.formula = r.formula();
  m.hardness = static_cast<std::uint16_t>(r.hardnessMin() << 8 | r.hardnessMax());
  m.densityMin = static_cast<std::uint16_t>(r.densityMin().whole << 8 | r.densityMin().hundredths);
  m.densityMax = static_cast<std::uint16_t>(r.densityMax().whole << 8 | r.densityMax().hundredths);
  for (std::size_t i = 0; i < m.colours.size(); ++i) {
    m.colours[i] = static_cast<std::int16_t>(r.colour(i));
  }
  for (std::size_t i = 0; i < m.streaks.size(); ++i) {
    m.streaks[i] = static_cast<std::int16_t>(r.streak(i));
  }
  m.crystalSystems = r.crystalSystems();
  m.fracture = r.fracture();
  m.transparency = r.transparency();
  m.lustre = r.lustre();
  m.cleavage = r.cleavage();
  m.strunzClass = r.strunz().cls;
  m.strunzLetter = r.strunz().subclass;
  return m;
}

Bytes buildSearchIndex(const MineralDatabase& database, const ColourGroupOf& colourGroupOf) {
  return buildSearchIndex(
      [&](MineralNumber n) { return indexedMineralOf(database.readMineralRecord(n)); },
      colourGroupOf);
}

SearchIndex::SearchIndex(Bytes data) : data_(std::move(data)), spans_(kIndexSlotCount) {
  // Each slot is checked once here: an offset or count that leaves the data
  // makes the slot empty, so no later read can go past the end.
  for (int slot = 0; slot < kIndexSlotCount; ++slot) {
    const std::size_t entry = 2 + 4 * static_cast<std::size_t>(slot);
    if (entry + 4 > data_.size()) break;
    const std::size_t offset = loadU32(data_.data() + entry);
    if (offset > data_.size() || data_.size() - offset < 2) continue;
    const std::size_t count = loadU16(data_.data() + offset);
    if ((data_.size() - offset - 2) / 2 < count) continue;
    spans_[static_cast<std::size_t>(slot)] = {static_cast<std::uint32_t>(offset + 2),
                                              static_cast<std::uint16_t>(count)};
  }
}

std::optional<SearchIndex> SearchIndex::open(const std::string& path) {
  std::optional<Bytes> data = readWholeFile(path);
  if (!data) return std::nullopt;
  return SearchIndex(std::move(*data));
}

std::uint16_t SearchIndex::stamp() const {
  return data_.size() >= 2 ? loadU16(data_.data()) : 0;
}

bool SearchIndex::fits(std::size_t entryCount) const {
  if (data_.size() < kIndexListsOffset || stamp() != searchIndexStamp(entryCount)) return false;
  // A cut or overwritten file is rebuilt rather than searched with lists missing.
  for (int slot = 0; slot < kIndexSlotCount; ++slot) {
    const std::size_t offset = loadU32(data_.data() + 2 + 4 * static_cast<std::size_t>(slot));
    if (offset > data_.size() || data_.size() - offset < 2) return false;
    if ((data_.size() - offset - 2) / 2 < loadU16(data_.data() + offset)) return false;
  }
  return true;
}

OptionalNumberList SearchIndex::readIndexSlot(int slot) const {
  if (slot < 0 || slot >= kIndexSlotCount) return std::nullopt;
  const SlotSpan span = spans_[static_cast<std::size_t>(slot)];
  if (span.count == 0) return std::nullopt;
  NumberList list;
  list.numbers.resize(span.count);
  const std::uint8_t* p = data_.data() + span.offset;
  for (std::size_t i = 0; i < span.count; ++i) list.numbers[i] = loadU16(p + 2 * i);
  return list;
}

std::size_t SearchIndex::slotCount(int slot) const {
  if (slot < 0 || slot >= kIndexSlotCount) return 0;
  return spans_[static_cast<std::size_t>(slot)].count;
}

void SearchIndex::markSlot(int slot, std::vector<std::uint64_t>& bits) const {
  if (slot < 0 || slot >= kIndexSlotCount || bits.size() < 65536 / 64) return;
  const SlotSpan span = spans_[static_cast<std::size_t>(slot)];
  const std::uint8_t* p = data_.data() + span.offset;
  for (std::size_t i = 0; i < span.count; ++i) {
    const MineralNumber n = loadU16(p + 2 * i);
    bits[n >> 6] |= std::uint64_t{1} << (n & 63);
  }
}

bool SearchIndex::slotHolds(int slot, MineralNumber n) const {
  if (slot < 0 || slot >= kIndexSlotCount) return false;
  const SlotSpan span = spans_[static_cast<std::size_t>(slot)];
  const std::uint8_t* p = data_.data() + span.offset;
  std::size_t lo = 0;
  std::size_t hi = span.count;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const MineralNumber v = loadU16(p + 2 * mid);
    if (v == n) return true;
    if (v < n) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return false;
}

}  // namespace kalvor
