// Writes the small reference database of the CLI golden tests ("kalvor.mi",
// "kalvor.db") into the folder named on the command line: a dozen well-known
// minerals with their real properties and two aliases.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "determination/colours.h"
#include "refdb/mineral_record.h"

namespace kalvor {
namespace {

// Colour number of a colour name (UTF-8); stops the tool when unknown.
std::uint16_t colour(const char* utf8) {
  const std::string name = utf8ToCp1252Lossy(utf8);
  const auto rows = colourTableRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (name == rows[i].name) return static_cast<std::uint16_t>(i + 1);
  }
  std::fprintf(stderr, "unknown colour %s\n", utf8);
  std::exit(1);
}

struct Mineral {
  const char* name;
  std::uint8_t flags;
  const char* formula;
  std::uint8_t hMin, hMax;          // half steps
  DensityValue dMin, dMax;
  std::vector<const char*> colours;
  std::vector<const char*> streaks;
  std::uint16_t systems;
  std::uint16_t lustre;
  std::uint8_t cleavage;
  std::uint16_t fracture;
  StrunzField strunz;
};

// Vocabulary bits: lustre perlmutt 0x1, seiden 0x2, glas 0x4, fett 0x8, harz 0x10,
// diamant 0x20, metall 0x40; cleavage keine 0x1, unvollkommen 0x2, gut 0x4,
// vollkommen 0x8; fracture eben 0x1, uneben 0x2, muschelig 0x4, spröde 0x10.
const Mineral kMinerals[] = {
    {"Quarz", 0x01, "SiO_2", 14, 14, {2, 65}, {0, 0}, {"farblos", "weiß", "grau"}, {"weiß"},
     0x0040, 0x04, 0x01, 0x04, {4, 'D', 1, 0, 0}},
    {"Calcit", 0x01, "CaCO_3", 6, 6, {2, 71}, {0, 0}, {"farblos", "weiß", "gelb"}, {"weiß"},
     0x0040, 0x04, 0x08, 0x04, {5, 'B', 2, 0, 0}},
    {"Galenit", 0x01, "PbS", 5, 5, {7, 40}, {7, 60}, {"bleigrau"}, {"grauschwarz"},
     0x0001, 0x40, 0x08, 0x01, {2, 'C', 16, 0, 0}},
    {"Pyromorphit", 0x01, "Pb_5(PO_4)_3Cl", 7, 8, {6, 70}, {7, 10}, {"grün", "gelb", "braun"},
     {"weiß"}, 0x0020, 0x28, 0x00, 0x14, {7, 'B', 39, 0, 0}},
    {"Malachit", 0x01, "Cu_2CO_3(OH)_2", 7, 8, {3, 60}, {4, 5}, {"grün"}, {"hellgrün"},
     0x0008, 0x06, 0x08, 0x04, {5, 'C', 1, 0, 0}},
    {"Azurit", 0x01, "Cu_3(CO_3)_2(OH)_2", 7, 8, {3, 77}, {3, 89}, {"blau"}, {"hellblau"},
     0x0008, 0x04, 0x04, 0x04, {5, 'C', 2, 0, 0}},
    {"Fluorit", 0x01, "CaF_2", 8, 8, {3, 18}, {0, 0}, {"farblos", "violett", "grün", "gelb", "blau"},
     {"weiß"}, 0x0001, 0x04, 0x08, 0x04, {3, 'A', 8, 0, 0}},
    {"Apatit", 0x01, "Ca_5(PO_4)_3(F,Cl,OH)", 10, 10, {3, 16}, {3, 22},
     {"farblos", "grün", "gelb", "blau"}, {"weiß"}, 0x0020, 0x0C, 0x02, 0x04, {7, 'B', 39, 0, 0}},
    {"Autunit", 0x01, "Ca(UO_2)_2(PO_4)_2*10-12H_2O", 4, 5, {3, 10}, {3, 20}, {"gelb", "grüngelb"},
     {"hellgelb"}, 0x0002, 0x05, 0x08, 0x00, {7, 'E', 1, 0, 0}},
    {"Monazit-(Ce)", 0x01, "(Ce,La,Nd,Th)PO_4", 10, 11, {4, 80}, {5, 50}, {"braun", "gelb"},
     {"weiß"}, 0x0008, 0x10, 0x04, 0x06, {7, 'A', 9, 0, 0}},
    {"Wiserit", 0x08, "Mn_4B_2O_5(OH,Cl)_4", 5, 5, {3, 40}, {0, 0}, {"weiß"}, {"weiß"},
     0x0000, 0x02, 0x00, 0x00, {0, 0, 0, 0, 0}},
    {"Ilsemannit", 0x02, "Mo_3O_8*nH_2O", 0, 0, {0, 0}, {0, 0}, {"blau", "schwarz"}, {},
     0x0080, 0x00, 0x00, 0x10, {4, 'F', 0, 0, 0}},
};

std::vector<std::uint16_t> colours(const std::vector<const char*>& names) {
  std::vector<std::uint16_t> out;
  for (const char* n : names) out.push_back(colour(n));
  return out;
}

}  // namespace
}  // namespace kalvor

int main(int argc, char** argv) {
  using namespace kalvor;
  if (argc != 2) {
    std::fprintf(stderr, "usage: kalvor-testdb FOLDER\n");
    return 2;
  }
  MineralFileWriter writer;
  for (const Mineral& m : kMinerals) {
    MineralRecord r;
    r.setFlags(m.flags);
    r.setName(utf8ToCp1252Lossy(m.name));
    r.setFormula(m.formula);
    r.setHardness(m.hMin, m.hMax);
    r.setDensity(m.dMin, m.dMax);
    r.setColours(colours(m.colours));
    r.setStreaks(colours(m.streaks));
    r.setCrystalSystems(m.systems);
    r.setLustre(m.lustre);
    r.setCleavage(m.cleavage);
    r.setFracture(m.fracture);
    r.setStrunz(m.strunz);
    writer.add(r);
  }
  for (auto [alias, target] : {std::pair{"Bergkristall", "Quarz"}, std::pair{"Bleiglanz", "Galenit"}}) {
    MineralRecord r;
    r.setName(alias);
    r.setAliasTarget(target);
    writer.add(r);
  }
  return writer.writeTo(argv[1]) ? 0 : 1;
}
