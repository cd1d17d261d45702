#include "refdb/crystal_classes.h"

#include "string_ids.h"

namespace kalvor {

const CrystalClass kCrystalClasses[32] = {
    {"1", nullptr},           // 0
    {"2", nullptr},           // 1
    {"3", nullptr},           // 2
    {"4", nullptr},           // 3
    {"6", nullptr},           // 4
    {"2/m", nullptr},         // 5
    {"\\6", nullptr},         // 6
    {"4/m", nullptr},         // 7
    {"6/m", nullptr},         // 8
    {"m", nullptr},           // 9
    {"mm", "2mm"},            // 10
    {"3m", nullptr},          // 11
    {"4mm", nullptr},         // 12
    {"6mm", nullptr},         // 13
    {"mmm", "2/m2/m2/m"},     // 14
    {"\\62m", "\\6m2"},       // 15
    {"4/mmm", "4/m2/m2/m"},   // 16
    {"6/mmm", "6/m2/m2/m"},   // 17
    {"222", nullptr},         // 18
    {"32", nullptr},          // 19
    {"422", nullptr},         // 20
    {"622", nullptr},         // 21
    {"\\1", nullptr},         // 22
    {"\\3", nullptr},         // 23
    {"\\4", nullptr},         // 24
    {"\\42m", nullptr},       // 25
    {"\\3m", "\\32m"},        // 26
    {"23", "23"},             // 27
    {"m3", "2/m\\3"},         // 28
    {"43", "432"},            // 29
    {"\\43m", nullptr},       // 30
    {"m3m", "4/m\\32/m"},     // 31
};

const CrystalDataSystem kCrystalDataSystems[7] = {
    {strings::kStrSystemCubic, 0xF8000000, LatticeKind::kA},              // kubisch
    {strings::kStrSystemTetragonal, 0x03111088, LatticeKind::kAC},        // tetragonal
    {strings::kStrSystemOrthorhombic, 0x00044400, LatticeKind::kABC},     // rhombisch
    {strings::kStrSystemMonoclinic, 0x00000222, LatticeKind::kABCBeta},   // monoklin
    {strings::kStrSystemTriclinic, 0x00400001, LatticeKind::kABCAngles},  // triklin
    {strings::kStrSystemHexagonal, 0x0022A150, LatticeKind::kAC},         // hexagonal
    {strings::kStrSystemTrigonal, 0x04880804, LatticeKind::kAC},          // trigonal
};

std::string crystalClassSymbol(unsigned bit) {
  if (bit >= 32) return {};
  const CrystalClass& c = kCrystalClasses[bit];
  return c.fullSymbol ? c.fullSymbol : c.shortSymbol;
}

std::string formatCrystalClasses(std::uint32_t classMask) {
  std::string text;
  std::string pending;  // held back until we know whether it is the last one
  for (unsigned bit = 0; bit < 32; ++bit) {
    if (((classMask >> bit) & 1u) == 0) continue;
    if (!pending.empty()) {
      if (!text.empty()) text += ", ";
      text += pending;
    }
    pending = crystalClassSymbol(bit);
  }
  if (!pending.empty()) {
    if (!text.empty()) text += " oder ";
    text += pending;
  }
  return text;
}

std::optional<CrystalDataSystem> crystalDataSystemOf(std::uint32_t classMask) {
  for (const auto& s : kCrystalDataSystems)
    if ((s.classMask & classMask) != 0) return s;
  return std::nullopt;
}

LatticeKind latticeKindOf(std::uint32_t classMask) {
  const auto s = crystalDataSystemOf(classMask);
  return s ? s->lattice : LatticeKind::kNone;
}

}  // namespace kalvor
