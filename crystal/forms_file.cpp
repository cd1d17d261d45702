#include "crystal/forms_file.h"

#include <cstdlib>

#include "base/file_io.h"

namespace kalvor::crystal {
namespace {

void putU32(Bytes& b, std::size_t at, std::uint32_t v) { storeU32(b.data() + at, v); }

}  // namespace

bool FormsFileWriter::set(std::uint32_t n, MineralForms forms) {
  if (n >= blocks_.size() || forms.set.forms.size() > 255 || forms.set.classBit > 31) return false;
  for (const CrystalForm& f : forms.set.forms)
    if (std::abs(f.face.h) > 127 || std::abs(f.face.k) > 127 || std::abs(f.face.l) > 127) return false;
  blocks_[n] = std::move(forms);
  return true;
}

Bytes FormsFileWriter::build() const {
  Bytes out(kFormsHeaderSize + 4 * blocks_.size(), 0);
  putU32(out, 0, static_cast<std::uint32_t>(blocks_.size()));
  for (std::size_t n = 0; n < blocks_.size(); ++n) {
    if (!blocks_[n]) continue;
    const MineralForms& m = *blocks_[n];
    const std::size_t at = out.size();
    putU32(out, kFormsHeaderSize + 4 * n, static_cast<std::uint32_t>(at));
    out.resize(at + kFormsBlockFixedSize + kFormsEntrySize * m.set.forms.size(), 0);
    std::uint8_t* p = out.data() + at;
    p[0] = static_cast<std::uint8_t>(m.set.classBit);
    p[1] = static_cast<std::uint8_t>(m.origin);
    p[2] = static_cast<std::uint8_t>(m.set.kind);
    p[3] = static_cast<std::uint8_t>(m.set.forms.size());
    p[4] = m.viewCount;
    storeU16(p + 6, static_cast<std::uint16_t>(m.turnDegrees));
    const double cell[6] = {m.set.cell.a,     m.set.cell.b,    m.set.cell.c,
                            m.set.cell.alpha, m.set.cell.beta, m.set.cell.gamma};
    for (int i = 0; i < 6; ++i) storeF64(p + 8 + 8 * i, cell[i]);
    for (std::size_t i = 0; i < m.set.forms.size(); ++i) {
      std::uint8_t* f = p + kFormsBlockFixedSize + kFormsEntrySize * i;
      storeU16(f, static_cast<std::uint16_t>(m.set.forms[i].face.h));
      storeU16(f + 2, static_cast<std::uint16_t>(m.set.forms[i].face.k));
      storeU16(f + 4, static_cast<std::uint16_t>(m.set.forms[i].face.l));
      storeF64(f + 8, m.set.forms[i].distance);
    }
  }
  return out;
}

std::optional<FormsFile> FormsFile::open(const std::string& folder) {
  auto bytes = readWholeFile(joinPath(folder, kFormsFileName));
  if (!bytes) return std::nullopt;
  return FormsFile(std::move(*bytes));
}

std::optional<MineralForms> FormsFile::formsFor(std::uint32_t n) const {
  if (file_.size() < kFormsHeaderSize || n >= loadU32(file_.data()) ||
      kFormsHeaderSize + 4 * (std::size_t(n) + 1) > file_.size())
    return std::nullopt;
  const std::size_t at = loadU32(file_.data() + kFormsHeaderSize + 4 * std::size_t(n));
  if (at == 0 || at + kFormsBlockFixedSize > file_.size()) return std::nullopt;
  const std::uint8_t* p = file_.data() + at;
  const std::size_t count = p[3];
  if (p[0] > 31 || (p[1] != 1 && p[1] != 2) || p[2] > 1 ||
      at + kFormsBlockFixedSize + kFormsEntrySize * count > file_.size())
    return std::nullopt;
  MineralForms m;
  m.set.classBit = p[0];
  m.origin = static_cast<FormOrigin>(p[1]);
  m.set.kind = static_cast<DistanceKind>(p[2]);
  m.viewCount = p[4];
  m.turnDegrees = loadI16(p + 6);
  m.set.cell = {loadF64(p + 8),  loadF64(p + 16), loadF64(p + 24),
                loadF64(p + 32), loadF64(p + 40), loadF64(p + 48)};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* f = p + kFormsBlockFixedSize + kFormsEntrySize * i;
    m.set.forms.push_back({{loadI16(f), loadI16(f + 2), loadI16(f + 4)}, loadF64(f + 8)});
  }
  return m;
}

}  // namespace kalvor::crystal
