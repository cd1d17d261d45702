#include "refdb/mineral_record.h"

#include <algorithm>
#include <cstring>

#include "base/file_io.h"

namespace kalvor {

namespace rf = refformat;

// ---------------------------------------------------------------- CrystalDataEntry

CrystalDataEntry CrystalDataEntry::decode(const std::uint8_t* p) {
  CrystalDataEntry e;
  e.classes = loadU32(p + rf::kCrystalClassesOffset);
  e.spare4 = p[rf::kCrystalSpare4Offset];
  e.z = p[rf::kCrystalZOffset];
  e.flags = p[rf::kCrystalFlagsOffset];
  e.spare7 = p[rf::kCrystalSpare7Offset];
  const std::uint8_t* cell = p + rf::kCrystalCellOffset;
  e.a0 = loadF64(cell);
  e.b0 = loadF64(cell + 8);
  e.c0 = loadF64(cell + 16);
  e.alpha = loadF64(cell + 24);
  e.beta = loadF64(cell + 32);
  e.gamma = loadF64(cell + 40);
  return e;
}

void CrystalDataEntry::encode(std::uint8_t* p) const {
  storeU32(p + rf::kCrystalClassesOffset, classes);
  p[rf::kCrystalSpare4Offset] = spare4;
  p[rf::kCrystalZOffset] = z;
  p[rf::kCrystalFlagsOffset] = flags;
  p[rf::kCrystalSpare7Offset] = spare7;
  std::uint8_t* cell = p + rf::kCrystalCellOffset;
  storeF64(cell, a0);
  storeF64(cell + 8, b0);
  storeF64(cell + 16, c0);
  storeF64(cell + 24, alpha);
  storeF64(cell + 32, beta);
  storeF64(cell + 40, gamma);
}

// ---------------------------------------------------------------- MineralRecord

std::string MineralRecord::text(std::size_t offset, std::size_t size) const {
  const auto* p = reinterpret_cast<const char*>(bytes_.data() + offset);
  return std::string(p, strnlen(p, size));
}

bool MineralRecord::setText(std::size_t offset, std::size_t size, std::string_view text) {
  // Fields always keep a terminating NUL so that C-style readers of the
  // image stop inside the field.
  const bool fits = text.size() < size;
  const std::size_t n = fits ? text.size() : size - 1;
  std::memset(bytes_.data() + offset, 0, size);
  if (n > 0) std::memcpy(bytes_.data() + offset, text.data(), n);
  return fits;
}

std::string MineralRecord::name() const { return text(rf::kNameOffset, rf::kNameSize); }
bool MineralRecord::setName(std::string_view name) {
  return setText(rf::kNameOffset, rf::kNameSize, name);
}

std::string MineralRecord::formula() const { return text(rf::kFormulaOffset, rf::kFormulaSize); }
bool MineralRecord::setFormula(std::string_view formula) {
  return setText(rf::kFormulaOffset, rf::kFormulaSize, formula);
}

void MineralRecord::setHardness(std::uint8_t minHalfSteps, std::uint8_t maxHalfSteps) {
  bytes_[rf::kHardnessMinOffset] = minHalfSteps;
  bytes_[rf::kHardnessMaxOffset] = maxHalfSteps;
}

DensityValue MineralRecord::densityMin() const {
  return {bytes_[rf::kDensityMinWholeOffset], bytes_[rf::kDensityMinHundredthsOffset]};
}
DensityValue MineralRecord::densityMax() const {
  return {bytes_[rf::kDensityMaxWholeOffset], bytes_[rf::kDensityMaxHundredthsOffset]};
}
void MineralRecord::setDensity(DensityValue min, DensityValue max) {
  bytes_[rf::kDensityMinWholeOffset] = min.whole;
  bytes_[rf::kDensityMinHundredthsOffset] = min.hundredths;
  bytes_[rf::kDensityMaxWholeOffset] = max.whole;
  bytes_[rf::kDensityMaxHundredthsOffset] = max.hundredths;
}

namespace {

std::vector<std::uint16_t> listUpToZero(const std::uint8_t* p, std::size_t slots) {
  std::vector<std::uint16_t> out;
  for (std::size_t i = 0; i < slots; ++i) {
    const std::uint16_t v = loadU16(p + 2 * i);
    if (v == 0) break;
    out.push_back(v);
  }
  return out;
}

bool storeList(std::uint8_t* p, std::size_t slots, std::span<const std::uint16_t> values) {
  for (std::size_t i = 0; i < slots; ++i) storeU16(p + 2 * i, i < values.size() ? values[i] : 0);
  return values.size() <= slots;
}

}  // namespace

std::uint16_t MineralRecord::colour(std::size_t slot) const {
  return slot < rf::kColourSlots ? word(rf::kColoursOffset + 2 * slot) : 0;
}
std::vector<std::uint16_t> MineralRecord::colours() const {
  return listUpToZero(bytes_.data() + rf::kColoursOffset, rf::kColourSlots);
}
bool MineralRecord::setColours(std::span<const std::uint16_t> colours) {
  return storeList(bytes_.data() + rf::kColoursOffset, rf::kColourSlots, colours);
}

std::uint16_t MineralRecord::streak(std::size_t slot) const {
  return slot < rf::kStreakSlots ? word(rf::kStreakOffset + 2 * slot) : 0;
}
std::vector<std::uint16_t> MineralRecord::streaks() const {
  return listUpToZero(bytes_.data() + rf::kStreakOffset, rf::kStreakSlots);
}
bool MineralRecord::setStreaks(std::span<const std::uint16_t> streaks) {
  return storeList(bytes_.data() + rf::kStreakOffset, rf::kStreakSlots, streaks);
}

StrunzField MineralRecord::strunz() const {
  const std::uint8_t* p = bytes_.data() + rf::kStrunzOffset;
  return {p[0], p[1], p[2], p[3], loadI16(p + 4)};
}
void MineralRecord::setStrunz(const StrunzField& s) {
  std::uint8_t* p = bytes_.data() + rf::kStrunzOffset;
  p[0] = s.cls;
  p[1] = s.subclass;
  p[2] = s.group;
  p[3] = s.spare;
  storeU16(p + 4, static_cast<std::uint16_t>(s.rangeEnd));
}

HeyField MineralRecord::hey() const {
  const std::uint8_t* p = bytes_.data() + rf::kHeyOffset;
  return {p[0], p[1], p[2]};
}
void MineralRecord::setHey(const HeyField& h) {
  std::copy(h.begin(), h.end(), bytes_.begin() + rf::kHeyOffset);
}

std::vector<CrystalDataEntry> MineralRecord::crystalData() const {
  std::vector<CrystalDataEntry> out;
  const std::size_t count = crystalDataCount();
  if (count < 1 || count > rf::kMaxCrystalEntries) return out;
  for (std::size_t i = 0; i < count; ++i)
    out.push_back(CrystalDataEntry::decode(bytes_.data() + rf::kCrystalDataOffset +
                                           i * rf::kCrystalEntrySize));
  return out;
}

bool MineralRecord::setCrystalData(std::span<const CrystalDataEntry> entries) {
  const std::size_t count = std::min(entries.size(), rf::kMaxCrystalEntries);
  std::memset(bytes_.data() + rf::kCrystalDataOffset, 0,
              rf::kCrystalSlots * rf::kCrystalEntrySize);
  for (std::size_t i = 0; i < count; ++i)
    entries[i].encode(bytes_.data() + rf::kCrystalDataOffset + i * rf::kCrystalEntrySize);
  bytes_[rf::kCrystalCountOffset] = static_cast<std::uint8_t>(count);
  return count == entries.size();
}

std::string MineralRecord::englishName() const {
  return text(rf::kEnglishNameOffset, rf::kEnglishNameSize);
}
bool MineralRecord::setEnglishName(std::string_view name) {
  return setText(rf::kEnglishNameOffset, rf::kEnglishNameSize, name);
}

std::string MineralRecord::aliasTarget() const {
  return text(rf::kAliasTargetOffset, rf::kAliasTargetSize);
}
bool MineralRecord::setAliasTarget(std::string_view text) {
  return setText(rf::kAliasTargetOffset, rf::kAliasTargetSize, text);
}
std::string MineralRecord::englishAliasName() const {
  return text(rf::kEnglishAliasNameOffset, rf::kEnglishAliasNameSize);
}
bool MineralRecord::setEnglishAliasName(std::string_view name) {
  return setText(rf::kEnglishAliasNameOffset, rf::kEnglishAliasNameSize, name);
}
std::string MineralRecord::englishAliasTarget() const {
  return text(rf::kEnglishAliasTargetOffset, rf::kEnglishAliasTargetSize);
}
bool MineralRecord::setEnglishAliasTarget(std::string_view text) {
  return setText(rf::kEnglishAliasTargetOffset, rf::kEnglishAliasTargetSize, text);
}

// ---------------------------------------------------------------- englishNameOf

std::string englishNameOf(std::string_view germanName) {
  // An empty name stays empty: a lone "e" would pass for a name.
  if (germanName.empty()) return {};
  const std::size_t hyphen = germanName.find('-');
  std::string out(germanName.substr(0, hyphen));
  out += 'e';
  if (hyphen != std::string_view::npos) out += germanName.substr(hyphen);
  return out;
}

// ---------------------------------------------------------------- MineralDatabase

std::optional<MineralDatabase> MineralDatabase::open(const std::string& folder) {
  std::optional<Bytes> index = readWholeFile(joinPath(folder, rf::kIndexFileName));
  if (!index) return std::nullopt;
  std::optional<Bytes> records = readWholeFile(joinPath(folder, rf::kRecordFileName));
  if (!records) return std::nullopt;
  return fromBytes(std::move(*index), std::move(*records));
}

std::optional<MineralDatabase> MineralDatabase::fromBytes(Bytes indexFile, Bytes recordFile) {
  if (indexFile.size() < rf::kIndexTableOffset) return std::nullopt;
  const std::uint32_t count = loadU32(indexFile.data() + rf::kIndexCountOffset);
  if (count > rf::kMaxEntryCount) return std::nullopt;
  if ((indexFile.size() - rf::kIndexTableOffset) / 4 < count) return std::nullopt;
  std::vector<std::uint32_t> offsets(count);
  for (std::uint32_t i = 0; i < count; ++i)
    offsets[i] = loadU32(indexFile.data() + rf::kIndexTableOffset + 4 * std::size_t{i});
  return MineralDatabase(std::move(offsets), std::move(recordFile));
}

std::uint8_t MineralDatabase::readMineralFlags(MineralNumber n) const {
  if (n >= offsets_.size()) return kMineralNoEntry;
  const std::uint32_t at = offsets_[n];
  return at < records_.size() ? records_[at] : 0;
}

namespace {

// Reads a u16 length and that many bytes; keeps at most `room` - 1 of them in
// `field` (already zero) so the text stays NUL-terminated, and skips the rest.
void readCountedText(ByteReader& in, std::uint8_t* field, std::size_t room) {
  const std::size_t length = in.u16();
  const std::size_t kept = std::min(length, room - 1);
  in.take(field, kept);
  in.skip(length - kept);
}

}  // namespace

MineralRecord MineralDatabase::readMineralRecord(MineralNumber n) const {
  MineralRecord record;
  auto& image = record.bytes();
  if (n >= offsets_.size()) {
    image[0] = kMineralNoEntry;
    return record;
  }
  ByteReader in(records_);
  in.seek(offsets_[n]);
  const std::uint8_t flags = in.u8();

  if (isFullMineralFlags(flags)) {
    image[0] = flags;
    in.take(image.data() + rf::kFixedPartOffset, rf::kFixedPartSize);
    const std::size_t count = image[rf::kCrystalCountOffset];
    if (count >= 1 && count <= rf::kMaxCrystalEntries)
      in.take(image.data() + rf::kCrystalDataOffset, count * rf::kCrystalEntrySize);
    if (flags & kMineralEnglishNames)
      in.take(image.data() + rf::kEnglishNameOffset, rf::kEnglishNameSize);
    else
      record.setEnglishName(englishNameOf(record.name()));
    return record;
  }

  // An alias comes back with flag byte 0: the flags have served to pick the
  // layout and the record tests as an alias either way.
  in.take(image.data() + rf::kNameOffset, rf::kNameSize);
  readCountedText(in, image.data() + rf::kAliasTargetOffset, rf::kAliasTargetSize);
  if (flags & kMineralEnglishNames) {
    readCountedText(in, image.data() + rf::kEnglishAliasNameOffset, rf::kEnglishAliasNameSize);
    readCountedText(in, image.data() + rf::kEnglishAliasTargetOffset,
                    rf::kEnglishAliasTargetSize);
  }
  if (image[rf::kEnglishAliasNameOffset] == 0)
    record.setEnglishAliasName(englishNameOf(record.name()));
  if (image[rf::kEnglishAliasTargetOffset] == 0)
    record.setEnglishAliasTarget(englishNameOf(record.aliasTarget()));
  return record;
}

// ---------------------------------------------------------------- writer

namespace {

void countedText(ByteWriter& out, const std::string& text) {
  const std::size_t n = std::min<std::size_t>(text.size(), 0xFFFF);
  out.u16(static_cast<std::uint16_t>(n));
  out.bytes(std::string_view(text).substr(0, n));
}

}  // namespace

Bytes encodeMineralEntry(const MineralRecord& record) {
  ByteWriter out;
  const auto& image = record.bytes();
  const std::uint8_t flags = record.flags();
  out.u8(flags);
  if (record.isFullMineral()) {
    out.bytes(std::span(image).subspan(rf::kFixedPartOffset, rf::kFixedPartSize));
    const std::size_t count = record.crystalDataCount();
    if (count >= 1 && count <= rf::kMaxCrystalEntries)
      out.bytes(std::span(image).subspan(rf::kCrystalDataOffset, count * rf::kCrystalEntrySize));
    if (flags & kMineralEnglishNames)
      out.bytes(std::span(image).subspan(rf::kEnglishNameOffset, rf::kEnglishNameSize));
    return out.take();
  }
  out.bytes(std::span(image).subspan(rf::kNameOffset, rf::kNameSize));
  countedText(out, record.aliasTarget());
  if (flags & kMineralEnglishNames) {
    countedText(out, record.englishAliasName());
    countedText(out, record.englishAliasTarget());
  }
  return out.take();
}

std::optional<MineralNumber> MineralFileWriter::add(const MineralRecord& record) {
  return addRawEntry(encodeMineralEntry(record));
}

std::optional<MineralNumber> MineralFileWriter::addRawEntry(std::span<const std::uint8_t> entry) {
  if (offsets_.size() >= rf::kMaxEntryCount) return std::nullopt;
  const auto number = static_cast<MineralNumber>(offsets_.size());
  offsets_.push_back(static_cast<std::uint32_t>(records_.size()));
  records_.insert(records_.end(), entry.begin(), entry.end());
  return number;
}

Bytes MineralFileWriter::indexFile() const {
  ByteWriter out;
  out.u32(static_cast<std::uint32_t>(offsets_.size()));
  for (std::uint32_t offset : offsets_) out.u32(offset);
  return out.take();
}

bool MineralFileWriter::writeTo(const std::string& folder) const {
  return writeWholeFile(joinPath(folder, rf::kIndexFileName), indexFile()) &&
         writeWholeFile(joinPath(folder, rf::kRecordFileName), records_);
}

}  // namespace kalvor
