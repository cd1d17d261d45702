// kalvor-mkdb: compiles the text sources of data/ into the reference files
// the program ships with. The output is byte-identical from run to run.
//
//   kalvor-mkdb [--quelle DATA] [--ziel OUT] [--bericht]
//   kalvor-mkdb --gif N DATEI [--ziel OUT]   picture N of OUT/logos.pf as a GIF file
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/file_io.h"
#include "refdb/collation.h"
#include "refdb/picture_file.h"
#include "tools/mkdb/artwork.h"
#include "tools/mkdb/gif_export.h"
#include "tools/mkdb/mappings.h"
#include "tools/mkdb/mineral_builder.h"
#include "tools/mkdb/report.h"
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

bool buildMineralFiles(const std::string& dataDir, const std::string& outDir, Report& report) {
  const Mappings mappings = Mappings::load(dataDir, report);
  if (report.hasErrors()) return false;
  MineralBuilder builder(mappings, report);
  std::vector<BuiltEntry> entries = builder.buildFullMinerals(dataDir);
  std::vector<BuiltEntry> aliases = builder.buildAliases(dataDir, entries);
  if (report.hasErrors()) return false;
  entries.insert(entries.end(), std::make_move_iterator(aliases.begin()), std::make_move_iterator(aliases.end()));
  // Entries stand in the program's alphabetical order, so numbers follow the names.
  std::stable_sort(entries.begin(), entries.end(), [](const BuiltEntry& a, const BuiltEntry& b) {
    return collateCompare(a.name, b.name, kNameCompareLength, kNameCompareLength) < 0;
  });
  if (entries.size() > kMaxEntries) {
    report.error(std::to_string(entries.size()) + " Einträge, mehr als " + std::to_string(kMaxEntries) +
                 " kann eine Fundstelle nicht verzeichnen");
    return false;
  }
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

int exportGif(const std::string& outDir, int number, const std::string& target) {
  const auto bytes = readWholeFile(joinPath(outDir, "logos.pf"));
  const auto file = bytes ? PictureFile::fromBytes(*bytes) : std::nullopt;
  const auto offset = file ? file->pictureOffset(static_cast<std::uint32_t>(number)) : std::nullopt;
  const auto header = offset ? file->readHeader(*offset) : std::nullopt;
  if (!header) {
    std::fprintf(stderr, "Bild %d in %s/logos.pf nicht gefunden\n", number, outDir.c_str());
    return 1;
  }
  if (!writeWholeFile(target, wrapPictureAsGif(*bytes, *header))) {
    std::fprintf(stderr, "%s kann nicht geschrieben werden\n", target.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kalvor::mkdb

int main(int argc, char** argv) {
  using namespace kalvor;
  using namespace kalvor::mkdb;
  std::string dataDir = "data", outDir = ".";
  bool wantReport = false;
  int gifNumber = -1;
  std::string gifTarget;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quelle" && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (a == "--ziel" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (a == "--bericht") {
      wantReport = true;
    } else if (a == "--gif" && i + 2 < argc) {
      gifNumber = std::atoi(argv[++i]);
      gifTarget = argv[++i];
    } else {
      std::fprintf(stderr,
                   "Aufruf: kalvor-mkdb [--quelle DATENORDNER] [--ziel AUSGABEORDNER] [--bericht]\n"
                   "        kalvor-mkdb --gif N DATEI [--ziel AUSGABEORDNER]\n");
      return 2;
    }
  }
  if (gifNumber >= 0) return exportGif(outDir, gifNumber, gifTarget);

  Report report;
  bool ok = buildMineralFiles(dataDir, outDir, report);
  if (ok) {
    const auto sy = buildSystematicsFile(dataDir, report);
    const auto gl = buildGlossary(dataDir, report);
    ok = sy && gl && writeOut(outDir, "kalvor.sy", *sy, report) && writeOut(outDir, "kalvor.gl", *gl, report) &&
         buildLogos(outDir, report);
  }
  // The report always lands beside the files, so every build can be checked later.
  const std::string reportText = report.text();
  writeWholeFile(joinPath(outDir, "kalvor-mkdb-bericht.txt"), Bytes(reportText.begin(), reportText.end()));
  if (wantReport) std::fputs(reportText.c_str(), stdout);
  if (!ok || report.hasErrors()) {
    std::fputs(report.errorText().c_str(), stderr);
    std::fprintf(stderr, "kalvor-mkdb: %zu Fehler, keine vollständigen Referenzdateien erzeugt\n",
                 report.errors().size());
    return 1;
  }
  std::printf("kalvor-mkdb: %zu Einträge, %zu Glossareinträge nach %s geschrieben\n",
              report.countOf("Einträge in kalvor.db"), report.countOf("Glossareinträge"), outDir.c_str());
  return 0;
}
