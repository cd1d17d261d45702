#include "tools/mkdb/compile.h"

#include <algorithm>

#include "base/file_io.h"
#include "refdb/collation.h"
#include "refdb/mineral_record.h"
#include "refdb/picture_file.h"
#include "tools/mkdb/artwork.h"
#include "tools/mkdb/crystal_drawings.h"
#include "tools/mkdb/mappings.h"
#include "tools/mkdb/mineral_builder.h"
#include "tools/mkdb/text_files.h"

namespace kalvor::mkdb {
namespace {

// A locality keeps a MineralNumber in 13 bits, so every entry must fit there.
constexpr std::size_t kMaxEntries = 0x2000;

bool writeOut(const std::string& folder, const char* name, const Bytes& data, Report& report) {
  if (writeWholeFile(joinPath(folder, name), data)) {
    report.count(std::string("Bytes ") + name, data.size());
    return true;
  }
  report.error(joinPath(folder, name) + ": kann nicht geschrieben werden");
  return false;
}

bool buildMineralFiles(const std::vector<BuiltEntry>& entries, const std::string& outDir, Report& report) {
  MineralFileWriter writer;
  for (const auto& e : entries) writer.add(e.record);
  report.count("Einträge in kalvor.db", entries.size());
  return writeOut(outDir, "kalvor.mi", writer.indexFile(), report) &&
         writeOut(outDir, "kalvor.db", writer.recordFile(), report);
}

bool buildLogos(const std::string& outDir, Report& report) {
  PictureFileWriter writer;
  for (const LogoPicture& p : makeLogoPictures())
    writer.addPicture(static_cast<std::uint16_t>(p.bitmap.width()), static_cast<std::uint16_t>(p.bitmap.height()),
                      p.caption, p.bitmap.bits());
  report.count("Bilder in logos.pf", writer.pictureCount());
  return writeOut(outDir, "logos.pf", writer.build(), report);
}

}  // namespace

std::vector<BuiltEntry> buildMineralEntries(const std::string& dataDir, Report& report) {
  const Mappings mappings = Mappings::load(dataDir, report);
  if (report.hasErrors()) return {};
  MineralBuilder builder(mappings, report);
  std::vector<BuiltEntry> entries = builder.buildFullMinerals(dataDir);
  std::vector<BuiltEntry> aliases = builder.buildAliases(dataDir, entries);
  if (report.hasErrors()) return {};
  entries.insert(entries.end(), std::make_move_iterator(aliases.begin()), std::make_move_iterator(aliases.end()));
  // Entries stand in the program's alphabetical order, so numbers follow the names.
  std::stable_sort(entries.begin(), entries.end(), [](const BuiltEntry& a, const BuiltEntry& b) {
    return collateCompare(a.name, b.name, kNameCompareLength, kNameCompareLength) < 0;
  });
  if (entries.size() > kMaxEntries) {
    report.error(std::to_string(entries.size()) + " Einträge, mehr als " + std::to_string(kMaxEntries) +
                 " kann eine Fundstelle nicht verzeichnen");
    return {};
  }
  return entries;
}

bool compileReferenceData(const std::string& dataDir, const std::string& outDir, Report& report) {
  const std::vector<BuiltEntry> entries = buildMineralEntries(dataDir, report);
  if (report.hasErrors() || !buildMineralFiles(entries, outDir, report)) return false;
  const DrawingFiles drawings = buildDrawingFiles(dataDir, entries, report);
  if (report.hasErrors() || !writeOut(outDir, "kalvor.lf", drawings.drawings, report) ||
      !writeOut(outDir, "kalvor.kf", drawings.forms, report))
    return false;
  const auto sy = buildSystematicsFile(dataDir, report);
  const auto gl = buildGlossary(dataDir, report);
  const auto licence = buildLicenceText(dataDir, report);
  return sy && gl && licence && writeOut(outDir, "kalvor.sy", *sy, report) &&
         writeOut(outDir, "kalvor.gl", *gl, report) && writeOut(outDir, kLicenceTextName, *licence, report) &&
         buildLogos(outDir, report) && !report.hasErrors();
}

}  // namespace kalvor::mkdb
