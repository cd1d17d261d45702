// Writes the small reference database of the "zeige" golden test into the
// folder given as the only argument: kalvor.mi/kalvor.db through the record
// writer, a kalvor.sy with the Lapis and Hey titles of one mineral, and a
// collection with three localities.
#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "collection/collection.h"
#include "collection/locality.h"
#include "refdb/mineral_record.h"
#include "refdb/name_list_builder.h"
#include "refdb/names.h"

namespace {

using kalvor::CrystalDataEntry;
using kalvor::MineralRecord;

CrystalDataEntry cell(std::uint32_t classes, int z, double a, double b, double c, double beta,
                      std::uint8_t flags = 0) {
  CrystalDataEntry e;
  e.classes = classes;
  e.z = static_cast<std::uint8_t>(z);
  e.flags = flags;
  e.a0 = a;
  e.b0 = b;
  e.c0 = c;
  e.beta = beta;
  return e;
}

kalvor::Locality locality(const char* name, const char* place, const char* region,
                          const char* country, std::vector<std::uint16_t> minerals) {
  kalvor::Locality l;
  l.name = name;
  l.nearestPlace = place;
  l.region = region;
  l.country = country;
  l.minerals = std::move(minerals);
  return l;
}

MineralRecord alias(const char* name, const char* target) {
  MineralRecord r;
  r.setName(name);
  r.setAliasTarget(target);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kalvor-showdb FOLDER\n", stderr);
    return 2;
  }
  kalvor::MineralFileWriter writer;

  MineralRecord malachite;  // 0
  malachite.setFlags(kalvor::kMineralImaRecognised);
  malachite.setName("Malachit");
  malachite.setFormula("Cu_2CO_3(OH)_2");
  malachite.setHardness(7, 8);
  malachite.setDensity({3, 60}, {4, 5});
  const std::uint16_t green[] = {157, 287, 196};
  malachite.setColours(green);
  const std::uint16_t streak[] = {194};
  malachite.setStreaks(streak);
  malachite.setCrystalSystems(0x0008);
  malachite.setCleavage(0x08);
  malachite.setFracture(0x0014);
  malachite.setLustre(0x0006);
  malachite.setStrunz({5, 'C', 1, 0, 0});
  malachite.setHey({11, 1, 0});
  const CrystalDataEntry malachiteCell[] = {cell(1u << 5, 4, 9.502, 11.974, 3.240, 98.75)};
  malachite.setCrystalData(malachiteCell);
  writer.add(malachite);

  writer.add(alias("Atlaserz", "Malachit"));  // 1
  writer.add(alias("Berggr\xFCn", "eine alte Bezeichnung f\xFCr @Malachit@ als Farbstoff"));  // 2

  MineralRecord quartz;  // 3
  quartz.setFlags(kalvor::kMineralImaRecognised);
  quartz.setName("Quarz");
  quartz.setFormula("SiO_2");
  quartz.setHardness(14, 14);
  quartz.setDensity({2, 65}, {2, 65});
  const std::uint16_t colourless[] = {2};
  quartz.setColours(colourless);
  quartz.setStreaks(colourless);
  quartz.setCrystalSystems(0x0060);  // hexagonal, trigonal
  quartz.setFracture(0x0004);
  quartz.setLustre(0x0004);
  quartz.setStrunz({4, 'D', 1, 0, 0});
  quartz.setHey({7, 8, 1});
  // Low quartz (trigonal, 32) and high quartz (hexagonal, 622, class only).
  const CrystalDataEntry quartzCells[] = {cell(1u << 19, 3, 4.913, 0, 5.405, 0),
                                          cell(1u << 21, 0, 0, 0, 0, 0, 0x02)};
  quartz.setCrystalData(quartzCells);
  writer.add(quartz);

  MineralRecord torbernite;  // 4: radioactive, with a charged group
  torbernite.setFlags(kalvor::kMineralImaRecognised);
  torbernite.setName("Torbernit");
  torbernite.setFormula("Cu(UO_2)_2(PO_4)_2 \xB7 12H_2O");
  torbernite.setHardness(4, 5);
  torbernite.setDensity({3, 22}, {3, 22});
  const std::uint16_t emerald[] = {287};
  torbernite.setColours(emerald);
  torbernite.setStreaks(std::span<const std::uint16_t>(streak));
  torbernite.setCrystalSystems(0x0002);
  torbernite.setCleavage(0x10);
  torbernite.setLustre(0x0001);
  const CrystalDataEntry torberniteCell[] = {cell(1u << 16, 2, 7.025, 0, 20.63, 0, 0x01)};
  torbernite.setCrystalData(torberniteCell);
  writer.add(torbernite);

  if (!writer.writeTo(argv[1])) return 1;
  const std::string sy =
      "V/\tKarbonate, Nitrate und Borate\n"
      "V/C\twasserfreie Karbonate mit fremden Anionen\n"
      "V/C.1\tMalachit-Rosasit-Gruppe\n"
      "x\n"
      "11\tCarbonate\n"
      "11.1\tmit Hydroxid\n";
  const kalvor::Bytes bytes(sy.begin(), sy.end());
  if (!kalvor::writeWholeFile(kalvor::joinPath(argv[1], "kalvor.sy"), bytes)) return 1;

  const std::optional<kalvor::MineralDatabase> database = kalvor::MineralDatabase::open(argv[1]);
  if (!database) return 1;
  const kalvor::MineralNameList names = kalvor::buildMineralNameList(*database);
  kalvor::Collection collection(names, database->entryCount(), nullptr);
  if (collection.open(argv[1]) == kalvor::Collection::OpenResult::kUnavailable) return 1;
  // Malachite (0) is on a specimen from Grube Clara (bit 15); quartz is 3.
  const kalvor::Locality localities[] = {
      locality("Tsumeb", "", "", "Namibia", {0}),
      locality("Grube Clara", "Oberwolfach", "Schwarzwald", "Deutschland", {0 | 0x8000, 3}),
      locality("Ilfeld", "", "Harz", "Deutschland", {3}),
  };
  for (const kalvor::Locality& l : localities)
    if (!kalvor::saveLocalityFromForm(collection, l)) return 1;
  return 0;
}
